// tileset-build: a manifest and its pictures become a tileset that loads,
// that an independent reader reads whole, and whose manifest errors name
// the field and the group. The supplied tileset saved again by the writer
// shows the same in tileset-info.
#include "SuppliedTilesets.h"
#include "support/StorageListing.h"
#include "support/TilesetFiles.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TilesetBuildTool : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fDir.isValid());
    QImage floor(200, 100, QImage::Format_RGB32);
    floor.fill(QColor(90, 120, 40));
    ASSERT_TRUE(floor.save(Path(QStringLiteral("floor.jpg")), "JPEG"));
    QImage rug(140, 140, QImage::Format_ARGB32);
    rug.fill(Qt::transparent);
    {
      QPainter painter(&rug);
      painter.setBrush(QColor(160, 20, 40));
      painter.drawEllipse(10, 10, 120, 120);
    }
    ASSERT_TRUE(rug.save(Path(QStringLiteral("art/rug.png")), "PNG"));
    ASSERT_TRUE(rug.scaled(8, 8).save(Path(QStringLiteral("tiny.bmp")), "BMP"));
    // Wider than the Tileset Editor takes a picture.
    QImage wide(4097, 4, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    ASSERT_TRUE(wide.save(Path(QStringLiteral("wide.png")), "PNG"));
  }
  QString Path(const QString& name) const {
    QDir(fDir.path()).mkpath(QFileInfo(fDir.filePath(name)).path());
    return fDir.filePath(name);
  }
  QString Manifest(const QByteArray& text) const {
    const QString path = Path(QStringLiteral("tiles.json"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  QTemporaryDir fDir;
};

const QByteArray kGroups = R"(
  {"GroupName": "Moss", "Category": "Floor tiles", "FType": 0, "PlaceType": 0,
   "Picture": "floor.jpg", "Across": 2},
  {"GroupName": "Rug", "GroupDescr": "Round.", "Category": "Placeables", "FType": 1,
   "PlaceType": 2, "Picture": "art/rug.png", "KeyColor": "#00ff00"})";

TEST_F(TilesetBuildTool, BuildsATilesetThatLoadsAndReadsWhole) {
  const QString out = Path(QStringLiteral("built.tls"));
  const TProgramRun run = RunTool(
      {QStringLiteral("tileset-build"),
       Manifest(R"({"TilesetName": "Garden", "AuthorName": "Me", "Groups": [)" + kGroups + "]}"),
       out});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();

  const TProgramRun info = RunTool({QStringLiteral("tileset-info"), out});
  ASSERT_EQ(info.ExitCode, 0) << info.Err.constData();
  const QJsonObject root = QJsonDocument::fromJson(info.Out).object();
  EXPECT_EQ(root[QStringLiteral("TilesetName")].toString(), QStringLiteral("Garden"));
  const QJsonArray groups = root[QStringLiteral("Groups")].toArray();
  ASSERT_EQ(groups.size(), 2);
  const struct {
    const char* Name;
    int Width, Height, Tiles;
    qint64 Key;
  } expected[] = {{"Moss", 2, 1, 2, -1}, {"Rug", 2, 2, 4, 0x0200FF00}};
  for (int i = 0; i < 2; ++i) {
    const QJsonObject group = groups[i].toObject();
    EXPECT_EQ(group[QStringLiteral("GroupName")].toString(), QLatin1String(expected[i].Name));
    EXPECT_EQ(group[QStringLiteral("PatWidth")].toInt(), expected[i].Width);
    EXPECT_EQ(group[QStringLiteral("PatHeight")].toInt(), expected[i].Height);
    const QJsonArray tiles = group[QStringLiteral("Tiles")].toArray();
    ASSERT_EQ(tiles.size(), expected[i].Tiles);
    const QJsonObject subTile =
        tiles[0].toObject()[QStringLiteral("SubTiles")].toArray()[0].toObject();
    EXPECT_EQ(subTile[QStringLiteral("TransparentColor")].toInteger(), expected[i].Key);
    EXPECT_EQ(subTile[QStringLiteral("Width")].toInt(), 150);
  }
  EXPECT_EQ(Olefile("list", out), ListTree(*LoadTree(out)));
}

TEST_F(TilesetBuildTool, ManifestErrorsNameTheFieldAndGroup) {
  const QByteArray good = R"({"GroupName": "Moss", "FType": 0, "PlaceType": 0,
                              "Picture": "floor.jpg")";
  const struct {
    QByteArray Manifest;
    const char* Text;
  } rows[] = {
      {"[1, 2]", "must hold one JSON object"},
      {"{\"TilesetName\": ", "is not valid JSON"},
      {R"({"Groups": [)" + good + "}]}", "The field \"TilesetName\" is missing."},
      {R"({"TilesetName": "  ", "Groups": [)" + good + "}]}",
       "The field \"TilesetName\" must not be empty."},
      {R"({"TilesetName": "T", "Author": "x", "Groups": [)" + good + "}]}",
       "The field \"Author\" is not a manifest field."},
      {R"({"TilesetName": "T", "Groups": []})", "\"Groups\" must be a list of at least one"},
      {R"({"TilesetName": "T", "Groups": [)" + good + R"(, "Across": 20, "Down": 20}]})",
       "\"Picture\" of group 1 (\"Moss\") cannot be cut: A picture of 20 × 20 squares is too "
       "large"},
      {R"({"TilesetName": "T", "Groups": [)" + good + R"(, "Across": 0}]})",
       "\"Across\" of group 1 (\"Moss\") must be a whole number from 1 to 64."},
      {R"({"TilesetName": "T", "Groups": [)" + good + R"(, "Down": 1.5}]})",
       "\"Down\" of group 1 (\"Moss\") must be a whole number"},
      {R"({"TilesetName": "T", "Groups": [)" + good + "}, " + good + "}]}",
       "\"GroupName\" of group 2 (\"Moss\") repeats the name of an earlier group."},
      {R"({"TilesetName": "T", "Groups": [{"FType": 0}]})", "\"GroupName\" of group 1 is missing."},
      {R"({"TilesetName": "T", "Groups": [)" + good + R"(, "FType": 2}]})",
       "\"FType\" of group 1 (\"Moss\") must be a whole number from 0 to 1."},
      {R"({"TilesetName": "T", "Groups": [)" + good + R"(, "PlaceType": "Fixed"}]})",
       "\"PlaceType\" of group 1 (\"Moss\") must be a whole number from 0 to 2."},
      {R"({"TilesetName": "T", "Groups": [)" + good + R"(, "KeyColor": "red"}]})",
       "\"KeyColor\" of group 1 (\"Moss\") must be a colour \"#rrggbb\"."},
      {R"({"TilesetName": "T", "Groups": [{"GroupName": "Rug", "FType": 1, "PlaceType": 2,
          "Picture": "missing.png"}]})",
       "\"Picture\" of group 1 (\"Rug\") names a picture that cannot be used: The picture "},
      {R"({"TilesetName": "T", "Groups": [{"GroupName": "Moss", "FType": 0, "PlaceType": 0,
          "Picture": "wide.png", "Across": 40, "Down": 1}]})",
       "\"Picture\" of group 1 (\"Moss\") names a picture that cannot be used: The picture is "
       "4097 × 4 pixels, too large to use."},
      {R"({"TilesetName": "T", "Groups": [{"GroupName": "Moss", "FType": 0, "PlaceType": 0,
          "Picture": "tiny.bmp", "Across": 10}]})",
       "\"Across\" of group 1 (\"Moss\") asks for more squares than the picture has pixels."},
  };
  const QString out = Path(QStringLiteral("never.tls"));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Manifest.toStdString());
    const TProgramRun run = RunTool({QStringLiteral("tileset-build"), Manifest(row.Manifest), out});
    EXPECT_EQ(run.ExitCode, 1);
    const QList<QByteArray> lines = run.Err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << run.Err.constData();
    EXPECT_EQ(lines[0], "Error Building Tileset");
    EXPECT_TRUE(lines[1].contains(row.Text)) << lines[1].constData();
    EXPECT_FALSE(QFile::exists(out));
  }
}

// The editor's Save As of a supplied tileset: the writer's copy shows the
// same texts, groups, tiles and identities.
TEST_F(TilesetBuildTool, SuppliedTilesetSavedAgainShowsTheSame) {
  const QString original = Path(QStringLiteral("ExampleTileset.tls"));
  const QString copy = Path(QStringLiteral("MyTileset.tls"));
  CopyResource(QStringLiteral(":/TILESET/xTileset"), original);
  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(original));
  ASSERT_TRUE(tileSet.Load());
  SaveTilesetFile(tileSet, copy);

  const TProgramRun before = RunTool({QStringLiteral("tileset-info"), original});
  const TProgramRun after = RunTool({QStringLiteral("tileset-info"), copy});
  ASSERT_EQ(before.ExitCode, 0) << before.Err.constData();
  ASSERT_EQ(after.ExitCode, 0) << after.Err.constData();
  EXPECT_EQ(after.Out, before.Out);
  // Every tile stream holds the same bytes: the same pixels.
  const auto tileStreams = [](const QString& path) {
    return ListTree(*LoadTree(path)).filter(QStringLiteral("/Tiles/"));
  };
  EXPECT_EQ(tileStreams(copy), tileStreams(original));
}

}  // namespace
