// The PDF a map prints to, checked from outside the program: poppler reads
// the page count and size, and rasterises the first page, on which a grid
// square must measure the map's grid size.
#include "PdfCheck.h"
#include "PrintTestSupport.h"
#include "print/PdfPrinter.h"
#include "print/PrintJob.h"
#include "support/RunProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

// Poppler rasterises at this resolution: a quarter-inch square is 25 pixels
// and a page-wide run of squares 800, so a run measured to a pixel resolves
// far better than half a percent.
constexpr int kRaster = 100;
constexpr double kTolerance = 0.005;

using TScaleCase = std::tuple<float, int, bool, QPageSize::PageSizeId>;

class PdfScaleTest : public testing::TestWithParam<TScaleCase> {};

TEST_P(PdfScaleTest, SquaresMeasureTheGridSize) {
  const auto [grid, dpi, landscape, paper] = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
  // More squares than any of the papers holds across or down.
  const int squares = int(std::ceil(17.0 / grid)) + 1;
  const auto map = CheckerMap(squares, squares, grid);
  TPdfPrinter printer(pdf, paper, landscape, dpi);
  ASSERT_EQ(PrintMapPages(*map, printer, 0), 1);

  const TPdfInfo info = ReadPdfInfo(pdf);
  EXPECT_EQ(info.Pages, 1);
  QSizeF expected = QPageSize(paper).size(QPageSize::Point);
  if (landscape) expected.transpose();
  EXPECT_NEAR(info.PageSize.width(), expected.width(), 0.5);
  EXPECT_NEAR(info.PageSize.height(), expected.height(), 0.5);

  const QImage page = RasterisePage(pdf, 1, kRaster);
  ASSERT_FALSE(page.isNull());
  const double square = grid * kRaster;
  const double margin = TPdfPrinter::kMarginInches * kRaster;
  const QSizeF printable = (expected / 72.0 - QSizeF(0.5, 0.5)) * kRaster;
  const int middle = int(margin + square / 2);
  const TSquareRun across = MeasureRow(page, middle);
  const TSquareRun down = MeasureColumn(page, middle);
  for (const auto& [run, extent] :
       {std::pair(across, printable.width()), std::pair(down, printable.height())}) {
    // Whole squares from the printable area's corner, as many as fit.
    EXPECT_EQ(run.Squares, int(extent / square + 1e-6));
    EXPECT_NEAR(run.Start, margin, 1.0);
    const double measured = (run.End - run.Start) / run.Squares;
    EXPECT_NEAR(measured / square, 1.0, kTolerance)
        << "square of " << measured << " pixels, expected " << square;
  }

  // The tiles' colours are exact inside a square, rasterised at the print's
  // own resolution: no JPEG in the file.
  const int inset = int(dpi * (TPdfPrinter::kMarginInches + grid / 4));
  const QImage inner =
      RasterisePage(pdf, 1, dpi, QRect(inset, inset, int(dpi * grid / 2), int(dpi * grid / 2)));
  ASSERT_FALSE(inner.isNull());
  for (int y = 0; y < inner.height(); ++y)
    for (int x = 0; x < inner.width(); ++x)
      ASSERT_EQ(inner.pixel(x, y), kRed) << x << ", " << y;
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_FALSE(bytes.contains("/DCTDecode"));
  // Two colours in at most four pixel sizes: the file holds each picture
  // once, however many squares show it.
  EXPECT_LT(bytes.size(), 100 * 1024);
}

// A job holds each picture at no more than its tiles' own resolution, so a
// 2400 dpi PDF of a map of patterned tiles is hardly larger than a 300 dpi
// one.
TEST(PdfJobSize, APdfHardlyGrowsWithTheResolution) {
  auto map = CheckerMap(4, 4, 1.0f);
  TSubTile patterns[4];
  for (int i = 0; i < 4; ++i) {
    QImage image(32, 32, QImage::Format_RGB888);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        image.setPixel(x, y,
                       qRgb((x * 37 + y * 11 + i * 53) % 256, (x * y + i * 29) % 256,
                            (x * 7 + y * 61 + i) % 256));
    patterns[i].SetImage(image);
    patterns[i].SetGuid(NewGuidText());
  }
  for (int y = 0; y < map->Height(); ++y)
    for (int x = 0; x < map->Width(); ++x)
      map->PlaceTile(mlBase, x, y, patterns[(x + 2 * y) % 4], 0);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  qint64 sizes[2] = {};
  const int resolutions[2] = {300, 2400};
  for (int i = 0; i < 2; ++i) {
    const QString pdf = dir.filePath(QStringLiteral("map%1.pdf").arg(resolutions[i]));
    TPdfPrinter printer(pdf, QPageSize::Letter, false, resolutions[i]);
    PrintMapPages(*map, printer, -1);
    sizes[i] = QFileInfo(pdf).size();
  }
  EXPECT_LE(sizes[1], 2 * sizes[0]) << sizes[0] << " bytes at 300 dpi, " << sizes[1] << " at 2400";
}

std::string CaseName(const testing::TestParamInfo<TScaleCase>& info) {
  const auto [grid, dpi, landscape, paper] = info.param;
  return "grid" + std::to_string(int(grid * 100)) + "_" + std::to_string(dpi) + "dpi_" +
         (landscape ? "landscape_" : "portrait_") + (paper == QPageSize::A4 ? "a4" : "letter");
}

INSTANTIATE_TEST_SUITE_P(Sizes, PdfScaleTest,
                         testing::Combine(testing::Values(0.25f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f,
                                                          3.0f),
                                          testing::Values(300, 150), testing::Bool(),
                                          testing::Values(QPageSize::Letter, QPageSize::A4)),
                         CaseName);

}  // namespace
