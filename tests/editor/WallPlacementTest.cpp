#include "EditorTestSupport.h"
#include "map/UndoRedoU.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Counts the grid's repaints of the whole control.
class TRepaintCounter : public TMapGridView {
 public:
  explicit TRepaintCounter(const TMapGridModel& grid) : fGrid(grid) {}
  void PaintRegion(const TRedrawRange& range) override {
    if (range.Region == TPixelRect{0, 0, fGrid.ControlWidth(), fGrid.ControlHeight()}) ++Full;
  }

  int Full = 0;

 private:
  const TMapGridModel& fGrid;
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
  void Wall(int c0, int r0, int c1, int r1, int edge) {
    rig->Drag({c0, r0, 0, 0, edge}, {c1, r1, 0, 0, edge});
  }
  void Wall(int c, int r, int edge) { Wall(c, r, c, r, edge); }
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
  for (int edge = 0; edge < 4; ++edge) {
    SCOPED_TRACE(edge);
    Start(3, 3);
    Wall(1, 1, edge);
    EXPECT_EQ(rig->grid.HotEdge(), edge);
    EXPECT_EQ(Walls(), Lines(pictures[edge]));
    EXPECT_EQ(rig->map->UndoList().Count(), 1);
  }
}

TEST_F(WallTest, TopWallMeetingAWallEndGetsAPostAndAFullRepaint) {
  Start(5, 4);
  TRepaintCounter view(rig->grid);
  rig->grid.SetView(&view);
  Wall(2, 1, ceRight);
  EXPECT_EQ(view.Full, 0);

  Wall(3, 2, ceTop);

  EXPECT_EQ(Walls(), Lines(R"(
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. 51 .. .. .. ..
.. .. .. .. .. 53 .. .. .. ..
.. .. .. .. .. 91 40 41 .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. ..)"));
  EXPECT_EQ(view.Full, 1);
  rig->grid.SetView(nullptr);
}

TEST_F(WallTest, TopAfterLeftMakesTheCornerAndKeepsTheLeftWallsLowerHalf) {
  Start(3, 3);
  Wall(1, 1, ceLeft);
  Wall(1, 1, ceTop);
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
  Wall(1, 1, 2, 1, ceTop);
  Wall(2, 1, 2, 2, ceRight);
  Wall(1, 2, 2, 2, ceBottom);
  Wall(1, 1, 1, 2, ceLeft);
  EXPECT_EQ(Walls(), Lines(room));
  EXPECT_EQ(rig->map->UndoList().Count(), 4);

  Wall(1, 1, 2, 1, ceTop);
  Wall(2, 1, 2, 2, ceRight);
  Wall(1, 2, 2, 2, ceBottom);
  Wall(1, 1, 1, 2, ceLeft);
  EXPECT_EQ(Walls(), Lines(room));
}

// Every joint rule: a wall end in the neighbouring sub-cell (either of the
// two pieces the rule looks for) makes the post beside the new wall.
TEST_F(WallTest, EveryJointPlacesItsPost) {
  struct TCase {
    int edge;
    int nx, ny;  // the neighbour sub-cell, from the cell's top-left sub-cell
    int pieceA, quadA, pieceB, quadB;
    int tx, ty;  // where the post goes
    const char* post;
  };
  const TCase cases[] = {
      {ceTop, -1, -1, 5, 3, 2, 3, -1, 0, "91"},   {ceTop, 2, -1, 7, 2, 3, 2, 2, 0, "80"},
      {ceRight, 2, -1, 6, 2, 3, 2, 1, -1, "a3"},  {ceRight, 2, 2, 4, 0, 0, 0, 1, 2, "91"},
      {ceBottom, -1, 2, 5, 1, 1, 1, -1, 1, "a3"}, {ceBottom, 2, 2, 7, 0, 0, 0, 2, 1, "b2"},
      {ceLeft, -1, -1, 6, 3, 2, 3, 0, -1, "b2"},  {ceLeft, -1, 2, 4, 1, 1, 1, 0, 2, "80"},
  };
  for (const TCase& test : cases) {
    for (const bool second : {false, true}) {
      SCOPED_TRACE(testing::Message() << "edge " << test.edge << " neighbour " << test.nx << ","
                                      << test.ny << (second ? " second piece" : " first piece"));
      Start(5, 5);
      TTileGroup* style = rig->engine.CurrentGroup();
      const int n = second ? test.pieceB : test.pieceA;
      const int q = second ? test.quadB : test.quadA;
      rig->map->PlaceTile(mlWall, 4 + test.nx, 4 + test.ny,
                          style->TileAt(n, 0, 0)->SubTileFor(q, 0), 0, 24);
      Wall(2, 2, test.edge);
      const TMapTile* post = rig->map->GetTile(mlWall, 4 + test.tx, 4 + test.ty);
      ASSERT_NE(post, nullptr);
      EXPECT_EQ(tiles.Name(*post->SubTile()), test.post);
    }
  }
}

TEST_F(WallTest, CellsInRowAndColumnZeroPlaceOnlyTheirOwnPieces) {
  Start(2, 2);
  Wall(0, 0, ceTop);
  Wall(0, 0, ceRight);
  Wall(0, 0, ceBottom);
  Wall(0, 0, ceLeft);
  Wall(1, 0, ceTop);
  Wall(0, 1, ceLeft);
  EXPECT_EQ(Walls(), Lines(R"(
00 11 40 41
32 23 .. ..
70 .. .. ..
72 .. .. ..)"));
}

TEST_F(WallTest, AMissingPieceSkipsOnlyTheRuleThatNeedsIt) {
  // Without the top-left corner the left wall's top half stays.
  Start(3, 3, {0});
  Wall(1, 1, ceLeft);
  Wall(1, 1, ceTop);
  EXPECT_EQ(Walls(), Lines(R"(
.. .. .. .. .. ..
.. .. .. .. .. ..
.. .. 70 41 .. ..
.. .. 72 .. .. ..
.. .. .. .. .. ..
.. .. .. .. .. ..)"));

  // Without the post the wall is drawn without it, and nothing outside the
  // cell changes, so no full repaint.
  Start(5, 4, {9});
  TRepaintCounter view(rig->grid);
  rig->grid.SetView(&view);
  Wall(2, 1, ceRight);
  Wall(3, 2, ceTop);
  EXPECT_EQ(rig->map->GetTile(mlWall, 5, 4), nullptr);
  EXPECT_NE(rig->map->GetTile(mlWall, 6, 4), nullptr);
  EXPECT_EQ(view.Full, 0);
  rig->grid.SetView(nullptr);

  // Without the straight piece of an edge nothing of it is drawn, joints
  // included; the other edges still work.
  Start(5, 4, {4});
  Wall(2, 1, ceRight);
  Wall(3, 2, ceTop);
  Wall(3, 2, ceBottom);
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
