#include "EditorTestSupport.h"
#include "map/UndoRedoU.h"
#include "tiles/ImageTransforms.h"

#include <gtest/gtest.h>

#include <random>

namespace {

int UndoCount(const TTileMap& map) {
  return map.UndoList().Count();
}

TEST(Placement, PatternRepeatsFromTheDraggedRectanglesTopLeft) {
  TTestTiles tiles;
  TEngineRig rig;
  rig.Select(tiles.MakeGroup(2, 2, gtFloor, ptPattern));
  EXPECT_EQ(rig.grid.CursorRectWidth(), 2);
  EXPECT_TRUE(rig.grid.SelectRange());

  rig.Drag({1, 1}, {5, 3});

  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), Lines(R"(
........
.ABABA..
.CDCDC..
.ABABA..
........)"));
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlOverlay), Lines(R"(
........
........
........
........
........)"));
  EXPECT_EQ(UndoCount(*rig.map), 1);
}

TEST(Placement, RandomDrawsColumnThenRowForEveryCellRowByRow) {
  TTestTiles tiles;
  TEngineRig rig;
  rig.Select(tiles.MakeGroup(3, 2, gtFloor, ptRandom));
  EXPECT_EQ(rig.grid.CursorRectWidth(), 1);
  rig.engine.SetSeed(1234);

  rig.Drag({2, 1}, {5, 2});

  std::mt19937 byHand(1234);
  std::string expected;
  for (int r = 0; r < 5; ++r) {
    if (r > 0) expected += '\n';
    for (int c = 0; c < 8; ++c) {
      if (r < 1 || r > 2 || c < 2 || c > 5) {
        expected += '.';
        continue;
      }
      const int a = std::uniform_int_distribution<int>(0, 2)(byHand);
      const int b = std::uniform_int_distribution<int>(0, 1)(byHand);
      expected += char('A' + 3 * b + a);
    }
  }
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), expected);
  EXPECT_EQ(UndoCount(*rig.map), 1);
}

TEST(Placement, RandomGroupOfOneTileFillsEveryCell) {
  TTestTiles tiles;
  TEngineRig rig(4, 2);
  rig.Select(tiles.MakeGroup(1, 1, gtFloor, ptRandom));
  rig.Drag({0, 0}, {3, 1});
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "AAAA\nAAAA");
}

TEST(Placement, FixedGroupRotatedClockwiseLandsRotatedAndClampedAtTheEdge) {
  TTestTiles tiles;
  TEngineRig rig;
  rig.Select(tiles.MakeGroup(2, 3, gtFloor, ptFixed));  // AB / CD / EF
  EXPECT_FALSE(rig.grid.SelectRange());
  rig.engine.vwRotateClockwiseExecute();
  EXPECT_EQ(rig.engine.Orientation(), 1);
  EXPECT_EQ(rig.grid.CursorRectWidth(), 3);
  EXPECT_EQ(rig.grid.CursorRectHeight(), 2);

  rig.Click({1, 1});
  // Dragging a Fixed group anywhere still places it once, at the press.
  rig.Drag({6, 3}, {2, 0});

  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), Lines(R"(
........
.ECA....
.FDB....
......EC
......FD)"));
  EXPECT_EQ(UndoCount(*rig.map), 2);
}

TEST(Placement, ObjectsLandOnTheHalfCellRaster) {
  TTestTiles tiles;
  TEngineRig rig(4, 3);
  rig.Select(tiles.MakeGroup(1, 1, gtObjects, ptFixed));
  EXPECT_EQ(rig.grid.SelectType(), TSelectType::SubCell);
  EXPECT_FALSE(rig.grid.SelectRange());

  rig.Click({1, 1, 1, 0});  // right half of cell (1, 1)
  rig.Click({0, 0, 1, 1});  // bottom-right quarter of cell (0, 0)

  EXPECT_EQ(tiles.SubCellPicture(*rig.map, mlOverlay), Lines(R"(
.. .. .. .. .. .. .. ..
.. A0 A1 .. .. .. .. ..
.. A2 A3 A0 A1 .. .. ..
.. .. .. A2 A3 .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)"));
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "....\n....\n....");
}

// Erasing one cell with each erase menu item, over a map with a floor, an
// object half a cell off and walls.
TEST(Placement, EraseWorksOnTheChosenLayersOfTheSelectedCellsOnly) {
  struct TCase {
    int tag;
    bool base, overlay, wall;  // whether the cell is emptied in that layer
  };
  const TCase cases[] = {
      {0, true, false, false},
      {1, false, true, false},
      {2, false, false, true},
      {3, true, true, true},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.tag);
    TTestTiles tiles;
    TEngineRig rig(4, 3);
    TTileGroup& floor = tiles.MakeGroup(1, 1, gtFloor, ptPattern, 'F');
    TTileGroup& object = tiles.MakeGroup(1, 1, gtObjects, ptFixed, 'A');
    TTileGroup& walls = tiles.MakeWallStyle();
    rig.Select(floor);
    rig.Drag({0, 0}, {3, 2});
    rig.Select(object);
    rig.Click({1, 1, 1, 0});
    rig.engine.SetCurrentGroup(&walls);
    rig.engine.SetTool(etPlaceWalls);
    rig.Drag({1, 1, 0, 0, TCellEdge::Top}, {2, 1, 0, 0, TCellEdge::Top});
    const std::string before[3] = {tiles.SubCellPicture(*rig.map, mlBase),
                                   tiles.SubCellPicture(*rig.map, mlOverlay),
                                   tiles.SubCellPicture(*rig.map, mlWall)};

    rig.engine.mnuEraseBaseClick(test.tag);
    rig.engine.gaEraserExecute();
    EXPECT_EQ(rig.engine.CheckedEraseTag(), test.tag);
    rig.Click({1, 1});

    EXPECT_EQ(tiles.SubCellPicture(*rig.map, mlBase), test.base ? Lines(R"(
F0 F1 F0 F1 F0 F1 F0 F1
F2 F3 F2 F3 F2 F3 F2 F3
F0 F1 .. .. F0 F1 F0 F1
F2 F3 .. .. F2 F3 F2 F3
F0 F1 F0 F1 F0 F1 F0 F1
F2 F3 F2 F3 F2 F3 F2 F3)")
                                                                : before[0]);
    // Of the object half a cell off, only the half inside the cell goes.
    EXPECT_EQ(tiles.SubCellPicture(*rig.map, mlOverlay), test.overlay ? Lines(R"(
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. A1 .. .. ..
.. .. .. .. A3 .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)")
                                                                      : before[1]);
    EXPECT_EQ(tiles.SubCellPicture(*rig.map, mlWall), test.wall ? Lines(R"(
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. 40 41 .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)")
                                                                : before[2]);
  }
}

// Every application of a tool is one undo step, also when it changes
// nothing; a Corrupt group blocks every tool and records nothing.
TEST(Placement, OneUndoStepPerApplicationEvenWithoutChange) {
  TTestTiles tiles;
  TTileGroup& floor = tiles.MakeGroup(1, 1, gtFloor, ptPattern);
  struct TCase {
    const char* what;
    TTileGroup* group;
    TEditTool tool;
    bool pressOffTheGrid;
    int steps;
  };
  const TCase cases[] = {
      {"no group", nullptr, etPlaceTiles, false, 1},
      {"no selection", &floor, etPlaceTiles, true, 1},
      {"walls without a style", nullptr, etPlaceWalls, false, 1},
      {"erasing empty cells", &floor, etErase, false, 1},
      {"the select tool", &floor, etSelect, false, 1},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.what);
    TEngineRig rig(4, 3);
    rig.engine.SetCurrentGroup(test.group);
    rig.engine.SetToolValue(test.tool);
    if (test.pressOffTheGrid)
      rig.Click({6, 6});
    else
      rig.Click({1, 1});
    EXPECT_EQ(UndoCount(*rig.map), test.steps);
    EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "....\n....\n....");
    EXPECT_TRUE(rig.engine.UndoEnabled());
  }
}

TEST(Placement, CorruptGroupBlocksPlacingTurningAndErasing) {
  TTestTiles tiles;
  TEngineRig rig(4, 3);
  TTileGroup& floor = tiles.MakeGroup(2, 1, gtFloor, ptPattern);
  rig.Select(floor);
  rig.Click({0, 0});
  floor.SetCorrupt(true);

  rig.Click({2, 2});
  rig.engine.vwRotateClockwiseExecute();
  EXPECT_EQ(rig.engine.Orientation(), 0);
  EXPECT_EQ(rig.grid.CursorRectWidth(), 2);
  rig.engine.SetToolValue(etErase);
  rig.Click({0, 0});

  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "AB..\n....\n....");
  EXPECT_EQ(UndoCount(*rig.map), 1);
}

// The transition table against the transforms themselves: turning the
// picture of the current orientation by a command gives the picture of the
// orientation the table names.
TEST(Orientation, TransitionsComposeTheCommandsTransforms) {
  QImage image(3, 2, QImage::Format_RGB888);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      image.setPixel(x, y, qRgb(40 * x, 90 * y, 7));
  QImage (*const command[4])(const QImage&) = {RotateClockwise, RotateCounterClockwise,
                                               MirrorLeftRight, MirrorTopBottom};
  for (int current = 0; current < 8; ++current)
    for (int c = 0; c < 4; ++c) {
      SCOPED_TRACE(testing::Message() << "orientation " << current << ", command " << c);
      EXPECT_EQ(OrientImage(image, kOrientationTransition[current][c]),
                command[c](OrientImage(image, current)));
    }
}

// The commands walked through the engine: orientation after each command and
// the footprint of a 3 x 1 Pattern group.
TEST(Orientation, CommandsTurnTheOrientationAndTheFootprint) {
  TTestTiles tiles;
  TEngineRig rig;
  rig.Select(tiles.MakeGroup(3, 1, gtObjects, ptPattern));
  struct TStep {
    TOrientCommand command;
    int orientation;
    int width, height;
  };
  const TStep steps[] = {
      {ocRotateClockwise, 1, 1, 3},        {ocRotateClockwise, 2, 3, 1},
      {ocFlipHorizontal, 5, 3, 1},         {ocRotateCounterClockwise, 7, 1, 3},
      {ocFlipVertical, 1, 1, 3},           {ocFlipHorizontal, 6, 1, 3},
      {ocRotateCounterClockwise, 5, 3, 1}, {ocFlipVertical, 0, 3, 1},
  };
  for (const TStep& step : steps) {
    rig.engine.TransformPlacement(step.command);
    EXPECT_EQ(rig.engine.Orientation(), step.orientation);
    EXPECT_EQ(rig.grid.CursorRectWidth(), step.width);
    EXPECT_EQ(rig.grid.CursorRectHeight(), step.height);
  }
  // A Random group turns but keeps its one-cell footprint.
  rig.Select(tiles.MakeGroup(3, 2, gtFloor, ptRandom));
  rig.engine.vwFlipHorizontalExecute();
  rig.engine.vwRotateClockwiseExecute();
  EXPECT_EQ(rig.engine.Orientation(), 7);
  EXPECT_EQ(rig.grid.CursorRectWidth(), 1);
  EXPECT_EQ(rig.grid.CursorRectHeight(), 1);
}

TEST(Tools, EachToolSetsUpTheGrid) {
  TTestTiles tiles;
  TTileGroup& object = tiles.MakeGroup(2, 2, gtObjects, ptPattern);
  struct TCase {
    TEditTool tool;
    TSelectType type;
    bool range;
    int width, height;
  };
  const TCase cases[] = {
      {etPlaceWalls, TSelectType::Edge, true, 1, 1},
      {etErase, TSelectType::FullCell, true, 1, 1},
      {etPlaceTiles, TSelectType::SubCell, false, 2, 2},
  };
  TEngineRig rig;
  rig.Select(object);
  rig.grid.SetKeepSelection(true);
  for (const TCase& test : cases) {
    SCOPED_TRACE(int(test.tool));
    const int updates = rig.updateControls;
    rig.engine.SetTool(test.tool);
    EXPECT_EQ(rig.engine.Tool(), test.tool);
    EXPECT_EQ(rig.grid.SelectType(), test.type);
    EXPECT_EQ(rig.grid.SelectRange(), test.range);
    EXPECT_EQ(rig.grid.CursorRectWidth(), test.width);
    EXPECT_EQ(rig.grid.CursorRectHeight(), test.height);
    EXPECT_FALSE(rig.grid.KeepSelection());
    EXPECT_EQ(rig.updateControls, updates + 1);
    EXPECT_EQ(rig.engine.EraseButtonDown(), test.tool == etErase);
  }
  // Choosing the current tool again changes nothing.
  rig.engine.SetTool(etPlaceTiles);
  EXPECT_EQ(rig.updateControls, 3);
}

TEST(Tools, PalettePressLeavesTheEraserButNotTheWallTool) {
  TEngineRig rig;
  rig.engine.gaEraserExecute();
  rig.engine.grdTileGroupsMouseDown();
  EXPECT_EQ(rig.engine.Tool(), etPlaceTiles);
  rig.engine.gaWallExecute();
  rig.engine.grdTileGroupsMouseDown();
  EXPECT_EQ(rig.engine.Tool(), etPlaceWalls);
  rig.engine.popErasePopup();
  EXPECT_EQ(rig.engine.Tool(), etErase);
  EXPECT_TRUE(rig.engine.EraseButtonDown());
  // The erase menus choose the layer without switching tools.
  rig.engine.gaRoomExecute();
  rig.engine.mnuEraseBaseClick(2);
  EXPECT_EQ(rig.engine.Tool(), etPlaceTiles);
  EXPECT_EQ(rig.engine.EraseLayer(), 2);
  rig.engine.mnuEraseBaseClick(3);
  EXPECT_EQ(rig.engine.EraseLayer(), -1);
  EXPECT_EQ(rig.engine.CheckedEraseTag(), 3);
}

// Add Column and Add Row from various sizes: the resulting size, the grid's
// counts and the undo steps recorded; one Undo restores the size before.
TEST(MapCommands, AddColumnAndRowWithinTheirLimits) {
  struct TCase {
    bool column;
    int width, height;  // sub-cells
    int newWidth, newHeight;
    int steps;
  };
  const TCase cases[] = {
      {true, 16, 10, 18, 10, 1},    {true, 98, 10, 100, 10, 1}, {true, 100, 10, 100, 10, 0},
      {true, 16, 0, 18, 2, 1},      {true, 0, 0, 2, 2, 1},      {false, 16, 10, 16, 12, 1},
      {false, 16, 100, 16, 100, 0}, {false, 0, 10, 2, 12, 1},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(testing::Message()
                 << (test.column ? "column " : "row ") << test.width << " x " << test.height);
    TEngineRig rig(test.width / 2, test.height / 2);
    if (test.column)
      rig.engine.gaAddColExecute();
    else
      rig.engine.gaAddRowExecute();
    EXPECT_EQ(rig.map->Width(), test.newWidth);
    EXPECT_EQ(rig.map->Height(), test.newHeight);
    EXPECT_EQ(rig.grid.CellColCount(), test.newWidth / 2);
    EXPECT_EQ(rig.grid.CellRowCount(), test.newHeight / 2);
    EXPECT_EQ(UndoCount(*rig.map), test.steps);
    // The enabled states are refreshed even when nothing was added.
    EXPECT_EQ(rig.updateControls, 1);
    rig.engine.eaUndoExecute();
    EXPECT_EQ(rig.map->Width(), test.width);
    EXPECT_EQ(rig.map->Height(), test.height);
    EXPECT_EQ(rig.grid.CellColCount(), test.width / 2);
  }
}

TEST(MapCommands, DeleteColumnUndoRedoKeepTheGridInStep) {
  TTestTiles tiles;
  TEngineRig rig(4, 3);
  TTileGroup& floor = tiles.MakeGroup(1, 1, gtFloor, ptPattern, 'F');
  TTileGroup& object = tiles.MakeGroup(1, 1, gtObjects, ptFixed, 'A');
  rig.Select(floor);
  rig.Drag({0, 0}, {3, 2});
  rig.Select(object);
  rig.Click({3, 1});
  const std::string floorBefore = tiles.CellPicture(*rig.map, mlBase);
  const std::string objectsBefore = tiles.CellPicture(*rig.map, mlOverlay);
  const int steps = UndoCount(*rig.map);

  rig.engine.gaDelColExecute();
  EXPECT_EQ(rig.map->Width(), 6);
  EXPECT_EQ(rig.grid.CellColCount(), 3);
  EXPECT_EQ(UndoCount(*rig.map), steps + 1);
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "FFF\nFFF\nFFF");

  rig.engine.eaUndoExecute();
  EXPECT_EQ(rig.grid.CellColCount(), 4);
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), floorBefore);
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlOverlay), objectsBefore);
  EXPECT_TRUE(rig.engine.RedoEnabled());

  rig.engine.eaRedoExecute();
  EXPECT_EQ(rig.grid.CellColCount(), 3);
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlOverlay), "...\n...\n...");
  EXPECT_FALSE(rig.engine.RedoEnabled());
  EXPECT_TRUE(rig.engine.UndoEnabled());
}

TEST(MapCommands, DeleteStopsAtOneColumnOrRow) {
  TEngineRig rig(1, 1);
  rig.engine.gaDelColExecute();
  rig.engine.gaDelRowExecute();
  EXPECT_EQ(rig.map->Width(), 2);
  EXPECT_EQ(rig.map->Height(), 2);
  EXPECT_EQ(UndoCount(*rig.map), 0);
}

TEST(MapCommands, NudgeIsOneStepThatUndoesAtOnce) {
  TTestTiles tiles;
  TEngineRig rig(4, 2);
  rig.Select(tiles.MakeGroup(2, 1, gtFloor, ptPattern));
  rig.Click({1, 0});
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), ".AB.\n....");

  rig.engine.gaNudgeRightExecute();
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "..AB\n....");
  EXPECT_TRUE(rig.engine.UndoEnabled());
  rig.engine.gaNudgeDownExecute();
  rig.engine.gaNudgeLeftExecute();
  rig.engine.gaNudgeUpExecute();
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), ".AB.\n....");
  EXPECT_EQ(UndoCount(*rig.map), 5);

  rig.engine.eaUndoExecute();
  rig.engine.eaUndoExecute();
  EXPECT_EQ(tiles.CellPicture(*rig.map, mlBase), "....\n..AB");
}

TEST(MapCommands, UndoAndRedoWithoutAMapDoNothing) {
  TMapGridModel grid;
  TMapPainter painter(grid);
  TPlacementEngine engine(grid, painter);
  engine.eaUndoExecute();
  engine.eaRedoExecute();
  engine.gaAddColExecute();
  engine.gaNudgeUpExecute();
  engine.grdMapSelect(grid.MapSelection());
  EXPECT_FALSE(engine.UndoEnabled());
  EXPECT_FALSE(engine.RedoEnabled());
}

}  // namespace
