#include "editor/SubCellPainter.h"
#include "editor/controls/MapGrid.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A shown grid of 10 x 5 cells of 32 pixels in a 400 x 300 control whose
// cells are painted in colours of their own (a "placed" cell in red), with
// the outline timer stopped so tests step it themselves. The mouse goes
// through the window system path, as a real mouse's events do.
class MapGridTest : public testing::Test, private TSubCellPainter {
 protected:
  void SetUp() override {
    grid.resize(400, 300);
    grid.SetOnDrawSubCell(this);
    QObject::connect(&grid.Model(), &TMapGridModel::Selected, [this] { ++selects; });
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.OutlineTimer()->stop();
    grid.Model().RedrawAll();
    draws = 0;
  }

  void DrawSubCell(int col, int row, int subCol, int subRow, const QRect& rect, QPainter& canvas,
                   bool) override {
    ++draws;
    const bool placed = placedCells.count({col, row}) != 0;
    canvas.fillRect(rect.adjusted(1, 1, 0, 0),
                    placed ? QColor(200, 0, 0) : QColor(40 + 20 * subCol, 90 + 20 * subRow, 160));
  }

  QWindow* Window() { return grid.windowHandle(); }
  void Move(QPoint p) { QTest::mouseMove(Window(), p); }
  void Press(QPoint p) { QTest::mousePress(Window(), Qt::LeftButton, {}, p); }
  void Release(QPoint p) { QTest::mouseRelease(Window(), Qt::LeftButton, {}, p); }
  // What the control shows: its picture with the outlines over it.
  QImage Shown() const { return grid.ShownPicture(); }
  QRgb Pixel(int x, int y) const { return Shown().pixel(x, y); }

  // The colours of the shown row y from x0 on, as B (black), W (white) and .
  // (anything else).
  std::string Dashes(int x0, int y, int count) const {
    const QImage shown = Shown();
    std::string s;
    for (int x = x0; x < x0 + count; ++x) {
      const QRgb p = shown.pixel(x, y);
      s += p == qRgb(0, 0, 0) ? 'B' : p == qRgb(255, 255, 255) ? 'W' : '.';
    }
    return s;
  }

  TMapGrid grid;
  int draws = 0;
  int selects = 0;
  std::set<std::pair<int, int>> placedCells;
};

const QRgb kGrey = qRgb(128, 128, 128);

}  // namespace

TEST_F(MapGridTest, GridLinesSeparateCellsAndCloseTheGrid) {
  struct Case {
    int x, y;
    bool grey;
  } cases[] = {
      {0, 0, true},      {0, 17, true},     {32, 5, true},    {5, 32, true},
      {16, 5, false},    {5, 16, false},    {17, 17, false},   // sub-cells carry no lines
      {320, 100, true},  {100, 160, true},  {320, 160, true},  // the closing lines
      {321, 100, false}, {100, 161, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Pixel(c.x, c.y) == kGrey, c.grey) << c.x << "," << c.y;
  // Beyond the grid the background colour shows.
  EXPECT_EQ(QColor(Pixel(350, 250)), grid.Color());
  grid.SetColor(QColor(10, 20, 30));
  EXPECT_EQ(Pixel(350, 250), qRgb(10, 20, 30));
}

TEST_F(MapGridTest, OutlineDashesMoveTwoPixelsPerTick) {
  grid.Model().SetCursorRectWidth(1);
  grid.Model().SetCursorRectHeight(1);
  Move({40, 40});  // the hover outline of cell (1, 1): (33, 33) to (64, 64)
  ASSERT_EQ(grid.Model().HoverRect(), (TPixelRect{33, 33, 64, 64}));
  EXPECT_EQ(Dashes(33, 33, 16), "BBBBBWWWBBBBBWWW");
  grid.Model().Tick();
  EXPECT_EQ(Dashes(33, 33, 16), "WWBBBBBWWWBBBBBW");
  grid.Model().Tick();
  EXPECT_EQ(Dashes(33, 33, 16), "BWWWBBBBBWWWBBBB");
  // The outline lies one pixel inside the grid lines.
  EXPECT_EQ(Pixel(32, 33), kGrey);
  EXPECT_EQ(Pixel(64, 40), kGrey);
  EXPECT_EQ(grid.OutlineTimer()->interval(), 100);
  // The screen shows the outline over the picture, which holds none.
  const QImage screen = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(screen, Shown().copy(grid.viewport()->rect()));
  EXPECT_NE(Shown(), grid.Picture());
}

TEST_F(MapGridTest, HoverNeverPaintsCellsAndLeavesThePictureAsItWas) {
  const QImage before = grid.Picture().copy();
  grid.Model().SetSelectType(TSelectType::Edge);
  for (int x = 10; x < 320; x += 9) {
    Move({x, 20 + x / 3});
    grid.Model().Tick();
    ASSERT_NE(Shown(), before) << x;
  }
  Move({380, 280});  // off the grid, still on the control
  EXPECT_EQ(draws, 0);
  EXPECT_EQ(grid.Picture(), before);
  EXPECT_EQ(Shown(), before);

  // Leaving the control takes the outline away as well.
  Move({100, 100});
  ASSERT_NE(Shown(), before);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(grid.viewport(), &leave);
  EXPECT_EQ(Shown(), before);
  grid.Model().Tick();
  EXPECT_EQ(Shown(), before);
}

TEST_F(MapGridTest, ClickSelectsWithoutRepaintingCells) {
  grid.Model().SetCursorRectWidth(1);
  grid.Model().SetCursorRectHeight(1);
  Move({70, 40});
  Press({70, 40});
  Move({100, 70});
  Release({100, 70});
  EXPECT_EQ(selects, 1);
  const TGridSelection& s = grid.Model().Selection();
  EXPECT_EQ((std::vector<int>{s.FirstCol, s.LastCol, s.FirstRow, s.LastRow}),
            (std::vector<int>{2, 3, 1, 2}));
  EXPECT_EQ(draws, 0);
  EXPECT_TRUE(grid.hasFocus());
}

// The receiver of Selected changes cells and repaints them (as placing tiles
// does); the hover and selection outlines must not bring back what was shown
// before.
TEST_F(MapGridTest, PixelsChangedOnSelectionSurviveTheOutlines) {
  grid.Model().SetCursorRectWidth(1);
  grid.Model().SetCursorRectHeight(1);
  QObject::connect(&grid.Model(), &TMapGridModel::Selected, [this] {
    placedCells.insert({1, 1});
    grid.Model().RedrawSubCells(QRect(2, 2, 2, 2));
  });
  Move({40, 40});
  Press({40, 40});
  Release({40, 40});
  Move({45, 45});
  grid.Model().Tick();
  Move({380, 280});
  EXPECT_EQ(Pixel(40, 40), qRgb(200, 0, 0));
  EXPECT_EQ(Pixel(33, 33), qRgb(200, 0, 0));

  QImage expected = grid.Picture().copy();
  grid.Model().RedrawAll();
  EXPECT_EQ(grid.Picture(), expected);
}

TEST_F(MapGridTest, ReleasingWithoutHoverLeavesNoOutline) {
  grid.Model().SetHotTrack(false);
  const QImage before = grid.Picture().copy();
  Move({40, 40});
  Press({40, 40});
  EXPECT_NE(Shown(), before);  // the selection outline
  Release({40, 40});
  EXPECT_EQ(Shown(), before);
}

TEST_F(MapGridTest, DoubleClickReportsOneSelection) {
  int doubleClicks = 0;
  QObject::connect(&grid.Model(), &TMapGridModel::DoubleClicked, [&] { ++doubleClicks; });
  Move({40, 40});
  QTest::mouseDClick(Window(), Qt::LeftButton, {}, QPoint(40, 40));
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(selects, 1);
}

TEST_F(MapGridTest, ScrollBarsFollowTheScrollLimits) {
  grid.resize(600, 400);
  grid.Model().SetCellWidth(48);
  grid.Model().SetCellHeight(48);
  grid.Model().SetCellColCount(20);
  QScrollBar* bar = grid.horizontalScrollBar();
  QCoreApplication::processEvents();  // the bars show and hide in a queued call
  EXPECT_EQ(grid.Model().ScrollMaxX(), 361);
  EXPECT_EQ(bar->maximum(), 361);
  EXPECT_EQ(bar->pageStep(), 36);
  EXPECT_EQ(bar->singleStep(), 1);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(grid.verticalScrollBar()->isVisible());

  draws = 0;
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(grid.Model().ScrollX(), 36);
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(grid.Model().ScrollX(), 35);
  EXPECT_GT(draws, 0);
  // Content pixel 960 (the closing line) is reachable and shown last.
  bar->setValue(361);
  EXPECT_EQ(Pixel(599, 100), kGrey);

  // Growing the control removes the need to scroll.
  grid.resize(1000, 400);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid.Model().ScrollMaxX(), 0);
  EXPECT_EQ(grid.Model().ScrollX(), 0);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(grid.Picture().size(), QSize(1000, 400));
}

TEST_F(MapGridTest, BothBarsLeaveRoomForEachOther) {
  const int sb = grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid);
  grid.Model().SetCellColCount(20);
  grid.Model().SetCellRowCount(15);
  EXPECT_EQ(grid.Model().ScrollMaxX(), sb + 640 - 399);
  EXPECT_EQ(grid.Model().ScrollMaxY(), sb + 480 - 299);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid.viewport()->width(), 400 - sb);
  // The bottom-right corner of the grid is reachable.
  grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
  grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
  EXPECT_EQ(Pixel(grid.viewport()->width() - 1, grid.viewport()->height() - 1), kGrey);
}

TEST_F(MapGridTest, RemovedColumnsAreErased) {
  grid.Model().SetCellColCount(8);
  const QRgb window = grid.palette().color(QPalette::Base).rgb();
  EXPECT_EQ(Pixel(256, 100), kGrey);  // the new closing line
  EXPECT_EQ(Pixel(257, 100), window);
  EXPECT_EQ(Pixel(300, 100), window);
  EXPECT_EQ(Pixel(320, 100), window);
  grid.Model().SetCellRowCount(6);
  EXPECT_EQ(Pixel(100, 192), kGrey);
  EXPECT_NE(Pixel(100, 180), window);
}

TEST_F(MapGridTest, DisabledGridIgnoresTheMouse) {
  grid.setEnabled(false);
  Move({40, 40});
  Press({40, 40});
  Release({40, 40});
  EXPECT_EQ(selects, 0);
  grid.setEnabled(true);
  Move({41, 41});
  Press({41, 41});
  Release({41, 41});
  EXPECT_EQ(selects, 1);
}

TEST_F(MapGridTest, UpdatesWaitForEndUpdate) {
  grid.Model().BeginUpdate();
  grid.Model().SetCellColCount(3);
  grid.Model().SetCellWidth(48);
  EXPECT_EQ(draws, 0);
  grid.Model().EndUpdate();
  EXPECT_EQ(draws, 3 * 5 * 4);
  EXPECT_EQ(Pixel(144, 10), kGrey);
}

// ---------------------------------------------------------------------------

TEST_F(MapGridTest, ContextMenuOpensOverAPictureWithoutOutlines) {
  QMenu menu;
  menu.addAction(QStringLiteral("Add Column"));
  grid.SetPopupMenu(&menu);
  QImage whileOpen;
  QObject::connect(&menu, &QMenu::aboutToShow, [&] {
    whileOpen = Shown();
    QTimer::singleShot(0, &menu, &QMenu::close);
  });
  const QImage before = grid.Picture().copy();
  Move({40, 40});
  draws = 0;
  QTest::mouseClick(Window(), Qt::RightButton, {}, QPoint(40, 40));
  EXPECT_EQ(whileOpen, before);
  EXPECT_GT(draws, 0);  // repainted before opening
  EXPECT_EQ(selects, 0);
}
