#include "app/settings/SettingsStore.h"
#include "app/settings/TilesetListStore.h"
#include "base/Error.h"
#include "storage/Storage.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedMessages.h"
#include "support/TilesetFiles.h"
#include "support/Tmpfs.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetNames.h"
#include "tiles/WallStyles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ResourceBytes(const QString& name) {
  QFile resource(name);
  if (!resource.open(QIODevice::ReadOnly)) return QByteArray();
  return resource.readAll();
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

class TilesetListTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fDir.isValid());
    TilesetList().Clear();
    QObject::connect(&TilesetList(), &TTilesetList::Progress, &fListening,
                     [this](const QString& text) { fProgress.push_back(text); });
  }
  void TearDown() override { TilesetList().Clear(); }

  QString Path(const QString& name) const { return QDir::toNativeSeparators(fDir.filePath(name)); }
  static std::vector<TMessage>& Shown() { return ScriptedMessages().Shown; }

  // Runs the start-up installation into dir and returns the progress texts
  // it announced.
  std::vector<QString> Install(const QString& dir) {
    fProgress.clear();
    TilesetList().LoadInstalled(dir);
    return fProgress;
  }

  QTemporaryDir fDir;
  // Every progress text the list announced during the test.
  std::vector<QString> fProgress;
  QObject fListening;
};

// Puts the settings file somewhere for the lifetime of the object.
class TSettingsPath {
 public:
  explicit TSettingsPath(const QString& path) {
    // The file is <path>/Varnholt/Tessellan.ini.
    QDir dir = QFileInfo(OpenSettingsStore()->fileName()).dir();
    dir.cdUp();
    fOld = dir.path();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
  }
  ~TSettingsPath() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, fOld); }

 private:
  QString fOld;
};

}  // namespace

TEST(TilesetListSingleton, OnlyProgramInitialisationCreatesTheInstance) {
  EXPECT_EQ(&TilesetList(), &TilesetList());
  try {
    TTilesetList another;
    FAIL() << "a second list was made";
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("TilesetList Object is implemented as a singleton, and "
                                          "should never be explicitly created."));
  }
}

TEST_F(TilesetListTest, ItemsAddRemoveAndClear) {
  TTilesetList& list = TilesetList();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Items(0), TIndexError);
  TTileSet& first = list.Add();
  TTileSet& second = list.Add();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0), &first);
  EXPECT_EQ(list.Items(1), &second);
  EXPECT_THROW(list.Items(2), TIndexError);
  EXPECT_THROW(list.Items(-1), TIndexError);

  // A tileset the list does not hold is refused and left alone.
  TTileSet stranger;
  stranger.SetTilesetName(QStringLiteral("Stranger"));
  EXPECT_THROW(list.Remove(&stranger), TIndexError);
  EXPECT_EQ(stranger.TilesetName(), QStringLiteral("Stranger"));
  EXPECT_EQ(list.Count(), 2);

  EXPECT_TRUE(list.Remove(&first));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), &second);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(TilesetListTest, InstallsIntoACleanFolder) {
  const QByteArray walls = ResourceBytes(QStringLiteral(":/TILESET/xWalls"));
  const QByteArray example = ResourceBytes(QStringLiteral(":/TILESET/xTileset"));
  ASSERT_FALSE(walls.isEmpty());
  ASSERT_FALSE(example.isEmpty());
  const QString dir = Path(QStringLiteral("deep/Tilesets"));

  const std::vector<QString> progress = Install(dir);
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(TilesetList().TerminateRequested());
  EXPECT_EQ(TilesetList().Directory(), dir);
  EXPECT_EQ(progress, std::vector<QString>{QStringLiteral("Loading Tileset: Walls.wls")});
  EXPECT_EQ(FileBytes(Path(QStringLiteral("deep/Tilesets/Walls.wls"))), walls);
  EXPECT_EQ(FileBytes(Path(QStringLiteral("deep/Tilesets/ExampleTileset.tls"))), example);

  TTilesetList& list = TilesetList();
  ASSERT_EQ(list.Count(), 2);
  ASSERT_NE(list.Items(0), nullptr);
  EXPECT_TRUE(list.Items(0)->Loaded());
  EXPECT_EQ(list.Items(0)->FileName(), Path(QStringLiteral("deep/Tilesets/Walls.wls")));
  EXPECT_EQ(list.Items(0)->TilesetName(), QStringLiteral("ExampleWalls"));
  ASSERT_NE(list.Items(1), nullptr);
  EXPECT_FALSE(list.Items(1)->Loaded());
  EXPECT_EQ(list.Items(1)->TilesetName(), QStringLiteral("ExampleTileset"));
  EXPECT_EQ(list.Items(1)->FileName(), Path(QStringLiteral("deep/Tilesets/ExampleTileset.tls")));

  // The example tileset announces its loading through the list as well when
  // it is first used.
  ASSERT_TRUE(list.Items(1)->EnsureLoaded());
  EXPECT_EQ(fProgress,
            (std::vector<QString>{QStringLiteral("Loading Tileset: Walls.wls"),
                                  QStringLiteral("Loading Tileset: ExampleTileset.tls")}));
}

TEST_F(TilesetListTest, ReplacesReadOnlyOldCopiesWithWritableOnes) {
  const QString dir = Path(QStringLiteral("Tilesets"));
  ASSERT_TRUE(QDir().mkpath(dir));
  for (const QString& name : {QStringLiteral("Walls.wls"), QStringLiteral("ExampleTileset.tls")}) {
    QFile old(QDir(dir).filePath(name));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an old copy");
    old.close();
    SetWritable(old.fileName(), false);
  }

  Install(dir);
  EXPECT_TRUE(Shown().empty());
  for (const QString& name : {QStringLiteral("Walls.wls"), QStringLiteral("ExampleTileset.tls")}) {
    SCOPED_TRACE(qPrintable(name));
    const QString path = QDir(dir).filePath(name);
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::WriteOwner);
    EXPECT_NE(FileBytes(path), QByteArray("an old copy"));
  }
  ASSERT_EQ(TilesetList().Count(), 2);
  ASSERT_NE(TilesetList().Items(0), nullptr);
  EXPECT_FALSE(TilesetList().Items(0)->ReadOnly());
}

// A tilesets folder that cannot be made, or an old copy that cannot be
// deleted, stops the start with a warning naming what failed.
TEST_F(TilesetListTest, FolderOrOldCopyThatCannotBePreparedStopsTheStart) {
  struct {
    const char* folder;   // inside the temporary folder
    const char* blocker;  // a file or a non-empty folder in the way
    const char* text;
  } const cases[] = {
      // Root passes every permission test, but nobody can make a folder
      // inside a regular file.
      {"plain-file/Tilesets", "plain-file",
       "The application was unable to prepare the example "
       "tilesets directory.  Tessellan is unable to run."},
      // A non-empty folder in the way cannot be deleted as a file.
      {"a", "a/ExampleTileset.tls/inside",
       "The application was unable to prepare the example tileset.  Tessellan is unable to run."},
      {"b", "b/Walls.wls/inside",
       "The application was unable to prepare the wall tileset.  Tessellan is unable to run."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blocker);
    Shown().clear();
    const QString blocker = Path(QLatin1String(c.blocker));
    if (blocker.endsWith(QStringLiteral("inside"))) {
      ASSERT_TRUE(QDir().mkpath(blocker));
    } else {
      QFile file(blocker);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    Install(Path(QLatin1String(c.folder)));
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].Text, QLatin1String(c.text));
    EXPECT_EQ(Shown()[0].Caption, QStringLiteral("Tileset Preparation Error"));
    EXPECT_EQ(Shown()[0].Icon, TMsgIcon::Warning);
    EXPECT_TRUE(TilesetList().TerminateRequested());
    EXPECT_EQ(TilesetList().Count(), 0);
  }
}

// Links where the supplied files belong are replaced by the files, never
// followed: what they point to keeps its content and permissions, and a
// dangling link makes no file elsewhere.
TEST_F(TilesetListTest, LinksInTheFolderAreReplacedNeverFollowed) {
  QTemporaryDir outsideDir;
  ASSERT_TRUE(outsideDir.isValid());
  const QString outside = outsideDir.filePath(QStringLiteral("mine.wls"));
  {
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("someone else's file");
  }
  // The owner's, group's and others' bits (the "user" bits tell what this
  // process may do, which for root is everything).
  const auto mode = [](const QString& path) {
    return QFile::permissions(path) &
           ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
  };
  const QFileDevice::Permissions readOnly =
      QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  ASSERT_TRUE(QFile::setPermissions(outside, readOnly));
  ASSERT_EQ(mode(outside), readOnly);
  const QString nowhere = outsideDir.filePath(QStringLiteral("nowhere.tls"));
  ASSERT_TRUE(QFile::link(outside, Path(QStringLiteral("Walls.wls"))));
  ASSERT_TRUE(QFile::link(nowhere, Path(QStringLiteral("ExampleTileset.tls"))));

  Install(fDir.path());
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(FileBytes(outside), QByteArray("someone else's file"));
  EXPECT_EQ(mode(outside), readOnly);
  EXPECT_FALSE(QFileInfo::exists(nowhere));
  const struct {
    const char* Name;
    const char* Resource;
  } supplied[] = {{"Walls.wls", ":/TILESET/xWalls"}, {"ExampleTileset.tls", ":/TILESET/xTileset"}};
  for (const auto& file : supplied) {
    SCOPED_TRACE(file.Name);
    const QFileInfo info(Path(QLatin1String(file.Name)));
    EXPECT_FALSE(info.isSymLink());
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(FileBytes(info.filePath()), ResourceBytes(QLatin1String(file.Resource)));
  }
  ASSERT_EQ(TilesetList().Count(), 2);
  ASSERT_NE(TilesetList().Items(0), nullptr);
  EXPECT_TRUE(TilesetList().Items(0)->Loaded());
}

// A supplied file that the file system refuses is reported and missing:
// its old copy is not loaded in its place. Walls without a wall tileset are
// disabled; a missing example tileset is listed as such.
TEST_F(TilesetListTest, SuppliedTilesetsThatCannotBeWrittenAreMissing) {
  const qint64 wallSize = ResourceBytes(QStringLiteral(":/TILESET/xWalls")).size();
  ASSERT_LT(wallSize, ResourceBytes(QStringLiteral(":/TILESET/xTileset")).size());
  const QString missingExample = QStringLiteral(
      "An error occurred while initializing some tilesets. The following tilesets "
      "could not be found or did not initialize correctly: \r\n\r\n"
      "ExampleTileset.tls\r\n\r\nTessellan has removed these tilesets from the "
      "list of installed tilesets.");
  const QString noWalls = QStringLiteral("No wall tileset could be found, walls are now disabled.");
  const struct {
    const char* Name;
    qint64 Limit;
    std::vector<const char*> Refused;
    bool WallsLoaded;
  } cases[] = {
      {"room for the walls only", wallSize, {"ExampleTileset.tls"}, true},
      {"room for nothing", 0, {"Walls.wls", "ExampleTileset.tls"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Shown().clear();
    const QString dir = Path(QLatin1String(c.Name));
    ASSERT_TRUE(QDir().mkpath(dir));
    for (const char* name : {"Walls.wls", "ExampleTileset.tls"}) {
      QFile old(QDir(dir).filePath(QLatin1String(name)));
      ASSERT_TRUE(old.open(QIODevice::WriteOnly));
      old.write("an old copy");
    }
    {
      TFileSizeLimit limit(c.Limit);
      Install(dir);
    }
    std::vector<QString> expected;
    for (const char* name : c.Refused) {
      const QString path = QDir::toNativeSeparators(QDir(dir).filePath(QLatin1String(name)));
      expected.push_back(
          QStringLiteral("The application was unable to write the %1 file %2: "
                         "%3.  Tessellan will run without it.")
              .arg(QLatin1String(name[0] == 'W' ? "wall tileset" : "example tileset"), path,
                   QLatin1String(kFileTooLarge)));
      EXPECT_FALSE(QFileInfo::exists(path));
    }
    if (!c.WallsLoaded) expected.push_back(noWalls);
    expected.push_back(missingExample);
    std::vector<QString> texts;
    for (const TMessage& message : Shown())
      texts.push_back(message.Text);
    EXPECT_EQ(texts, expected);
    EXPECT_FALSE(TilesetList().TerminateRequested());
    ASSERT_EQ(TilesetList().Count(), 1);
    EXPECT_EQ(TilesetList().Items(0) != nullptr, c.WallsLoaded);
  }
}

// Old copies on a file system that takes no writes can be neither replaced
// nor removed: loading them in place of the supplied tilesets would be
// wrong, so the start stops.
TEST_F(TilesetListTest, OldCopiesThatCanBeNeitherReplacedNorRemovedStopTheStart) {
  const TTmpfs tmpfs(QStringLiteral("1m"));
  if (tmpfs.Path().isEmpty()) GTEST_SKIP() << qPrintable(tmpfs.Skip());
  for (const char* name : {"Walls.wls", "ExampleTileset.tls"}) {
    QFile old(QDir(tmpfs.Path()).filePath(QLatin1String(name)));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an old copy");
  }
  ASSERT_TRUE(tmpfs.RemountReadOnly());

  Install(tmpfs.Path());
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].Text, QStringLiteral("The application was unable to prepare the wall "
                                            "tileset.  Tessellan is unable to run."));
  EXPECT_TRUE(TilesetList().TerminateRequested());
  EXPECT_EQ(TilesetList().Count(), 0);
}

TEST_F(TilesetListTest, SaveListReplacesTheStoredList) {
  auto store = OpenSettingsStore();
  store->setValue(QStringLiteral("1.00.000/Tilesets/TS2"), QStringLiteral("Stale.tls"));
  store->setValue(QStringLiteral("1.00.000/DefMapName"), QStringLiteral("Kept"));
  store->sync();

  const QString wallPath = Path(QStringLiteral("Walls.wls"));
  WriteTilesetFile(wallPath, *MakeTilesetTree(QStringLiteral("W"), {}));
  const QString examplePath = Path(QStringLiteral("ExampleTileset.tls"));
  WriteTilesetFile(examplePath, *MakeTilesetTree(QStringLiteral("E"), {}));
  TTilesetList& list = TilesetList();
  ASSERT_TRUE(list.Add().SetFileName(wallPath));
  ASSERT_TRUE(list.Add().SetFileName(examplePath));
  SaveTilesetList(list);

  auto reread = OpenSettingsStore();
  reread->beginGroup(QStringLiteral("1.00.000/Tilesets"));
  EXPECT_EQ(reread->childKeys(), QStringList{QStringLiteral("TS1")});
  EXPECT_EQ(reread->value(QStringLiteral("TS1")).toString(), QStringLiteral("ExampleTileset.tls"));
  reread->endGroup();
  EXPECT_EQ(reread->value(QStringLiteral("1.00.000/DefMapName")).toString(),
            QStringLiteral("Kept"));
}

TEST_F(TilesetListTest, SaveListReportsAStoreThatCannotBeWritten) {
  QFile blocker(Path(QStringLiteral("plain-file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TSettingsPath unwritable(Path(QStringLiteral("plain-file/settings")));
  TilesetList().Add();
  TilesetList().Add();

  try {
    SaveTilesetList(TilesetList());
    FAIL() << "saving succeeded";
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Unable to save list of tilesets."));
  }
}

// Added tilesets and wall tilesets whose names collide: the tileset box and
// the wall tool show the file where two share a name, the same before a
// tileset loads and after; wall tilesets are never items.
TEST_F(TilesetListTest, NamesThatCollideAreToldApartByTheirFiles) {
  const QString dir = Path(QStringLiteral("Tilesets"));
  ASSERT_TRUE(QDir().mkpath(dir));
  const TGroupDef wall{QStringLiteral("Brick"), 12, 1, 1, 0, QStringLiteral("Walls"),
                       {QPoint(0, 0)}};
  for (const char* file : {"Garden.tls", "Garden2.tls"})
    WriteTilesetFile(QDir(dir).filePath(file),
                     *MakeTilesetTree(QStringLiteral("Garden"), {{QStringLiteral("Moss")}}));
  for (const char* file : {"Brick.wls", "Brick2.wls"})
    WriteTilesetFile(QDir(dir).filePath(file), *MakeTilesetTree(QStringLiteral("Walls"), {wall}));
  WriteTilesetFile(QDir(dir).filePath("Stone.wls"),
                   *MakeTilesetTree(QStringLiteral("Walls"), {{QStringLiteral("Granite"), 12, 1, 1,
                                                               0, QStringLiteral("Walls")}}));

  TTilesetList& list = TilesetList();
  list.LoadInstalled(dir, {"Garden.tls", "Brick.wls", "Garden2.tls", "Brick2.wls", "Stone.wls"});
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.AddedFileNames(), (QStringList{"Garden.tls", "Garden2.tls"}));
  EXPECT_EQ(list.AddedWallFileNames(), (QStringList{"Brick.wls", "Brick2.wls", "Stone.wls"}));
  const QStringList boxNames{"ExampleTileset", "Garden (Garden.tls)", "Garden (Garden2.tls)"};
  EXPECT_EQ(TilesetNames(list), boxNames);
  ASSERT_TRUE(list.Items(2)->EnsureLoaded());
  EXPECT_EQ(TilesetNames(list), boxNames);

  QStringList styles;
  for (const TWallStyle& style : WallStyles(list))
    styles << style.Name;
  EXPECT_EQ(styles, (QStringList{"Standard", "Stone", "Brick (Brick.wls)", "Brick (Brick2.wls)",
                                 "Granite"}));
  EXPECT_EQ(FindWallStyle(WallStyles(list), QStringLiteral("brick")), -1);
  EXPECT_EQ(FindWallStyle(WallStyles(list), QStringLiteral("Brick (Brick2.wls)")), 3);
  EXPECT_EQ(FindWallStyle(WallStyles(list), QStringLiteral("granite")), 4);
}
