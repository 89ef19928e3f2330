// A new user's first map, through the real window: the New Map dialog takes
// the name and the size as typed, the status bar shows every grid size whole,
// and an object lands where its outline showed it, centred on the pointer.
#include "WindowTestSupport.h"
#include "app/MessageBoxService.h"
#include "app/PaletteColumn.h"
#include "app/frmMapPropsU.h"
#include "app/frmSplash.h"
#include "base/MessageService.h"
#include "editor/EditSession.h"
#include "editor/controls/ArrangeGrid.h"
#include "editor/controls/MapGrid.h"
#include "map/GridSizes.h"
#include "map/TileMapObjects.h"
#include "widgets/ColorStatusBar.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>

namespace {

// The overlay's sub-cells that hold a tile, as a rectangle (empty when none
// does).
QRect PlacedObjects(const TTileMap& map) {
  QRect placed;
  for (int y = 0; y < map.Height(); ++y)
    for (int x = 0; x < map.Width(); ++x)
      if (map.GetTile(mlOverlay, x, y)) placed |= QRect(x, y, 1, 1);
  return placed;
}

}  // namespace

using TFirstMapTest = TWindowTest;

TEST_F(TFirstMapTest, TheNewMapDialogTakesWhatIsTypedAndTheObjectLandsUnderThePointer) {
  dialogAnswers.push_back([](QDialog& dialog) {
    auto& props = static_cast<TfrmMapProps&>(dialog);
    props.show();
    props.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &props; }));
    // Typing goes straight into the name, replacing the proposed one.
    EXPECT_EQ(QApplication::focusWidget(), props.MapNameEdit());
    EXPECT_EQ(props.MapNameEdit()->selectedText(), "BattleMap1");
    QTest::keyClicks(QApplication::focusWidget(), "Crypt");
    EXPECT_EQ(props.MapNameEdit()->text(), "Crypt");

    // A size typed beyond the range stays as typed until the field is left,
    // then becomes the nearest bound; no text at all becomes the minimum.
    const struct {
      QSpinBox* Spin;
      const char* Typed;
      int Value;
    } typing[] = {{props.WidthSpin(), "", 1},
                  {props.WidthSpin(), "60", 50},
                  {props.HeightSpin(), "0", 1},
                  {props.HeightSpin(), "75", 50}};
    for (const auto& row : typing) {
      SCOPED_TRACE(row.Typed);
      row.Spin->setFocus();
      row.Spin->selectAll();
      QTest::keyClick(row.Spin, Qt::Key_Delete);
      QTest::keyClicks(row.Spin, QString::fromLatin1(row.Typed));
      EXPECT_EQ(row.Spin->text(), QString::fromLatin1(row.Typed));
      props.MapNameEdit()->setFocus();
      EXPECT_EQ(row.Spin->value(), row.Value);
    }
    props.accept();
  });
  Run("faNewMap");
  TTileMap* map = window->CurrentMap();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->MapName(), "Crypt");
  EXPECT_EQ(map->Width(), 100);
  EXPECT_EQ(map->Height(), 100);

  // Every grid size's name fits its status panel.
  TColorStatusBar& status = *window->Status();
  const QFontMetrics metrics(status.TextFont());
  for (int i = 0; i < kGridSizeCount; ++i) {
    map->SetTileSize(GridSizes[i]);
    window->UpdateControls();
    status.UpdatePanelRects();
    const TColorStatusPanel& panel = *status.Panel(1);
    EXPECT_EQ(panel.Text(), QString::fromUtf8(GridSizeNames[i]));
    EXPECT_LE(panel.ContentWidth(metrics), panel.Rect().width()) << GridSizeNames[i];
  }

  // A 2 x 2 table: the outline under the pointer is centred on it, on the
  // half-cell raster, kept whole on the map, and a click puts the table
  // exactly there.
  TPaletteColumn& column = *window->PaletteColumn();
  const int placeables = column.CategoryBox()->findText("Placeables");
  ASSERT_GE(placeables, 0);
  column.CategoryBox()->setCurrentIndex(placeables);
  emit column.CategoryBox()->activated(placeables);
  int table = -1;
  for (int i = 0; i < window->Palette().Groups().Count(); ++i)
    if (window->Palette().Groups().At(i)->GroupName() == "Round Table") table = i;
  ASSERT_GE(table, 0);
  column.Grid()->SetSelected(table);
  const TMapGridModel& grid = window->MapGrid()->Model();
  ASSERT_EQ(grid.CellWidth(), 48);
  QWidget* viewport = window->MapGrid()->viewport();
  const struct {
    QPoint Pointer;
    QRect SubCells;
  } clicks[] = {
      // Sub-cell edges at 264 and 216 lie nearest the pointer.
      {QPoint(269, 219), QRect(9, 7, 4, 4)},
      // By the map's corner the table stays on the map.
      {QPoint(5, 5), QRect(0, 0, 4, 4)},
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.Pointer.x());
    QTest::mouseMove(viewport, click.Pointer);
    const TPixelRect hover = grid.HoverRect();
    EXPECT_EQ(hover.Left, click.SubCells.left() * 24 + 1);
    EXPECT_EQ(hover.Top, click.SubCells.top() * 24 + 1);
    EXPECT_EQ(hover.Right, (click.SubCells.right() + 1) * 24);
    EXPECT_EQ(hover.Bottom, (click.SubCells.bottom() + 1) * 24);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, click.Pointer);
    EXPECT_EQ(PlacedObjects(*map), click.SubCells);
    Run("eaUndo");
  }
}

TEST_F(TFirstMapTest, AStartFileThatFailsIsReportedOverTheSplash) {
  window.reset();
  TfrmSplash splash;
  splash.move(200, 150);
  splash.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
  std::unique_ptr<TMessageService> scripted =
      SetMessageService(std::make_unique<TMessageBoxService>());
  QString caption;
  QRect box;
  QTimer answer;
  answer.setInterval(10);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!shown) return;
    caption = shown->windowTitle();
    box = shown->frameGeometry();
    shown->done(QMessageBox::Ok);
  });
  answer.start();
  // The window is made, and reports the file, before it is shown.
  window = std::make_unique<TfrmMain>(TempPath("missing.tqm"));
  answer.stop();
  SetMessageService(std::move(scripted));
  EXPECT_EQ(caption, "Error Loading File");
  const QPoint offset = box.center() - splash.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
  // It starts with a new map instead.
  EXPECT_EQ(window->MapTabs()->count(), 1);
}
