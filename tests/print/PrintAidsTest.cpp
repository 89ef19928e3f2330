// The assembly aids on printed pages: where they go, that they leave the
// squares alone, and which pages a job with skipped blank pages prints.
#include "PrintTestSupport.h"
#include "base/Error.h"
#include "print/PrintAids.h"
#include "print/PrintJob.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TPrintAids Aids(bool labels, bool marks, bool calibration, bool skipBlank) {
  TPrintAids aids;
  aids.Labels = labels;
  aids.Marks = marks;
  aids.Calibration = calibration;
  aids.SkipBlank = skipBlank;
  return aids;
}

bool Dark(QRgb pixel) {
  return qGray(pixel) < 128;
}

// The lengths of the dark runs at least minimum pixels long along row y.
std::vector<int> DarkRuns(const QImage& image, int y, int minimum) {
  std::vector<int> runs;
  int length = 0;
  for (int x = 0; x <= image.width(); ++x) {
    if (x < image.width() && Dark(image.pixel(x, y))) {
      ++length;
      continue;
    }
    if (length >= minimum) runs.push_back(length);
    length = 0;
  }
  return runs;
}

TEST(PrintAids, PageNamesAndTheStripTheLayoutKeepsFree) {
  const std::pair<int, const char*> names[] = {{0, "A"},   {1, "B"},    {25, "Z"},
                                               {26, "AA"}, {27, "AB"},  {51, "AZ"},
                                               {52, "BA"}, {701, "ZZ"}, {702, "AAA"}};
  for (const auto& [column, name] : names)
    EXPECT_EQ(PageColumnName(column), QLatin1String(name)) << column;

  // 20 dpi, 8 x 11 inches printable: 11 one-inch squares down fit exactly,
  // so the strip for the label or the bar costs the last one.
  const auto map = CheckerMap(20, 25, 1.0f);
  const TImagePrinter printer = SmallPrinter();
  struct {
    TPrintAids aids;
    int rows;
  } cases[] = {
      {Aids(false, false, false, false), 22},
      {Aids(true, false, false, false), 20},
      {Aids(false, false, true, false), 20},
      {Aids(false, true, false, true), 22},
  };
  for (const auto& c : cases) {
    const TPageLayout layout = LayoutForDevice(*map, printer, c.aids);
    EXPECT_EQ(layout.Rows, c.rows);
    EXPECT_EQ(layout.Cols, 16);
  }
}

// 100 dpi with 8 x 11 inches printable; 1.5-inch squares, 5 across and 7
// down a page, leave room below and beside them for every aid, so the
// layout is the plain one and a 12 x 16 square map takes 3 x 3 pages, the
// last column and row of pages showing 2 squares.
TEST(PrintAids, AidsStayOffTheSquaresAndTheBarsMeasureTrue) {
  const auto map = CheckerMap(12, 16, 1.5f);
  TImagePrinter plain(100, 850, 1150, 25);
  ASSERT_EQ(PrintMapPages(*map, plain, -1), 9);
  TImagePrinter aided(100, 850, 1150, 25);
  ASSERT_EQ(PrintMapPages(*map, aided, -1, nullptr, Aids(true, true, true, false)), 9);

  for (int p = 0; p < 9; ++p) {
    SCOPED_TRACE("page " + std::to_string(p + 1));
    const QImage& before = plain.Pages[size_t(p)];
    const QImage& after = aided.Pages[size_t(p)];
    const int right = p % 3 == 2 ? 300 : 750;
    const int bottom = p / 3 == 2 ? 300 : 1050;
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
      for (int x = 0; x < after.width(); ++x) {
        if (after.pixel(x, y) == before.pixel(x, y)) continue;
        ++changed;
        ASSERT_FALSE(x < right && y < bottom) << "an aid on the square at " << x << ", " << y;
      }
    EXPECT_GT(changed, 0);
    // Ticks on the squares' right and bottom edges and at x = 0, at the
    // area's foot, top, right and left sides.
    EXPECT_TRUE(Dark(after.pixel(0, 1098)));
    EXPECT_TRUE(Dark(after.pixel(right, 1098)));
    EXPECT_TRUE(Dark(after.pixel(right, 3)));
    EXPECT_TRUE(Dark(after.pixel(798, bottom)));
    EXPECT_TRUE(Dark(after.pixel(3, bottom)));
    EXPECT_FALSE(Dark(after.pixel(right, 500)));  // the ticks are short
    // The label's text in the band at the top of the 0.3-inch strip.
    bool text = false;
    for (int y = 1074; y < 1088 && !text; ++y)
      for (int x = 5; x < 60 && !text; ++x)
        text = Dark(after.pixel(x, y));
    EXPECT_TRUE(text);
    // The bars of 1 inch and 25 mm (98.4 pixels) on the first page only.
    const std::vector<int> bars = DarkRuns(after, 1080, 50);
    if (p == 0) {
      ASSERT_EQ(bars.size(), 2u);
      EXPECT_EQ(bars[0], 100);
      EXPECT_NEAR(bars[1], 98.4, 1.0);
    } else {
      EXPECT_TRUE(bars.empty());
    }
  }
}

// The top-left and bottom-right pages of 3 x 3 hold no tile. Left out, the
// others print as they do in full, and the first page printed carries the
// calibration bar; a job of skipped pages alone starts nothing.
TEST(PrintAids, SkippedBlankPagesLeaveTheOthersAsTheyAre) {
  auto map = CheckerMap(20, 25, 1.0f);
  for (int y = 0; y < map->Height(); ++y)
    for (int x = 0; x < map->Width(); ++x)
      if ((x < 16 && y < 22) || (x >= 32 && y >= 44)) map->RemoveTile(mlBase, x, y);
  TImagePrinter all = SmallPrinter();
  ASSERT_EQ(PrintMapPages(*map, all, -1), 9);
  TImagePrinter skipping = SmallPrinter();
  ASSERT_EQ(PrintMapPages(*map, skipping, -1, nullptr, Aids(false, false, false, true)), 7);
  for (int p = 1; p < 8; ++p)
    EXPECT_EQ(skipping.Pages[size_t(p - 1)], all.Pages[size_t(p)]) << "page " << p + 1;

  const TPageLayout layout = LayoutForDevice(*map, all);
  EXPECT_EQ(FirstPrintedPage(*map, layout, Aids(false, false, true, true)), 1);
  EXPECT_EQ(FirstPrintedPage(*map, layout, Aids(false, false, true, false)), 0);
  TImagePrinter second(100, 850, 1150, 25);
  PrintMapPages(*map, second, 1, nullptr, Aids(false, false, true, true));
  ASSERT_EQ(second.Pages.size(), 1u);
  EXPECT_EQ(DarkRuns(second.Pages[0], 1080, 50).size(), 2u);

  TImagePrinter blank = SmallPrinter();
  EXPECT_THROW(PrintMapPages(*map, blank, 8, nullptr, Aids(false, false, false, true)), TError);
  EXPECT_EQ(blank.Jobs, 0);
}

}  // namespace
