#include "map/TileMapObjects.h"
#include "render/MapDrawing.h"
#include "render/ScaledTiles.h"
#include "storage/CompoundFile.h"
#include "storage/Guid.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include "support/RunProgram.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TSubTile> MakeSubTile(int seed, qint32 transparent) {
  QImage image(20, 20, QImage::Format_RGB888);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      image.setPixel(x, y,
                     (x + y + seed) % 5 == 0 && transparent != -1
                         ? qRgb(0x73, 0x73, 0x73)
                         : qRgb(seed * 50 + x * 3, y * 12, 200 - seed * 20));
  auto subTile = std::make_unique<TSubTile>();
  subTile->SetImage(image);
  subTile->SetGuid(NewGuidText());
  subTile->SetTransparentColor(transparent);
  return subTile;
}

// A map of 3 x 2 squares with floors, objects and walls in all eight
// orientations.
class RenderToolTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    mapPath = dir.filePath(QStringLiteral("small.tqm"));
    TTileMap map;
    map.SetWidth(6);
    map.SetHeight(4);
    const auto floor = MakeSubTile(1, -1);
    const auto object = MakeSubTile(2, 0x02737373);
    const auto wall = MakeSubTile(3, 0x02737373);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) {
        map.PlaceTile(mlBase, x, y, *floor, quint8((x + y) % 8));
        if ((x + y) % 2) map.PlaceTile(mlOverlay, x, y, *object, quint8(x % 8));
        if (y == 1) map.PlaceTile(mlWall, x, y, *wall, quint8((x * 3) % 8));
      }
    ASSERT_TRUE(map.SaveToFile(mapPath));
  }

  // The map drawn sub-cell by sub-cell with DrawMapSubCell at half the cell
  // size, over white.
  QImage Expected(int cell, quint8 flags) {
    TTileMap map;
    map.LoadFromFile(mapPath);
    const int sub = cell / 2;
    QImage canvas(3 * cell, 2 * cell, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    TScaledTileCache tiles;
    QPainter painter(&canvas);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x)
        DrawMapSubCell(
            map, tiles, painter,
            QRect((x / 2) * cell + (x % 2) * sub, (y / 2) * cell + (y % 2) * sub, sub, sub), flags,
            x, y);
    painter.end();
    return canvas.convertToFormat(QImage::Format_RGB888);
  }

  QImage Render(const QStringList& options) {
    const QString out = dir.filePath(QStringLiteral("out.png"));
    QFile::remove(out);
    const TProgramRun run = RunTool(QStringList{QStringLiteral("render"), mapPath, out} + options);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
    QImage image(out);
    EXPECT_FALSE(image.isNull());
    return image.convertToFormat(QImage::Format_RGB888);
  }

  QTemporaryDir dir;
  QString mapPath;
};

TEST_F(RenderToolTest, PicturesMatchDrawMapSubCell) {
  struct TCase {
    QStringList options;
    int cell;
    quint8 flags;
  };
  const TCase cases[] = {
      {{}, 48, lfAll},
      {{QStringLiteral("--cell"), QStringLiteral("32")}, 32, lfAll},
      {{QStringLiteral("--layers"), QStringLiteral("base,walls")}, 48, lfBase | lfWalls},
      {{QStringLiteral("--layers"), QStringLiteral("objects"), QStringLiteral("--cell"),
        QStringLiteral("64")},
       64,
       lfObjects},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(qPrintable(test.options.join(QLatin1Char(' '))));
    EXPECT_EQ(Render(test.options), Expected(test.cell, test.flags));
  }
}

TEST_F(RenderToolTest, GridLinesSeparateAndCloseTheSquares) {
  const QImage plain = Render({QStringLiteral("--cell"), QStringLiteral("32")});
  const QImage lined =
      Render({QStringLiteral("--cell"), QStringLiteral("32"), QStringLiteral("--grid")});
  // Exactly the squares' size: the closing lines lie on the last pixel
  // column and row.
  ASSERT_EQ(lined.size(), QSize(96, 64));
  const QRgb grey = qRgb(128, 128, 128);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 96; ++x) {
      const bool line = x % 32 == 0 || y % 32 == 0 || x == 95 || y == 63;
      if (line)
        ASSERT_EQ(lined.pixel(x, y), grey) << x << "," << y;
      else
        ASSERT_EQ(lined.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
    }
}

TEST_F(RenderToolTest, BadArgumentsWriteNothing) {
  const QString out = dir.filePath(QStringLiteral("never.png"));
  const QStringList bad[] = {
      {QStringLiteral("render"), mapPath, out, QStringLiteral("--cell"), QStringLiteral("0")},
      {QStringLiteral("render"), mapPath, out, QStringLiteral("--cell"), QStringLiteral("33")},
      {QStringLiteral("render"), mapPath, out, QStringLiteral("--layers"), QStringLiteral("roof")},
      {QStringLiteral("render"), mapPath, out, QStringLiteral("--cell")},
      {QStringLiteral("render"), mapPath, out, QStringLiteral("--zoom")},
      {QStringLiteral("render"), mapPath},
      {QStringLiteral("render"), dir.filePath(QStringLiteral("missing.tqm")), out},
  };
  for (const QStringList& args : bad) {
    SCOPED_TRACE(qPrintable(args.join(QLatin1Char(' '))));
    const TProgramRun run = RunTool(args);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_FALSE(run.Err.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
  }
}

// A picture of 8000 x 8000 pixels (a quarter of a gigabyte at 32 bits) is
// drawn and written a band at a time within 256 MB of memory.
TEST_F(RenderToolTest, ALargePictureTakesBoundedMemory) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the address sanitizer's shadow memory counts against the limit";
#endif
  const QString large = dir.filePath(QStringLiteral("large.tqm"));
  TTileMap map;
  map.SetWidth(200);  // 100 x 100 squares
  map.SetHeight(200);
  const auto floor = MakeSubTile(1, -1);
  for (int i = 0; i < 200; ++i)
    map.PlaceTile(mlBase, i, i, *floor, quint8(i % 8));
  ASSERT_TRUE(map.SaveToFile(large));
  const QString out = dir.filePath(QStringLiteral("large.png"));
  TChildLimits limits;
  limits.Data = qint64(256) << 20;
  const TProgramRun run = RunToolWithLimits(
      {QStringLiteral("render"), large, out, QStringLiteral("--cell"), QStringLiteral("80")},
      limits);
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  const QByteArray rendered = ReadFileBytes(out, TOpenMode::Read);
  EXPECT_EQ(QImageReader(out).size(), QSize(8000, 8000));

  // Less memory than the picture's bands and compressing threads need: at
  // every limit either the whole picture or an error with the earlier
  // picture kept, never an abort or a picture drawn without its pixels.
  for (const int megabytes : {40, 48, 56, 64, 72}) {
    limits.Data = qint64(megabytes) << 20;
    const TProgramRun limited = RunToolWithLimits(
        {QStringLiteral("render"), large, out, QStringLiteral("--cell"), QStringLiteral("80")},
        limits);
    EXPECT_TRUE(limited.ExitCode == 0 || limited.ExitCode == 1)
        << megabytes << " MB: " << limited.ExitCode;
    EXPECT_FALSE(limited.Err.contains("QPainter"))
        << megabytes << " MB: " << limited.Err.constData();
    EXPECT_EQ(ReadFileBytes(out, TOpenMode::Read), rendered) << megabytes << " MB";
  }
}

class EditToolTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Script(const char* text) {
    const QString path = dir.filePath(QStringLiteral("script%1.txt").arg(++scripts));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  int Occupied(const TTileMap& map, int layer) {
    int count = 0;
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x)
        count += map.GetTile(layer, x, y) != nullptr;
    return count;
  }

  QTemporaryDir dir;
  int scripts = 0;
};

// A room on a new map with the supplied tilesets, then the same map opened
// again and nudged.
TEST_F(EditToolTest, ScriptsPaintWithTheSuppliedTilesets) {
  const QString first = dir.filePath(QStringLiteral("room.tqm"));
  TProgramRun run = RunTool({QStringLiteral("edit"), QStringLiteral("new"), first, Script(R"(
# a floor, a barrel half a square off and a wall
tileset ExampleTileset
group Flagstones
seed 3
drag 0 0 7 9
group Barrel
drag 2 2 2 2 sub 1 1
walls Standard
drag 1 1 4 1 edge top
)")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  TTileMap map;
  map.LoadFromFile(first);
  EXPECT_EQ(map.Width(), 16);
  EXPECT_EQ(map.Height(), 20);
  EXPECT_EQ(Occupied(map, mlBase), 16 * 20);
  EXPECT_EQ(Occupied(map, mlOverlay), 4);
  EXPECT_NE(map.GetTile(mlOverlay, 5, 5), nullptr);
  EXPECT_NE(map.GetTile(mlOverlay, 6, 6), nullptr);
  EXPECT_EQ(Occupied(map, mlWall), 8);
  for (int x = 2; x < 10; ++x)
    EXPECT_NE(map.GetTile(mlWall, x, 2), nullptr) << x;

  const QString second = dir.filePath(QStringLiteral("nudged.tqm"));
  run = RunTool({QStringLiteral("edit"), first, second, Script("nudge right\naddcol\n")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  TTileMap nudged;
  nudged.LoadFromFile(second);
  EXPECT_EQ(nudged.Width(), 18);
  EXPECT_EQ(nudged.GetTile(mlBase, 0, 0), nullptr);
  EXPECT_NE(nudged.GetTile(mlOverlay, 7, 5), nullptr);
  EXPECT_NE(nudged.GetTile(mlWall, 11, 2), nullptr);
}

TEST_F(EditToolTest, BadScriptsStopWithTheLineAndWriteNothing) {
  struct TCase {
    const char* script;
    const char* message;
  };
  const TCase cases[] = {
      {"group Flagstones\n\npaint 1 2\n", "line 3: unknown command \"paint\""},
      {"drag 0 0 1\n", "line 1: drag needs C0 R0 C1 R1"},
      {"tileset ExampleTileset\ngroup Nothing\n",
       "line 2: the tileset \"ExampleTileset\" has no group named \"Nothing\""},
  };
  const QString out = dir.filePath(QStringLiteral("never.tqm"));
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.script);
    const TProgramRun run =
        RunTool({QStringLiteral("edit"), QStringLiteral("new"), out, Script(test.script)});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains(test.message)) << run.Err.constData();
    EXPECT_FALSE(QFile::exists(out));
  }
  const TProgramRun missing = RunTool({QStringLiteral("edit"), QStringLiteral("new"), out,
                                       dir.filePath(QStringLiteral("no-script.txt"))});
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
