#include "EditorTestSupport.h"
#include "editor/MapBuilder.h"
#include "map/UndoRedoU.h"
#include "support/ScriptedMessages.h"
#include "tiles/SubTileIndex.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// The room, door and fill tools over a map of 8 x 5 cells, with a floor
// group 'F', a second floor 'G', an object 'O', a door 'D' and a wall style
// made in the test.
class RoomToolsTest : public testing::Test {
 protected:
  void SetUp() override {
    floor = &tiles.MakeGroup(1, 1, gtFloor, ptRandom, 'F');
    other = &tiles.MakeGroup(1, 1, gtFloor, ptRandom, 'G');
    object = &tiles.MakeGroup(1, 1, gtObjects, ptFixed, 'O');
    door = &tiles.MakeGroup(1, 1, gtObjects, ptFixed, 'D');
    door->SetCategory(QStringLiteral("Doors"));
    rig.engine.SetWallStyle(&tiles.MakeWallStyle());
  }
  // A tool and a group picked in the palette (which sets the grid up only
  // for the place-tiles tool).
  void Tool(TEditTool tool, TTileGroup& group) {
    rig.engine.SetTool(tool);
    rig.engine.SetCurrentGroup(&group);
    rig.engine.SetOrientation(0);
  }
  std::string Walls() const { return tiles.SubCellPicture(*rig.map, mlWall); }
  std::string Floors() const { return tiles.CellPicture(*rig.map, mlBase); }
  int Steps() const { return rig.map->UndoList().Count(); }

  TTestTiles tiles;
  TEngineRig rig{8, 5};
  TTileGroup* floor = nullptr;
  TTileGroup* other = nullptr;
  TTileGroup* object = nullptr;
  TTileGroup* door = nullptr;
};

// Two rooms side by side, a door in the wall they share, a fill, and every
// step undone again: each tool is one undo step, the rooms share one wall
// line, the door cuts exactly its edge and turns to the wall's side.
TEST_F(RoomToolsTest, TwoRoomsADoorAndAFillEachOneStep) {
  Tool(etRooms, *floor);
  rig.Drag({1, 1}, {3, 3});
  rig.Drag({4, 1}, {6, 3});
  EXPECT_EQ(Steps(), 2);
  EXPECT_EQ(Floors(), Lines(R"(
........
.FFFFFF.
.FFFFFF.
.FFFFFF.
........)"));
  // Between the rooms one wall line: the first room's right wall.
  const std::string rooms = Lines(R"(
.. .. .. .. .. .. .. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. .. .. .. .. .. .. ..
.. .. 00 41 40 41 40 11 40 41 40 41 40 11 .. ..
.. .. 72 .. .. .. .. 53 .. .. .. .. .. 53 .. ..
.. .. 70 .. .. .. .. 51 .. .. .. .. .. 51 .. ..
.. .. 72 .. .. .. .. 53 .. .. .. .. .. 53 .. ..
.. .. 70 .. .. .. .. 51 .. .. .. .. .. 51 .. ..
.. .. 32 63 62 63 62 23 62 63 62 63 62 23 .. ..
.. .. .. .. .. .. .. .. .. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. .. .. .. .. .. .. .. .. ..)");
  EXPECT_EQ(Walls(), rooms);

  // The door tool snaps to the shared wall from inside the second room and
  // cuts the two pieces of its edge; the door faces the wall's own side.
  Tool(etDoors, *door);
  EXPECT_EQ(rig.grid.SelectType(), TSelectType::Edge);
  const int cell = rig.grid.CellWidth();
  rig.grid.MouseMove(4 * cell + cell / 4, 2 * cell + cell / 2);
  EXPECT_EQ(rig.grid.HotEdge(), TCellEdge::Right);
  EXPECT_EQ(rig.grid.CurCol(), 3);
  rig.grid.MousePress(4 * cell + cell / 4, 2 * cell + cell / 2, TMouseButton::Left);
  rig.grid.MouseRelease(4 * cell + cell / 4, 2 * cell + cell / 2, TMouseButton::Left);
  EXPECT_EQ(Steps(), 3);
  const TMapTile* placed = rig.map->GetTile(mlOverlay, 7, 4);
  ASSERT_TRUE(placed);
  EXPECT_EQ(tiles.Name(*placed->SubTile()), "D2");  // turned a quarter: quadrant 2 top-left
  EXPECT_EQ(placed->Orientation(), 1);
  EXPECT_TRUE(rig.map->GetTile(mlOverlay, 8, 5));
  std::string cut = rooms;
  const auto at = [](int x, int y) { return size_t(y * 48 + x * 3); };
  cut.replace(at(7, 4), 2, "..");
  cut.replace(at(7, 5), 2, "..");
  EXPECT_EQ(Walls(), cut);

  // The fill stays within the second room: the walls and the door bound it.
  // (The door is known by its group, as the installed tilesets make it
  // known in the program.)
  std::mt19937 random;
  TSubTileIndex walls;
  walls.AddGroup(*rig.engine.WallStyle());
  TSubTileIndex doors;
  doors.AddGroup(*door);
  TMapBuilder builder(*rig.map, walls, doors, random);
  EXPECT_TRUE(builder.HasDoor({4, 2, TCellEdge::Left}));
  builder.FillFloor(builder.FillRegion(5, 2, 100), *other, 0);
  EXPECT_EQ(Steps(), 4);
  EXPECT_EQ(Floors(), Lines(R"(
........
.FFFGGG.
.FFFGGG.
.FFFGGG.
........)"));

  rig.engine.eaUndoExecute();
  EXPECT_EQ(Floors()[9 * 2 + 5], 'F');
  rig.engine.eaUndoExecute();
  EXPECT_EQ(Walls(), rooms);
  EXPECT_FALSE(rig.map->GetTile(mlOverlay, 7, 4));
  rig.engine.eaUndoExecute();
  rig.engine.eaUndoExecute();
  for (int y = 0; y < rig.map->Height(); ++y)
    for (int x = 0; x < rig.map->Width(); ++x)
      for (int layer = 0; layer < kLayerCount; ++layer)
        EXPECT_FALSE(rig.map->GetTile(layer, x, y)) << x << "," << y;
}

// What the tools refuse, and where a door lands without a wall.
TEST_F(RoomToolsTest, RefusalsAndADoorWithoutWall) {
  QSignalSpy said(&rig.engine, &TPlacementEngine::StatusMessage);
  for (const TEditTool tool : {etRooms, etFill}) {
    Tool(tool, *object);
    rig.Drag({1, 1}, {2, 2});
  }
  Tool(etDoors, *floor);
  rig.Click({1, 1, 0, 0, TCellEdge::Top});
  EXPECT_EQ(said.count(), 3);
  EXPECT_EQ(Steps(), 0);

  // A free edge: the door is centred on it all the same, turned along it.
  Tool(etDoors, *door);
  rig.Click({2, 2, 0, 0, TCellEdge::Bottom});
  const TMapTile* placed = rig.map->GetTile(mlOverlay, 4, 5);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->Orientation(), 2);
  EXPECT_TRUE(rig.map->GetTile(mlOverlay, 5, 6));
  EXPECT_EQ(Steps(), 1);
}

// A room built against an existing wall reuses it on every side it shares,
// one drawn inside another leaves no loose piece, and the fill stops at a
// door lying across an edge where no wall is.
TEST_F(RoomToolsTest, RoomsReuseWallsAndFillStopsAtDoors) {
  Tool(etRooms, *floor);
  rig.Drag({0, 0}, {7, 4});
  rig.Drag({2, 1}, {4, 3});
  // The inner room got its own four walls inside the outer room.
  std::mt19937 random;
  TSubTileIndex walls;
  walls.AddGroup(*rig.engine.WallStyle());
  TSubTileIndex doors;
  doors.AddGroup(*door);
  TMapBuilder builder(*rig.map, walls, doors, random);
  for (const TEdgeSpot& edge :
       {TEdgeSpot{2, 1, TCellEdge::Top}, TEdgeSpot{4, 2, TCellEdge::Right},
        TEdgeSpot{3, 3, TCellEdge::Bottom}, TEdgeSpot{2, 2, TCellEdge::Left}})
    EXPECT_EQ(builder.WalledHalves(edge), 2);
  EXPECT_EQ(builder.WalledHalves({3, 2, TCellEdge::Top}), 0);
  // A room against the inner room's outside gets no wall of its own along
  // the line they share (only the joints' posts at its ends); beyond the
  // inner room it walls its own side.
  rig.Drag({0, 0}, {1, 4});
  for (int y = 3; y < 7; ++y)
    EXPECT_FALSE(rig.map->GetTile(mlWall, 3, y)) << y;
  EXPECT_TRUE(rig.map->GetTile(mlWall, 3, 0));
  EXPECT_EQ(builder.WalledHalves({1, 2, TCellEdge::Right}), 2);

  // Fill: the region inside the outer room but outside the inner one and
  // the left room, then a door across an open edge closes a cell off.
  EXPECT_EQ(builder.FillRegion(5, 2, 1000).size(), size_t(6 * 5 - 3 * 3));
  Tool(etDoors, *door);
  rig.Click({6, 2, 0, 0, TCellEdge::Right});
  EXPECT_TRUE(builder.HasDoor({6, 2, TCellEdge::Right}));
  EXPECT_FALSE(builder.HasDoor({6, 2, TCellEdge::Left}));
  EXPECT_EQ(builder.FillRegion(7, 2, 1000).size(),
            builder.FillRegion(5, 2, 1000).size());  // the door does not close the region alone
}

// More than 10,000 cells ask first; No places nothing and makes no step.
TEST_F(RoomToolsTest, ALargeFillAsksFirst) {
  TEngineRig big(101, 100);
  big.engine.SetTool(etFill);
  big.Select(*floor);
  ScriptedMessages().Answers = {TMsgAnswer::No, TMsgAnswer::Yes};
  big.Click({0, 0});
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Buttons, unsigned(mbYes | mbNo));
  EXPECT_EQ(big.map->UndoList().Count(), 0);
  big.Click({50, 50});
  EXPECT_EQ(big.map->UndoList().Count(), 1);
  EXPECT_TRUE(big.map->GetTile(mlBase, 201, 199));
}

}  // namespace
