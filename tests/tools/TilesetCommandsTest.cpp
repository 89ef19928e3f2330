#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "support/RunProgram.h"
#include "support/TilesetFiles.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject ParseObject(const QByteArray& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(text, &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
  return document.object();
}

class TilesetCommandsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fDir.isValid()); }
  QString Path(const QString& name) const { return QDir::toNativeSeparators(fDir.filePath(name)); }
  QTemporaryDir fDir;
};

const std::vector<TGroupDef> kGroups = {
    {QStringLiteral("Tall \"Shelf\""),
     2,
     2,
     1,
     2,
     QStringLiteral("Placeables"),
     {QPoint(1, 1), QPoint(0, 1), QPoint(1, 0)}},
    {QStringLiteral("Flagstones"),
     2,
     1,
     0,
     0,
     QStringLiteral("Floor tiles"),
     {QPoint(0, 0), QPoint(1, 0)}},
};

}  // namespace

TEST_F(TilesetCommandsTest, InfoListsTextsGroupsAndTilesInOrder) {
  const QString path = Path(QStringLiteral("small.tls"));
  WriteTilesetFile(path, *MakeTilesetTree(QStringLiteral("Small"), kGroups));

  const TProgramRun run = RunTool({QStringLiteral("tileset-info"), path});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_TRUE(run.Err.isEmpty()) << run.Err.constData();

  // Members come in the documented order.
  const QByteArray& text = run.Out;
  qsizetype last = -1;
  for (const char* key : {"\"TilesetName\"",
                          "\"AuthorName\"",
                          "\"Information\"",
                          "\"URL\"",
                          "\"ReadOnly\"",
                          "\"Groups\"",
                          "\"GroupName\"",
                          "\"GroupDescr\"",
                          "\"Category\"",
                          "\"FType\"",
                          "\"PlaceType\"",
                          "\"PatWidth\"",
                          "\"PatHeight\"",
                          "\"Tiles\"",
                          "\"X\"",
                          "\"Y\"",
                          "\"SubTiles\"",
                          "\"Guid\"",
                          "\"TransparentColor\"",
                          "\"Width\"",
                          "\"Height\""}) {
    const qsizetype at = text.indexOf(key);
    EXPECT_GT(at, last) << key;
    last = at;
  }

  const QJsonObject root = ParseObject(text);
  EXPECT_EQ(root[QStringLiteral("TilesetName")].toString(), QStringLiteral("Small"));
  EXPECT_EQ(root[QStringLiteral("AuthorName")].toString(), QStringLiteral("Test Author"));
  EXPECT_EQ(root[QStringLiteral("URL")].toString(), QString());
  EXPECT_EQ(root[QStringLiteral("ReadOnly")].toBool(), false);
  const QJsonArray groups = root[QStringLiteral("Groups")].toArray();
  ASSERT_EQ(groups.size(), 2);

  const QJsonObject shelf = groups[0].toObject();
  EXPECT_EQ(shelf[QStringLiteral("GroupName")].toString(), QStringLiteral("Tall \"Shelf\""));
  EXPECT_EQ(shelf[QStringLiteral("FType")].toInt(), 1);
  EXPECT_EQ(shelf[QStringLiteral("PlaceType")].toInt(), 2);
  EXPECT_EQ(shelf[QStringLiteral("PatWidth")].toInt(), 2);
  EXPECT_EQ(shelf[QStringLiteral("PatHeight")].toInt(), 2);
  // Column by column: (0,1), (1,0), (1,1); the empty cell (0,0) is left out.
  const QJsonArray tiles = shelf[QStringLiteral("Tiles")].toArray();
  ASSERT_EQ(tiles.size(), 3);
  const int expected[3][2] = {{0, 1}, {1, 0}, {1, 1}};
  for (int i = 0; i < 3; ++i) {
    const QJsonObject tile = tiles[i].toObject();
    EXPECT_EQ(tile[QStringLiteral("X")].toInt(), expected[i][0]);
    EXPECT_EQ(tile[QStringLiteral("Y")].toInt(), expected[i][1]);
    const QJsonArray subTiles = tile[QStringLiteral("SubTiles")].toArray();
    ASSERT_EQ(subTiles.size(), 4);
    for (const QJsonValue& value : subTiles) {
      const QJsonObject subTile = value.toObject();
      EXPECT_EQ(subTile[QStringLiteral("Guid")].toString().size(), 38);
      EXPECT_EQ(subTile[QStringLiteral("TransparentColor")].toInt(), 0x02FF00FF);
      EXPECT_EQ(subTile[QStringLiteral("Width")].toInt(), 8);
      EXPECT_EQ(subTile[QStringLiteral("Height")].toInt(), 8);
    }
  }
  const QJsonObject floor = groups[1].toObject();
  EXPECT_EQ(floor[QStringLiteral("Category")].toString(), QStringLiteral("Floor tiles"));
  EXPECT_EQ(floor[QStringLiteral("Tiles")]
                .toArray()[0]
                .toObject()[QStringLiteral("SubTiles")]
                .toArray()[0]
                .toObject()[QStringLiteral("TransparentColor")]
                .toInt(),
            -1);
}

TEST_F(TilesetCommandsTest, SheetShowsEveryGroupPreview) {
  const QString example = Path(QStringLiteral("ExampleTileset.tls"));
  CopyResource(QStringLiteral(":/TILESET/xTileset"), example);
  const QString sheetPath = Path(QStringLiteral("sheet.png"));

  const TProgramRun run = RunTool({QStringLiteral("tileset-sheet"), example, sheetPath});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  QImage sheet(sheetPath);
  ASSERT_FALSE(sheet.isNull());

  const int groups = int(
      ParseObject(RunTool({QStringLiteral("tileset-info"), example}).Out)[QStringLiteral("Groups")]
          .toArray()
          .size());
  ASSERT_GT(groups, 0);
  // Six previews of 128 pixels a row, each in a 144 × 164 cell.
  const int columns = std::min(groups, 6);
  EXPECT_EQ(sheet.width(), columns * 144);
  EXPECT_EQ(sheet.height(), (groups + columns - 1) / columns * 164);
  for (int i = 0; i < groups; ++i) {
    const QPoint centre((i % columns) * 144 + 8 + 64, (i / columns) * 164 + 8 + 64);
    SCOPED_TRACE(i);
    // The preview area is not left as the sheet's white background.
    int drawn = 0;
    for (int dy = -40; dy <= 40; dy += 4)
      for (int dx = -40; dx <= 40; dx += 4)
        if (sheet.pixel(centre + QPoint(dx, dy)) != qRgb(255, 255, 255)) ++drawn;
    EXPECT_GT(drawn, 0);
  }
}

TEST_F(TilesetCommandsTest, FailuresPrintTheMessageBoxesAndExitWithOne) {
  const QString missing = Path(QStringLiteral("missing.tls"));
  auto root = MakeTilesetTree(QStringLiteral("Old"), kGroups);
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("2.0"));
  const QString oldVersion = Path(QStringLiteral("old.tls"));
  WriteTilesetFile(oldVersion, *root);
  const QString good = Path(QStringLiteral("good.tls"));
  WriteTilesetFile(good, *MakeTilesetTree(QStringLiteral("Good"), kGroups));

  struct {
    QStringList args;
    QByteArray err;  // exact, or empty to only require some text
  } const cases[] = {
      {{QStringLiteral("tileset-info"), missing},
       "Invalid or Corrupt Tileset\nThe file " + missing.toLocal8Bit() +
           " is not a valid tileset file or is corrupt.\n"},
      {{QStringLiteral("tileset-sheet"), missing, Path(QStringLiteral("x.png"))},
       "Invalid or Corrupt Tileset\nThe file " + missing.toLocal8Bit() +
           " is not a valid tileset file or is corrupt.\n"},
      {{QStringLiteral("tileset-info"), oldVersion},
       "Error Loading Tileset\n" +
           LoadFailureText(oldVersion, QStringLiteral("Invalid tileset version detected, unable "
                                                      "to load tileset."))
               .toLocal8Bit() +
           "\n"},
      {{QStringLiteral("tileset-info")}, {}},
      {{QStringLiteral("tileset-sheet"), good}, {}},
      {{QStringLiteral("tileset-sheet"), good, Path(QStringLiteral("no/such/dir/sheet.png"))}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(qPrintable(c.args.join(QLatin1Char(' '))));
    const TProgramRun run = RunTool(c.args);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    if (c.err.isEmpty())
      EXPECT_FALSE(run.Err.isEmpty());
    else
      EXPECT_EQ(run.Err, c.err);
  }
}

TEST(TilesetCommandsHelp, DocumentsBothCommands) {
  const TProgramRun run = RunTool({QStringLiteral("--help")});
  ASSERT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Out.contains("tileset-info FILE"));
  EXPECT_TRUE(run.Out.contains("tileset-sheet FILE OUT.png"));
}
