#include "editor/controls/ArrangeGrid.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A shown palette grid of 60-pixel cells whose client area is 130 x 107
// pixels (two columns), recording its ItemSelected signals and painting every
// item in a grey of its own.
class ArrangeGridTest : public testing::Test {
 protected:
  void SetUp() override {
    grid.SetCellWidth(60);
    grid.SetCellHeight(60);
    QObject::connect(&grid, &TArrangeGrid::ItemSelected,
                     [this](int index) { selected.push_back(index); });
    QObject::connect(&grid, &TArrangeGrid::DrawItem,
                     [this](int index, bool, const QRect& bounds, QPainter& dest) {
                       ++draws;
                       dest.fillRect(bounds, QColor(100 + index, 100 + index, 100 + index));
                     });
    grid.SetNumItems(7);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.OutlineTimer()->stop();
    // Size the control so that its client area (inside the border and
    // beside the vertical scroll bar 7 items need) is 130 x 107.
    const QSize chrome = grid.size() - grid.viewport()->size();
    grid.resize(QSize(130, 107) + chrome);
    ASSERT_EQ(grid.viewport()->size(), QSize(130, 107));
  }

  void Key(Qt::Key key) { QTest::keyClick(&grid, key); }
  void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(grid.viewport(), button, {}, p);
  }

  TArrangeGrid grid;
  std::vector<int> selected;
  int draws = 0;
};

}  // namespace

TEST_F(ArrangeGridTest, LayoutAndScrollLimit) {
  EXPECT_EQ(grid.Columns(), 2);
  EXPECT_EQ(grid.ScrollLimit(), 4 * 60 - 106);
  EXPECT_EQ(grid.verticalScrollBar()->maximum(), 134);
  EXPECT_EQ(grid.verticalScrollBar()->singleStep(), 1);
  EXPECT_EQ(grid.verticalScrollBar()->pageStep(), 10);
  EXPECT_EQ(grid.ItemRect(5), QRect(60, 120, 60, 60));

  grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(grid.ScrollPos(), 10);
  EXPECT_EQ(grid.ItemRect(3), QRect(60, 50, 60, 60));
  EXPECT_EQ(grid.Picture().pixel(61, 50), qRgb(103, 103, 103));
  EXPECT_EQ(grid.Picture().pixel(61, 49), qRgb(101, 101, 101));

  grid.SetNumItems(4);
  EXPECT_EQ(grid.ScrollLimit(), 14);
  grid.SetNumItems(2);
  EXPECT_EQ(grid.ScrollLimit(), 0);
  EXPECT_EQ(grid.ScrollPos(), 0);
}

TEST_F(ArrangeGridTest, ItemsUnderPoints) {
  struct Case {
    int x, y, item;
  } cases[] = {
      {0, 0, 0},     {59, 59, 0},   {60, 0, 1},    {0, 60, 2},
      {119, 100, 3}, {10, 106, 2},  {125, 10, -1},  // right of the last whole column
      {-1, 10, -1},  {10, 107, -1},                 // outside the client area
  };
  for (const Case& c : cases)
    EXPECT_EQ(grid.ItemAt(c.x, c.y), c.item) << c.x << "," << c.y;
  grid.verticalScrollBar()->setValue(134);
  // The last client row shows the pixel just below the last row of items.
  EXPECT_EQ(grid.ItemAt(10, 105), 6);
  EXPECT_EQ(grid.ItemAt(10, 106), -1);
  EXPECT_EQ(grid.ItemAt(70, 105), -1);  // past the last item
}

TEST_F(ArrangeGridTest, ArrowKeysStepThroughTheItems) {
  struct Case {
    int from;
    Qt::Key key;
    int to;
  } cases[] = {
      {4, Qt::Key_Down, 6},  {5, Qt::Key_Down, 5},  {0, Qt::Key_Down, 2}, {3, Qt::Key_Up, 1},
      {1, Qt::Key_Up, 1},    {2, Qt::Key_Up, 0},    {3, Qt::Key_Left, 2}, {0, Qt::Key_Left, 0},
      {5, Qt::Key_Right, 6}, {6, Qt::Key_Right, 6},
  };
  for (const Case& c : cases) {
    grid.SetSelected(c.from);
    selected.clear();
    Key(c.key);
    EXPECT_EQ(grid.Selected(), c.to) << c.from << " key " << c.key;
    EXPECT_EQ(selected.size(), c.from == c.to ? 0u : 1u) << c.from << " key " << c.key;
  }
  EXPECT_EQ(grid.ScrollPos(), 0);  // the view does not follow
}

TEST_F(ArrangeGridTest, SelectionRulesAndEvents) {
  grid.SetSelected(5);
  grid.SetSelected(5);
  grid.SetSelected(7);   // not an item
  grid.SetSelected(-1);  // not an item either
  EXPECT_EQ(selected, (std::vector<int>{5, 5}));
  EXPECT_EQ(grid.Selected(), 5);

  grid.SetNumItems(3);
  EXPECT_EQ(grid.Selected(), -1);
  EXPECT_EQ(selected.size(), 2u);
  grid.SetNumItems(-2);
  EXPECT_EQ(grid.NumItems(), 3);
}

TEST_F(ArrangeGridTest, ReleaseOverAnItemSelectsIt) {
  int downs = 0;
  QObject::connect(&grid, &TArrangeGrid::MousePressed,
                   [&](Qt::MouseButton, const QPoint&) { ++downs; });
  Click({70, 70});
  Click({70, 70});
  EXPECT_EQ(selected, (std::vector<int>{3, 3}));
  EXPECT_EQ(downs, 2);
  EXPECT_TRUE(grid.hasFocus());

  Click({125, 10});  // no item
  Click({10, 10}, Qt::RightButton);
  EXPECT_EQ(selected.size(), 2u);

  // A release without a press on the grid does nothing.
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(grid.Selected(), 3);
}

TEST_F(ArrangeGridTest, OutlineRunsOverTheSelectedItemWhileEnabled) {
  grid.SetSelected(3);
  const QImage before = grid.Picture().copy();
  grid.TickOutline();
  // Item 3's cell starts at (60, 60); phase 128 starts with five black pixels.
  EXPECT_EQ(grid.Picture().pixel(60, 60), qRgb(0, 0, 0));
  EXPECT_EQ(grid.Picture().pixel(65, 60), qRgb(255, 255, 255));
  EXPECT_EQ(grid.Picture().pixel(70, 70), before.pixel(70, 70));

  // Selecting another item redraws the old one without its outline.
  grid.SetSelected(0);
  EXPECT_EQ(grid.Picture().pixel(60, 60), before.pixel(60, 60));

  grid.setEnabled(false);
  const QImage disabled = grid.Picture().copy();
  grid.TickOutline();
  EXPECT_EQ(grid.Picture(), disabled);
  // Items are drawn only while enabled.
  EXPECT_EQ(QColor(disabled.pixel(70, 70)), grid.Color());
  draws = 0;
  grid.RedrawAll();
  EXPECT_EQ(draws, 0);
}
