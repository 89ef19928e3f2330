#include "EditorTestSupport.h"
#include "map/UndoRedoU.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Records what the grid repaints: the sub-cells of every partial repaint, and
// how often the whole control was repainted.
class TRepaintRecorder : public TMapGridView {
 public:
  explicit TRepaintRecorder(const TMapGridModel& grid) : fGrid(grid) {}
  void PaintRegion(const TRedrawRange& range) override {
    if (range.Region == TPixelRect{0, 0, fGrid.ControlWidth(), fGrid.ControlHeight()}) {
      ++Full;
      return;
    }
    for (int y = range.FirstSubRow; y <= range.LastSubRow; ++y)
      for (int x = range.FirstSubCol; x <= range.LastSubCol; ++x)
        fPainted.insert({y, x});
  }
  // The sub-cells repainted since the last call, "x,y" row by row.
  std::string TakePainted() {
    std::string text;
    for (const auto& [y, x] : fPainted)
      text += (text.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(y);
    fPainted.clear();
    return text;
  }

  int Full = 0;

 private:
  const TMapGridModel& fGrid;
  std::set<std::pair<int, int>> fPainted;
};

// The wall tool with a wall style made in the test.
class WallTest : public testing::Test {
 protected:
  void Start(int cols, int rows, const std::set<int>& missing = {}) {
    rig = std::make_unique<TEngineRig>(cols, rows);
    rig->engine.SetCurrentGroup(&tiles.MakeWallStyle(missing));
    rig->engine.SetTool(etPlaceWalls);
  }
  // A drag along one edge from one cell to another, as the mouse makes it.
  void Wall(int c0, int r0, int c1, int r1, TCellEdge edge) {
    rig->Drag({c0, r0, 0, 0, edge}, {c1, r1, 0, 0, edge});
  }
  void Wall(int c, int r, TCellEdge edge) { Wall(c, r, c, r, edge); }
  std::string Walls() const { return tiles.SubCellPicture(*rig->map, mlWall); }

  TTestTiles tiles;
  std::unique_ptr<TEngineRig> rig;
};

TEST_F(WallTest, EachEdgeAloneIsTheStraightPieceAlongIt) {
  const char* const pictures[4] = {
      R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. 40 41 .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)",
      R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. .. 51 .. ..
.. .. .. 53 .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)",
      R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. 62 63 .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)",
      R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. 70 .. .. ..
.. .. 72 .. .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)",
  };
  for (const TCellEdge edge :
       {TCellEdge::Top, TCellEdge::Right, TCellEdge::Bottom, TCellEdge::Left}) {
    SCOPED_TRACE(EdgeIndex(edge));
    Start(3, 3);
    Wall(1, 1, edge);
    EXPECT_EQ(rig->grid.HotEdge(), edge);
    EXPECT_EQ(Walls(), Lines(pictures[EdgeIndex(edge)]));
    EXPECT_EQ(rig->map->UndoList().Count(), 1);
  }
}

// One wall from the press to the stored map and back to the screen: the map
// reports the sub-cells each step touched, the post outside the selected
// cells included, and the grid repaints exactly those, after the drag, undo
// and redo alike. Only whole-map changes repaint everything.
TEST_F(WallTest, TheGridRepaintsExactlyWhatTheMapReportsChanged) {
  Start(5, 4);
  TRepaintRecorder view(rig->grid);
  rig->grid.SetView(&view);
  Wall(2, 1, TCellEdge::Right);
  EXPECT_EQ(view.TakePainted(), "5,2 5,3");

  Wall(3, 2, TCellEdge::Top);
  const std::string walls = Lines(R"(
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. 51 .. .. .. ..
.. .. .. .. .. 53 .. .. .. ..
.. .. .. .. .. 91 40 41 .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..)");
  EXPECT_EQ(Walls(), walls);
  // The post at 5,4 lies in cell (2, 2), outside the selected cell.
  EXPECT_EQ(view.TakePainted(), "5,4 6,4 7,4");

  rig->engine.eaUndoExecute();
  EXPECT_EQ(view.TakePainted(), "5,4 6,4 7,4");
  rig->engine.eaRedoExecute();
  EXPECT_EQ(view.TakePainted(), "5,4 6,4 7,4");
  EXPECT_EQ(Walls(), walls);
  EXPECT_EQ(view.Full, 0);

  // A nudge moves everything, and so does its undo.
  rig->engine.gaNudgeLeftExecute();
  EXPECT_EQ(view.Full, 1);
  rig->engine.eaUndoExecute();
  EXPECT_EQ(view.Full, 2);
  EXPECT_EQ(Walls(), walls);
  EXPECT_EQ(view.TakePainted(), "");

  // A resize, done and undone, brings the grid's size along.
  rig->engine.gaAddColExecute();
  EXPECT_EQ(rig->grid.CellColCount(), 6);
  rig->engine.eaUndoExecute();
  EXPECT_EQ(rig->grid.CellColCount(), 5);
  EXPECT_EQ(view.Full, 4);
  rig->grid.SetView(nullptr);
}

TEST_F(WallTest, TopAfterLeftMakesTheCornerAndKeepsTheLeftWallsLowerHalf) {
  Start(3, 3);
  Wall(1, 1, TCellEdge::Left);
  Wall(1, 1, TCellEdge::Top);
  EXPECT_EQ(Walls(), Lines(R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. 00 41 .. ..
.. .. 72 .. .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)"));
}

// A room of 2 x 2 cells drawn with four drags: straight walls join into the
// four corners. Drawing every wall again changes nothing.
TEST_F(WallTest, RoomCornersJoinAndDrawingAgainChangesNothing) {
  const char* const room = R"(
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. 00 41 40 11 .. ..
.. .. 72 .. .. 53 .. ..
.. .. 70 .. .. 51 .. ..
.. .. 32 63 62 23 .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)";
  Start(4, 4);
  Wall(1, 1, 2, 1, TCellEdge::Top);
  Wall(2, 1, 2, 2, TCellEdge::Right);
  Wall(1, 2, 2, 2, TCellEdge::Bottom);
  Wall(1, 1, 1, 2, TCellEdge::Left);
  EXPECT_EQ(Walls(), Lines(room));
  EXPECT_EQ(rig->map->UndoList().Count(), 4);

  Wall(1, 1, 2, 1, TCellEdge::Top);
  Wall(2, 1, 2, 2, TCellEdge::Right);
  Wall(1, 2, 2, 2, TCellEdge::Bottom);
  Wall(1, 1, 1, 2, TCellEdge::Left);
  EXPECT_EQ(Walls(), Lines(room));
}

// Every joint rule: a wall end in the neighbouring sub-cell (either of the
// two pieces the rule looks for) makes the post beside the new wall.
TEST_F(WallTest, EveryJointPlacesItsPost) {
  struct TCase {
    TCellEdge edge;
    int nx, ny;  // the neighbour sub-cell, from the cell's top-left sub-cell
    int pieceA, quadA, pieceB, quadB;
    int tx, ty;  // where the post goes
    const char* post;
  };
  const TCase cases[] = {
      {TCellEdge::Top, -1, -1, 5, 3, 2, 3, -1, 0, "91"},
      {TCellEdge::Top, 2, -1, 7, 2, 3, 2, 2, 0, "80"},
      {TCellEdge::Right, 2, -1, 6, 2, 3, 2, 1, -1, "a3"},
      {TCellEdge::Right, 2, 2, 4, 0, 0, 0, 1, 2, "91"},
      {TCellEdge::Bottom, -1, 2, 5, 1, 1, 1, -1, 1, "a3"},
      {TCellEdge::Bottom, 2, 2, 7, 0, 0, 0, 2, 1, "b2"},
      {TCellEdge::Left, -1, -1, 6, 3, 2, 3, 0, -1, "b2"},
      {TCellEdge::Left, -1, 2, 4, 1, 1, 1, 0, 2, "80"},
  };
  for (const TCase& test : cases) {
    for (const bool second : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << "edge " << EdgeIndex(test.edge) << " neighbour " << test.nx << "," << test.ny
                   << (second ? " second piece" : " first piece"));
      Start(5, 5);
      TTileGroup* style = rig->engine.CurrentGroup();
      const int n = second ? test.pieceB : test.pieceA;
      const int q = second ? test.quadB : test.quadA;
      rig->map->PlaceTile(mlWall, 4 + test.nx, 4 + test.ny,
                          style->TileAt(n, 0, 0)->SubTileFor(q, 0), 0);
      Wall(2, 2, test.edge);
      const TMapTile* post = rig->map->GetTile(mlWall, 4 + test.tx, 4 + test.ty);
      ASSERT_NE(post, nullptr);
      EXPECT_EQ(tiles.Name(*post->SubTile()), test.post);
    }
  }
}

TEST_F(WallTest, CellsInRowAndColumnZeroPlaceOnlyTheirOwnPieces) {
  Start(2, 2);
  Wall(0, 0, TCellEdge::Top);
  Wall(0, 0, TCellEdge::Right);
  Wall(0, 0, TCellEdge::Bottom);
  Wall(0, 0, TCellEdge::Left);
  Wall(1, 0, TCellEdge::Top);
  Wall(0, 1, TCellEdge::Left);
  EXPECT_EQ(Walls(), Lines(R"(
00 11 40 41
32 23 .. ..
70 .. .. ..
72 .. .. ..)"));
}

TEST_F(WallTest, AMissingPieceSkipsOnlyTheRuleThatNeedsIt) {
  // Without the top-left corner the left wall's top half stays.
  Start(3, 3, {0});
  Wall(1, 1, TCellEdge::Left);
  Wall(1, 1, TCellEdge::Top);
  EXPECT_EQ(Walls(), Lines(R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. 70 41 .. ..
.. .. 72 .. .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)"));

  // Without the post the wall is drawn without it, and nothing outside the
  // cell changes, so nothing outside it repaints.
  Start(5, 4, {9});
  TRepaintRecorder view(rig->grid);
  rig->grid.SetView(&view);
  Wall(2, 1, TCellEdge::Right);
  view.TakePainted();
  Wall(3, 2, TCellEdge::Top);
  EXPECT_EQ(rig->map->GetTile(mlWall, 5, 4), nullptr);
  EXPECT_NE(rig->map->GetTile(mlWall, 6, 4), nullptr);
  EXPECT_EQ(view.TakePainted(), "6,4 7,4");
  EXPECT_EQ(view.Full, 0);
  rig->grid.SetView(nullptr);

  // Without the straight piece of an edge nothing of it is drawn, joints
  // included; the other edges still work.
  Start(5, 4, {4});
  Wall(2, 1, TCellEdge::Right);
  Wall(3, 2, TCellEdge::Top);
  Wall(3, 2, TCellEdge::Bottom);
  EXPECT_EQ(Walls(), Lines(R"(
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. 51 .. .. .. ..
.. .. .. .. .. 53 .. .. .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. 62 63 .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..)"));
  EXPECT_EQ(rig->map->UndoList().Count(), 3);
}

}  // namespace
