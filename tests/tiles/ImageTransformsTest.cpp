#include "base/Error.h"
#include "tiles/ImageTransforms.h"

#include <QColor>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

namespace {

// Every pixel distinct, so a permutation is identified by where each lands.
QImage Distinct(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 40 + 1, y * 50 + 2, x + y * 7));
  return image;
}

struct TPermutationCase {
  const char* Name;
  std::function<QImage(const QImage&)> Transform;
  bool Swaps;
  // Where source pixel (x, y) of a w × h image lands.
  std::function<QPoint(int x, int y, int w, int h)> Target;
};

const TPermutationCase kPermutations[] = {
    {"RotateClockwise", RotateClockwise, true,
     [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); }},
    {"Rotate180", Rotate180, false,
     [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); }},
    {"RotateCounterClockwise", RotateCounterClockwise, true,
     [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); }},
    {"MirrorLeftRight", MirrorLeftRight, false,
     [](int x, int y, int w, int) { return QPoint(w - 1 - x, y); }},
    {"MirrorTopBottom", MirrorTopBottom, false,
     [](int x, int y, int, int h) { return QPoint(x, h - 1 - y); }},
    {"Orientation6", [](const QImage& i) { return OrientImage(i, 6); }, true,
     [](int x, int y, int, int) { return QPoint(y, x); }},
    {"Orientation7", [](const QImage& i) { return OrientImage(i, 7); }, true,
     [](int x, int y, int w, int h) { return QPoint(h - 1 - y, w - 1 - x); }},
};

TEST(ImageTransforms, AreExactPermutationsOfANonSquareImage) {
  for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied}) {
    const QImage source = Distinct(5, 3).convertToFormat(format);
    for (const auto& c : kPermutations) {
      SCOPED_TRACE(c.Name);
      const QImage result = c.Transform(source);
      EXPECT_EQ(result.format(), format);
      ASSERT_EQ(result.size(), c.Swaps ? QSize(3, 5) : QSize(5, 3));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
          const QPoint to = c.Target(x, y, 5, 3);
          ASSERT_EQ(result.pixel(to), source.pixel(x, y)) << x << "," << y;
        }
    }
  }
}

TEST(ImageTransforms, OrientationsComposeAsTheirNamesSay) {
  const QImage source = Distinct(4, 7);
  EXPECT_EQ(OrientImage(source, 0), source);
  EXPECT_EQ(OrientImage(source, 1), RotateClockwise(source));
  EXPECT_EQ(OrientImage(source, 2), Rotate180(source));
  EXPECT_EQ(OrientImage(source, 3), RotateCounterClockwise(source));
  EXPECT_EQ(OrientImage(source, 4), MirrorLeftRight(source));
  EXPECT_EQ(OrientImage(source, 5), MirrorTopBottom(source));
  EXPECT_EQ(OrientImage(source, 6), MirrorLeftRight(RotateClockwise(source)));
  EXPECT_EQ(OrientImage(source, 7), MirrorLeftRight(RotateCounterClockwise(source)));
  EXPECT_THROW(OrientImage(source, 8), TError);
  EXPECT_THROW(OrientImage(source, -1), TError);
}

TEST(ImageTransforms, ColourKeyUsesTheLowThreeBytesRedFirst) {
  QImage image(3, 1, QImage::Format_RGB888);
  image.setPixel(0, 0, qRgb(0x11, 0x22, 0x33));
  image.setPixel(1, 0, qRgb(0x33, 0x22, 0x11));
  image.setPixel(2, 0, qRgb(0x11, 0x22, 0x34));
  // Red lowest; the high byte (0x02 in supplied files) does not matter.
  const QImage keyed = ColourKeyed(image, 0x02332211);
  EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
  EXPECT_EQ(keyed.pixel(1, 0), qRgb(0x33, 0x22, 0x11));
  EXPECT_EQ(keyed.pixel(2, 0), qRgb(0x11, 0x22, 0x34));
  // -1 is "no colour", not white.
  QImage white(1, 1, QImage::Format_RGB888);
  white.fill(Qt::white);
  EXPECT_EQ(qAlpha(ColourKeyed(white, -1).pixel(0, 0)), 255);
}

// A round object of one colour on the key colour, with a soft object colour
// ring so that the object holds more than one colour.
QImage KeyedObject(int side, QRgb key, QRgb inner, QRgb ring) {
  QImage image(side, side, QImage::Format_RGB888);
  const double c = (side - 1) / 2.0;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double d = std::hypot(x - c, y - c);
      image.setPixel(x, y, d < side * 0.3 ? inner : d < side * 0.4 ? ring : key);
    }
  return image;
}

int Distance(QRgb a, QRgb b) {
  return qMax(qAbs(qRed(a) - qRed(b)),
              qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

TEST(ImageTransforms, KeyAwareScalingLeavesNoFringe) {
  const QRgb key = qRgb(0x73, 0x73, 0x73);
  const QRgb inner = qRgb(200, 30, 30);
  const QRgb ring = qRgb(190, 40, 30);
  const QImage object = KeyedObject(150, key, inner, ring);
  for (int side : {75, 37, 16, 7, 300}) {
    const QImage scaled = ScaleImage(object, side, side, 0x02737373);
    ASSERT_EQ(scaled.format(), QImage::Format_RGB888);
    ASSERT_EQ(scaled.size(), QSize(side, side));
    int keyed = 0;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const QRgb p = scaled.pixel(x, y);
        if (p == key) {
          ++keyed;
          continue;
        }
        // Between the two object colours, never pulled toward the grey key.
        EXPECT_LE(qMin(Distance(p, inner), Distance(p, ring)), 12)
            << side << ": " << x << "," << y << " " << QColor(p).name().toStdString();
      }
    EXPECT_GT(keyed, side * side / 4);
  }
  // A plain smooth stretch would have made the fringe.
  const QImage plain = ScaleImage(object, 37, 37, -1);
  bool fringe = false;
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 37; ++x) {
      const QRgb p = plain.pixel(x, y);
      fringe |= p != key && Distance(p, inner) > 12 && Distance(p, ring) > 12;
    }
  EXPECT_TRUE(fringe);
}

TEST(ImageTransforms, KeyAwareScalingNeverTurnsAnObjectPixelIntoTheKey) {
  // Two object colours whose average is exactly the key.
  QImage image(8, 8, QImage::Format_RGB888);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      image.setPixel(x, y, (x + y) % 2 ? qRgb(0x72, 0x73, 0x73) : qRgb(0x74, 0x73, 0x73));
  const QImage scaled = ScaleImage(image, 4, 4, 0x00737373);
  std::set<QRgb> colours;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      colours.insert(scaled.pixel(x, y));
  EXPECT_EQ(colours.count(qRgb(0x73, 0x73, 0x73)), 0u);
  EXPECT_EQ(colours.count(qRgb(0x73, 0x73, 0x74)), 1u);
}

TEST(ImageTransforms, ScalingToTheSameSizeIsExact) {
  const QImage source = Distinct(6, 6);
  EXPECT_EQ(ScaleImage(source, 6, 6, -1), source);
  EXPECT_EQ(ScaleImage(source, 6, 6, int(source.pixel(2, 2) & 0xFFFFFF)), source);
  EXPECT_TRUE(ScaleImage(source, 0, 6, -1).isNull());
}

}  // namespace
