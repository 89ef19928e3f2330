#include "editor/MapGridModel.h"
#include "editor/OutlinePattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the model asks of its view, so tests can tell repaints from
// outline work.
class TRecordingView : public TMapGridView {
 public:
  void PaintRegion(const TRedrawRange& range) override { Paints.push_back(range); }
  void EraseArea(const TPixelRect& area) override { Erased.push_back(area); }
  void ShowOutlines(const TGridOutline& selection, const TGridOutline& hover) override {
    Selection = selection;
    Hover = hover;
    ++OutlineChanges;
  }
  void Show() override {}
  void SetScrollRanges(int maxX, int maxY) override {
    RangeX = maxX;
    RangeY = maxY;
  }
  void SetScrollPositions(int, int) override {}

  std::vector<TRedrawRange> Paints;
  std::vector<TPixelRect> Erased;
  TGridOutline Selection;
  TGridOutline Hover;
  int OutlineChanges = 0;
  int RangeX = -1;
  int RangeY = -1;
};

// A grid of 10 x 5 cells of 32 pixels (the defaults) in a 400 x 300 control,
// counting its Selected signals.
class MapGridModelTest : public testing::Test {
 protected:
  void SetUp() override {
    grid.SetView(&view);
    grid.SetScrollBarThickness(16);
    grid.SetControlSize(400, 300);
    QObject::connect(&grid, &TMapGridModel::Selected, [this](const TMapSelection& value) {
      ++selects;
      lastSelected = grid.Selection();
      lastValue = value;
    });
    view.Paints.clear();
  }

  // A press at one point, moves through the others, and the release at the
  // last one, with the left button.
  void Drag(std::vector<std::pair<int, int>> points) {
    grid.MouseMove(points.front().first, points.front().second);
    grid.MousePress(points.front().first, points.front().second, TMouseButton::Left);
    for (std::size_t i = 1; i < points.size(); ++i)
      grid.MouseMove(points[i].first, points[i].second);
    grid.MouseRelease(points.back().first, points.back().second, TMouseButton::Left);
  }

  TMapGridModel grid;
  TRecordingView view;
  int selects = 0;
  TGridSelection lastSelected;
  TMapSelection lastValue;
};

TGridSelection Sel(int fc, int lc, int fr, int lr, int fsc = 0, int lsc = 0, int fsr = 0,
                   int lsr = 0) {
  return {fc, lc, fr, lr, fsc, lsc, fsr, lsr};
}

std::string Describe(const TGridSelection& s) {
  return "cols " + std::to_string(s.FirstCol) + ".." + std::to_string(s.LastCol) + " rows " +
         std::to_string(s.FirstRow) + ".." + std::to_string(s.LastRow) + " subs " +
         std::to_string(s.FirstSubCol) + "," + std::to_string(s.LastSubCol) + "," +
         std::to_string(s.FirstSubRow) + "," + std::to_string(s.LastSubRow);
}

}  // namespace

// ---------------------------------------------------------------------------
// Hit testing

TEST_F(MapGridModelTest, SubColumnBoundaryOfA48PixelCell) {
  grid.SetCellWidth(48);
  grid.SetCellHeight(48);
  struct Case {
    int scrollX, x, col, subCol;
  } cases[] = {{0, 71, 1, 0},
               {0, 72, 1, 1},
               {0, 47, 0, 1},
               {0, 48, 1, 0},
               {0, 95, 1, 1},
               // Scrolled: the same content pixels at other control pixels.
               {20, 51, 1, 0},
               {20, 52, 1, 1}};
  grid.SetCellColCount(20);
  for (const Case& c : cases) {
    grid.ScrollTo(TScrollBarKind::Horizontal, c.scrollX);
    ASSERT_EQ(grid.ScrollX(), c.scrollX);
    grid.MousePress(c.x, 10, TMouseButton::Left);
    grid.MouseRelease(c.x, 10, TMouseButton::Left);
    EXPECT_EQ(grid.CurCol(), c.col) << "x " << c.x << " scroll " << c.scrollX;
    EXPECT_EQ(grid.CurSubCol(), c.subCol) << "x " << c.x << " scroll " << c.scrollX;
  }
}

TEST_F(MapGridModelTest, SubCellOfAnOddCellSizeStaysInsideTheCell) {
  grid.SetCellWidth(33);
  grid.MouseMove(32, 0);
  EXPECT_EQ(grid.CurCol(), 0);
  EXPECT_EQ(grid.CurSubCol(), 1);
}

TEST_F(MapGridModelTest, PointsLeftOfOrAboveTheGridAreOffIt) {
  grid.MouseMove(-5, 10);
  EXPECT_EQ(grid.CurCol(), -1);
  EXPECT_FALSE(grid.MouseOnGrid());
  grid.MouseMove(10, -40);
  EXPECT_EQ(grid.CurRow(), -2);
  EXPECT_FALSE(grid.MouseOnGrid());
  grid.MouseMove(319, 159);
  EXPECT_TRUE(grid.MouseOnGrid());
  grid.MouseMove(320, 159);
  EXPECT_FALSE(grid.MouseOnGrid());
}

// ---------------------------------------------------------------------------
// Scroll limits and scrolling

TEST_F(MapGridModelTest, TwentyColumnsIn600PixelsScrollBy361) {
  grid.SetControlSize(600, 400);
  grid.SetCellWidth(48);
  grid.SetCellColCount(20);
  EXPECT_EQ(grid.ScrollMaxX(), 960 - 599);
  EXPECT_EQ(grid.ScrollMaxY(), 0);
  EXPECT_EQ(view.RangeX, 361);
  EXPECT_EQ(view.RangeY, 0);

  struct Step {
    TScrollRequest request;
    int thumb, expected;
  } steps[] = {{TScrollRequest::PageDown, 0, 36},    {TScrollRequest::LineDown, 0, 37},
               {TScrollRequest::LineUp, 0, 36},      {TScrollRequest::PageUp, 0, 0},
               {TScrollRequest::LineUp, 0, 0},       {TScrollRequest::ThumbTrack, 350, 350},
               {TScrollRequest::PageDown, 0, 361},   {TScrollRequest::Other, 0, 361},
               {TScrollRequest::ThumbPosition, 5, 5}};
  for (const Step& s : steps) {
    grid.Scroll(TScrollBarKind::Horizontal, s.request, s.thumb);
    EXPECT_EQ(grid.ScrollX(), s.expected) << static_cast<int>(s.request);
  }
}

TEST_F(MapGridModelTest, ScrollLimitsMakeRoomForTheOtherBar) {
  struct Case {
    const char* name;
    int width, cellWidth, cellHeight, cols, rows, maxX, maxY;
  } cases[] = {
      {"everything fits", 600, 48, 48, 10, 5, 0, 0},
      // 960 x 480 content in 600 x 400: both bars needed by the content.
      {"both needed", 600, 48, 48, 20, 10, 16 + 960 - 599, 16 + 480 - 399},
      // 576 x 1200: the vertical bar alone, and the width still fits beside it.
      {"vertical only", 600, 48, 48, 12, 25, 0, 1200 - 399},
      // 960 x 384 fits in height, but not above the horizontal bar; the
      // vertical bar this brings covers the right edge in turn.
      {"horizontal forces vertical", 600, 48, 48, 20, 8, 16 + 960 - 599, 16 + 384 - 399},
      // 610 pixels fit in a 620 wide control, but not beside a vertical bar.
      {"vertical forces horizontal", 620, 61, 50, 10, 20, 16 + 610 - 619, 16 + 1000 - 399},
  };
  for (const Case& c : cases) {
    grid.SetControlSize(c.width, 400);
    grid.SetCellWidth(c.cellWidth);
    grid.SetCellHeight(c.cellHeight);
    grid.SetCellColCount(c.cols);
    grid.SetCellRowCount(c.rows);
    EXPECT_EQ(grid.ScrollMaxX(), c.maxX) << c.name;
    EXPECT_EQ(grid.ScrollMaxY(), c.maxY) << c.name;
  }
}

TEST_F(MapGridModelTest, ShrinkingTheGridPullsTheScrollPositionAndRepaintsEverything) {
  grid.SetCellColCount(30);
  grid.ScrollTo(TScrollBarKind::Horizontal, grid.ScrollMaxX());
  const int before = grid.ScrollX();
  view.Paints.clear();
  grid.SetCellColCount(29);
  EXPECT_EQ(grid.ScrollX(), before - 32);
  ASSERT_FALSE(view.Paints.empty());
  EXPECT_EQ(view.Paints.back().Region, (TPixelRect{0, 0, 400, 300}));
}

// ---------------------------------------------------------------------------
// Selection rules

TEST_F(MapGridModelTest, SetSelectionNormalisesClampsAndIgnores) {
  struct Case {
    TSelectType type;
    TGridSelection given, expected;
  } cases[] = {
      {TSelectType::FullCell, Sel(2, 4, 1, 3, 1, 1, 1, 1), Sel(2, 4, 1, 3)},
      {TSelectType::FullCell, Sel(4, 2, 3, 1), Sel(2, 4, 1, 3)},
      // A last column beyond the grid becomes the last one, with its last sub-column.
      {TSelectType::FullCell, Sel(8, 12, 0, 0), Sel(8, 9, 0, 0, 0, 1, 0, 0)},
      {TSelectType::FullCell, Sel(1, 1, 4, 7), Sel(1, 1, 4, 4, 0, 0, 0, 1)},
      // Exchanged ends carry their sub-values along.
      {TSelectType::SubCell, Sel(5, 3, 2, 2, 1, 0, 1, 0), Sel(3, 5, 2, 2, 0, 1, 0, 1)},
      {TSelectType::SubCell, Sel(3, 5, 2, 2, 1, 0, 1, 0), Sel(3, 5, 2, 2, 1, 0, 0, 1)},
      // A first cell off the grid leaves the old selection.
      {TSelectType::FullCell, Sel(10, 11, 0, 0), Sel(1, 2, 1, 2)},
      {TSelectType::FullCell, Sel(0, 1, 5, 5), Sel(1, 2, 1, 2)},
      {TSelectType::FullCell, Sel(-1, 1, 0, 0), Sel(1, 2, 1, 2)},
      // A negative last column cannot start the selection off the grid.
      {TSelectType::FullCell, Sel(3, -2, 0, 0), Sel(0, 3, 0, 0)},
  };
  for (const Case& c : cases) {
    grid.SetSelectType(c.type);
    grid.SetSelection(1, 2, 1, 2, 0, 0, 0, 0);
    const TGridSelection& g = c.given;
    grid.SetSelection(g.FirstCol, g.LastCol, g.FirstRow, g.LastRow, g.FirstSubCol, g.LastSubCol,
                      g.FirstSubRow, g.LastSubRow);
    EXPECT_EQ(Describe(grid.Selection()), Describe(c.expected)) << "given " << Describe(g);
  }
}

// Each drag reports once; off the grid, the selection keeps its last end.
TEST_F(MapGridModelTest, DragStretchesTheSelectionBothWaysAndStopsAtTheGrid) {
  grid.SetCursorRectWidth(1);
  grid.SetCursorRectHeight(1);
  const struct {
    std::vector<std::pair<int, int>> points;
    TGridSelection expected;
  } drags[] = {
      {{{100, 100}, {150, 120}, {200, 140}}, Sel(3, 6, 3, 4)},
      {{{200, 140}, {40, 10}}, Sel(1, 6, 0, 4)},
      // Past the right edge, and past the left edge of the control.
      {{{40, 40}, {100, 40}, {390, 40}}, Sel(1, 3, 1, 1)},
      {{{100, 40}, {40, 40}, {-50, 40}}, Sel(1, 3, 1, 1)},
  };
  int count = 0;
  for (const auto& drag : drags) {
    Drag(drag.points);
    EXPECT_EQ(Describe(lastSelected), Describe(drag.expected));
    EXPECT_EQ(selects, ++count);
  }
}

TEST_F(MapGridModelTest, FootprintDragWithoutRangeKeepsTheBlockAtThePressedCell) {
  grid.SetCursorRectWidth(3);
  grid.SetCursorRectHeight(2);
  grid.SetSelectRange(false);
  struct Case {
    int pressCol, pressRow, dragX, dragY;
    TGridSelection expected;
  } cases[] = {
      {2, 1, 300, 150, Sel(2, 4, 1, 2)},
      {2, 1, 5, 5, Sel(2, 4, 1, 2)},
      {2, 1, 399, 299, Sel(2, 4, 1, 2)},  // beyond the grid
      {8, 1, 20, 150, Sel(8, 9, 1, 2, 0, 1, 0, 0)},
      {3, 4, 100, 10, Sel(3, 5, 4, 4, 0, 0, 0, 1)},
      {9, 4, 0, 0, Sel(9, 9, 4, 4, 0, 1, 0, 1)},
  };
  for (const Case& c : cases) {
    Drag({{c.pressCol * 32 + 5, c.pressRow * 32 + 5}, {c.dragX, c.dragY}});
    EXPECT_EQ(Describe(lastSelected), Describe(c.expected))
        << "press " << c.pressCol << "," << c.pressRow;
  }
}

TEST_F(MapGridModelTest, EdgeDragFromATopEdgeStaysInThePressedRow) {
  grid.SetSelectType(TSelectType::Edge);
  grid.SetCursorRectWidth(1);
  grid.SetCursorRectHeight(1);
  // Near the top edge of cell (2, 1), then down and to the right.
  Drag({{64 + 16, 32 + 3}, {150, 100}, {200, 140}});
  EXPECT_EQ(grid.HotEdge(), TCellEdge::Top);
  EXPECT_EQ(Describe(lastSelected), Describe(Sel(2, 6, 1, 1)));
  // What the signal carries, in sub-cells, with the edge.
  EXPECT_EQ(lastValue.SubCells, QRect(4, 2, 10, 2));
  EXPECT_EQ(lastValue.Type, TSelectType::Edge);
  EXPECT_EQ(lastValue.Edge, TCellEdge::Top);

  // Near the left edge the drag runs down a column instead.
  Drag({{64 + 2, 32 + 16}, {150, 100}, {200, 140}});
  EXPECT_EQ(grid.HotEdge(), TCellEdge::Left);
  EXPECT_EQ(Describe(lastSelected), Describe(Sel(2, 2, 1, 4)));
  EXPECT_EQ(lastValue.SubCells, QRect(4, 2, 2, 8));
  EXPECT_EQ(lastValue.Edge, TCellEdge::Left);
}

TEST_F(MapGridModelTest, EdgeTrianglesAndTheirBorders) {
  grid.SetSelectType(TSelectType::Edge);
  grid.SetCellWidth(48);
  grid.SetCellHeight(48);
  // Points relative to the top-left corner of cell (1, 1).
  struct Case {
    const char* where;
    int dx, dy;
    TCellEdge edge;
  } cases[] = {
      {"centre", 24, 24, TCellEdge::Top},
      {"upper-left half-diagonal", 10, 10, TCellEdge::Top},
      {"upper-left corner", 0, 0, TCellEdge::Top},
      {"upper-right half-diagonal", 38, 10, TCellEdge::Top},
      {"lower-right half-diagonal", 38, 38, TCellEdge::Right},
      {"lower-right near centre", 25, 25, TCellEdge::Right},
      {"lower-left half-diagonal", 10, 38, TCellEdge::Bottom},
      {"lower-left corner", 1, 47, TCellEdge::Bottom},
      {"left edge next to that corner", 0, 47, TCellEdge::Left},
      {"top middle", 24, 3, TCellEdge::Top},
      {"right middle", 45, 24, TCellEdge::Right},
      {"bottom middle", 24, 45, TCellEdge::Bottom},
      {"left middle", 3, 24, TCellEdge::Left},
      {"left just below the diagonal", 5, 6, TCellEdge::Left},
  };
  for (const Case& c : cases) {
    grid.MouseMove(48 + c.dx, 48 + c.dy);
    EXPECT_EQ(grid.HotEdge(), c.edge) << c.where;
  }
}

TEST_F(MapGridModelTest, EdgeStaysFixedWhileTheButtonIsHeld) {
  grid.SetSelectType(TSelectType::Edge);
  grid.MouseMove(48, 34);  // top edge of cell (1, 1)
  grid.MousePress(48, 34, TMouseButton::Left);
  grid.MouseMove(33, 48);  // the left edge's triangle of the same cell
  EXPECT_EQ(grid.HotEdge(), TCellEdge::Top);
  grid.MouseRelease(33, 48, TMouseButton::Left);
  grid.MouseMove(34, 48);
  EXPECT_EQ(grid.HotEdge(), TCellEdge::Left);
}

TEST_F(MapGridModelTest, PressOffTheCellsClearsAndTheReleaseStillReports) {
  grid.SetSelection(1, 2, 1, 2, 0, 0, 0, 0);
  Drag({{350, 50}});
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(Describe(lastSelected), Describe(TGridSelection{}));
  EXPECT_FALSE(grid.HasSelection());
}

TEST_F(MapGridModelTest, ReleaseAtANewPointMovesThereFirst) {
  grid.SetCursorRectWidth(1);
  grid.SetCursorRectHeight(1);
  grid.MousePress(10, 10, TMouseButton::Left);
  grid.MouseRelease(100, 70, TMouseButton::Left);
  EXPECT_EQ(Describe(lastSelected), Describe(Sel(0, 3, 0, 2)));
}

TEST_F(MapGridModelTest, DoubleClickSelectsOnce) {
  grid.MousePress(40, 40, TMouseButton::Left);
  grid.MouseRelease(40, 40, TMouseButton::Left);
  int doubleClicks = 0;
  QObject::connect(&grid, &TMapGridModel::DoubleClicked, [&] { ++doubleClicks; });
  grid.DoubleClick();
  grid.MousePress(40, 40, TMouseButton::Left);
  grid.MouseRelease(40, 40, TMouseButton::Left);
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(doubleClicks, 1);
  // The click after it counts again.
  grid.MousePress(40, 40, TMouseButton::Left);
  grid.MouseRelease(40, 40, TMouseButton::Left);
  EXPECT_EQ(selects, 2);
}

TEST_F(MapGridModelTest, OnlyTheLeftButtonSelectsUnlessRightClicksAreOn) {
  grid.MousePress(40, 40, TMouseButton::Right);
  grid.MouseRelease(40, 40, TMouseButton::Right);
  EXPECT_EQ(selects, 0);

  grid.SetRightClickSelect(true);
  grid.MousePress(40, 40, TMouseButton::Right);
  grid.MouseRelease(40, 40, TMouseButton::Right);
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(Describe(lastSelected), Describe(Sel(1, 2, 1, 2)));
}

TEST_F(MapGridModelTest, RightPressDuringADragCancelsIt) {
  grid.MousePress(40, 40, TMouseButton::Left);
  grid.MousePress(40, 40, TMouseButton::Right);
  grid.MouseRelease(40, 40, TMouseButton::Right);
  grid.MouseRelease(40, 40, TMouseButton::Left);
  EXPECT_EQ(selects, 0);
}

TEST_F(MapGridModelTest, SubCellSelectionKeepsTheHalfCellOffsets) {
  grid.SetSelectType(TSelectType::SubCell);
  grid.SetSelectRange(false);
  grid.SetCursorRectWidth(2);
  grid.SetCursorRectHeight(1);
  Drag({{32 + 20, 64 + 5}, {200, 200}});
  EXPECT_EQ(Describe(lastSelected), Describe(Sel(1, 2, 2, 2, 1, 1, 0, 0)));
  EXPECT_EQ(grid.SelectionRect(), (TPixelRect{32 + 16 + 1, 64 + 1, 96 + 16, 96}));
  // Two cells' worth of sub-cells, starting half a cell in.
  EXPECT_EQ(lastValue.SubCells, QRect(3, 4, 4, 2));
  EXPECT_EQ(lastValue.Type, TSelectType::SubCell);
  EXPECT_EQ(lastValue.FootprintWidth, 2);
  EXPECT_EQ(lastValue.FootprintHeight, 1);
}

TEST_F(MapGridModelTest, ShrinkingCountsDropsSelectionsBeyondThem) {
  grid.SetSelection(8, 9, 1, 2, 0, 0, 0, 0);
  grid.SetCellColCount(8);
  EXPECT_EQ(grid.Selection().FirstCol, -1);
  EXPECT_EQ(grid.Selection().LastCol, -1);
  EXPECT_EQ(grid.Selection().FirstRow, 1);
  EXPECT_FALSE(grid.HasSelection());

  grid.SetSelection(2, 3, 1, 2, 0, 0, 0, 0);
  grid.SetCellColCount(5);
  EXPECT_EQ(Describe(grid.Selection()), Describe(Sel(2, 3, 1, 2)));
  grid.SetCellRowCount(2);
  EXPECT_EQ(grid.Selection().FirstRow, -1);
  EXPECT_EQ(grid.Selection().FirstCol, 2);
}

TEST_F(MapGridModelTest, CountChangesRepaintOnlyTheColumnsThatChanged) {
  grid.SetCellColCount(6);
  ASSERT_EQ(view.Erased.size(), 1u);
  EXPECT_EQ(view.Erased[0], (TPixelRect{6 * 32, 0, 10 * 32 + 1, 5 * 32 + 1}));
  ASSERT_EQ(view.Paints.size(), 1u);
  EXPECT_EQ(view.Paints[0].FirstSubCol, 10);
  EXPECT_EQ(view.Paints[0].LastSubCol, 11);
  EXPECT_EQ(view.Paints[0].LastSubRow, 9);

  view.Paints.clear();
  grid.SetCellColCount(8);
  ASSERT_EQ(view.Paints.size(), 1u);
  EXPECT_EQ(view.Paints[0].FirstSubCol, 12);
  EXPECT_EQ(view.Paints[0].LastSubCol, 15);
  EXPECT_EQ(view.Erased.size(), 1u);
}

// ---------------------------------------------------------------------------
// Rectangles

TEST_F(MapGridModelTest, HoverRectanglesStartInsideTheGridLines) {
  struct Case {
    const char* name;
    TSelectType type;
    int x, y;
    TPixelRect hover, outline;
  } cases[] = {
      {"2x2 cells", TSelectType::FullCell, 40, 40, {33, 33, 96, 96}, {33, 33, 96, 96}},
      {"pulled in at the right",
       TSelectType::FullCell,
       300,
       40,
       {289, 33, 320, 96},
       {289, 33, 320, 96}},
      {"pulled in at the bottom",
       TSelectType::FullCell,
       40,
       150,
       {33, 129, 96, 160},
       {33, 129, 96, 160}},
      {"half cells", TSelectType::SubCell, 40 + 16, 40, {49, 33, 112, 96}, {49, 33, 112, 96}},
      // The cursor in the left triangle of cell (1, 1): a band a quarter
      // of the hover rectangle wide along the left.
      {"left band", TSelectType::Edge, 35, 48, {33, 33, 96, 96}, {33, 33, 48, 96}},
      {"top band", TSelectType::Edge, 48, 34, {33, 33, 96, 96}, {33, 33, 96, 48}},
      {"right band", TSelectType::Edge, 62, 48, {33, 33, 96, 96}, {81, 33, 96, 96}},
      {"bottom band", TSelectType::Edge, 48, 62, {33, 33, 96, 96}, {33, 81, 96, 96}},
  };
  for (const Case& c : cases) {
    grid.SetSelectType(c.type);
    grid.MouseMove(c.x, c.y);
    EXPECT_EQ(grid.HoverRect(), c.hover) << c.name;
    EXPECT_EQ(view.Hover.Rect, c.outline) << c.name;
    EXPECT_EQ(grid.OutlineRect(), c.outline) << c.name;
  }
}

TEST_F(MapGridModelTest, SelectionRectangleFollowsTheDragAndItsEdgeBand) {
  grid.SetCursorRectWidth(1);
  grid.SetCursorRectHeight(1);
  grid.MouseMove(100, 100);
  grid.MousePress(100, 100, TMouseButton::Left);
  grid.MouseMove(40, 40);
  // While held, the unnormalised selection is outlined from its smaller end.
  EXPECT_EQ(grid.SelectionRect(), (TPixelRect{33, 33, 128, 128}));
  EXPECT_EQ(grid.OutlineRect(), grid.SelectionRect());
  EXPECT_EQ(view.Selection.Rect, grid.SelectionRect());
  grid.MouseRelease(40, 40, TMouseButton::Left);
  // Without KeepSelection the outline goes back to the hover.
  EXPECT_EQ(grid.OutlineRect(), grid.HoverRect());

  grid.SetSelectType(TSelectType::Edge);
  grid.MouseMove(48, 34);
  grid.MousePress(48, 34, TMouseButton::Left);
  grid.MouseMove(150, 40);
  EXPECT_EQ(grid.SelectionRect(), (TPixelRect{33, 33, 160, 33 + 31 / 4}));
}

TEST_F(MapGridModelTest, ScrollingShiftsTheRectangles) {
  grid.SetCellColCount(30);
  grid.ScrollTo(TScrollBarKind::Horizontal, 10);
  grid.MouseMove(40, 40);  // content x 50: cell 1
  EXPECT_EQ(grid.HoverRect(), (TPixelRect{23, 33, 86, 96}));
}

// ---------------------------------------------------------------------------
// Repainting

TEST_F(MapGridModelTest, RedrawRangesOfCellsAndSubCells) {
  struct Case {
    const char* name;
    TSelectType type;
    int fc, fr, lc, lr, fsc, fsr, lsc, lsr;
    TRedrawRange expected;
  } cases[] = {
      {"everything",
       TSelectType::FullCell,
       -1,
       -1,
       -1,
       -1,
       0,
       0,
       0,
       0,
       {{0, 0, 400, 300}, 0, 19, 0, 9}},
      {"one cell", TSelectType::FullCell, 2, 1, 2, 1, 0, 0, 0, 0, {{64, 32, 96, 64}, 4, 5, 2, 3}},
      {"offsets ignored",
       TSelectType::FullCell,
       2,
       1,
       3,
       1,
       1,
       1,
       1,
       1,
       {{64, 32, 128, 64}, 4, 7, 2, 3}},
      {"offsets used",
       TSelectType::SubCell,
       2,
       1,
       3,
       1,
       1,
       1,
       1,
       1,
       {{80, 48, 144, 80}, 5, 8, 3, 4}},
      {"clamped to the grid",
       TSelectType::SubCell,
       9,
       4,
       9,
       4,
       1,
       1,
       1,
       1,
       {{304, 144, 320, 160}, 19, 19, 9, 9}},
      {"rows of every column",
       TSelectType::FullCell,
       -1,
       3,
       -1,
       3,
       0,
       0,
       0,
       0,
       {{0, 0, 400, 300}, 0, 19, 6, 7}},
  };
  for (const Case& c : cases) {
    grid.SetSelectType(c.type);
    const TRedrawRange r = grid.RedrawRangeFor(c.fc, c.fr, c.lc, c.lr, c.fsc, c.fsr, c.lsc, c.lsr);
    EXPECT_EQ(r.Region, c.expected.Region) << c.name;
    EXPECT_EQ(r.FirstSubCol, c.expected.FirstSubCol) << c.name;
    EXPECT_EQ(r.LastSubCol, c.expected.LastSubCol) << c.name;
    EXPECT_EQ(r.FirstSubRow, c.expected.FirstSubRow) << c.name;
    EXPECT_EQ(r.LastSubRow, c.expected.LastSubRow) << c.name;
  }
}

TEST_F(MapGridModelTest, OnlySubCellsInsideTheControlArePainted) {
  grid.SetCellColCount(40);
  grid.SetCellRowCount(40);
  grid.ScrollTo(TScrollBarKind::Horizontal, 40);
  grid.ScrollTo(TScrollBarKind::Vertical, 100);
  int count = 0;
  TSubCellPaint first;
  grid.ForEachSubCell(grid.RedrawRangeFor(-1, -1, -1, -1, 0, 0, 0, 0), [&](const TSubCellPaint& c) {
    if (count++ == 0) first = c;
    EXPECT_LT(c.Rect.Left, 400);
    EXPECT_LT(c.Rect.Top, 300);
    EXPECT_GE(c.Rect.Right, 0);
    EXPECT_GE(c.Rect.Bottom, 0);
  });
  // Content x 40..439 shows sub-columns 2..27, content y 100..399 sub-rows 6..24.
  EXPECT_EQ(count, 26 * 19);
  EXPECT_EQ(first.Col, 1);
  EXPECT_EQ(first.SubCol, 0);
  EXPECT_EQ(first.Row, 3);
  EXPECT_EQ(first.Rect, (TPixelRect{-8, -4, 8, 12}));
  EXPECT_EQ(first.LineRect, (TPixelRect{0, 0, 8, 12}));
}

TEST_F(MapGridModelTest, ForgettingTheHoverStopsItsOutline) {
  grid.MouseMove(40, 40);
  ASSERT_FALSE(grid.OutlineRect().IsEmpty());
  grid.ForgetHover();
  EXPECT_TRUE(grid.OutlineRect().IsEmpty());
  EXPECT_TRUE(view.Hover.Rect.IsEmpty());
  const int changes = view.OutlineChanges;
  grid.Tick();
  EXPECT_EQ(view.OutlineChanges, changes);
}

// What the view is told to show over its picture, through a user's story:
// the hover outline animates on each tick, a press hands the animation to
// the selection, the release hands it back, leaving the control takes the
// hover away; with KeepSelection the selection's outline stays, still, while
// the hover animates.
TEST_F(MapGridModelTest, TheViewIsToldWhichOutlinesToShowAndTheirPhase) {
  grid.SetCursorRectWidth(1);
  grid.SetCursorRectHeight(1);
  const TPixelRect cell11{33, 33, 64, 64};
  grid.MouseMove(40, 40);
  EXPECT_EQ(view.Hover.Rect, cell11);
  EXPECT_TRUE(view.Selection.Rect.IsEmpty());
  std::vector<int> phases{view.Hover.Phase};
  for (int i = 0; i < 4; ++i) {
    grid.Tick();
    phases.push_back(view.Hover.Phase);
  }
  EXPECT_EQ(phases, (std::vector<int>{128, 32, 8, 2, 128}));
  EXPECT_EQ(view.Hover.Phase, grid.OutlinePhase());

  grid.MousePress(40, 40, TMouseButton::Left);
  EXPECT_TRUE(view.Hover.Rect.IsEmpty());
  grid.MouseMove(70, 40);
  EXPECT_EQ(view.Selection.Rect, (TPixelRect{33, 33, 96, 64}));
  grid.Tick();
  EXPECT_EQ(view.Selection.Phase, grid.OutlinePhase());
  grid.MouseRelease(70, 40, TMouseButton::Left);
  EXPECT_TRUE(view.Selection.Rect.IsEmpty());
  EXPECT_EQ(view.Hover.Rect, (TPixelRect{65, 33, 96, 64}));

  grid.MouseLeave();
  EXPECT_TRUE(view.Hover.Rect.IsEmpty());
  grid.Tick();
  EXPECT_TRUE(view.Hover.Rect.IsEmpty());

  grid.SetKeepSelection(true);
  Drag({{40, 40}, {40, 40}});
  const TGridOutline kept = view.Selection;
  EXPECT_EQ(kept.Rect, cell11);
  EXPECT_EQ(view.Hover.Rect, cell11);  // the hover took over the animation
  grid.MouseMove(150, 100);
  grid.Tick();
  EXPECT_EQ(view.Selection, kept);
  EXPECT_EQ(view.Hover.Rect, (TPixelRect{129, 97, 160, 128}));
  EXPECT_EQ(view.Hover.Phase, grid.OutlinePhase());
  // Scrolling keeps the selection, now the animated outline.
  grid.SetCellColCount(30);
  grid.ScrollTo(TScrollBarKind::Horizontal, 10);
  EXPECT_EQ(view.Selection.Rect, (TPixelRect{23, 33, 54, 64}));
  EXPECT_TRUE(view.Hover.Rect.IsEmpty());
  grid.SetKeepSelection(false);
  EXPECT_TRUE(view.Selection.Rect.IsEmpty());
}

// ---------------------------------------------------------------------------
// Outline pattern

// The phase steps through four values and back, moving the five black,
// three white dashes on by two pixels each step.
TEST(OutlinePattern, FiveBlackThreeWhiteMovingTwoPixelsAndCycling) {
  auto topEdge = [](std::uint8_t phase) {
    std::string s;
    WalkOutline(TPixelRect{0, 0, 17, 5}, phase, [&](int, int y, bool white) {
      if (y == 0 && s.size() < 16) s += white ? 'W' : 'B';
    });
    return s;
  };
  const char* const expected[] = {"BBBBBWWWBBBBBWWW", "WWBBBBBWWWBBBBBW", "BWWWBBBBBWWWBBBB",
                                  "BBBWWWBBBBBWWWBB", "BBBBBWWWBBBBBWWW"};
  std::uint8_t phase = 128;
  for (const char* dashes : expected) {
    EXPECT_EQ(topEdge(phase), dashes) << int(phase);
    phase = NextOutlinePhase(phase);
  }
}

TEST(OutlinePattern, WalksTheBorderOnceClockwise) {
  std::vector<std::pair<int, int>> pixels;
  WalkOutline(TPixelRect{10, 20, 13, 23}, 128, [&](int x, int y, bool) {
    pixels.push_back({x, y});
  });
  const std::vector<std::pair<int, int>> expected = {{10, 20}, {11, 20}, {12, 20}, {12, 21},
                                                     {12, 22}, {11, 22}, {10, 22}, {10, 21}};
  EXPECT_EQ(pixels, expected);
}
