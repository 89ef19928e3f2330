// Cutting pictures into tiles: sizes, transparency from alpha or a key
// colour, the proposed square counts and sheets of groups.
#include "base/Error.h"
#include "tiles/PictureCutter.h"
#include "tiles/TileObjects.h"

#include <QImage>
#include <QPainter>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kSub = 10;  // sub-tile size in these tests; a tile is 20 pixels

QImage Picture(int width, int height, QImage::Format format, QColor fill,
               const std::function<void(QPainter&)>& paint = {}) {
  QImage image(width, height, format);
  image.fill(fill);
  if (paint) {
    QPainter painter(&image);
    paint(painter);
  }
  return image;
}

// The group's pixel at (x, y) of the whole scaled picture.
QRgb PixelAt(const TTileGroup& group, int x, int y) {
  const int tile = 2 * kSub;
  const TTile* cell = group.StoredTile(x / tile, y / tile);
  const int quadrant = (x % tile) / kSub + 2 * ((y % tile) / kSub);
  return cell->SubTile(quadrant).Image().pixel(x % kSub, y % kSub) & 0xFFFFFF;
}

struct TCutCase {
  const char* Name;
  QImage Source;
  TCutOptions Options;
  qint32 TransparentColor;
  // Sample pixels of the scaled picture and the colour each must have.
  std::vector<std::pair<QPoint, QRgb>> Samples;
};

TEST(PictureCutter, CutsSquaresIntoTilesWithTheirTransparency) {
  const QColor brown(120, 80, 30);
  const TCutCase cases[] = {
      {"opaque picture: no transparent colour, squares scaled to the tile",
       Picture(140, 70, QImage::Format_RGB32, brown,
               [](QPainter& p) { p.fillRect(70, 0, 70, 70, QColor(0, 0, 200)); }),
       {2, 1, kSub, std::nullopt},
       -1,
       {{QPoint(5, 5), 0x78501E}, {QPoint(35, 15), 0x0000C8}}},
      {"alpha: cleared pixels take magenta, the key of the supplied objects",
       Picture(100, 100, QImage::Format_ARGB32, Qt::transparent,
               [&](QPainter& p) { p.fillRect(0, 0, 50, 100, brown); }),
       {1, 1, kSub, std::nullopt},
       0x02FF00FF,
       {{QPoint(2, 2), 0x78501E}, {QPoint(17, 2), 0xFF00FF}}},
      {"alpha over magenta art: the key is a colour no opaque pixel uses",
       Picture(100, 100, QImage::Format_ARGB32, Qt::transparent,
               [](QPainter& p) { p.fillRect(0, 0, 50, 100, QColor(255, 0, 255)); }),
       {1, 1, kSub, std::nullopt},
       0x02FFFFFF,
       {{QPoint(2, 2), 0xFF00FF}, {QPoint(17, 2), 0xFFFFFF}}},
      {"alpha that covers everything: opaque after all",
       Picture(60, 60, QImage::Format_ARGB32, brown),
       {1, 1, kSub, std::nullopt},
       -1,
       {{QPoint(10, 10), 0x78501E}}},
      {"key colour: its pixels are transparent, the record stores it",
       Picture(100, 100, QImage::Format_RGB32, QColor(0, 255, 0),
               [&](QPainter& p) { p.fillRect(50, 0, 50, 100, brown); }),
       {1, 1, kSub, qRgb(0, 255, 0)},
       0x0200FF00,
       {{QPoint(2, 2), 0x00FF00}, {QPoint(17, 2), 0x78501E}}},
      {"alpha with a key colour: cleared pixels take the given key",
       Picture(100, 100, QImage::Format_ARGB32, Qt::transparent,
               [&](QPainter& p) { p.fillRect(50, 0, 50, 100, brown); }),
       {1, 1, kSub, qRgb(0, 0, 255)},
       0x02FF0000,
       {{QPoint(2, 2), 0x0000FF}, {QPoint(17, 2), 0x78501E}}},
      {"paletted picture, several squares each way",
       Picture(200, 300, QImage::Format_RGB32, brown).convertToFormat(QImage::Format_Indexed8),
       {2, 3, kSub, std::nullopt},
       -1,
       {{QPoint(39, 59), 0x78501E}}},
  };
  for (const TCutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTileGroup group;
    // An earlier cut of another size leaves nothing behind.
    CutPictureIntoGroup(Picture(80, 80, QImage::Format_RGB32, Qt::white), {4, 4, kSub, {}}, group);
    CutPictureIntoGroup(c.Source, c.Options, group);
    ASSERT_EQ(group.PatWidth(), c.Options.Across);
    ASSERT_EQ(group.PatHeight(), c.Options.Down);
    QSet<QString> guids;
    for (int x = 0; x < group.PatWidth(); ++x)
      for (int y = 0; y < group.PatHeight(); ++y) {
        const TTile* tile = group.StoredTile(x, y);
        ASSERT_NE(tile, nullptr);
        for (int q = 0; q < 4; ++q) {
          const TSubTile& subTile = tile->SubTile(q);
          EXPECT_EQ(subTile.Image().size(), QSize(kSub, kSub));
          EXPECT_EQ(subTile.Image().format(), QImage::Format_RGB888);
          EXPECT_EQ(subTile.TransparentColor(), c.TransparentColor);
          guids.insert(subTile.Guid());
        }
      }
    EXPECT_EQ(guids.size(), 4 * c.Options.Across * c.Options.Down);
    for (const auto& [at, colour] : c.Samples)
      EXPECT_EQ(PixelAt(group, at.x(), at.y()), colour) << at.x() << ',' << at.y();
  }
}

TEST(PictureCutter, RefusesPicturesThatCannotBeCut) {
  const QImage small = Picture(3, 3, QImage::Format_RGB32, Qt::white);
  const struct {
    QImage Source;
    TCutOptions Options;
  } rows[] = {
      {QImage(), {1, 1, kSub, {}}},
      {small, {0, 1, kSub, {}}},
      {small, {1, kMaxSquares + 1, kSub, {}}},
      {small, {4, 1, kSub, {}}},
      {Picture(400, 400, QImage::Format_RGB32, Qt::white), {17, 16, kSub, {}}},
  };
  for (const auto& row : rows) {
    TTileGroup group;
    EXPECT_THROW(CutPictureIntoGroup(row.Source, row.Options, group), TError);
  }
}

TEST(PictureCutter, ProposesSquareCountsAtCommonScales) {
  const struct {
    QSize Size;
    int Across, Down, SquareSize;  // the first proposal
    size_t Count;
  } rows[] = {
      {QSize(700, 1400), 5, 10, 140, 5},  // 70 and 140 fit exactly: the larger first
      {QSize(420, 140), 3, 1, 140, 4},    // an object sheet: 3 × 1 before 6 × 2
      {QSize(1000, 500), 10, 5, 100, 5},  // only 100 fits exactly
      {QSize(768, 512), 3, 2, 256, 5},    //
      {QSize(60, 60), 1, 1, 70, 1},       // smaller than a square: one square
      {QSize(0, 10), 0, 0, 0, 0},         // nothing to propose
  };
  for (const auto& row : rows) {
    const std::vector<TSquareCount> counts = ProposeSquareCounts(row.Size);
    ASSERT_EQ(counts.size(), row.Count) << row.Size.width();
    if (counts.empty()) continue;
    EXPECT_EQ(counts[0].Across, row.Across) << row.Size.width();
    EXPECT_EQ(counts[0].Down, row.Down) << row.Size.width();
    EXPECT_EQ(counts[0].SquareSize, row.SquareSize) << row.Size.width();
  }
}

TEST(PictureCutter, SplitsSheetsIntoGroupsRowByRow) {
  const QImage sheet = Picture(31, 20, QImage::Format_RGB32, Qt::white,
                               [](QPainter& p) { p.fillRect(0, 10, 31, 10, Qt::black); });
  const std::vector<QImage> pieces = SplitSheet(sheet, 3, 2);
  ASSERT_EQ(pieces.size(), 6u);
  EXPECT_EQ(pieces[0].size(), QSize(10, 10));
  EXPECT_EQ(pieces[2].size(), QSize(11, 10));  // the odd pixel goes to the last column
  EXPECT_EQ(pieces[0].pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(pieces[3].pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_THROW(SplitSheet(sheet, 0, 1), TError);
  EXPECT_THROW(SplitSheet(sheet, 32, 1), TError);
}

}  // namespace
