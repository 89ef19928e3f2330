#include "base/Error.h"
#include "render/ScaledTiles.h"
#include "tiles/TileObjects.h"

#include <QImage>

#include <gtest/gtest.h>

#include <optional>

namespace {

TSubTile Solid(QRgb colour, qint32 key = -1) {
  QImage image(12, 12, QImage::Format_RGB888);
  image.fill(colour);
  image.setPixel(0, 0, qRgb(0x73, 0x73, 0x73));
  TSubTile subTile;
  subTile.SetImage(image);
  subTile.SetTransparentColor(key);
  return subTile;
}

// What a renderer's cache hands out: each picture made once per sub-tile
// picture, orientation, keying and size, the same QImage on every later
// request; a sub-tile without a key colour keyed or not is one picture.
TEST(ScaledTiles, MakesEachPictureOnceAndHandsItOutAgain) {
  TScaledTileCache cache;
  const TSubTile red = Solid(qRgb(200, 0, 0));
  const TSubTile keyed = Solid(qRgb(0, 0, 200), 0x00737373);
  const qint64 first = cache.Picture(red, 1, false, QSize(6, 6)).cacheKey();
  EXPECT_EQ(cache.Picture(red, 1, false, QSize(6, 6)).cacheKey(), first);
  EXPECT_EQ(cache.Picture(red, 1, true, QSize(6, 6)).cacheKey(), first);
  EXPECT_EQ(cache.Count(), 1);

  EXPECT_NE(cache.Picture(red, 2, false, QSize(6, 6)).cacheKey(), first);
  EXPECT_EQ(cache.Picture(red, 1, false, QSize(6, 5)).size(), QSize(6, 5));
  EXPECT_EQ(qAlpha(cache.Picture(keyed, 0, true, QSize(12, 12)).pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(cache.Picture(keyed, 0, false, QSize(12, 12)).pixel(0, 0)), 255);
  EXPECT_EQ(cache.Count(), 5);
  EXPECT_EQ(cache.Bytes(), 2 * (6 * 6 * 4) + 6 * 5 * 4 + 2 * (12 * 12 * 4));

  EXPECT_THROW(cache.Picture(red, 8, false, QSize(6, 6)), TError);
  EXPECT_THROW(cache.Picture(red, -1, false, QSize(6, 6)), TError);

  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(cache.Bytes(), 0);
}

// A sub-tile freed and another made in its place (a map closed and another
// opened) never gets the first one's pictures, nor does a sub-tile whose
// picture changed.
TEST(ScaledTiles, PicturesBelongToWhatASubTileShowsNotWhereItLives) {
  TScaledTileCache cache;
  std::optional<TSubTile> subTile;
  subTile.emplace(Solid(qRgb(200, 0, 0)));
  EXPECT_EQ(cache.Picture(*subTile, 0, false, QSize(4, 4)).pixel(3, 3), qRgb(200, 0, 0));
  subTile.reset();
  subTile.emplace(Solid(qRgb(0, 200, 0)));
  EXPECT_EQ(cache.Picture(*subTile, 0, false, QSize(4, 4)).pixel(3, 3), qRgb(0, 200, 0));

  QImage blue(12, 12, QImage::Format_RGB888);
  blue.fill(qRgb(0, 0, 200));
  subTile->SetImage(blue);
  EXPECT_EQ(cache.Picture(*subTile, 0, false, QSize(4, 4)).pixel(3, 3), qRgb(0, 0, 200));
}

// Past its bound the cache lets go of the pictures used longest ago and
// keeps those in use.
TEST(ScaledTiles, StaysWithinItsBoundKeepingWhatIsInUse) {
  const qint64 picture = 10 * 10 * 4;
  TScaledTileCache cache(4 * picture);
  const TSubTile tiles[] = {Solid(qRgb(1, 0, 0)), Solid(qRgb(2, 0, 0)), Solid(qRgb(3, 0, 0)),
                            Solid(qRgb(4, 0, 0)), Solid(qRgb(5, 0, 0))};
  for (int i = 0; i < 4; ++i)
    cache.Picture(tiles[i], 0, false, QSize(10, 10));
  const qint64 inUse = cache.Picture(tiles[0], 0, false, QSize(10, 10)).cacheKey();
  EXPECT_EQ(cache.Count(), 4);

  cache.Picture(tiles[4], 0, false, QSize(10, 10));
  EXPECT_LE(cache.Bytes(), 4 * picture);
  EXPECT_EQ(cache.Count(), 3);
  EXPECT_EQ(cache.Picture(tiles[0], 0, false, QSize(10, 10)).cacheKey(), inUse);
  EXPECT_EQ(cache.Count(), 3);
  EXPECT_EQ(cache.Picture(tiles[4], 0, false, QSize(10, 10)).pixel(5, 5), qRgb(5, 0, 0));
}

}  // namespace
