// The file commands without a window: a user's stories told through the
// object alone, answered by scripted file dialogs, message boxes and Map
// Properties dialogs, with what it announces recorded in order.
#include "WindowTestSupport.h"
#include "app/DialogRunner.h"
#include "app/FileCommands.h"
#include "app/settings/SettingsStore.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "storage/CompoundFile.h"
#include "support/FileSizeLimit.h"
#include "support/HostileFiles.h"
#include "support/ScriptedMessages.h"

#include <QDialog>
#include <QDir>
#include <QFile>

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

struct TShown {
  int Number;
  QString Path;
  bool operator==(const TShown& other) const {
    return Number == other.Number && Path == other.Path;
  }
};

void PrintTo(const TShown& shown, std::ostream* out) {
  *out << shown.Number << ' ' << shown.Path.toStdString();
}

// One undoable change: the map a column of sub-cells wider.
void Edit(TTileMap& map) {
  map.BeginUndo();
  map.SetWidth(map.Width() + 2);
  map.EndUndo();
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The message of the error a command raises, or "" when it raises none.
template <class F>
QString ErrorOf(F command) {
  try {
    command();
  } catch (const TError& e) {
    return e.Message();
  }
  return QString();
}

class TFileCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    auto scripted = std::make_unique<TScriptedFileDialogs>();
    dialogs = scripted.get();
    fPreviousDialogs = SetFileDialogService(std::move(scripted));
    // Map Properties: OK unless the test queued a Cancel.
    SetDialogRunner([this](QDialog& dialog) {
      const bool ok = propertiesAnswers.empty() || propertiesAnswers.front();
      if (!propertiesAnswers.empty()) propertiesAnswers.pop_front();
      ok ? dialog.accept() : dialog.reject();
      return dialog.result();
    });
    const auto hear = [this](const QString& line) { heard.push_back(line.toStdString()); };
    QObject::connect(&files, &TFileCommands::MapOpened, [hear](int index, TTileMap* map) {
      hear(QStringLiteral("opened %1 %2").arg(index).arg(map->MapName()));
    });
    QObject::connect(&files, &TFileCommands::MapClosed,
                     [hear](int index) { hear(QStringLiteral("closed %1").arg(index)); });
    QObject::connect(&files, &TFileCommands::MapRenamed, [hear](int index, const QString& name) {
      hear(QStringLiteral("renamed %1 %2").arg(index).arg(name));
    });
    QObject::connect(&files, &TFileCommands::CurrentMapChanged, [hear](TTileMap* map) {
      hear(QStringLiteral("current ") + (map ? map->MapName() : QStringLiteral("none")));
    });
    QObject::connect(&files, &TFileCommands::RecentFilesChanged,
                     [hear] { hear(QStringLiteral("recent")); });
  }
  void TearDown() override {
    SetDialogRunner(nullptr);
    SetFileDialogService(std::move(fPreviousDialogs));
  }

  // What the commands announced since the last call.
  TLines Heard() { return std::exchange(heard, {}); }
  QString TempPath(const QString& name) const { return temp.filePath(name); }
  std::vector<TShown> ShownRecentFiles() const {
    std::vector<TShown> shown;
    for (const TRecentFile& file : files.ShownRecentFiles())
      shown.push_back({file.Number, file.Path});
    return shown;
  }

  QTemporaryDir temp;
  TLines heard;
  TScriptedFileDialogs* dialogs = nullptr;
  // true: the user confirms the Map Properties dialog.
  std::deque<bool> propertiesAnswers;
  TFileCommands files;

 private:
  std::unique_ptr<TFileDialogService> fPreviousDialogs;
};

}  // namespace

TEST_F(TFileCommandsTest, TwoMapsEditedSavedUnderANewNameAndClosedWithEveryAnswer) {
  files.OpenStartFile(QString());
  EXPECT_EQ(Heard(), (TLines{"opened 0 BattleMap", "current BattleMap"}));
  files.faNewMapExecute();
  EXPECT_EQ(Heard(), (TLines{"opened 1 BattleMap1", "current BattleMap1"}));
  // A cancelled New Map leaves nothing behind.
  propertiesAnswers = {false};
  files.faNewMapExecute();
  EXPECT_TRUE(Heard().empty());
  ASSERT_EQ(files.Maps().Count(), 2);
  TTileMap& first = *files.Maps().Maps(0);
  TTileMap& second = *files.Maps().Maps(1);
  Edit(first);
  Edit(second);

  // Save As names the map after its new file, which heads the recent files.
  const QString keep = TempPath(QStringLiteral("Keep.tqm"));
  dialogs->Answers = {keep};
  files.faSaveAsExecute();
  ASSERT_EQ(dialogs->Requests.size(), 1u);
  const TFileDialogRequest& request = dialogs->Requests[0];
  EXPECT_EQ(request.Kind, TFileDialogRequest::Save);
  EXPECT_EQ(request.Title, "Save Map");
  EXPECT_EQ(request.FileName, "BattleMap1.tqm");
  EXPECT_EQ(request.Filter, "Tessellan Map (*.tqm)|*.tqm|All Files (*.*)|*.*");
  EXPECT_EQ(request.DefaultExt, "tqm");
  EXPECT_EQ(request.Owner, nullptr);
  EXPECT_EQ(Heard(), (TLines{"renamed 1 Keep", "recent"}));
  EXPECT_EQ(second.FileName(), keep);
  EXPECT_FALSE(second.Modified());
  EXPECT_FALSE(second.UndoList().CanUndo());
  EXPECT_EQ(RecentFiles().Value(QStringLiteral("MRU1")), keep);
  EXPECT_TRUE(Settings().Value(QStringLiteral("LastDir")).startsWith(temp.path()));

  // Closing a modified map asks first: Cancel keeps it, No closes it unsaved.
  files.SetCurrentIndex(0);
  EXPECT_EQ(Heard(), TLines{"current BattleMap"});
  ScriptedMessages().Answers = {TMsgAnswer::Cancel};
  files.faCloseExecute();
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  const TMessage& question = ScriptedMessages().Shown[0];
  EXPECT_EQ(question.Text,
            "BattleMap has changed since the last save. Do you wish to save your changes?");
  EXPECT_EQ(question.Caption, "Save Map Changes");
  EXPECT_EQ(question.Icon, TMsgIcon::Warning);
  EXPECT_EQ(question.Buttons, mbYes | mbNo | mbCancel);
  EXPECT_EQ(question.Owner, nullptr);
  EXPECT_EQ(files.Maps().Count(), 2);
  EXPECT_TRUE(Heard().empty());
  ScriptedMessages().Answers = {TMsgAnswer::No};
  files.faCloseExecute();
  EXPECT_EQ(Heard(), (TLines{"closed 0", "current Keep"}));

  // Yes saves into the map's own file, without a dialog, before it closes;
  // the last map closed leaves none current.
  Edit(second);
  const int width = second.Width();
  ScriptedMessages().Answers = {TMsgAnswer::Yes};
  files.faCloseExecute();
  EXPECT_EQ(dialogs->Requests.size(), 1u);
  EXPECT_EQ(Heard(), (TLines{"closed 0", "current none"}));
  EXPECT_EQ(files.CurrentMap(), nullptr);
  TTileMap saved;
  saved.LoadFromFile(keep);
  EXPECT_EQ(saved.Width(), width);
}

// Save All and Close All walk the maps in order and stop at the first map
// whose Save As the user cancels; the maps after it keep their edits.
TEST_F(TFileCommandsTest, SaveAllAndCloseAllStopWhereASaveAsIsCancelled) {
  files.OpenStartFile(QString());
  const QString a = TempPath(QStringLiteral("A.tqm"));
  const QString c = TempPath(QStringLiteral("C.tqm"));
  dialogs->Answers = {a};
  files.faSaveAsExecute();
  files.faNewMapExecute();
  files.faNewMapExecute();
  dialogs->Answers = {c};
  files.faSaveAsExecute();
  for (int i = 0; i < 3; ++i)
    Edit(*files.Maps().Maps(i));
  const QByteArray savedC = FileBytes(c);
  const QByteArray oldA = FileBytes(a);
  Heard();

  // The unnamed map asks for a name; cancelled, Save All stops there.
  files.SaveAllMaps();
  EXPECT_EQ(dialogs->Requests.size(), 3u);
  EXPECT_NE(FileBytes(a), oldA);
  EXPECT_FALSE(files.Maps().Maps(0)->Modified());
  EXPECT_TRUE(files.Maps().Maps(1)->Modified());
  EXPECT_TRUE(files.Maps().Maps(2)->Modified());
  EXPECT_EQ(FileBytes(c), savedC);

  // The saved map closes without a question; Yes on the unnamed one with
  // its Save As cancelled keeps it and the rest open.
  ScriptedMessages().Answers = {TMsgAnswer::Yes};
  files.faCloseAllExecute();
  EXPECT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(dialogs->Requests.size(), 4u);
  EXPECT_EQ(Heard(), (TLines{"closed 0", "current BattleMap1"}));
  ASSERT_EQ(files.Maps().Count(), 2);

  // No gives up the unnamed map's edits; Yes saves C into its own file.
  const int width = files.Maps().Maps(1)->Width();
  ScriptedMessages().Answers = {TMsgAnswer::No, TMsgAnswer::Yes};
  files.faCloseAllExecute();
  EXPECT_EQ(Heard(), (TLines{"closed 0", "current C", "closed 0", "current none"}));
  EXPECT_EQ(dialogs->Requests.size(), 4u);
  TTileMap saved;
  saved.LoadFromFile(c);
  EXPECT_EQ(saved.Width(), width);
}

TEST_F(TFileCommandsTest, ReopeningAndTheRecentFiles) {
  files.OpenStartFile(QString());
  const QString a = TempPath(QStringLiteral("A.tqm"));
  const QString b = TempPath(QStringLiteral("B.tqm"));
  dialogs->Answers = {a};
  files.faSaveAsExecute();
  files.faNewMapExecute();
  dialogs->Answers = {b};
  files.faSaveAsExecute();
  EXPECT_EQ(ShownRecentFiles(), (std::vector<TShown>{{1, b}, {2, a}}));
  Heard();

  // A file open and unmodified reloads without a question as the last map,
  // and moves up in the recent files instead of being listed twice.
  ASSERT_TRUE(files.OpenMapFile(a));
  EXPECT_TRUE(ScriptedMessages().Shown.empty());
  EXPECT_EQ(Heard(), (TLines{"closed 0", "opened 1 A", "current A", "recent"}));
  EXPECT_EQ(ShownRecentFiles(), (std::vector<TShown>{{1, a}, {2, b}}));

  // A modified one asks first, and Cancel leaves everything as it was.
  Edit(*files.CurrentMap());
  ScriptedMessages().Answers = {TMsgAnswer::Cancel};
  EXPECT_FALSE(files.OpenMapFile(a));
  EXPECT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_TRUE(Heard().empty());
  EXPECT_TRUE(files.CurrentMap()->Modified());
  // A map-list file is not a map.
  EXPECT_FALSE(files.OpenMapFile(TempPath(QStringLiteral("Maps.TQL"))));
  EXPECT_TRUE(Heard().empty());

  // A recent entry opens its file.
  files.RecentFileClick(2);
  EXPECT_EQ(Heard(), (TLines{"closed 0", "opened 1 B", "current B", "recent"}));
  EXPECT_EQ(ShownRecentFiles(), (std::vector<TShown>{{1, b}, {2, a}}));

  // A path that differs only in case gets an entry of its own; eleven more
  // leave nine, of which MRULen are shown, numbered from 1.
  files.AddToRecentFiles(b.toUpper());
  EXPECT_EQ(ShownRecentFiles(), (std::vector<TShown>{{1, b.toUpper()}, {2, b}, {3, a}}));
  for (int i = 0; i < 11; ++i)
    files.AddToRecentFiles(TempPath(QStringLiteral("M%1.tqm").arg(i)));
  EXPECT_EQ(RecentFiles().Value(QStringLiteral("MRU9")), TempPath(QStringLiteral("M2.tqm")));
  EXPECT_EQ(ShownRecentFiles().size(), 5u);
  Settings().SetValue(QStringLiteral("MRULen"), QStringLiteral("9"));
  ASSERT_EQ(ShownRecentFiles().size(), 9u);
  EXPECT_EQ(ShownRecentFiles().front(), (TShown{1, TempPath(QStringLiteral("M10.tqm"))}));
  EXPECT_EQ(ShownRecentFiles().back(), (TShown{9, TempPath(QStringLiteral("M2.tqm"))}));
  Settings().SetValue(QStringLiteral("MRULen"), QStringLiteral("0"));
  EXPECT_TRUE(ShownRecentFiles().empty());
  EXPECT_TRUE(files.HasRecentFiles());
}

// A failed save leaves the map modified with its history, its name and its
// file as they were; the same command succeeds once the cause has gone.
TEST_F(TFileCommandsTest, AFailedSaveKeepsTheMapModifiedAndTheFileAsItWas) {
  files.OpenStartFile(QString());
  TTileMap& map = *files.CurrentMap();
  Edit(map);
  Heard();

  // A folder that is a file: the name given for the save comes back.
  QFile blocker(TempPath(QStringLiteral("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  dialogs->Answers = {TempPath(QStringLiteral("blocker/Lost.tqm"))};
  EXPECT_FALSE(ErrorOf([this] { files.faSaveExecute(); }).isEmpty());
  EXPECT_EQ(Heard(), (TLines{"renamed 0 Lost", "renamed 0 BattleMap"}));
  EXPECT_TRUE(map.Modified());
  EXPECT_TRUE(map.UndoList().CanUndo());
  EXPECT_TRUE(map.FileName().isEmpty());
  EXPECT_TRUE(RecentFiles().Value(QStringLiteral("MRU1")).isEmpty());

  // The disk refuses the next save (a file-size limit, as a full disk would).
  const QString path = TempPath(QStringLiteral("Full.tqm"));
  dialogs->Answers = {path};
  files.faSaveAsExecute();
  ASSERT_FALSE(map.Modified());
  const QByteArray previous = FileBytes(path);
  const QStringList before = QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden);
  Edit(map);
  QString error;
  {
    TFileSizeLimit limit(1024);
    error = ErrorOf([this] { files.faSaveExecute(); });
  }
  EXPECT_EQ(error, QStringLiteral("The file \"%1\" could not be written: %2.")
                       .arg(QDir::toNativeSeparators(path), QLatin1String(kFileTooLarge)));
  EXPECT_EQ(FileBytes(path), previous);
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
  EXPECT_TRUE(map.Modified());
  EXPECT_TRUE(map.UndoList().CanUndo());
  files.faSaveExecute();
  EXPECT_FALSE(map.Modified());
  EXPECT_NE(FileBytes(path), previous);

  // Save As onto the file of an open map, its own included, saves nothing.
  files.faNewMapExecute();
  Edit(*files.CurrentMap());
  for (int index : {1, 0}) {
    files.SetCurrentIndex(index);
    dialogs->Answers = {path};
    EXPECT_EQ(ErrorOf([this] { files.faSaveAsExecute(); }),
              "The map " + path + " already exists in the current map list.");
  }
  EXPECT_EQ(files.Maps().Maps(1)->MapName(), "BattleMap1");
  EXPECT_TRUE(files.Maps().Maps(1)->FileName().isEmpty());
  EXPECT_TRUE(files.Maps().Maps(1)->Modified());
}

// A file that fails to load leaves the open maps as they were: at start-up
// a new map takes its place, later the open map keeps its edits, and a
// reload of the current map's file that fails makes the map that took its
// place current.
TEST_F(TFileCommandsTest, FilesThatFailToLoadLeaveTheOpenMapsWhole) {
  files.OpenStartFile(TempPath(QStringLiteral("Nowhere.tqm")));
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, "Error Loading File");
  EXPECT_EQ(ScriptedMessages().Shown[0].Icon, TMsgIcon::Warning);
  EXPECT_EQ(Heard(), (TLines{"opened 0 BattleMap", "current BattleMap"}));

  TTileMap& map = *files.CurrentMap();
  Edit(map);
  const QString deep = TempPath(QStringLiteral("Deep.tqm"));
  const QString bomb = TempPath(QStringLiteral("Bomb.tqm"));
  WriteCompoundFile(deep, *MakeDeepTree(200000));
  WriteCompoundFile(bomb, *MakeBombMapTree(8));
  EXPECT_EQ(ErrorOf([&] { files.OpenMapFile(deep); }),
            "The file is damaged: its storages nest more than 64 levels deep.");
  const QString refused = ErrorOf([&] { files.OpenMapFile(bomb); });
  EXPECT_TRUE(refused.startsWith(
      QStringLiteral("The file \"%1\" holds pictures that take 384 MB when decoded").arg(bomb)))
      << refused.toStdString();
  EXPECT_EQ(files.Maps().Count(), 1);
  EXPECT_EQ(files.CurrentMap(), &map);
  EXPECT_TRUE(map.Modified());
  EXPECT_TRUE(RecentFiles().Value(QStringLiteral("MRU1")).isEmpty());

  const QString broken = TempPath(QStringLiteral("Broken.tqm"));
  dialogs->Answers = {broken};
  files.faSaveAsExecute();
  files.faNewMapExecute();
  files.SetCurrentIndex(0);
  WriteCompoundFile(broken, *MakeDeepTree(200000));
  Heard();
  EXPECT_FALSE(ErrorOf([&] { files.OpenMapFile(broken); }).isEmpty());
  EXPECT_EQ(Heard(), (TLines{"closed 0", "current BattleMap1"}));
  EXPECT_EQ(files.Maps().Count(), 1);
}
