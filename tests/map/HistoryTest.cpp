// Long random editing sessions: undo and redo must retrace them exactly, and
// a save must keep everything they produced.
#include "MapFileSupport.h"
#include "MapTestSupport.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "support/FileSizeLimit.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

#include <unistd.h>

namespace {

constexpr int kEdits = 2000;

// One bracketed edit chosen by the generator: a stroke of placements, an
// erasure, a resize by one grid column or row either way, or a nudge.
void RandomEdit(TTileMap& map, const TTilePalette& palette, std::mt19937& random) {
  auto pick = [&](int n) { return int(random() % unsigned(n)); };
  map.BeginUndo();
  switch (pick(10)) {
    case 0:
    case 1:
    case 2:
    case 3: {
      const int count = 1 + pick(6);
      for (int i = 0; i < count; ++i)
        map.PlaceTile(pick(kLayerCount), pick(map.Width() + 1), pick(map.Height() + 1),
                      palette[pick(palette.Count())], quint8(pick(8)));
      break;
    }
    case 4:
    case 5:
      for (int i = 0; i < 3; ++i)
        map.RemoveTile(pick(kLayerCount), pick(map.Width()), pick(map.Height()));
      break;
    case 6:
      map.SetWidth(map.Width() > 4 && pick(2) ? map.Width() - 2 : map.Width() + 2);
      break;
    case 7:
      map.SetHeight(map.Height() > 4 && pick(2) ? map.Height() - 2 : map.Height() + 2);
      break;
    default:
      map.Nudge(static_cast<TNudgeDirection>(pick(4)), 1 + pick(2));
      break;
  }
  map.EndUndo();
}

void ExpectSameEmbeddedTile(const TSubTile& a, const TSubTile& b) {
  EXPECT_EQ(a.Guid(), b.Guid());
  EXPECT_EQ(a.TransparentColor(), b.TransparentColor());
  EXPECT_EQ(PixelBytes(a.Image()), PixelBytes(b.Image()));
}

struct History : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    TMapDefaults defaults;
    defaults.MaxUndo = kEdits;
    defaults.Width = 12;
    defaults.Height = 10;
    map = std::make_unique<TTileMap>(defaults);
  }

  // A few edits on the map, which then holds some tiles.
  void Edit(int count, unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i)
      RandomEdit(*map, palette, random);
  }

  QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }

  QTemporaryDir dir;
  TTilePalette palette{40};
  std::unique_ptr<TTileMap> map;
};

}  // namespace

TEST_F(History, TwoThousandRandomEditsUndoRedoAndSave) {
  Edit(30, 7);
  const TMapState initial = Snapshot(*map);
  map->DropHistory();

  std::mt19937 random(20240611);
  for (int i = 0; i < kEdits; ++i) {
    RandomEdit(*map, palette, random);
    if (i % 250 == 0) ExpectConsistent(*map);
  }
  const TMapState final = Snapshot(*map);
  ASSERT_EQ(map->UndoList().Count(), kEdits);
  EXPECT_LE(map->EmbeddedTiles().Count(), palette.Count());

  while (map->UndoList().CanUndo())
    map->Undo();
  EXPECT_TRUE(Snapshot(*map) == initial);
  ExpectConsistent(*map);
  while (map->UndoList().CanRedo())
    map->Redo();
  EXPECT_TRUE(Snapshot(*map) == final);
  ExpectConsistent(*map);
  EXPECT_LE(map->EmbeddedTiles().Count(), palette.Count());

  map->SetMapName(QStringLiteral("Random"));
  map->SetInformation(QStringLiteral("seeded\r\nsession"));
  map->SetTileSize(1.5f);
  map->SaveToFile(Path("random.tqm"));
  EXPECT_TRUE(Snapshot(*map) == final);

  TTileMap loaded;
  loaded.LoadFromFile(Path("random.tqm"));
  EXPECT_TRUE(Snapshot(loaded) == final);
  EXPECT_EQ(loaded.MapName(), QStringLiteral("Random"));
  EXPECT_EQ(loaded.Information(), QStringLiteral("seeded\r\nsession"));
  EXPECT_EQ(loaded.TileSize(), 1.5f);
  ASSERT_EQ(loaded.EmbeddedTiles().Count(), map->EmbeddedTiles().Count());
  for (int i = 0; i < loaded.EmbeddedTiles().Count(); ++i) {
    const TSubTile& entry = *loaded.EmbeddedTiles().At(i);
    ExpectSameEmbeddedTile(entry, *map->EmbeddedTiles().At(i));
    const int source = palette.IndexOf(entry);
    ASSERT_GE(source, 0);
    ExpectSameEmbeddedTile(entry, palette[source]);
  }

  loaded.SaveToFile(Path("again.tqm"));
  const std::unique_ptr<TStorage> first = ReadTree(Path("random.tqm"));
  const std::unique_ptr<TStorage> second = ReadTree(Path("again.tqm"));
  for (const char* name : {"LayerBase", "LayerOverlay", "LayerWall", "MapWidth", "MapHeight",
                           "TileSize", "NumEmbeddedTiles"})
    EXPECT_EQ(StreamBytes(*first, QLatin1String(name)), StreamBytes(*second, QLatin1String(name)))
        << name;
  const TStorage& tiles1 = first->OpenStorage(QStringLiteral("Tiles"));
  const TStorage& tiles2 = second->OpenStorage(QStringLiteral("Tiles"));
  ASSERT_EQ(tiles1.ElementCount(), tiles2.ElementCount());
  for (int i = 0; i < tiles1.ElementCount(); ++i) {
    EXPECT_EQ(tiles1.NameAt(i), tiles2.NameAt(i));
    EXPECT_EQ(tiles1.StreamAt(i), tiles2.StreamAt(i));
  }
}

// After a failed save the map must be exactly as before: still modified,
// under its old name, with a history that undoes to the saved state.
struct FailedSave : History {
  void SetUp() override {
    History::SetUp();
    Edit(40, 11);
    map->SaveToFile(Path("previous.tqm"));
    saved = Snapshot(*map);
    previousBytes = FileBytes(Path("previous.tqm"));
    // Edits that leave an unused embedded entry behind.
    Edit(60, 12);
    map->BeginUndo();
    map->PlaceTile(mlBase, 0, 0, palette[39], 0);
    map->RemoveTile(mlBase, 0, 0);
    map->EndUndo();
    edited = Snapshot(*map);
    entries = map->EmbeddedTiles().Count();
    actions = map->UndoList().Count();
  }

  void ExpectNothingChanged() {
    EXPECT_EQ(FileBytes(Path("previous.tqm")), previousBytes);
    EXPECT_TRUE(map->Modified());
    EXPECT_EQ(map->FileName(), Path("previous.tqm"));
    EXPECT_EQ(map->EmbeddedTiles().Count(), entries);
    EXPECT_EQ(map->UndoList().Count(), actions);
    EXPECT_TRUE(Snapshot(*map) == edited);
    ExpectConsistent(*map);
    while (map->UndoList().CanUndo())
      map->Undo();
    EXPECT_TRUE(Snapshot(*map) == saved);
    ExpectConsistent(*map);
    while (map->UndoList().CanRedo())
      map->Redo();
    EXPECT_TRUE(Snapshot(*map) == edited);
    // And the next save works.
    map->SaveToFile(Path("previous.tqm"));
    EXPECT_FALSE(map->Modified());
    TTileMap loaded;
    loaded.LoadFromFile(Path("previous.tqm"));
    EXPECT_TRUE(Snapshot(loaded) == edited);
  }

  TMapState saved;
  TMapState edited;
  QByteArray previousBytes;
  int entries = 0;
  int actions = 0;
};

TEST_F(FailedSave, IntoAFolderThatCannotBeWritten) {
  QString target;
  if (geteuid() == 0) {
    // Root may write anywhere: make the target's parent a regular file.
    QFile blocker(Path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    target = Path("blocker/map.tqm");
  } else {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    target = Path("locked/map.tqm");
  }
  EXPECT_THROW(map->SaveToFile(target), TError);
  EXPECT_FALSE(QFile::exists(target));
  ExpectNothingChanged();
}

TEST_F(FailedSave, OverAReadOnlyFile) {
  QFile::setPermissions(Path("previous.tqm"), QFileDevice::ReadOwner);
  EXPECT_THROW(map->SaveToFile(Path("previous.tqm")), TError);
  QFile::setPermissions(Path("previous.tqm"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  ExpectNothingChanged();
}

TEST_F(FailedSave, MidwayThroughTheWrite) {
  {
    // The system refuses the write past 1000 bytes, as a full disk would.
    TFileSizeLimit limit(1000);
    EXPECT_THROW(map->SaveToFile(Path("previous.tqm")), TError);
  }
  ExpectNothingChanged();
}
