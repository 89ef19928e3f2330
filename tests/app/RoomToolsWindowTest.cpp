// Rooms, doors and fill through the real window, as a game master draws a
// two-room map: what each step leaves on the map and in its export, the
// number of user actions it takes, and undo of every step.
#include "WindowTestSupport.h"
#include "app/PaletteColumn.h"
#include "editor/EditSession.h"
#include "editor/controls/ArrangeGrid.h"
#include "editor/controls/MapGrid.h"
#include "export/VttGeometry.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "tiles/TileObjects.h"
#include "tiles/TilesetList.h"
#include "widgets/ColorStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QRectF>
#include <QStringList>
#include <QTest>

#include <map>

namespace {

// The base layer cell by cell: the first letter of the group name of the
// tile in each cell's top-left sub-cell, '.' for none.
std::string Floors(const TTileMap& map) {
  std::string picture;
  for (int r = 0; r < map.Height() / 2; ++r) {
    for (int c = 0; c < map.Width() / 2; ++c) {
      const TMapTile* tile = map.GetTile(mlBase, 2 * c, 2 * r);
      picture += tile ? '#' : '.';
    }
    picture += '\n';
  }
  return picture;
}

std::string Text(const QPointF& p) {
  return QString::number(p.x()).toStdString() + "," + QString::number(p.y()).toStdString();
}

class TRoomToolsWindowTest : public TWindowTest {
 protected:
  // A click in a cell at a point given in fractions of the cell.
  void Click(int col, int row, double fx, double fy) {
    const TMapGridModel& grid = window->MapGrid()->Model();
    const QPoint at(int((col + fx) * grid.CellWidth()) - grid.ScrollX(),
                    int((row + fy) * grid.CellHeight()) - grid.ScrollY());
    QWidget* viewport = window->MapGrid()->viewport();
    QTest::mouseMove(viewport, at);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
  }
  void Pick(const char* group) {
    const TTileCatList& groups = window->Palette().Groups();
    for (int i = 0; i < groups.Count(); ++i)
      if (groups.At(i)->GroupName() == QLatin1String(group)) {
        window->PaletteColumn()->Grid()->SetSelected(i);
        return;
      }
    FAIL() << group;
  }
  TTileMap& Map() const { return *window->CurrentMap(); }
};

TEST_F(TRoomToolsWindowTest, TwoRoomsADoorAndAFillInSixActionsAndEachUndone) {
  int actions = 0;
  // 1: the room tool; the first floor and the first wall style are ready.
  Run("gaRooms"), ++actions;
  EXPECT_TRUE(Action("gaRooms")->isChecked());
  EXPECT_TRUE(window->PaletteColumn()->WallStyleBox()->isVisible());
  EXPECT_EQ(window->PaletteColumn()->WallStyleBox()->currentText(), "Standard");
  // 2, 3: two rooms side by side.
  DragOnGrid(1, 1, 3, 3), ++actions;
  DragOnGrid(4, 1, 6, 3), ++actions;
  EXPECT_EQ(Floors(Map()).substr(0, 36), "........\n.######.\n.######.\n.######.\n");
  // 4: the door tool lists the doors.
  Run("gaDoors"), ++actions;
  EXPECT_EQ(window->PaletteColumn()->CategoryBox()->currentText(), "Doors");
  EXPECT_EQ(window->Engine().CurrentGroup()->GroupName(), "Door, Closed");
  EXPECT_FALSE(window->PaletteColumn()->WallStyleBox()->isVisible());
  // 5: a click inside the second room near the shared wall snaps to it.
  Click(4, 2, 0.3, 0.5), ++actions;
  // 6: save.
  const QString saved = TempPath(QStringLiteral("rooms.tqm"));
  dialogs->Answers = {saved};
  Run("faSave"), ++actions;
  EXPECT_LE(actions, 6);
  EXPECT_EQ(Map().UndoList().Count(), 0);  // saving clears the history

  // The saved map as a virtual tabletop reads it: every wall outline closed
  // (each end meets another wall or the door), one portal on the shared
  // wall and the wall cut exactly there.
  TTileMap reloaded;
  reloaded.LoadFromFile(saved);
  const TVttGeometry vtt = VttGeometry(reloaded, &TilesetList());
  EXPECT_EQ(vtt.UnrecognisedWallPieces, 0);
  ASSERT_EQ(vtt.Portals.size(), 1u);
  EXPECT_EQ(Text(vtt.Portals[0].Position), "4,2.5");
  std::map<std::string, int> ends;
  std::vector<std::string> atDoorLine;
  for (const auto& line : vtt.LineOfSight) {
    ASSERT_EQ(line.size(), 2u);
    for (const QPointF& p : line)
      ++ends[Text(p)];
    if (line[0].x() == 4 && line[1].x() == 4)
      atDoorLine.push_back(Text(line[0]) + " " + Text(line[1]));
  }
  ++ends[Text(vtt.Portals[0].BoundA)];
  ++ends[Text(vtt.Portals[0].BoundB)];
  // An end meets another end, or a wall running past it (a T joint).
  const auto onAWall = [&vtt](const std::string& point) {
    for (const auto& line : vtt.LineOfSight) {
      const QRectF span = QRectF(line[0], line[1]).normalized();
      const std::string a = Text(line[0]);
      const std::string b = Text(line[1]);
      if (point == a || point == b) continue;
      const QStringList xy = QString::fromStdString(point).split(QLatin1Char(','));
      const QPointF p(xy[0].toDouble(), xy[1].toDouble());
      if (p.x() >= span.left() && p.x() <= span.right() && p.y() >= span.top() &&
          p.y() <= span.bottom())
        return true;
    }
    return false;
  };
  for (const auto& [point, count] : ends)
    EXPECT_TRUE(count >= 2 || onAWall(point)) << point;
  EXPECT_EQ(atDoorLine, (std::vector<std::string>{"4,1 4,2", "4,3 4,4"}));

  // Fill: back to the floors, a second floor poured into the second room.
  Run("gaFill");
  EXPECT_EQ(window->PaletteColumn()->CategoryBox()->currentText(), "Floors");
  Pick("Marble");
  const TTileGroup* marble = window->Engine().CurrentGroup();
  Click(5, 2, 0.5, 0.5);
  const auto floorAt = [this](int c, int r) {
    const TMapTile* tile = Map().GetTile(mlBase, 2 * c, 2 * r);
    return tile ? tile->SubTile()->Guid() : QString();
  };
  const auto isMarble = [&](int c, int r) {
    const QString guid = floorAt(c, r);
    for (int x = 0; x < marble->PatWidth(); ++x)
      if (marble->StoredTile(x, 0)->SubTile(0).Guid() == guid) return true;
    return false;
  };
  for (int c = 0; c < 8; ++c)
    EXPECT_EQ(isMarble(c, 2), c >= 4 && c <= 6) << c;
  EXPECT_FALSE(isMarble(5, 0));

  // Each step undoes alone.
  Run("eaUndo");
  EXPECT_FALSE(isMarble(5, 2));
  EXPECT_FALSE(Map().UndoList().CanUndo());
  EXPECT_FALSE(Action("eaUndo")->isEnabled());
}

// The same steps before the save, undone one by one: the door puts its
// wall back, the rooms go.
TEST_F(TRoomToolsWindowTest, UndoTakesBackDoorAndRoomsOneAtATime) {
  Run("gaRooms");
  DragOnGrid(1, 1, 3, 3);
  DragOnGrid(4, 1, 6, 3);
  Run("gaDoors");
  const auto wallAt = [this](int x, int y) { return Map().GetTile(mlWall, x, y) != nullptr; };
  ASSERT_TRUE(wallAt(7, 4));
  Click(4, 2, 0.3, 0.5);
  EXPECT_FALSE(wallAt(7, 4));
  EXPECT_FALSE(wallAt(7, 5));
  EXPECT_TRUE(Map().GetTile(mlOverlay, 7, 4));
  Run("eaUndo");
  EXPECT_TRUE(wallAt(7, 4));
  EXPECT_FALSE(Map().GetTile(mlOverlay, 7, 4));
  Run("eaUndo");
  EXPECT_FALSE(wallAt(13, 2));
  EXPECT_TRUE(wallAt(7, 4));
  Run("eaUndo");
  EXPECT_FALSE(wallAt(7, 4));
  EXPECT_EQ(Floors(Map()).substr(9, 9), "........\n");

  // A non-floor group: the room tool says so and places nothing.
  Run("gaRooms");
  window->PaletteColumn()->CategoryBox()->setCurrentIndex(1);
  window->Palette().cbxCategoryChange(1);
  DragOnGrid(1, 1, 2, 2);
  EXPECT_FALSE(Map().UndoList().CanUndo());
  EXPECT_TRUE(window->Status()->PanelText(2).contains("floor group"));
}

// Pictures of each new tool in use, for looking at, not a check:
//   QT_SCALE_FACTOR=2 tests_app --gtest_also_run_disabled_tests
//       --gtest_filter='*RoomToolsShots*'
// writes PNGs into $TESSELLAN_SHOTS (default /tmp/tessellan-shots).
TEST_F(TRoomToolsWindowTest, DISABLED_RoomToolsShots) {
  const QString dir =
      qEnvironmentVariable("TESSELLAN_SHOTS", QStringLiteral("/tmp/tessellan-shots"));
  QDir().mkpath(dir);
  const int ratio = qRound(qApp->devicePixelRatio());
  const auto shot = [&](const char* name) {
    QApplication::processEvents();
    ASSERT_TRUE(window->grab().save(QStringLiteral("%1/%2@%3x.png").arg(dir).arg(name).arg(ratio)));
  };
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QWidget* viewport = window->MapGrid()->viewport();
  const TMapGridModel& grid = window->MapGrid()->Model();
  Run("gaRooms");
  DragOnGrid(1, 1, 3, 4);
  // A second room while the drag is under way.
  QTest::mouseMove(viewport, CellPoint(4, 1));
  QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(4, 1));
  QTest::mouseMove(viewport, CellPoint(6, 4));
  shot("rooms");
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellPoint(6, 4));
  Run("gaDoors");
  const QPoint nearWall(int(4.3 * grid.CellWidth()), int(2.5 * grid.CellHeight()));
  QTest::mouseMove(viewport, nearWall);
  shot("doors-snap");
  QTest::mouseClick(viewport, Qt::LeftButton, {}, nearWall);
  QTest::mouseMove(viewport, QPoint(int(2.5 * grid.CellWidth()), int(4.8 * grid.CellHeight())));
  shot("doors-placed");
  Run("gaFill");
  Pick("Marble");
  QTest::mouseMove(viewport, CellPoint(5, 2));
  QTest::mouseClick(viewport, Qt::LeftButton, {}, CellPoint(5, 2));
  shot("fill");
}

}  // namespace
