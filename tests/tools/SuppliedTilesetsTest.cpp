// The supplied tilesets as files: reproducible bytes, the tileset file
// structure read back with our reader and with olefile, and the embedded
// resources.
#include "SuppliedTilesets.h"
#include "storage/Guid.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "support/StorageListing.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TExpectedGroup {
  const char* Name;
  const char* Category;
  int FType;
  int PlaceType;
  int Width;
  int Height;
};

// The palette of the example tileset, in order.
const TExpectedGroup kExampleGroups[] = {
    {"Flagstones", "Floors", 0, 0, 6, 1},      {"Marble", "Floors", 0, 0, 5, 1},
    {"Wooden Planks", "Floors", 0, 0, 5, 1},   {"Cobbles", "Floors", 0, 0, 5, 1},
    {"Grass", "Floors", 0, 0, 5, 1},           {"Dirt", "Floors", 0, 0, 5, 1},
    {"Water", "Floors", 0, 0, 4, 1},           {"Mosaic", "Floors", 0, 2, 2, 2},
    {"Stairs", "Floors", 0, 2, 1, 2},          {"Barrel", "Placeables", 1, 2, 1, 1},
    {"Crate", "Placeables", 1, 2, 1, 1},       {"Chest", "Placeables", 1, 2, 1, 1},
    {"Round Table", "Placeables", 1, 2, 2, 2}, {"Long Table", "Placeables", 1, 2, 2, 2},
    {"Bookshelf", "Placeables", 1, 2, 1, 2},   {"Bed", "Placeables", 1, 2, 1, 2},
    {"Coffin", "Placeables", 1, 2, 2, 1},      {"Altar", "Placeables", 1, 2, 2, 1},
    {"Statue", "Placeables", 1, 2, 1, 1},      {"Rubble", "Placeables", 1, 2, 1, 1},
    {"Banner", "Placeables", 1, 1, 1, 1},      {"Door, Closed", "Doors", 1, 2, 1, 1},
    {"Door, Open", "Doors", 1, 2, 1, 1},       {"Portcullis", "Doors", 1, 2, 1, 1},
    {"Secret Door", "Doors", 1, 2, 1, 1},
};

const TExpectedGroup kWallGroups[] = {
    {"Standard", "Walls", 1, 0, 12, 1},
    {"Stone", "Walls", 1, 0, 12, 1},
};

QString Text(const TStorage& storage, const char* name) {
  return ReadProperty(storage, QLatin1String(name));
}

struct TTilesetCase {
  const char* File;
  const char* Name;
  const TExpectedGroup* Groups;
  int GroupCount;
};

void PrintTo(const TTilesetCase& c, std::ostream* out) {
  *out << c.File;
}

class SuppliedTilesetFile : public testing::TestWithParam<TTilesetCase> {};

TEST_P(SuppliedTilesetFile, RootHoldsTheTilesetTexts) {
  const auto root = LoadTree(GeneratedFile(QLatin1String(GetParam().File)));
  EXPECT_EQ(Text(*root, "Version"), QStringLiteral("1.0"));
  EXPECT_EQ(Text(*root, "TilesetName"), QLatin1String(GetParam().Name));
  EXPECT_FALSE(Text(*root, "AuthorName").isEmpty());
  EXPECT_FALSE(Text(*root, "Information").isEmpty());
  // An empty address is a stream of one NUL byte.
  EXPECT_EQ(root->OpenStream(QStringLiteral("URL")), QByteArray(1, '\0'));
  EXPECT_FALSE(Text(*root, "LastMod").isEmpty());
  EXPECT_NE(root->FindStream(SummaryInformationName()), nullptr);
  EXPECT_NE(root->FindStream(DocumentSummaryInformationName()), nullptr);
}

TEST_P(SuppliedTilesetFile, GroupsComeInPaletteOrderWithTheirShapes) {
  const auto root = LoadTree(GeneratedFile(QLatin1String(GetParam().File)));
  const auto groups = GroupStorages(*root);
  ASSERT_EQ(int(groups.size()), GetParam().GroupCount);
  for (int i = 0; i < GetParam().GroupCount; ++i) {
    const TExpectedGroup& expected = GetParam().Groups[i];
    const TStorage& group = *groups[size_t(i)];
    SCOPED_TRACE(expected.Name);
    EXPECT_EQ(Text(group, "GroupName"), QLatin1String(expected.Name));
    EXPECT_EQ(Text(group, "Category"), QLatin1String(expected.Category));
    EXPECT_EQ(Text(group, "FType"), QString::number(expected.FType));
    EXPECT_EQ(Text(group, "PlaceType"), QString::number(expected.PlaceType));
    EXPECT_EQ(Text(group, "PatWidth"), QString::number(expected.Width));
    EXPECT_EQ(Text(group, "PatHeight"), QString::number(expected.Height));
    EXPECT_TRUE(Text(group, "GroupDescr").endsWith(QLatin1Char('.')));
  }
}

// Every cell of every group has its stream of exactly four records of
// 150 × 150 pixels, keyed for objects and opaque for floors, with identities
// that are unique.
TEST_P(SuppliedTilesetFile, EveryTileHoldsFourRecordsAndNothingElse) {
  const auto root = LoadTree(GeneratedFile(QLatin1String(GetParam().File)));
  QSet<QString> guids;
  int subTiles = 0;
  for (const TStorage* group : GroupStorages(*root)) {
    const QString name = Text(*group, "GroupName");
    SCOPED_TRACE(name.toStdString());
    const int width = Text(*group, "PatWidth").toInt();
    const int height = Text(*group, "PatHeight").toInt();
    const qint32 colour = Text(*group, "FType") == QLatin1String("1") ? kKey : -1;
    const TStorage& tiles = group->OpenStorage(QStringLiteral("Tiles"));
    QStringList expected, actual;
    for (int x = 0; x < width; ++x)
      for (int y = 0; y < height; ++y)
        expected << QStringLiteral("%1.%2").arg(x).arg(y);
    for (const TElementInfo& element : tiles.Elements()) {
      ASSERT_EQ(element.Type, TElementType::Stream) << element.Name.toStdString();
      actual << element.Name;
      const TDecodedTile tile = DecodeTile(tiles.OpenStream(element.Name));
      EXPECT_EQ(tile.LeftOver, 0) << element.Name.toStdString();
      for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(tile.SubTiles[q].size(), QSize(150, 150));
        EXPECT_EQ(tile.Colours[q], colour);
        EXPECT_TRUE(IsGuidText(tile.Guids[q]));
        guids.insert(tile.Guids[q]);
        ++subTiles;
      }
    }
    expected.sort();
    actual.sort();
    EXPECT_EQ(actual, expected);
  }
  EXPECT_EQ(guids.size(), subTiles);
}

INSTANTIATE_TEST_SUITE_P(
    Supplied, SuppliedTilesetFile,
    testing::Values(TTilesetCase{"ExampleTileset.tls", "ExampleTileset", kExampleGroups, 25},
                    TTilesetCase{"Walls.wls", "ExampleWalls", kWallGroups, 2}),
    [](const testing::TestParamInfo<TTilesetCase>& info) { return std::string(info.param.Name); });

TEST(SuppliedWalls, TwelvePiecesNamedZeroToEleven) {
  const auto root = LoadTree(GeneratedFile(QStringLiteral("Walls.wls")));
  for (const TStorage* group : GroupStorages(*root)) {
    QStringList names;
    for (const TElementInfo& element : group->OpenStorage(QStringLiteral("Tiles")).Elements())
      names << element.Name;
    // The container's order: by length, then by text.
    EXPECT_EQ(names, QString::fromLatin1("0.0 1.0 2.0 3.0 4.0 5.0 6.0 7.0 8.0 9.0 10.0 11.0")
                         .split(QLatin1Char(' ')));
  }
}

TEST(SuppliedTilesets, IdentitiesDifferBetweenTheTwoFiles) {
  QSet<QString> seen;
  for (const char* file : {"ExampleTileset.tls", "Walls.wls"}) {
    const auto root = LoadTree(GeneratedFile(QLatin1String(file)));
    for (const TStorage* group : GroupStorages(*root)) {
      const TStorage& tiles = group->OpenStorage(QStringLiteral("Tiles"));
      for (int i = 0; i < tiles.ElementCount(); ++i) {
        const TDecodedTile tile = DecodeTile(tiles.StreamAt(i));
        for (const QString& guid : tile.Guids)
          EXPECT_FALSE(seen.contains(guid)) << file;
        for (const QString& guid : tile.Guids)
          seen.insert(guid);
      }
    }
  }
}

TEST(SuppliedTilesets, EmbeddedResourcesEqualTheFiles) {
  const QByteArray tileset = ReadWholeFile(QStringLiteral(":/TILESET/xTileset"));
  const QByteArray walls = ReadWholeFile(QStringLiteral(":/TILESET/xWalls"));
  EXPECT_FALSE(tileset.isEmpty());
  EXPECT_TRUE(tileset == ReadWholeFile(GeneratedFile(QStringLiteral("ExampleTileset.tls"))));
  EXPECT_FALSE(walls.isEmpty());
  EXPECT_TRUE(walls == ReadWholeFile(GeneratedFile(QStringLiteral("Walls.wls"))));
}

// No timestamps, no random identities, no unordered containers: two runs
// write the same bytes.
TEST(TilesetGenerator, TwoRunsWriteIdenticalFiles) {
  QTemporaryDir first, second;
  ASSERT_TRUE(first.isValid() && second.isValid());
  for (const QTemporaryDir* dir : {&first, &second}) {
    const TProgramRun run = RunProgram(GeneratorPath(), {dir->path()}, 120000);
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  }
  for (const char* name : {"ExampleTileset.tls", "Walls.wls"}) {
    const QByteArray a = ReadWholeFile(QDir(first.path()).filePath(QLatin1String(name)));
    const QByteArray b = ReadWholeFile(QDir(second.path()).filePath(QLatin1String(name)));
    EXPECT_GT(a.size(), 100000) << name;
    EXPECT_TRUE(a == b) << name << " differs between runs";
  }
}

TEST(TilesetGenerator, FailsWhenItCannotWrite) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A file where the output folder should be.
  const QString blocked = QDir(dir.path()).filePath(QStringLiteral("file"));
  QFile file(blocked);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const TProgramRun run = RunProgram(GeneratorPath(), {blocked + QStringLiteral("/out")}, 120000);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_FALSE(run.Err.isEmpty());
}

TEST(TilesetGenerator, RejectsUnknownArguments) {
  EXPECT_EQ(RunProgram(GeneratorPath(), {}, 10000).ExitCode, 2);
  EXPECT_EQ(
      RunProgram(GeneratorPath(), {QStringLiteral("--bogus"), QStringLiteral("x")}, 10000).ExitCode,
      2);
}

TEST(SuppliedTilesets, OlefileListsTheSameTree) {
  for (const char* file : {"ExampleTileset.tls", "Walls.wls"}) {
    const QString path = GeneratedFile(QLatin1String(file));
    // olefile names the property-set streams with their leading \x05.
    EXPECT_EQ(Olefile("list", path), ListTree(*LoadTree(path))) << file;
  }
}

TEST(SuppliedTilesets, OlefileReadsTheSummary) {
  const QStringList meta = Olefile("meta", GeneratedFile(QStringLiteral("Walls.wls")));
  ASSERT_GE(meta.size(), 5);
  EXPECT_EQ(meta[0], QStringLiteral("title=ExampleWalls"));
  EXPECT_TRUE(meta[1].startsWith(QStringLiteral("author=")) && meta[1].size() > 7);
  EXPECT_TRUE(meta[2].startsWith(QStringLiteral("comments=")) && meta[2].size() > 9);
  EXPECT_EQ(meta[3], QStringLiteral("subject=Tessellan Tileset"));
  EXPECT_EQ(meta[4], QStringLiteral("codepage=1252"));
}

}  // namespace
