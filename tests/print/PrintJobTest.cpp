#include "PrintTestSupport.h"
#include "base/Error.h"
#include "print/PrintJob.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintJob, PagesFollowTheLayoutAndAnEmptyCornerPrintsBlank) {
  // 20 x 25 squares, empty beyond 16 squares across and 22 down: the
  // bottom-right page holds no tile and still comes out, blank.
  auto map = CheckerMap(20, 25, 1.0f);
  for (int y = 0; y < map->Height(); ++y)
    for (int x = 0; x < map->Width(); ++x)
      if (x >= 32 && y >= 44) map->RemoveTile(mlBase, x, y);
  TImagePrinter printer = SmallPrinter();
  EXPECT_EQ(PrintMapPages(*map, printer, -1), 9);
  ASSERT_EQ(printer.Pages.size(), 9u);
  EXPECT_EQ(printer.Title, QStringLiteral("Checker"));
  for (int p = 0; p < 8; ++p)
    EXPECT_FALSE(Blank(printer.Pages[size_t(p)])) << "page " << p + 1;
  EXPECT_TRUE(Blank(printer.Pages[8]));
  // Page 2 starts at square 8 across: square (8, 0) is red, (9, 0) blue.
  const QImage& second = printer.Pages[1];
  EXPECT_EQ(second.pixel(10, 10), kRed);
  EXPECT_EQ(second.pixel(30, 10), kBlue);
  // Only whole squares: beyond 8 squares (160 pixels) the area stays white.
  EXPECT_EQ(printer.Pages[0].pixel(159, 10), printer.Pages[0].pixel(150, 10));
  EXPECT_EQ(printer.Pages[2].pixel(79, 10), kBlue);
  EXPECT_EQ(printer.Pages[2].pixel(81, 10), qRgb(255, 255, 255));
}

TEST(PrintJob, OnePageIndexPrintsThatPageOnly) {
  const auto map = CheckerMap(20, 25, 1.0f);
  for (int index : {0, 4, 8}) {
    TImagePrinter all = SmallPrinter();
    PrintMapPages(*map, all, -1);
    TImagePrinter one = SmallPrinter();
    EXPECT_EQ(PrintMapPages(*map, one, index), 1);
    ASSERT_EQ(one.Pages.size(), 1u);
    EXPECT_EQ(one.Pages[0], all.Pages[size_t(index)]) << "page " << index + 1;
  }
}

TEST(PrintJob, TooSmallAnAreaStartsNoJob) {
  const auto map = CheckerMap(2, 2, 3.0f);
  TImagePrinter printer(20, 60, 60, 5);  // 2.5 inches printable
  EXPECT_THROW(PrintMapPages(*map, printer, -1), TError);
  EXPECT_EQ(printer.Jobs, 0);
}

}  // namespace
