// The tileset generator's building blocks: noise and Voronoi cells that must
// repeat exactly for floors to tile, random numbers that stay in range, and
// the steps that turn an object drawing into a keyed picture.
#include "Art.h"
#include "Noise.h"
#include "Sheet.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// ---------------------------------------------------------------------------
// Periodic noise

struct TNoiseCase {
  double Period;
  int Cells;
};

class RepeatingNoise : public testing::TestWithParam<TNoiseCase> {};

TEST_P(RepeatingNoise, RepeatsEveryPeriodInBothDirections) {
  const TNoise noise(7, GetParam().Period, GetParam().Cells);
  const double p = GetParam().Period;
  for (double y = -40.25; y < p + 40; y += 13.7)
    for (double x = -40.5; x < p + 40; x += 11.3) {
      const double v = noise.At(x, y);
      EXPECT_NEAR(noise.At(x + p, y), v, 1e-4) << x << "," << y;
      EXPECT_NEAR(noise.At(x, y + p), v, 1e-4) << x << "," << y;
      EXPECT_NEAR(noise.At(x - 2 * p, y + 3 * p), v, 1e-4) << x << "," << y;
      EXPECT_LE(std::abs(v), 1.5);
    }
}

TEST_P(RepeatingNoise, IsContinuousAcrossLatticeAndPeriodBorders) {
  const TNoise noise(11, GetParam().Period, GetParam().Cells);
  const double p = GetParam().Period;
  // Neighbouring samples a hundredth of a pixel apart differ only a little,
  // also where the lattice wraps around at the period.
  for (double x : {0.0, p / GetParam().Cells, p - 0.005, p, 2 * p - 0.005})
    for (double y = 1.5; y < p; y += 17)
      EXPECT_NEAR(noise.At(x, y), noise.At(x + 0.01, y), 0.01) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Cells, RepeatingNoise,
                         testing::Values(TNoiseCase{300, 3}, TNoiseCase{300, 10},
                                         TNoiseCase{300, 120}, TNoiseCase{256, 128},
                                         TNoiseCase{600, 200}));

TEST(FractalNoise, RepeatsEveryPeriod) {
  const TFractalNoise noise(3, 300, 3, 5);
  for (double y = 0.5; y < 300; y += 23)
    for (double x = 0.5; x < 300; x += 19) {
      EXPECT_NEAR(noise.At(x + 300, y), noise.At(x, y), 1e-4);
      EXPECT_NEAR(noise.At(x, y - 300), noise.At(x, y), 1e-4);
    }
}

TEST(FractalNoise, SameSeedSameValuesOtherSeedOtherValues) {
  const TFractalNoise a(SeedOf(QStringLiteral("Grass")), 300, 3, 4);
  const TFractalNoise b(SeedOf(QStringLiteral("Grass")), 300, 3, 4);
  const TFractalNoise c(SeedOf(QStringLiteral("Dirt")), 300, 3, 4);
  int differ = 0;
  for (double x = 0.5; x < 300; x += 7) {
    EXPECT_EQ(a.At(x, 42.5), b.At(x, 42.5));
    differ += std::abs(a.At(x, 42.5) - c.At(x, 42.5)) > 0.01;
  }
  EXPECT_GT(differ, 30);
}

// ---------------------------------------------------------------------------
// Random numbers

TEST(Random, IntegersStayInRangeAndReachBothEnds) {
  TRandom random(SeedOf(QStringLiteral("range")));
  for (auto [low, high] : {std::pair(0, 0), std::pair(0, 1), std::pair(-3, 3), std::pair(5, 25)}) {
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
      const int v = random.Int(low, high);
      ASSERT_GE(v, low);
      ASSERT_LE(v, high);
      sawLow |= v == low;
      sawHigh |= v == high;
    }
    EXPECT_TRUE(sawLow && sawHigh) << low << ".." << high;
  }
  for (int i = 0; i < 2000; ++i) {
    const double u = random.Uniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

// ---------------------------------------------------------------------------
// Voronoi cells

TEST(Voronoi, EdgeDistanceIsTheDistanceToTheBisector) {
  TVoronoi voronoi(0, 0);
  voronoi.Add(10, 10);
  voronoi.Add(50, 10);
  voronoi.Add(30, 60);
  // On the segment between the first two sites, the border is at x = 30.
  for (double x : {12.0, 20.0, 29.0}) {
    const TVoronoiHit hit = voronoi.At(x, 10);
    EXPECT_EQ(hit.Site, 0);
    EXPECT_NEAR(hit.Distance, x - 10, 1e-9);
    EXPECT_NEAR(hit.EdgeDistance, 30 - x, 1e-9);
  }
  EXPECT_EQ(voronoi.At(31, 10).Site, 1);
  EXPECT_NEAR(voronoi.At(30, 10).EdgeDistance, 0, 1e-9);
  // Below the third site, its cell ends where the others' begin.
  EXPECT_EQ(voronoi.At(30, 55).Site, 2);
}

TEST(Voronoi, RepeatingCellsWrapAroundThePeriod) {
  TVoronoi voronoi(300, 0);
  voronoi.Add(295, 20);
  voronoi.Add(150, 20);
  // Just past the period's start, the site near its end is the nearest one,
  // seen across the border.
  const TVoronoiHit hit = voronoi.At(2, 20);
  EXPECT_EQ(hit.Site, 0);
  EXPECT_NEAR(hit.Distance, 7, 1e-9);
  EXPECT_NEAR(hit.Dx, 7, 1e-9);
  // The border between them lies halfway round the short way, at 72.5.
  EXPECT_NEAR(hit.EdgeDistance, 70.5, 1e-9);
  EXPECT_EQ(voronoi.At(72, 20).Site, 0);
  EXPECT_EQ(voronoi.At(73, 20).Site, 1);
  // Not repeating in y: far below, distances grow without wrapping.
  EXPECT_NEAR(voronoi.At(150, 420).Distance, 400, 1e-9);
}

// ---------------------------------------------------------------------------
// Keyed object pictures

QRgb At(const QImage& rgb888, int x, int y) {
  return rgb888.pixel(x, y) & 0xFFFFFF;
}

TEST(ObjectPicture, FlattenKeysTheTransparentHalfAndUnpremultipliesTheRest) {
  QImage canvas = NewObjectCanvas(4, 1);
  canvas.setPixel(0, 0, qPremultiply(qRgba(200, 100, 50, 127)));
  canvas.setPixel(1, 0, qPremultiply(qRgba(200, 100, 50, 128)));
  canvas.setPixel(2, 0, qRgba(0xFF, 0x00, 0xFF, 0xFF));  // drawn, but the key's colour
  canvas.setPixel(3, 0, qRgba(10, 20, 30, 255));
  const QImage flat = FlattenObject(canvas);
  ASSERT_EQ(flat.format(), QImage::Format_RGB888);
  EXPECT_EQ(At(flat, 0, 0), 0xFF00FFu);
  // Half-covered edge pixels keep their own colour, not one darkened or
  // tinted towards the key.
  const QRgb edge = flat.pixel(1, 0);
  EXPECT_NEAR(qRed(edge), 200, 2);
  EXPECT_NEAR(qGreen(edge), 100, 2);
  EXPECT_NEAR(qBlue(edge), 50, 2);
  EXPECT_NE(At(flat, 2, 0), 0xFF00FFu);
  EXPECT_EQ(At(flat, 3, 0), 0x0A141Eu);
}

TEST(ObjectPicture, OutlineRingsTheDrawingAtItsRadius) {
  QImage canvas = NewObjectCanvas(21, 21);
  canvas.setPixel(10, 10, qRgba(200, 200, 200, 255));
  OutlineSilhouette(canvas, 3.0, QColor(1, 2, 3));
  // Picture:   the drawn pixel stays, everything within 3 pixels of it turns
  // into outline, nothing further out.
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      const QRgb p = canvas.pixel(x, y);
      const int d2 = (x - 10) * (x - 10) + (y - 10) * (y - 10);
      if (d2 == 0)
        EXPECT_EQ(p, qRgba(200, 200, 200, 255));
      else if (d2 <= 9)
        EXPECT_EQ(p, qRgba(1, 2, 3, 255)) << x << "," << y;
      else
        EXPECT_EQ(qAlpha(p), 0) << x << "," << y;
    }
}

TEST(ObjectPicture, ScaledDownTheKeyNeverBleedsIntoEdges) {
  // A red disc on the key, scaled as the editor scales it.
  QImage canvas = NewObjectCanvas(150, 150);
  {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 30, 30));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(75, 75), 50, 50);
  }
  const QImage small = ScaleSubTile(FlattenObject(canvas), kKeyColour, 24);
  int opaque = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const QRgb p = small.pixel(x, y);
      if (qAlpha(p) == 0) continue;
      ++opaque;
      EXPECT_EQ(qAlpha(p), 255);
      EXPECT_LT(qBlue(p), 60) << x << "," << y << " is tinted by the key";
    }
  EXPECT_GT(opaque, 150);
}

}  // namespace
