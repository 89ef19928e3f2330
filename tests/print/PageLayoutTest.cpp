#include "base/Error.h"
#include "print/PageLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TLayoutCase {
  const char* name;
  int mapWidth, mapHeight;  // sub-cells
  float grid;
  int dpi, pageWidth, pageHeight;
  int cols, rows, across, down;
};

// Hand-counted layouts: the squares that fit, the sub-cells per page and the
// pages a map needs.
const TLayoutCase kLayouts[] = {
    // 600 dpi, 8 x 11 inches, 1-inch grid, 20 x 25 squares.
    {"example_20x25_squares", 40, 50, 1.0f, 600, 4800, 6600, 16, 22, 3, 3},
    {"fits_on_one_page", 16, 22, 1.0f, 600, 4800, 6600, 16, 22, 1, 1},
    {"one_square_more_needs_a_second_page", 18, 22, 1.0f, 600, 4800, 6600, 16, 22, 2, 1},
    // Letter's printable 8 x 10.5 inches at 300 dpi, each grid size.
    {"quarter_inch", 64, 84, 0.25f, 300, 2400, 3150, 64, 84, 1, 1},
    {"half_inch", 64, 84, 0.5f, 300, 2400, 3150, 32, 42, 2, 2},
    {"one_inch", 64, 84, 1.0f, 300, 2400, 3150, 16, 20, 4, 5},
    {"inch_and_a_half", 64, 84, 1.5f, 300, 2400, 3150, 10, 14, 7, 6},
    {"two_inch", 64, 84, 2.0f, 300, 2400, 3150, 8, 10, 8, 9},
    {"two_and_a_half_inch", 64, 84, 2.5f, 300, 2400, 3150, 6, 8, 11, 11},
    {"three_inch", 64, 84, 3.0f, 300, 2400, 3150, 4, 6, 16, 14},
    // 37.5-pixel squares: 31 whole squares fit 1199 pixels, not the 32 that
    // 37-pixel squares would give (the last one would be cut off).
    {"quarter_inch_150dpi_true_size", 64, 84, 0.25f, 150, 1199, 1575, 62, 84, 2, 1},
    {"exactly_one_square", 2, 2, 3.0f, 100, 300, 300, 2, 2, 1, 1},
};

class PageLayoutTest : public testing::TestWithParam<TLayoutCase> {};

TEST_P(PageLayoutTest, CountsWholeSquaresAndPages) {
  const TLayoutCase& c = GetParam();
  const TPageLayout layout =
      ComputePageLayout(c.mapWidth, c.mapHeight, c.grid, c.dpi, c.dpi, c.pageWidth, c.pageHeight);
  EXPECT_EQ(layout.Cols, c.cols);
  EXPECT_EQ(layout.Rows, c.rows);
  EXPECT_EQ(layout.PagesAcross, c.across);
  EXPECT_EQ(layout.PagesDown, c.down);
  // The last whole square ends on the printable area.
  EXPECT_LE(SubCellEdge(layout.Cols, layout.CellWidth), c.pageWidth);
  EXPECT_LE(SubCellEdge(layout.Rows, layout.CellHeight), c.pageHeight);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PageLayoutTest, testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageLayout, ExamplePagesRunLeftToRightThenTopToBottom) {
  const TPageLayout layout = ComputePageLayout(40, 50, 1.0f, 600, 600, 4800, 6600);
  const std::vector<QPoint> expected = {{0, 0},   {16, 0}, {32, 0},  {0, 22}, {16, 22},
                                        {32, 22}, {0, 44}, {16, 44}, {32, 44}};
  ASSERT_EQ(layout.TotalPages(), 9);
  for (int p = 0; p < 9; ++p)
    EXPECT_EQ(layout.PageOrigin(p), expected[size_t(p)]) << "page " << p;
}

TEST(PageLayout, SubCellEdgesKeepTheTrueSizeAcrossAPage) {
  // A quarter inch at 300 dpi: sub-cells of 37.5 pixels alternate 38 and 37
  // wide, and 32 squares end exactly 8 inches from the origin.
  const std::vector<int> edges = {0, 38, 75, 113, 150};
  for (int k = 0; k < 5; ++k)
    EXPECT_EQ(SubCellEdge(k, 37.5), edges[size_t(k)]) << "edge " << k;
  EXPECT_EQ(SubCellEdge(64, 37.5), 2400);
  // Whole sub-cell sizes (600 dpi, one inch) place edges exactly.
  EXPECT_EQ(SubCellEdge(16, 300.0), 4800);
}

TEST(PageLayout, AreaSmallerThanOneSquareIsAnError) {
  struct {
    int dpi, width, height;
  } cases[] = {{300, 899, 3000}, {300, 3000, 899}, {0, 3000, 3000}, {300, 0, 0}};
  for (const auto& c : cases) {
    try {
      ComputePageLayout(10, 10, 3.0f, c.dpi, c.dpi, c.width, c.height);
      ADD_FAILURE() << "no error for " << c.width << " x " << c.height << " at " << c.dpi;
    } catch (const TError& error) {
      EXPECT_FALSE(error.Message().isEmpty());
    }
  }
}

TEST(PageLayout, AGridFinerThanThePrinterIsRefusedByItsSize) {
  // Two device pixels a square, one a sub-cell, is the finest grid printed.
  EXPECT_EQ(ComputePageLayout(10, 10, 0.25f, 8, 8, 64, 80).Cols, 64);
  struct {
    float grid;
    int dpi;
    const char* message;
  } const cases[] = {
      {1e-30f, 300,
       "The map's grid size of 1e-30 inches is too small to print at 300 x 300 "
       "pixels per inch."},
      {0.001f, 300,
       "The map's grid size of 0.001 inches is too small to print at 300 x 300 "
       "pixels per inch."},
      {0.25f, 7,
       "The map's grid size of 0.25 inches is too small to print at 7 x 7 pixels per "
       "inch."},
  };
  for (const auto& c : cases) {
    try {
      ComputePageLayout(10, 10, c.grid, c.dpi, c.dpi, 2400, 3150);
      ADD_FAILURE() << "no error for " << c.grid << " inches at " << c.dpi;
    } catch (const TError& error) {
      EXPECT_EQ(error.Message().toStdString(), c.message);
    }
  }
}

TEST(PageLayout, PageIndexOutOfRangePrintsEveryPage) {
  struct {
    int index, total, first, last;
  } cases[] = {{-1, 9, 0, 8}, {-5, 9, 0, 8}, {9, 9, 0, 8}, {0, 9, 0, 0}, {8, 9, 8, 8}};
  for (const auto& c : cases) {
    const TPageRange range = PagesToPrint(c.index, c.total);
    EXPECT_EQ(range.First, c.first) << c.index;
    EXPECT_EQ(range.Last, c.last) << c.index;
  }
}

}  // namespace
