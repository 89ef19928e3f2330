// The overview as a user steers with it: a map too large for the grid shown
// whole, the visible part outlined, a click and a drag moving the grid's
// view, edits and their undo showing at once, and the dock's place kept
// across runs.
#include "WindowTestSupport.h"
#include "app/OverviewDock.h"
#include "app/WindowPlacement.h"
#include "app/settings/SettingsFile.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StringBag.h"
#include "editor/EditSession.h"
#include "editor/controls/MapGrid.h"
#include "editor/controls/MapOverview.h"
#include "map/TileMapObjects.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QSettings>
#include <QTest>

namespace {

// The overview's pixel over the centre of a map cell.
QRgb OverviewPixelAt(TMapOverview& overview, int col, int row, int cols, int rows) {
  const QImage shot = overview.grab().toImage();
  const QRectF picture = overview.PictureRect();
  const QPointF at(picture.left() + (col + 0.5) * picture.width() / cols,
                   picture.top() + (row + 0.5) * picture.height() / rows);
  return shot.pixel((at * shot.devicePixelRatio()).toPoint());
}

}  // namespace

using TOverviewTest = TWindowTest;

TEST_F(TOverviewTest, AMapTooLargeForTheGridIsSteeredFromItsOverview) {
  // A 50 x 50 map at the smallest zoom on a 1600 x 1000 screen.
  window->resize(1600, 1000);
  TTileMap* map = window->CurrentMap();
  map->SetWidth(100);
  map->SetHeight(100);
  Run("vwZoomOut");
  const TMapGridModel& grid = window->MapGrid()->Model();
  ASSERT_EQ(grid.CellWidth(), 32);
  ASSERT_GT(grid.ScrollMaxX(), 0);
  ASSERT_GT(grid.ScrollMaxY(), 0);

  auto* dock = window->findChild<TOverviewDock*>("dckOverview");
  ASSERT_NE(dock, nullptr);
  TMapOverview& overview = *dock->Overview();
  EXPECT_TRUE(overview.isVisible());
  EXPECT_TRUE(Action("vwOverview")->isChecked());
  // The whole map, square as it is, with the grid's part outlined.
  overview.grab();
  const QRectF picture = overview.PictureRect();
  EXPECT_NEAR(picture.width(), picture.height(), 1.0);
  const QRectF view = overview.ViewRect();
  EXPECT_EQ(view.topLeft(), picture.topLeft());
  const double scale = picture.width() / 1600.0;
  const int visibleWidth = grid.ControlWidth() - grid.ScrollBarThickness();
  EXPECT_NEAR(view.width(), visibleWidth * scale, 0.01);

  // A click centres the grid's view on the point clicked.
  QTest::mouseClick(&overview, Qt::LeftButton, {}, picture.center().toPoint());
  const QPointF clicked = (picture.center().toPoint() - picture.topLeft()) / scale;
  EXPECT_NEAR(grid.ScrollX() + visibleWidth / 2.0, clicked.x(), 1 / scale);
  EXPECT_NEAR(overview.ViewRect().center().x(), picture.center().x(), 1.0);

  // A drag inside the outline carries the view along by as much.
  const QPoint from = overview.ViewRect().center().toPoint();
  const QPoint before(grid.ScrollX(), grid.ScrollY());
  QTest::mousePress(&overview, Qt::LeftButton, {}, from);
  QTest::mouseMove(&overview, from + QPoint(-20, -10));
  QTest::mouseRelease(&overview, Qt::LeftButton, {}, from + QPoint(-20, -10));
  EXPECT_NEAR(grid.ScrollX() - before.x(), -20 / scale, 1 / scale);
  EXPECT_NEAR(grid.ScrollY() - before.y(), -10 / scale, 1 / scale);

  // An edit in the grid and its undo show in the overview at once, from the
  // map's own report.
  const int col = grid.ScrollX() / 32 + 2;
  const int row = grid.ScrollY() / 32 + 2;
  const QRgb empty = OverviewPixelAt(overview, col, row, 50, 50);
  DragOnGrid(col, row, col, row);
  ASSERT_NE(map->GetTile(mlBase, 2 * col, 2 * row), nullptr);
  EXPECT_NE(OverviewPixelAt(overview, col, row, 50, 50), empty);
  Run("eaUndo");
  EXPECT_EQ(OverviewPixelAt(overview, col, row, 50, 50), empty);

  // The toggle hides and shows it; where it is lasts to the next run.
  Run("vwOverview");
  EXPECT_FALSE(dock->isVisible());
  EXPECT_FALSE(Action("vwOverview")->isChecked());
  window->addDockWidget(Qt::LeftDockWidgetArea, dock);
  map->SetModified(false);
  ASSERT_TRUE(window->close());
  auto store = OpenSettingsStore();
  store->beginGroup(RegistryGroup(TOverviewDock::kKey));
  EXPECT_EQ(store->value("Visible").toString(), "0");
  EXPECT_EQ(store->value("Area").toString(), "Left");
  store.reset();

  MakeWindow();
  window->RestorePlacement();
  dock = window->findChild<TOverviewDock*>("dckOverview");
  EXPECT_FALSE(dock->isVisible());
  EXPECT_EQ(window->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
  Run("vwOverview");
  EXPECT_TRUE(dock->isVisible());
  EXPECT_EQ(dock->Overview()->Map(), window->CurrentMap());
  // A first start in the smallest window leaves the map its room.
  window->close();
  const QString placement = PlacementGroup(kMainPlacementKey, window.get());
  ChangeSettingsFile([&placement](QSettings& settings) {
    settings.remove(RegistryGroup(TOverviewDock::kKey));
    settings.remove(placement);
  });
  MakeWindow();
  window->resize(640, 480);
  window->RestorePlacement();
  EXPECT_FALSE(window->findChild<TOverviewDock*>("dckOverview")->isVisible());
  EXPECT_FALSE(Action("vwOverview")->isChecked());
}
