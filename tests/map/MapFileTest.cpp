#include "MapFileSupport.h"
#include "MapTestSupport.h"
#include "base/Error.h"
#include "map/LayerText.h"
#include "map/MapFile.h"
#include "map/MapList.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "storage/CompoundFile.h"
#include "storage/Guid.h"
#include "storage/SubTileRecord.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kFormatError = QStringLiteral("Invalid file format detected, unable to load map.");
const QString kVersionError =
    QStringLiteral("Invalid tilemap version detected, unable to load map.");

QString S(const char* text) {
  return QString::fromUtf8(text);
}

// A property stream holding a text and its NUL.
QByteArray Prop(const QByteArray& text) {
  return text + '\0';
}

struct MapFile : testing::Test {
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }

  // Saves the map and reads back the tree written.
  std::unique_ptr<TStorage> SaveTree(TTileMap& map, const char* name = "map.tqm") {
    map.SaveToFile(Path(name));
    return ReadTree(Path(name));
  }

  // A saved 4 × 2 map with two embedded tiles, ready to be tampered with.
  std::unique_ptr<TStorage> SmallTree() {
    TTileMap map;
    map.SetWidth(4);
    map.SetHeight(2);
    Paint(map, mlBase, palette, "ab.. ....");
    return SaveTree(map, "small.tqm");
  }

  QTemporaryDir dir;
  TTilePalette palette{5};
};

}  // namespace

TEST_F(MapFile, SaveRenumbersEmbeddedTilesByFirstUse) {
  TTileMap map;
  map.SetWidth(4);
  map.SetHeight(2);
  // Placed in the order e, d, c, a, b; d is erased again.
  Paint(map, mlWall, palette, "e... ....");
  map.PlaceTile(mlBase, 3, 1, palette[3], 0);
  map.RemoveTile(mlBase, 3, 1);
  Paint(map, mlOverlay, palette, "c... ..c.");
  Paint(map, mlBase, palette, "...a ....");
  Paint(map, mlBase, palette, ".... b...");
  map.GetTile(mlBase, 0, 1)->SetOrientation(6);
  ASSERT_EQ(map.EmbeddedTiles().Count(), 5);
  const TMapState before = Snapshot(map);

  const std::unique_ptr<TStorage> root = SaveTree(map);
  // First use: base row by row (a at row 0, then b at row 1), overlay, wall.
  const char expected[] = {'a', 'b', 'c', 'e'};
  ASSERT_EQ(map.EmbeddedTiles().Count(), 4);
  const TStorage& tiles = root->OpenStorage(S("Tiles"));
  ASSERT_EQ(tiles.ElementCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(palette.LetterOf(*map.EmbeddedTiles().At(i)), expected[i]);
    qsizetype offset = 0;
    const QByteArray& stream = tiles.OpenStream(QString::number(i));
    const TSubTileRecord record = ReadSubTileRecord(stream, offset);
    EXPECT_EQ(offset, stream.size()) << "one record per stream";
    const TSubTile& source = palette[expected[i] - 'a'];
    EXPECT_EQ(record.Guid, source.Guid());
    EXPECT_EQ(record.TransparentColor, source.TransparentColor());
    EXPECT_EQ(PixelBytes(record.Image), PixelBytes(source.Image()));
  }
  EXPECT_EQ(StreamBytes(*root, S("NumEmbeddedTiles")), Prop("4"));
  // Every tile still shows what it showed.
  EXPECT_EQ(Snapshot(map), before);
  ExpectConsistent(map);
  EXPECT_EQ(StreamBytes(*root, S("LayerBase")), Prop("\xB6\xB6\xB6"
                                                     "0\xB5"
                                                     "3;0\xB5"
                                                     "0\xB6"
                                                     "6\xB5"
                                                     "0;1\xB5"
                                                     "1\xB6\xB6\xB6"));
}

TEST_F(MapFile, LayerTextOfTheTwoByTwoExample) {
  TTileMap map;
  map.SetWidth(2);
  map.SetHeight(2);
  map.PlaceTile(mlBase, 1, 0, palette[0], 0);
  const std::unique_ptr<TStorage> root = SaveTree(map);
  EXPECT_EQ(StreamBytes(*root, S("LayerBase")), QByteArray::fromHex("B630B5313B30B530B6B600"));
  EXPECT_EQ(StreamBytes(*root, S("LayerOverlay")), QByteArray::fromHex("B6B6B600"));
  EXPECT_EQ(StreamBytes(*root, S("LayerWall")), QByteArray::fromHex("B6B6B600"));
}

TEST_F(MapFile, PropertyStreamsHoldTheMapsTexts) {
  TTileMap map;
  map.SetMapName(S("Crypt \xc3\xa9"));
  map.SetAuthorName(S("Ann"));
  map.SetInformation(S("two\r\nlines"));
  map.SetTileSize(0.25f);
  const std::unique_ptr<TStorage> root = SaveTree(map);
  EXPECT_EQ(StreamBytes(*root, S("Version")), Prop("1.0"));
  EXPECT_EQ(StreamBytes(*root, S("MapName")), Prop("Crypt \xe9"));
  EXPECT_EQ(StreamBytes(*root, S("AuthorName")), Prop("Ann"));
  EXPECT_EQ(StreamBytes(*root, S("Information")), Prop("two\r\nlines"));
  EXPECT_EQ(StreamBytes(*root, S("URL")), Prop(""));
  EXPECT_EQ(StreamBytes(*root, S("LastMod")),
            Prop(QLocale::system().toString(map.LastMod(), QLocale::ShortFormat).toLatin1()));
  EXPECT_EQ(StreamBytes(*root, S("MapWidth")), Prop("16"));
  EXPECT_EQ(StreamBytes(*root, S("MapHeight")), Prop("20"));
  EXPECT_EQ(StreamBytes(*root, S("TileSize")),
            Prop(FormatTileSize(0.25f, QLocale::system()).toLatin1()));
  EXPECT_NE(root->FindStream(SummaryInformationName()), nullptr);
  EXPECT_NE(root->FindStream(DocumentSummaryInformationName()), nullptr);
  EXPECT_EQ(root->ElementCount(), 16);
}

TEST(MapFileText, TileSizeIsWrittenInGeneralFormWithTheLocalesSeparator) {
  const QLocale c(QLocale::C);
  const QLocale german(QLocale::German, QLocale::Germany);
  struct {
    float Size;
    const char* Point;
    const char* Comma;
  } cases[] = {
      {1.0f, "1", "1"},
      {0.25f, "0.25", "0,25"},
      {2.5f, "2.5", "2,5"},
      {3.0f, "3", "3"},
      {0.1f, "0.100000001490116", "0,100000001490116"},
      {1e-6f, "9.99999997475243E-7", "9,99999997475243E-7"},
      {1e20f, "1.00000002004088E20", "1,00000002004088E20"},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(FormatTileSize(t.Size, c), S(t.Point));
    EXPECT_EQ(FormatTileSize(t.Size, german), S(t.Comma));
  }
}

TEST_F(MapFile, AMapWithoutTilesRoundTrips) {
  TTileMap map;
  const std::unique_ptr<TStorage> root = SaveTree(map);
  EXPECT_EQ(StreamBytes(*root, S("NumEmbeddedTiles")), Prop("0"));
  EXPECT_EQ(root->OpenStorage(S("Tiles")).ElementCount(), 0);
  const QByteArray separators = Prop(QByteArray(16 * 20 - 1, '\xB6'));
  for (const char* layer : {"LayerBase", "LayerOverlay", "LayerWall"})
    EXPECT_EQ(StreamBytes(*root, S(layer)), separators) << layer;

  TTileMap loaded;
  loaded.SetWidth(2);
  ASSERT_TRUE(loaded.LoadFromFile(Path("map.tqm")));
  EXPECT_EQ(Snapshot(loaded), Snapshot(map));
  EXPECT_EQ(loaded.EmbeddedTiles().Count(), 0);
}

TEST_F(MapFile, SaveAndLoadSetTheMapsState) {
  TTileMap map;
  Paint(map, mlBase, palette, "ab");
  map.BeginUndo();
  map.RemoveTile(mlBase, 0, 0);
  map.EndUndo();
  map.SetReadOnly(true);
  const QString path = dir.filePath(S("new/folders/map.tqm"));
  ASSERT_TRUE(map.SaveToFile(path));
  EXPECT_EQ(map.FileName(), path);
  EXPECT_FALSE(map.Modified());
  EXPECT_FALSE(map.ReadOnly());
  EXPECT_EQ(map.UndoList().Count(), 0);

  TTileMap loaded;
  loaded.SetModified(true);
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.FileName(), path);
  EXPECT_FALSE(loaded.Modified());
  EXPECT_FALSE(loaded.ReadOnly());
  EXPECT_EQ(loaded.UndoList().Count(), 0);
  EXPECT_EQ(loaded.LastMod(), QDate::currentDate());
  EXPECT_EQ(Snapshot(loaded), Snapshot(map));
}

TEST_F(MapFile, ReadOnlyFilesOpenReadOnly) {
  TTileMap map;
  map.SaveToFile(Path("locked.tqm"));
  QFile::setPermissions(Path("locked.tqm"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  TTileMap loaded;
  loaded.LoadFromFile(Path("locked.tqm"));
  EXPECT_TRUE(loaded.ReadOnly());
}

TEST_F(MapFile, FilesThatAreNoMapFilesAreNamedInTheMessage) {
  QFile text(Path("notes.tqm"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("just some text, no compound file at all");
  text.close();
  QFile(Path("empty.tqm")).open(QIODevice::WriteOnly);

  struct {
    QString Path;
    QString Message;
  } cases[] = {
      {Path("missing.tqm"),
       S("The file ") + Path("missing.tqm") + S(" could not be found or does not exist.")},
      {dir.path(), S("The file ") + dir.path() + S(" could not be found or does not exist.")},
      {Path("notes.tqm"),
       S("The file ") + Path("notes.tqm") + S(" is not a valid map file, or is corrupt.")},
      {Path("empty.tqm"),
       S("The file ") + Path("empty.tqm") + S(" is not a valid map file, or is corrupt.")},
  };
  for (const auto& c : cases) {
    TTileMap map;
    try {
      map.LoadFromFile(c.Path);
      ADD_FAILURE() << "loaded " << qPrintable(c.Path);
    } catch (const TError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST_F(MapFile, OnlyVersionOnePointZeroLoads) {
  std::unique_ptr<TStorage> root = SmallTree();
  for (const char* version : {"1.00", "2.0", "", "1.0 ", "1,0"}) {
    root->CreateStream(S("Version"), Prop(version));
    EXPECT_EQ(LoadTreeError(*root), kVersionError) << version;
  }
  root->CreateStream(S("Version"), QByteArray("1.0\0\0junk", 9));
  EXPECT_EQ(LoadTreeError(*root), QString());
}

TEST_F(MapFile, LoadChecksEverySizeAndCountBeforeUse) {
  const std::unique_ptr<TStorage> good = SmallTree();
  const QByteArray tile0 = good->OpenStorage(S("Tiles")).OpenStream(S("0"));
  const QByteArray tile1 = good->OpenStorage(S("Tiles")).OpenStream(S("1"));
  struct {
    const char* Stream;
    QByteArray Value;
    QString Message;
  } cases[] = {
      {"MapWidth", "-2", kFormatError},
      {"MapWidth", "4002", kFormatError},
      {"MapHeight", "-1", kFormatError},
      {"MapHeight", "2147483647", kFormatError},
      {"MapWidth", "wide", S("'wide' is not a valid integer value")},
      {"TileSize", "0", kFormatError},
      {"TileSize", "-1", kFormatError},
      {"TileSize", "1e39", kFormatError},
      {"TileSize", "1e-50", kFormatError},
      {"TileSize", "big", S("'big' is not a valid floating point value")},
      {"NumEmbeddedTiles", "-1", kFormatError},
      {"NumEmbeddedTiles", "3", kFormatError},
      {"NumEmbeddedTiles", "2000000000", kFormatError},
      {"NumEmbeddedTiles", "x", S("'x' is not a valid integer value")},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TStorage> root = SmallTree();
    root->CreateStream(S(c.Stream), Prop(c.Value));
    EXPECT_EQ(LoadTreeError(*root), c.Message) << c.Stream << " = " << c.Value.constData();
  }

  // The count names streams that are not there, or not streams.
  std::unique_ptr<TStorage> root = SmallTree();
  TStorage& gap = root->CreateStorage(S("Tiles"));
  gap.CreateStream(S("0"), tile0);
  gap.CreateStream(S("2"), tile1);
  EXPECT_EQ(LoadTreeError(*root), kFormatError);
  TStorage& nested = root->CreateStorage(S("Tiles"));
  nested.CreateStream(S("0"), tile0);
  nested.CreateStorage(S("1"));
  EXPECT_EQ(LoadTreeError(*root), kFormatError);
  TStorage& padded = root->CreateStorage(S("Tiles"));
  padded.CreateStream(S("0"), tile0);
  padded.CreateStream(S("01"), tile1);
  EXPECT_EQ(LoadTreeError(*root), kFormatError);

  // Damaged records.
  for (const QByteArray& damaged :
       {QByteArray("not a png"), tile1.left(tile1.size() - 10), QByteArray()}) {
    TStorage& tiles = root->CreateStorage(S("Tiles"));
    tiles.CreateStream(S("0"), tile0);
    tiles.CreateStream(S("1"), damaged);
    EXPECT_EQ(LoadTreeError(*root), kFormatError);
  }

  // A missing element gives the storage layer's message.
  std::unique_ptr<TStorage> noTiles = SmallTree();
  noTiles->CreateStream(S("Tiles"), Prop(""));
  EXPECT_FALSE(LoadTreeError(*noTiles).isEmpty());
  EXPECT_NE(LoadTreeError(*noTiles), kFormatError);
}

TEST_F(MapFile, FailedLoadsLeaveTheMapUntouched) {
  std::unique_ptr<TStorage> root = SmallTree();
  root->CreateStream(S("LayerWall"), Prop("0\xB5x;0\xB5"
                                          "0"));
  TTileMap map;
  Paint(map, mlOverlay, palette, "cd");
  const TMapState before = Snapshot(map);
  EXPECT_THROW(LoadMapStorage(map, *root), TConvertError);
  EXPECT_EQ(Snapshot(map), before);
  EXPECT_EQ(map.EmbeddedTiles().Count(), 2);
}

TEST_F(MapFile, LayerEntriesAreCheckedOneByOne) {
  std::unique_ptr<TStorage> root = SmallTree();
  // Map 4 × 2 with embedded tiles 0 (a) and 1 (b).
  root->CreateStream(S("LayerOverlay"), Prop("0\xB5"
                                             "4;0\xB5"
                                             "0\xB6"  // x = Width
                                             "0\xB5"
                                             "0;2\xB5"
                                             "0\xB6"  // y = Height
                                             "0\xB5-1;0\xB5"
                                             "0\xB6"  // x < 0
                                             "0\xB5"
                                             "0;0\xB5"
                                             "2\xB6"  // index = count
                                             "0\xB5"
                                             "1;0\xB5-1\xB6"  // index < 0
                                             "8\xB5"
                                             "2;0\xB5"
                                             "0\xB6"  // orientation 8
                                             "259\xB5"
                                             "3;0\xB5"
                                             "1\xB6"  // low 8 bits: 3
                                             "1\xB5"
                                             "0;1\xB5"
                                             "0\xB6"
                                             "2\xB5"
                                             "0;1\xB5"
                                             "1"));  // replaces the entry before
  // Empty entries and empty words are skipped.
  root->CreateStream(S("LayerWall"), Prop("\xB6\xB6\xB5\xB5"
                                          "5\xB5\xB5;1;;1;\xB5\xB5"
                                          "0\xB6\xB6"));
  const std::unique_ptr<TTileMap> map = LoadTree(*root);
  EXPECT_EQ(Picture(*map, mlOverlay, palette), "...b\nb...");
  EXPECT_EQ(map->GetTile(mlOverlay, 3, 0)->Orientation(), 3);
  EXPECT_EQ(map->GetTile(mlOverlay, 0, 1)->Orientation(), 2);
  EXPECT_EQ(Picture(*map, mlWall, palette), "....\n.a..");
  EXPECT_EQ(map->GetTile(mlWall, 1, 1)->Orientation(), 5);
  EXPECT_EQ(map->EmbeddedTiles().Count(), 2);
  EXPECT_EQ(map->UndoList().Count(), 0);
  EXPECT_FALSE(map->Modified());

  // A missing number is a conversion error.
  for (const char* text : {"0\xB5"
                           "1;0",
                           "0\xB5"
                           "1\xB5"
                           "0",
                           "0\xB5"
                           "1;z\xB5"
                           "0"}) {
    root->CreateStream(S("LayerBase"), Prop(text));
    EXPECT_THROW(LoadTree(*root), TConvertError) << text;
  }
}

TEST_F(MapFile, TileSizeReadsWithEitherSeparator) {
  std::unique_ptr<TStorage> root = SmallTree();
  for (const char* text : {"0.25", "0,25"}) {
    root->CreateStream(S("TileSize"), Prop(text));
    EXPECT_EQ(LoadTree(*root)->TileSize(), 0.25f) << text;
  }
}

TEST_F(MapFile, EqualIdentitiesInAFileAreMergedByTheNextSave) {
  std::unique_ptr<TStorage> root = SmallTree();
  // Stream 1 gets the identity of stream 0 but keeps its own image.
  const TStorage& tiles = root->OpenStorage(S("Tiles"));
  QByteArray tile0 = tiles.OpenStream(S("0"));
  QByteArray tile1 = tiles.OpenStream(S("1"));
  tile1.replace(tile1.size() - 20, 16, tile0.mid(tile0.size() - 20, 16));
  TStorage& replaced = root->CreateStorage(S("Tiles"));
  replaced.CreateStream(S("0"), tile0);
  replaced.CreateStream(S("1"), tile1);
  root->CreateStream(S("LayerBase"), Prop("0\xB5"
                                          "2;1\xB5"
                                          "1"));

  std::unique_ptr<TTileMap> map = LoadTree(*root);
  ASSERT_EQ(map->EmbeddedTiles().Count(), 2);
  // The first entry of that identity is shown.
  EXPECT_EQ(map->GetTile(mlBase, 2, 1)->TileIndex(), 0);
  const std::unique_ptr<TStorage> saved = SaveTree(*map, "merged.tqm");
  EXPECT_EQ(saved->OpenStorage(S("Tiles")).ElementCount(), 1);
  EXPECT_EQ(saved->OpenStorage(S("Tiles")).OpenStream(S("0")), tile0);
}

TEST_F(MapFile, ResavingAnOpenedMapChangesNothing) {
  TTileMap map;
  Paint(map, mlBase, palette, "abcde edcba");
  Paint(map, mlWall, palette, "..e.. .a...");
  map.GetTile(mlWall, 2, 0)->SetOrientation(7);
  map.SetURL(S("http://example.org/maps"));
  map.SaveToFile(Path("first.tqm"));
  TTileMap opened;
  opened.LoadFromFile(Path("first.tqm"));
  opened.SaveToFile(Path("second.tqm"));
  const std::unique_ptr<TStorage> first = ReadTree(Path("first.tqm"));
  const std::unique_ptr<TStorage> second = ReadTree(Path("second.tqm"));
  for (int i = 0; i < first->ElementCount(); ++i) {
    const QString name = first->NameAt(i);
    if (first->TypeAt(i) != TElementType::Stream) continue;
    EXPECT_EQ(StreamBytes(*second, name), first->StreamAt(i)) << qPrintable(name);
  }
  const TStorage& tiles1 = first->OpenStorage(S("Tiles"));
  const TStorage& tiles2 = second->OpenStorage(S("Tiles"));
  ASSERT_EQ(tiles1.ElementCount(), 5);
  ASSERT_EQ(tiles2.ElementCount(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(tiles1.StreamAt(i), tiles2.StreamAt(i));
}

TEST_F(MapFile, OpenMapKeepsTheListWhenALoadFails) {
  std::unique_ptr<TStorage> root = SmallTree();
  root->CreateStream(S("Version"), Prop("2.0"));
  WriteCompoundFile(Path("future.tqm"), *root);

  TMapList list;
  TTileMap* first = list.NewMap();
  TTileMap* second = list.OpenMap(Path("small.tqm"));
  EXPECT_EQ(second->FileName(), Path("small.tqm"));
  try {
    list.OpenMap(Path("future.tqm"));
    FAIL() << "a version 2.0 file opened";
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), kVersionError);
  }
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Maps(0), first);
  EXPECT_EQ(list.Maps(1), second);
}

TEST(LayerText, ParserReportsEveryEntryInTextOrder) {
  struct {
    QByteArray Text;
    std::vector<std::array<int, 4>> Entries;  // orientation, x, y, index
  } cases[] = {
      {"", {}},
      {"\xB6\xB6\xB6", {}},
      {"7\xB5+3;-4\xB5"
       "12",
       {{7, 3, -4, 12}}},
      {"1\xB5"
       "0;0\xB5"
       "0\xB6"
       "2\xB5"
       "1;0\xB5"
       "5\xB5"
       "9",
       {{1, 0, 0, 0}, {2, 1, 0, 5}}},
      {"511\xB5"
       "2147483647;0\xB5"
       "0",
       {{255, 2147483647, 0, 0}}},
  };
  for (const auto& c : cases) {
    std::vector<std::array<int, 4>> entries;
    ParseLayerText(c.Text, [&](const TLayerEntry& e) {
      entries.push_back({e.Orientation, e.X, e.Y, e.TileIndex});
    });
    EXPECT_EQ(entries, c.Entries) << c.Text.toHex().constData();
  }
  for (const QByteArray& bad : {QByteArray("0\xB5"
                                           "2147483648;0\xB5"
                                           "0"),
                                QByteArray("0\xB5"
                                           "1;2\xB5"
                                           "0x1"),
                                QByteArray("-\xB5"
                                           "1;2\xB5"
                                           "0")})
    EXPECT_THROW(ParseLayerText(bad, [](const TLayerEntry&) {}), TConvertError);
}

TEST_F(MapFile, AnIndependentReaderSeesTheStreamsAndTheSummary) {
  TTileMap map;
  map.SetWidth(4);
  map.SetHeight(2);
  map.SetMapName(S("Crypt"));
  map.SetAuthorName(S("Ann Author"));
  map.SetInformation(S("Damp walls"));
  Paint(map, mlBase, palette, "abc. ....");
  const std::unique_ptr<TStorage> root = SaveTree(map);

  const char* script = R"(
import sys, olefile
ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
for parts in sorted(ole.listdir(streams=True, storages=False)):
    print("%s %d" % ("/".join(parts), ole.get_size(parts)))
meta = ole.get_metadata()
for field in ("title", "author", "comments", "subject"):
    print("%s=%s" % (field, getattr(meta, field).decode("cp1252")))
)";
  QProcess python;
  python.start(S("/usr/bin/python3"), {S("-c"), QString::fromUtf8(script), Path("map.tqm")});
  ASSERT_TRUE(python.waitForFinished(60000));
  ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().constData();
  QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'));
  lines.removeAll(QString());

  QStringList expected;
  for (int i = 0; i < root->ElementCount(); ++i)
    if (root->TypeAt(i) == TElementType::Stream)
      expected << root->NameAt(i) + QLatin1Char(' ') + QString::number(root->StreamAt(i).size());
  const TStorage& tiles = root->OpenStorage(S("Tiles"));
  for (int i = 0; i < tiles.ElementCount(); ++i)
    expected << S("Tiles/") + tiles.NameAt(i) + QLatin1Char(' ') +
                    QString::number(tiles.StreamAt(i).size());
  expected.sort();
  expected << S("title=Crypt") << S("author=Ann Author") << S("comments=Damp walls")
           << S("subject=Tessellan Battle Map");
  EXPECT_EQ(lines.size(), 15 + 3 + 4);
  EXPECT_EQ(lines, expected);
}
