// Pictures of a map must not change from one version of the program to the
// next: an exported picture of the same map at the same scale is the same,
// pixel for pixel. The checksums below were taken from the pictures the
// program drew before its drawing moved into the render layer; whoever
// changes them on purpose says so.
#include "export/MapExport.h"
#include "map/TileMapObjects.h"
#include "render/MapRender.h"
#include "tiles/TileObjects.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A side x side picture: a pattern of its own, and with a key colour a
// ring and stripes of it around the middle.
TSubTile MakeSubTile(int side, int seed, qint32 key) {
  QImage image(side, side, QImage::Format_RGB888);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int dx = x - side / 2;
      const int dy = y - side / 2;
      const bool keyed =
          key != -1 && (dx * dx + dy * dy > side * side / 8 || (x / 5 + y / 7) % 4 == 0);
      image.setPixel(
          x, y,
          keyed ? qRgb(0x73, 0x73, 0x73)
                : qRgb((x * 7 + seed * 40) & 255, (y * 5 + x) & 255, (seed * 90 + x * y) & 255));
    }
  TSubTile subTile;
  subTile.SetImage(image);
  subTile.SetGuid(
      QStringLiteral("{00000000-0000-0000-0000-0000000000%1}").arg(seed, 2, 10, QLatin1Char('0')));
  subTile.SetTransparentColor(key);
  return subTile;
}

// SHA-1 of the picture's RGB rows, without padding.
std::string Checksum(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (int y = 0; y < rgb.height(); ++y)
    hash.addData(
        QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3));
  return hash.result().toHex().toStdString();
}

// 4 x 3 squares: floors shrunk from 150 pixels and stretched from 37 in
// every orientation, one sub-cell without a floor, keyed objects and walls
// over them.
class GoldenPictures : public testing::Test {
 protected:
  void SetUp() override {
    map.SetWidth(8);
    map.SetHeight(6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        if (!(x == 7 && y == 0))
          map.PlaceTile(mlBase, x, y, (x + y) % 3 ? floorA : floorB, quint8((x * 3 + y) % 8));
        if ((x + 2 * y) % 3 == 0) map.PlaceTile(mlOverlay, x, y, object, quint8((x + y) % 8));
        if (y % 3 == 1 || x == 5) map.PlaceTile(mlWall, x, y, wall, quint8((x * 5 + y) % 8));
      }
  }

  std::string Exported(const TExportOptions& options) {
    const QString path = dir.filePath(QStringLiteral("picture.") + ExportExtension(options.Format));
    EXPECT_FALSE(ExportMap(map, nullptr, options, path).Cancelled);
    return Checksum(QImage(path));
  }

  const TSubTile floorA = MakeSubTile(150, 1, -1);
  const TSubTile floorB = MakeSubTile(37, 2, -1);
  const TSubTile object = MakeSubTile(150, 3, 0x02737373);
  const TSubTile wall = MakeSubTile(60, 4, 0x00737373);
  TTileMap map;
  QTemporaryDir dir;
};

TEST_F(GoldenPictures, RenderedAndExportedPicturesKeepTheirPixels) {
  EXPECT_EQ(Checksum(RenderMap(map, 20)), "753158e672b49fd6cac1be7b5a3c26ee52bde3f1");
  EXPECT_EQ(Checksum(RenderMap(map, 48, lfObjects | lfWalls, true)),
            "b0b43b59e2a632647ab8ae92355e7e436cac8847");

  // An odd scale is drawn at twice the size and averaged; with grid lines.
  TExportOptions png;
  png.PixelsPerSquare = 25;
  png.GridLines = true;
  png.Format = TExportFormat::Png;
  EXPECT_EQ(Exported(png), "e372078341f3f148362e92fbdd906c9abeea86fe");

  TExportOptions bmp;
  bmp.PixelsPerSquare = 8;
  bmp.Layers = lfBase | lfWalls;
  bmp.Format = TExportFormat::Bmp;
  EXPECT_EQ(Exported(bmp), "07da490f15210b819998d31b7da98b0c22b26948");
}

}  // namespace
