#include "base/FileName.h"
#include "map/TileMapObjects.h"
#include "storage/Guid.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include "support/RunProgram.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

QJsonObject MapInfo(const QString& path) {
  const TProgramRun run = RunTool({QStringLiteral("map-info"), path});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(run.Out, &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << run.Out.constData();
  return doc.object();
}

std::unique_ptr<TSubTile> MakeSubTile(int seed) {
  QImage image(5, 3, QImage::Format_RGB888);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      image.setPixel(x, y, qRgb(seed * 40 + x, y * 60, seed));
  auto subTile = std::make_unique<TSubTile>();
  subTile->SetImage(image);
  subTile->SetGuid(NewGuidText());
  subTile->SetTransparentColor(seed == 1 ? 0x02737373 : -1);
  return subTile;
}

}  // namespace

TEST(MapTool, NewMapDescribedByMapInfo) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("new.tqm"));
  const TProgramRun made =
      RunTool({QStringLiteral("map-new"), path, QStringLiteral("--width"), QStringLiteral("5"),
               QStringLiteral("--height"), QStringLiteral("3")});
  ASSERT_EQ(made.ExitCode, 0) << made.Err.constData();

  const TProgramRun run = RunTool({QStringLiteral("map-info"), path});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  // Members in their documented order.
  qsizetype last = -1;
  for (const char* key :
       {"\"MapName\"", "\"AuthorName\"", "\"Information\"", "\"URL\"", "\"Width\"", "\"Height\"",
        "\"TileSize\"", "\"ReadOnly\"", "\"EmbeddedTiles\"", "\"Layers\""}) {
    const qsizetype at = run.Out.indexOf(key);
    EXPECT_GT(at, last) << key;
    last = at;
  }
  const QJsonObject info = QJsonDocument::fromJson(run.Out).object();
  EXPECT_EQ(info[QStringLiteral("MapName")].toString(), QStringLiteral("BattleMap"));
  EXPECT_EQ(info[QStringLiteral("Width")].toInt(), 10);
  EXPECT_EQ(info[QStringLiteral("Height")].toInt(), 6);
  EXPECT_EQ(info[QStringLiteral("TileSize")].toDouble(), 1.0);
  EXPECT_FALSE(info[QStringLiteral("ReadOnly")].toBool());
  EXPECT_TRUE(info[QStringLiteral("EmbeddedTiles")].toArray().isEmpty());
  const QJsonArray layers = info[QStringLiteral("Layers")].toArray();
  ASSERT_EQ(layers.size(), 3);
  for (const auto& layer : layers)
    EXPECT_TRUE(layer.toArray().isEmpty());
}

TEST(MapTool, ResaveKeepsEverythingMapInfoShows) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString in = dir.filePath(QStringLiteral("in.tqm"));
  const QString out = dir.filePath(QStringLiteral("out.tqm"));
  const std::unique_ptr<TSubTile> aTile = MakeSubTile(1);
  const std::unique_ptr<TSubTile> bTile = MakeSubTile(2);
  const TSubTile& a = *aTile;
  const TSubTile& b = *bTile;
  {
    TTileMap map;
    map.SetWidth(4);
    map.SetHeight(2);
    map.SetAuthorName(QStringLiteral("Ann"));
    map.SetInformation(QStringLiteral("line one\r\nline two"));
    map.PlaceTile(mlOverlay, 3, 1, a, 5);
    map.PlaceTile(mlOverlay, 1, 0, b, 0);
    map.PlaceTile(mlWall, 0, 1, a, 7);
    map.SaveToFile(in);
  }
  ASSERT_EQ(RunTool({QStringLiteral("map-resave"), in, out}).ExitCode, 0);
  const QJsonObject before = MapInfo(in);
  EXPECT_EQ(MapInfo(out), before);

  const QJsonArray tiles = before[QStringLiteral("EmbeddedTiles")].toArray();
  ASSERT_EQ(tiles.size(), 2);
  // Row order: b at (1, 0) comes before a at (3, 1).
  const QJsonObject first = tiles[0].toObject();
  EXPECT_EQ(first[QStringLiteral("Guid")].toString(), b.Guid());
  EXPECT_EQ(first[QStringLiteral("Width")].toInt(), 5);
  EXPECT_EQ(first[QStringLiteral("Height")].toInt(), 3);
  EXPECT_EQ(tiles[1].toObject()[QStringLiteral("TransparentColor")].toInt(), 0x02737373);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (int y = 0; y < 3; ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(b.Image().constScanLine(y)), 15));
  EXPECT_EQ(first[QStringLiteral("PixelsSha256")].toString(),
            QString::fromLatin1(hash.result().toHex()));

  const QJsonArray overlay = before[QStringLiteral("Layers")].toArray()[1].toArray();
  ASSERT_EQ(overlay.size(), 2);
  const QJsonObject cell = overlay[1].toObject();
  EXPECT_EQ(cell.keys(), (QStringList{QStringLiteral("Orientation"), QStringLiteral("TileIndex"),
                                      QStringLiteral("X"), QStringLiteral("Y")}));
  EXPECT_EQ(cell[QStringLiteral("X")].toInt(), 3);
  EXPECT_EQ(cell[QStringLiteral("Y")].toInt(), 1);
  EXPECT_EQ(cell[QStringLiteral("Orientation")].toInt(), 5);
  EXPECT_EQ(cell[QStringLiteral("TileIndex")].toInt(), 1);
}

TEST(MapTool, FailuresExitWithStatusOneAndTheMessage) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString missing = dir.filePath(QStringLiteral("missing.tqm"));
  struct {
    QStringList Args;
    QString Message;
  } cases[] = {
      {{QStringLiteral("map-info"), missing},
       QStringLiteral("The file ") + missing +
           QStringLiteral(" could not be found or does not exist.")},
      {{QStringLiteral("map-resave"), missing, dir.filePath(QStringLiteral("out.tqm"))},
       QStringLiteral("The file ") + missing +
           QStringLiteral(" could not be found or does not exist.")},
      {{QStringLiteral("map-new"), dir.filePath(QStringLiteral("x.tqm")), QStringLiteral("--width"),
        QStringLiteral("wide")},
       QStringLiteral("--width takes a whole number from 1 to 2000.")},
      {{QStringLiteral("map-new"), dir.filePath(QStringLiteral("x.tqm")),
        QStringLiteral("--height"), QStringLiteral("0")},
       QStringLiteral("--height takes a whole number from 1 to 2000.")},
      {{QStringLiteral("map-info")}, QStringLiteral("Usage: tessellan-tool map-info FILE")},
  };
  for (const auto& c : cases) {
    const TProgramRun run = RunTool(c.Args);
    EXPECT_EQ(run.ExitCode, 1) << qPrintable(c.Args.join(QLatin1Char(' ')));
    // The last line: Qt may warn about its environment before.
    const QStringList lines = QString::fromLocal8Bit(run.Err).trimmed().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.last().toStdString(), c.Message.toStdString());
  }
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.tqm"))));
}

TEST(MapTool, ReadsNamesThatAreNotUtf8AndNeverWritesUnderAnotherName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString made = dir.filePath(QStringLiteral("made.tqm"));
  ASSERT_EQ(RunTool({QStringLiteral("map-new"), made}).ExitCode, 0);
  // Latin-1 names, as an old archive or another system leaves them.
  const QByteArray folder = QFile::encodeName(dir.path());
  const QString cave = DecodeFileName(folder + "/H\xf6hle.tqm");
  ASSERT_EQ(::rename(QFile::encodeName(made).constData(), EncodeFileName(cave).constData()), 0);

  EXPECT_EQ(MapInfo(cave)[QStringLiteral("MapName")].toString(), QStringLiteral("BattleMap"));
  const QString copy = dir.filePath(QStringLiteral("copy.tqm"));
  EXPECT_EQ(RunTool({QStringLiteral("map-resave"), cave, copy}).ExitCode, 0);
  EXPECT_EQ(MapInfo(copy)[QStringLiteral("MapName")].toString(), QStringLiteral("BattleMap"));

  // Written through Qt, such a name would become another ("H\uFFFDhle"): it
  // is refused, and nothing is made.
  const TProgramRun refused =
      RunTool({QStringLiteral("map-resave"), copy, DecodeFileName(folder + "/Gew\xf6lbe.tqm")});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_TRUE(refused.Err.contains("its name is not valid UTF-8.")) << refused.Err.constData();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("copy.tqm")});
  EXPECT_TRUE(FileStatus(cave).IsFile);
}
