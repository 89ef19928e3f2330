#include "base/Error.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "support/ScriptedMessages.h"
#include "support/TilesetFiles.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::vector<TGroupDef> kThreeGroups = {
    {QStringLiteral("Marble"),
     3,
     1,
     0,
     0,
     QStringLiteral("Floor tiles"),
     {QPoint(0, 0), QPoint(1, 0), QPoint(2, 0)}},
    {QStringLiteral("Coffin"),
     2,
     1,
     1,
     2,
     QStringLiteral("Placeables"),
     {QPoint(1, 0), QPoint(0, 0)}},
    {QStringLiteral("Bookshelf"),
     1,
     2,
     1,
     2,
     QStringLiteral("Placeables"),
     {QPoint(0, 0), QPoint(0, 1)}},
};

class TileSetTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fDir.isValid()); }

  QString Path(const QString& name) const { return QDir::toNativeSeparators(fDir.filePath(name)); }

  // Writes a tileset file and names it in a fresh tileset.
  QString Write(const QString& name, const TStorage& root) {
    const QString path = Path(name);
    WriteTilesetFile(path, root);
    return path;
  }

  static std::vector<TMessage>& Shown() { return ScriptedMessages().Shown; }

  // Exactly one box was shown: the load failure with this error message.
  static void ExpectLoadFailure(const QString& path, const QString& error) {
    ASSERT_EQ(Shown().size(), 1u);
    const TMessage& box = Shown()[0];
    EXPECT_EQ(box.Text, LoadFailureText(path, error));
    EXPECT_EQ(box.Caption, QStringLiteral("Error Loading Tileset"));
    EXPECT_EQ(box.Icon, TMsgIcon::Warning);
    EXPECT_EQ(box.Buttons, TMsgButtons(mbOK));
    EXPECT_EQ(box.Owner, nullptr);
  }

  static void ExpectInvalidFile(const TMessage& box, const QString& path) {
    EXPECT_EQ(box.Text, QStringLiteral("The file ") + path +
                            QStringLiteral(" is not a valid tileset file or is corrupt."));
    EXPECT_EQ(box.Caption, QStringLiteral("Invalid or Corrupt Tileset"));
    EXPECT_EQ(box.Icon, TMsgIcon::Warning);
    EXPECT_EQ(box.Buttons, TMsgButtons(mbOK));
    EXPECT_EQ(box.Owner, nullptr);
  }

  // A tileset of the list, which announces its loading; the list drops it
  // when the test ends.
  TTileSet& Listed() {
    TTileSet& tileSet = TilesetList().Add();
    fListed.push_back(&tileSet);
    return tileSet;
  }
  void TearDown() override {
    for (TTileSet* tileSet : fListed)
      TilesetList().Remove(tileSet);
  }

  QTemporaryDir fDir;
  std::vector<TTileSet*> fListed;
};

}  // namespace

TEST_F(TileSetTest, LoadsRootTextsAndGroupsInStorageOrder) {
  const auto root = MakeTilesetTree(QStringLiteral("Dungeon"), kThreeGroups);
  const QString path = Write(QStringLiteral("dungeon.tls"), *root);

  TTileSet& tileSet = Listed();
  std::vector<QString> progress;
  Qt::CursorShape cursorDuringLoad = Qt::ArrowCursor;
  QObject listening;
  QObject::connect(&TilesetList(), &TTilesetList::Progress, &listening, [&](const QString& text) {
    progress.push_back(text);
    if (QGuiApplication::overrideCursor())
      cursorDuringLoad = QGuiApplication::overrideCursor()->shape();
  });
  ASSERT_TRUE(tileSet.SetFileName(path));
  EXPECT_EQ(tileSet.TilesetName(), QStringLiteral("dungeon"));
  EXPECT_FALSE(tileSet.Loaded());

  ASSERT_TRUE(tileSet.Load());
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(progress, std::vector<QString>{QStringLiteral("Loading Tileset: dungeon.tls")});
  EXPECT_EQ(cursorDuringLoad, Qt::WaitCursor);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(tileSet.Loaded());
  EXPECT_FALSE(tileSet.ReadOnly());
  EXPECT_EQ(tileSet.TilesetName(), QStringLiteral("Dungeon"));
  EXPECT_EQ(tileSet.AuthorName(), QStringLiteral("Test Author"));
  EXPECT_EQ(tileSet.Information(), QStringLiteral("Made by a test."));
  EXPECT_EQ(tileSet.URL(), QString());
  // A tileset of no list loads without announcing it.
  TTileSet alone;
  ASSERT_TRUE(alone.Open(path));
  EXPECT_EQ(progress.size(), 1u);

  // Groups come in the order the root's storages are enumerated; the
  // summary streams and other root streams are not groups.
  std::vector<QString> storageOrder;
  for (const TElementInfo& element : root->Elements())
    if (element.Type == TElementType::Storage)
      storageOrder.push_back(
          ReadProperty(root->OpenStorage(element.Name), QStringLiteral("GroupName")));
  ASSERT_EQ(tileSet.GroupCount(), 3);
  for (int i = 0; i < 3; ++i) {
    TTileGroup* group = tileSet.GroupAt(i);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GroupName(), storageOrder[size_t(i)]);
    EXPECT_EQ(group->TileSet(), &tileSet);
  }
  const TTileGroup* coffin = tileSet.GroupAt(1);
  EXPECT_EQ(coffin->GroupName(), QStringLiteral("Coffin"));
  EXPECT_EQ(coffin->PatWidth(), 2);
  EXPECT_EQ(coffin->FType(), 1);
  EXPECT_EQ(coffin->PlaceType(), 2);
  ASSERT_NE(coffin->StoredTile(1, 0), nullptr);
  EXPECT_EQ(coffin->StoredTile(1, 0)->SubTile(3).Image().size(), QSize(8, 8));
  EXPECT_EQ(coffin->StoredTile(1, 0)->SubTile(3).TransparentColor(), 0x02FF00FF);

  EXPECT_THROW(tileSet.GroupAt(3), TIndexError);
  EXPECT_THROW(tileSet.GroupAt(-1), TIndexError);
}

TEST_F(TileSetTest, VersionMustBeExactlyOneDotZero) {
  const QString kVersionError =
      QStringLiteral("Invalid tileset version detected, unable to load tileset.");
  for (const char* version : {"1.00", "1.0 ", " 1.0", "1.1", "1,0", "", "1"}) {
    SCOPED_TRACE(version);
    Shown().clear();
    auto root = MakeTilesetTree(QStringLiteral("Versioned"), kThreeGroups);
    WriteProperty(*root, QStringLiteral("Version"), QString::fromLatin1(version));
    const QString path = Write(QStringLiteral("versioned.tls"), *root);
    TTileSet tileSet;
    ASSERT_TRUE(tileSet.SetFileName(path));
    EXPECT_FALSE(tileSet.Load());
    EXPECT_FALSE(tileSet.Loaded());
    ExpectLoadFailure(path, kVersionError);
    // The version is checked before anything else is taken over.
    EXPECT_EQ(tileSet.TilesetName(), QStringLiteral("versioned"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  }
}

TEST_F(TileSetTest, MissingUrlStreamFailsWithTheStorageError) {
  auto root = MakeTilesetTree(QStringLiteral("NoUrl"), kThreeGroups);
  auto withoutUrl = std::make_unique<TStorage>();
  // Copy everything but "URL" into a new root.
  for (int i = 0; i < root->ElementCount(); ++i)
    if (root->TypeAt(i) == TElementType::Stream && root->NameAt(i) != QStringLiteral("URL"))
      withoutUrl->CreateStream(root->NameAt(i), root->StreamAt(i));
  const QString path = Write(QStringLiteral("nourl.tls"), *withoutUrl);

  QString storageError;
  try {
    ReadProperty(*withoutUrl, QStringLiteral("URL"));
  } catch (const TStorageError& e) {
    storageError = e.Message();
  }
  ASSERT_FALSE(storageError.isEmpty());

  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(path));
  EXPECT_EQ(tileSet.GroupCount(), 0);
  ExpectLoadFailure(path, storageError);
  EXPECT_FALSE(tileSet.Loaded());
}

TEST_F(TileSetTest, RootWithoutGroupsLoadsEmpty) {
  const QString path =
      Write(QStringLiteral("empty.tls"), *MakeTilesetTree(QStringLiteral("Empty"), {}));
  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(path));
  EXPECT_EQ(tileSet.GroupCount(), 0);
  EXPECT_TRUE(tileSet.Loaded());
  EXPECT_EQ(tileSet.TilesetName(), QStringLiteral("Empty"));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(TileSetTest, SetFileNameNamesTheTilesetAfterTheFile) {
  ASSERT_TRUE(QDir(fDir.path()).mkdir(QStringLiteral("folder.tls")));
  struct {
    const char* file;  // created unless null
    const char* path;
    bool accepted;
    const char* name;
  } const cases[] = {
      {"Walls.wls", "Walls.wls", true, "Walls"},
      {"My.Own.Set.tls", "My.Own.Set.tls", true, "My.Own.Set"},
      {"NoExtension", "NoExtension", true, "NoExtension"},
      {nullptr, "missing.tls", false, "before"},
      {nullptr, "folder.tls", false, "before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.file) {
      QFile file(Path(QLatin1String(c.file)));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TTileSet tileSet;
    tileSet.SetTilesetName(QStringLiteral("before"));
    EXPECT_EQ(tileSet.SetFileName(Path(QLatin1String(c.path))), c.accepted);
    EXPECT_EQ(tileSet.TilesetName(), QLatin1String(c.name));
    EXPECT_EQ(tileSet.FileName(), c.accepted ? Path(QLatin1String(c.path)) : QString());
  }
  TTileSet tileSet;
  EXPECT_FALSE(tileSet.SetFileName(QString()));
}

TEST_F(TileSetTest, ReadOnlyFileLoadsReadOnlyAndTheListKeepsIt) {
  const QString path =
      Write(QStringLiteral("locked.tls"), *MakeTilesetTree(QStringLiteral("Locked"), kThreeGroups));
  SetWritable(path, false);

  TTilesetList& list = TilesetList();
  list.Clear();
  TTileSet& tileSet = list.Add();
  ASSERT_TRUE(tileSet.SetFileName(path));
  ASSERT_TRUE(tileSet.Load());
  EXPECT_TRUE(tileSet.ReadOnly());
  EXPECT_EQ(tileSet.GroupCount(), 3);
  EXPECT_FALSE(list.Remove(&tileSet));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), &tileSet);

  // Writable again, the next load clears the flag and the list lets go.
  SetWritable(path, true);
  tileSet.Unload();
  EXPECT_TRUE(tileSet.ReadOnly());
  ASSERT_TRUE(tileSet.Load());
  EXPECT_FALSE(tileSet.ReadOnly());
  EXPECT_TRUE(list.Remove(&tileSet));
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(TileSetTest, FileDeletedAfterSetFileNameIsReportedOnEveryUse) {
  const QString path =
      Write(QStringLiteral("gone.tls"), *MakeTilesetTree(QStringLiteral("Gone"), kThreeGroups));
  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(path));
  ASSERT_TRUE(QFile::remove(path));

  EXPECT_EQ(tileSet.GroupCount(), 0);
  EXPECT_EQ(tileSet.GroupAt(0), nullptr);
  EXPECT_FALSE(tileSet.EnsureLoaded());
  EXPECT_FALSE(tileSet.Loaded());
  ASSERT_EQ(Shown().size(), 3u);
  for (const TMessage& box : Shown())
    ExpectInvalidFile(box, path);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(TileSetTest, FileThatIsNotACompoundFileIsInvalid) {
  const QString path = Path(QStringLiteral("text.tls"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Version=1.0\n");
  file.close();

  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(path));
  EXPECT_FALSE(tileSet.Load());
  ASSERT_EQ(Shown().size(), 1u);
  ExpectInvalidFile(Shown()[0], path);
}

TEST_F(TileSetTest, FailedLoadDiscardsItsGroupsSoARetryDoesNotDuplicate) {
  // The third group has no "Tiles" storage: the first two load, then the
  // whole load fails.
  auto root = MakeTilesetTree(QStringLiteral("Retry"), kThreeGroups);
  const QString broken = QStringLiteral("Group03");
  TStorage& third = root->CreateStorage(broken);
  auto good = MakeTilesetTree(QStringLiteral("Retry"), kThreeGroups);
  for (const TElementInfo& element : good->OpenStorage(broken).Elements())
    if (element.Type == TElementType::Stream)
      third.CreateStream(element.Name, good->OpenStorage(broken).OpenStream(element.Name));
  const QString path = Write(QStringLiteral("retry.tls"), *root);

  TTileSet tileSet;
  ASSERT_TRUE(tileSet.SetFileName(path));
  EXPECT_EQ(tileSet.GroupCount(), 0);
  EXPECT_FALSE(tileSet.Loaded());
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].Caption, QStringLiteral("Error Loading Tileset"));

  WriteTilesetFile(path, *good);
  Shown().clear();
  EXPECT_EQ(tileSet.GroupCount(), 3);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(tileSet.GroupAt(0)->GroupName(), QStringLiteral("Marble"));

  // Loading again re-reads the file instead of appending to what is there.
  ASSERT_TRUE(tileSet.Load());
  EXPECT_EQ(tileSet.GroupCount(), 3);
}

TEST_F(TileSetTest, LoadFromStorageRaisesAndKeepsNoPartialGroups) {
  auto root = MakeTilesetTree(QStringLiteral("Partial"), kThreeGroups);
  TStorage& last = root->CreateStorage(QStringLiteral("Group04"));
  WriteProperty(last, QStringLiteral("PatWidth"), QStringLiteral("1"));

  TTileSet tileSet;
  tileSet.AddGroup();
  EXPECT_THROW(tileSet.LoadFromStorage(*root), TError);
  // The group that was there before stays; the three read before the
  // failure are gone.
  EXPECT_EQ(tileSet.GroupCount(), 1);
}

TEST_F(TileSetTest, TilesetWithoutFileIsLoadedAtOnceAndKeepsAddedGroups) {
  TTileSet tileSet;
  EXPECT_FALSE(tileSet.Loaded());
  TGroupDefaults defaults;
  defaults.PatWidth = 3;
  defaults.PlaceType = ptPattern;
  TTileGroup& group = tileSet.AddGroup(defaults);
  EXPECT_EQ(group.TileSet(), &tileSet);
  EXPECT_EQ(group.PatWidth(), 3);
  EXPECT_EQ(group.PlaceType(), 2);

  EXPECT_EQ(tileSet.GroupCount(), 1);
  EXPECT_EQ(tileSet.GroupAt(0), &group);
  EXPECT_TRUE(tileSet.Loaded());
  EXPECT_TRUE(Shown().empty());

  tileSet.Unload();
  EXPECT_FALSE(tileSet.Loaded());
  EXPECT_TRUE(tileSet.EnsureLoaded());
  EXPECT_EQ(tileSet.GroupCount(), 0);
}

TEST_F(TileSetTest, UnloadKeepsFileAndNamesAndTheNextUseReloads) {
  const QString path =
      Write(QStringLiteral("cycle.tls"), *MakeTilesetTree(QStringLiteral("Cycle"), kThreeGroups));
  TTileSet& tileSet = Listed();
  int loads = 0;
  QObject listening;
  QObject::connect(&TilesetList(), &TTilesetList::Progress, &listening, [&] { ++loads; });
  ASSERT_TRUE(tileSet.SetFileName(path));
  ASSERT_TRUE(tileSet.EnsureLoaded());
  ASSERT_TRUE(tileSet.EnsureLoaded());
  EXPECT_EQ(loads, 1);

  tileSet.Unload();
  EXPECT_FALSE(tileSet.Loaded());
  EXPECT_EQ(tileSet.FileName(), path);
  EXPECT_EQ(tileSet.TilesetName(), QStringLiteral("Cycle"));
  EXPECT_EQ(tileSet.GroupAt(2)->GroupName(), QStringLiteral("Bookshelf"));
  EXPECT_EQ(loads, 2);
  EXPECT_TRUE(tileSet.Loaded());
}
