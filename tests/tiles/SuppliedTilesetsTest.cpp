#include "support/ScriptedMessages.h"
#include "support/TilesetFiles.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TSupplied {
  const char* resource;
  const char* file;
  const char* name;
  int minGroups;
  int maxGroups;
};

void PrintTo(const TSupplied& supplied, std::ostream* out) {
  *out << supplied.file;
}

class SuppliedTilesetTest : public testing::TestWithParam<TSupplied> {};

// A preview that drew nothing is one flat colour.
bool HasDrawing(const QImage& image) {
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != first) return true;
  return false;
}

}  // namespace

TEST_P(SuppliedTilesetTest, EveryGroupLoadsAndDrawsItsPreview) {
  const TSupplied& supplied = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = QDir(dir.path()).filePath(QLatin1String(supplied.file));
  CopyResource(QLatin1String(supplied.resource), path);

  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(path));
  ASSERT_TRUE(tileSet.Load());
  EXPECT_TRUE(ScriptedMessages().Shown.empty());
  EXPECT_EQ(tileSet.TilesetName(), QLatin1String(supplied.name));
  EXPECT_GE(tileSet.GroupCount(), supplied.minGroups);
  EXPECT_LE(tileSet.GroupCount(), supplied.maxGroups);

  // The groups' names, shapes and tiles are checked on the generated files;
  // here every group loads and draws.
  for (int i = 0; i < tileSet.GroupCount(); ++i) {
    const TTileGroup& group = *tileSet.GroupAt(i);
    SCOPED_TRACE(qPrintable(group.GroupName()));
    ASSERT_NE(group.StoredTile(0, 0), nullptr);
    QImage preview(100, 100, QImage::Format_RGB888);
    preview.fill(Qt::black);
    QPainter painter(&preview);
    group.DrawPreview(painter, preview.rect(), 0);
    painter.end();
    EXPECT_TRUE(HasDrawing(preview));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Generated, SuppliedTilesetTest,
    testing::Values(TSupplied{":/TILESET/xTileset", "ExampleTileset.tls", "ExampleTileset", 20, 30},
                    TSupplied{":/TILESET/xWalls", "Walls.wls", "ExampleWalls", 2, 2}),
    [](const testing::TestParamInfo<TSupplied>& info) {
      return std::string(QFileInfo(QLatin1String(info.param.file)).baseName().toLatin1());
    });
