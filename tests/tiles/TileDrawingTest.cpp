#include "base/Error.h"
#include "support/TestImages.h"
#include "tiles/ImageTransforms.h"
#include "tiles/TileObjects.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

QImage Canvas(int width, int height, QRgb fill) {
  QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(fill);
  return canvas;
}

QRgb Background() {
  return QGuiApplication::palette().color(QPalette::Base).rgb();
}

// The canvas as a picture, one character per pixel from a colour legend;
// unknown colours show as '?'.
std::string Picture(const QImage& canvas, const std::map<QRgb, char>& legend) {
  std::string text;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const auto it = legend.find(canvas.pixel(x, y) | 0xFF000000);
      text += it == legend.end() ? '?' : it->second;
    }
    text += '\n';
  }
  return text;
}

// ---------------------------------------------------------------------------
// The orientation table of TileAt, the quadrant table and the image
// transforms must agree: drawing every displayed cell of a group cut from one
// picture gives that picture in the orientation.

class OrientedGroup : public testing::TestWithParam<int> {};

TEST_P(OrientedGroup, DrawsAsTheWholePictureTransformed) {
  const int orientation = GetParam();
  constexpr int kSide = 4;  // sub-tile side
  constexpr int kW = 3;
  constexpr int kH = 2;
  QImage whole(kW * 2 * kSide, kH * 2 * kSide, QImage::Format_RGB888);
  for (int y = 0; y < whole.height(); ++y)
    for (int x = 0; x < whole.width(); ++x)
      whole.setPixel(x, y, qRgb(x * 10, y * 15, 77));

  TTileGroup group;
  group.SetPatWidth(kW);
  group.SetPatHeight(kH);
  group.SetPlaceType(ptPattern);
  for (int ty = 0; ty < kH; ++ty)
    for (int tx = 0; tx < kW; ++tx) {
      TTile& tile = group.GetOrCreateTile(tx, ty);
      for (int q = 0; q < 4; ++q) {
        TSubTile& sub = tile.SubTile(q);
        sub.SetImage(whole.copy((2 * tx + q % 2) * kSide, (2 * ty + q / 2) * kSide, kSide, kSide));
      }
    }

  const QImage expected = OrientImage(whole, orientation);
  const int columns = SwapsSides(orientation) ? kH : kW;
  const int rows = SwapsSides(orientation) ? kW : kH;
  ASSERT_EQ(expected.size(), QSize(columns * 2 * kSide, rows * 2 * kSide));
  QImage canvas = Canvas(expected.width(), expected.height(), 0xFF000000);
  {
    QPainter painter(&canvas);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < columns; ++c) {
        const TTile* tile = group.TileAt(c, r, orientation);
        ASSERT_NE(tile, nullptr);
        tile->Draw(painter, QRect(c * 2 * kSide, r * 2 * kSide, 2 * kSide, 2 * kSide), orientation);
      }
  }
  EXPECT_EQ(canvas.convertToFormat(QImage::Format_RGB888), expected);
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, OrientedGroup, testing::Range(0, kOrientationCount));

TEST(TileDrawing, QuadrantsSplitAtTruncatedMidpoints) {
  TTileGroup group;
  TTile& tile = group.GetOrCreateTile(0, 0);
  const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
  for (int q = 0; q < 4; ++q)
    tile.SubTile(q).SetImage(Solid(colours[q]));
  QImage canvas = Canvas(8, 5, 0xFF000000);
  {
    QPainter painter(&canvas);
    tile.Draw(painter, QRect(1, 1, 5, 3), 0);
  }
  const std::map<QRgb, char> legend = {{0xFF000000, '.'},
                                       {colours[0], '0'},
                                       {colours[1], '1'},
                                       {colours[2], '2'},
                                       {colours[3], '3'}};
  EXPECT_EQ(Picture(canvas, legend),
            "........\n"
            ".00111..\n"
            ".22333..\n"
            ".22333..\n"
            "........\n");
}

// ---------------------------------------------------------------------------
// Transparency: objects leave their key colour out, floors draw it.

TEST(TileDrawing, ObjectsDrawTheirKeyColourTransparentAndFloorsOpaque) {
  const QRgb grey = qRgb(0x73, 0x73, 0x73);
  const QRgb red = qRgb(200, 20, 20);
  const QRgb blue = qRgb(0, 0, 250);
  QImage image = Solid(grey, 4);
  for (int y = 1; y < 3; ++y)
    for (int x = 1; x < 3; ++x)
      image.setPixel(x, y, red);

  TTileGroup group;
  TTile& tile = group.GetOrCreateTile(0, 0);
  for (int q = 0; q < 4; ++q) {
    tile.SubTile(q).SetImage(image);
    tile.SubTile(q).SetTransparentColor(0x02737373);
  }
  const std::map<QRgb, char> legend = {{grey, 'g'}, {red, 'r'}, {blue, '.'}};
  auto draw = [&](int side) {
    QImage canvas = Canvas(side, side, blue);
    QPainter painter(&canvas);
    tile.Draw(painter, QRect(0, 0, side, side), 0);
    painter.end();
    return canvas;
  };
  const char* opaque =
      "gggggggg\n"
      "grrggrrg\n"
      "grrggrrg\n"
      "gggggggg\n"
      "gggggggg\n"
      "grrggrrg\n"
      "grrggrrg\n"
      "gggggggg\n";
  const char* keyed =
      "........\n"
      ".rr..rr.\n"
      ".rr..rr.\n"
      "........\n"
      "........\n"
      ".rr..rr.\n"
      ".rr..rr.\n"
      "........\n";

  group.SetFType(gtFloor);
  EXPECT_EQ(Picture(draw(8), legend), opaque);
  group.SetFType(gtObjects);
  EXPECT_EQ(Picture(draw(8), legend), keyed);

  // Stretched, the object keeps its colour and the key never shows.
  const QImage large = draw(30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const QRgb p = large.pixel(x, y) | 0xFF000000;
      EXPECT_TRUE(p == blue || (qAbs(qRed(p) - 200) <= 2 && qAbs(qGreen(p) - 20) <= 2 &&
                                qAbs(qBlue(p) - 20) <= 2))
          << x << "," << y << " " << QColor(p).name().toStdString();
    }

  // Without a transparent colour nothing is keyed, even in an object group.
  for (int q = 0; q < 4; ++q)
    tile.SubTile(q).SetTransparentColor(-1);
  EXPECT_EQ(Picture(draw(8), legend), opaque);
}

// A sub-tile's picture at a size: stretched, turned, keyed on request; its
// id names exactly the image and colour it is made from.
TEST(TileDrawing, PicturesFollowSizeOrientationAndColourAndTheirIdTheImage) {
  TSubTile sub;
  QImage image = Solid(qRgb(1, 2, 3), 6);
  image.setPixel(0, 0, qRgb(9, 9, 9));
  sub.SetImage(image);

  EXPECT_EQ(sub.Picture(0, false, QSize(6, 6)).format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(sub.Picture(2, false, QSize(6, 6)).pixel(5, 5), qRgb(9, 9, 9));
  // The size is as displayed: a quarter turn of a 6 x 3 picture is 6 x 3.
  EXPECT_EQ(sub.Picture(0, false, QSize(6, 3)).size(), QSize(6, 3));
  EXPECT_EQ(sub.Picture(1, false, QSize(6, 3)).size(), QSize(6, 3));
  EXPECT_TRUE(sub.Picture(0, false, QSize(0, 4)).isNull());
  EXPECT_EQ(qAlpha(sub.Picture(0, true, QSize(6, 6)).pixel(0, 0)), 255);

  const quint64 id = sub.PictureId();
  const TSubTile copy = sub;
  EXPECT_EQ(copy.PictureId(), id);
  EXPECT_EQ(sub.Clone()->PictureId(), id);
  sub.SetTransparentColor(0x00090909);
  EXPECT_NE(sub.PictureId(), id);
  EXPECT_EQ(qAlpha(sub.Picture(0, true, QSize(6, 6)).pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(sub.Picture(0, false, QSize(6, 6)).pixel(0, 0)), 255);
  EXPECT_EQ(qAlpha(sub.Picture(3, true, QSize(6, 6)).pixel(0, 5)), 0);

  const quint64 keyedId = sub.PictureId();
  sub.SetTransparentColor(0x00090909);  // unchanged: the same picture
  EXPECT_EQ(sub.PictureId(), keyedId);
  sub.SetImage(Solid(qRgb(50, 60, 70), 6));
  EXPECT_NE(sub.PictureId(), keyedId);
  EXPECT_NE(TSubTile().PictureId(), TSubTile().PictureId());
  EXPECT_EQ(sub.Picture(0, true, QSize(6, 6)).pixel(0, 0), qRgb(50, 60, 70));

  // Drawing never changes the stored bitmap.
  const QImage before = sub.Image();
  QImage canvas = Canvas(10, 10, 0xFF000000);
  QPainter painter(&canvas);
  sub.Draw(painter, QRect(0, 0, 10, 10), 6, true);
  EXPECT_EQ(sub.Image(), before);
  EXPECT_THROW(sub.Draw(painter, QRect(0, 0, 10, 10), 8, true), TError);
  EXPECT_THROW(sub.Picture(8, true, QSize(4, 4)), TError);
}

// On a canvas of twice the device pixels a tile is drawn from its
// full-resolution pictures at those pixels, exactly as at twice the size on
// an ordinary canvas: sharp, not an enlarged small picture.
TEST(TileDrawing, HighResolutionCanvasesGetTheirOwnPixels) {
  TTileGroup group;
  group.SetFType(gtObjects);
  TTile& tile = group.GetOrCreateTile(0, 0);
  for (int q = 0; q < 4; ++q) {
    QImage image(40, 40, QImage::Format_RGB888);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        image.setPixel(x, y,
                       (x + y) % 9 == 0 ? qRgb(0x73, 0x73, 0x73) : qRgb(x * 6, y * 6, 60 * q));
    tile.SubTile(q).SetImage(image);
    tile.SubTile(q).SetTransparentColor(0x02737373);
  }
  for (int orientation = 0; orientation < kOrientationCount; ++orientation) {
    QImage sharp = Canvas(60, 60, qRgb(10, 200, 10));
    sharp.setDevicePixelRatio(2);
    {
      QPainter painter(&sharp);
      tile.Draw(painter, QRect(3, 4, 22, 22), orientation);
    }
    QImage twice = Canvas(60, 60, qRgb(10, 200, 10));
    {
      QPainter painter(&twice);
      tile.Draw(painter, QRect(6, 8, 44, 44), orientation);
    }
    sharp.setDevicePixelRatio(1);
    EXPECT_EQ(sharp, twice) << orientation;
  }
}

// ---------------------------------------------------------------------------
// Group previews: the cells that show, where, and the background around them.

struct TPreviewCase {
  const char* Name;
  int Width;
  int Height;
  int PlaceType;
  int Orientation;
  QRect Rect;
  // Expected cells: rectangle and the stored tile shown there.
  std::vector<std::pair<QRect, QPoint>> Cells;
  std::vector<QPoint> Missing;  // stored cells left empty
};

QRgb TileColour(QPoint p) {
  return qRgb(40 + p.x() * 50, 40 + p.y() * 50, 200);
}

void PrintTo(const TPreviewCase& c, std::ostream* os) {
  *os << c.Name;
}

class GroupPreview : public testing::TestWithParam<TPreviewCase> {};

TEST_P(GroupPreview, LaysOutTheCells) {
  const TPreviewCase& c = GetParam();
  TTileGroup group;
  group.SetPatWidth(c.Width);
  group.SetPatHeight(c.Height);
  group.SetPlaceType(quint8(c.PlaceType));
  for (int y = 0; y < c.Height; ++y)
    for (int x = 0; x < c.Width; ++x) {
      if (std::find(c.Missing.begin(), c.Missing.end(), QPoint(x, y)) != c.Missing.end()) continue;
      TTile& tile = group.GetOrCreateTile(x, y);
      for (int q = 0; q < 4; ++q)
        tile.SubTile(q).SetImage(Solid(TileColour(QPoint(x, y)), 6));
    }

  const QRgb outside = qRgb(1, 2, 3);
  QImage canvas = Canvas(130, 120, outside);
  {
    QPainter painter(&canvas);
    group.DrawPreview(painter, c.Rect, c.Orientation);
  }
  QImage expected = Canvas(130, 120, outside);
  {
    QPainter painter(&expected);
    painter.fillRect(c.Rect, QColor(Background()));
    for (const auto& [rect, stored] : c.Cells)
      painter.fillRect(rect, QColor(TileColour(stored)));
  }
  EXPECT_EQ(canvas, expected);
}

const TPreviewCase kPreviews[] = {
    {"OneCellPattern",
     1,
     1,
     ptPattern,
     0,
     QRect(0, 0, 100, 100),
     {{QRect(18, 18, 64, 64), QPoint(0, 0)}},
     {}},
    {"ThreeCellsCentreOnAHalfCell",
     3,
     1,
     ptPattern,
     0,
     QRect(0, 0, 100, 100),
     {{QRect(2, 34, 32, 32), QPoint(0, 0)},
      {QRect(34, 34, 32, 32), QPoint(1, 0)},
      {QRect(66, 34, 32, 32), QPoint(2, 0)}},
     {}},
    {"RandomShowsOnlyTheFirstTile",
     5,
     1,
     ptRandom,
     1,
     QRect(0, 0, 100, 100),
     {{QRect(18, 18, 64, 64), QPoint(0, 0)}},
     {}},
    {"OtherPlacementTypesShowOneCell",
     3,
     1,
     5,
     0,
     QRect(0, 0, 100, 100),
     {{QRect(18, 18, 64, 64), QPoint(0, 0)}},
     {}},
    {"CoffinTurnedClockwise",
     2,
     1,
     ptPattern,
     1,
     QRect(0, 0, 100, 100),
     {{QRect(25, 0, 50, 50), QPoint(0, 0)}, {QRect(25, 50, 50, 50), QPoint(1, 0)}},
     {}},
    {"CoffinTurnedHalfway",
     2,
     1,
     ptPattern,
     2,
     QRect(0, 0, 100, 100),
     {{QRect(0, 25, 50, 50), QPoint(1, 0)}, {QRect(50, 25, 50, 50), QPoint(0, 0)}},
     {}},
    {"OddSizeShrinksAndRectIsOffset",
     1,
     1,
     ptFixed,
     0,
     QRect(10, 20, 31, 45),
     {{QRect(10, 27, 30, 30), QPoint(0, 0)}},
     {}},
    {"EmptyCellsShowTheBackground",
     2,
     2,
     ptFixed,
     0,
     QRect(5, 5, 100, 100),
     {{QRect(5, 5, 50, 50), QPoint(0, 0)}, {QRect(55, 55, 50, 50), QPoint(1, 1)}},
     {QPoint(1, 0), QPoint(0, 1)}},
    {"EmptyGrid", 0, 1, ptPattern, 0, QRect(0, 0, 100, 100), {}, {}},
    {"TooSmallForACell", 3, 1, ptPattern, 0, QRect(0, 0, 5, 5), {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Examples, GroupPreview, testing::ValuesIn(kPreviews),
                         [](const testing::TestParamInfo<TPreviewCase>& info) {
                           return std::string(info.param.Name);
                         });

TEST(GroupPreviewOrientation, RandomGroupsDrawTheirTileInThePreviewOrientation) {
  TTileGroup group;  // 5 × 1, Random
  TTile& tile = group.GetOrCreateTile(0, 0);
  const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
  for (int q = 0; q < 4; ++q)
    tile.SubTile(q).SetImage(Solid(colours[q]));
  QImage canvas = Canvas(4, 4, 0xFF000000);
  {
    QPainter painter(&canvas);
    group.DrawPreview(painter, QRect(0, 0, 4, 4), 1);
  }
  const std::map<QRgb, char> legend = {
      {colours[0], '0'}, {colours[1], '1'}, {colours[2], '2'}, {colours[3], '3'}};
  EXPECT_EQ(Picture(canvas, legend),
            "2200\n"
            "2200\n"
            "3311\n"
            "3311\n");
}

}  // namespace
