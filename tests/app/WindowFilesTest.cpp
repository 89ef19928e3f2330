// The file commands as the window shows them, through its actions, keys and
// tabs, with scripted file dialogs and message boxes: the tabs and captions
// follow the maps, the questions belong to the window, errors reach the
// default error display, and the window closes only when the maps may go.
#include "WindowTestSupport.h"
#include "app/Application.h"
#include "app/MainActions.h"
#include "app/frmMapPropsU.h"
#include "app/frmOptionsU.h"
#include "app/settings/SettingsStore.h"
#include "base/Error.h"
#include "editor/controls/MapGrid.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "support/ScriptedMessages.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

#include <algorithm>

namespace {

std::vector<std::string> TabTexts(const QTabBar* tabs) {
  std::vector<std::string> texts;
  for (int i = 0; i < tabs->count(); ++i)
    texts.push_back(tabs->tabText(i).toStdString());
  return texts;
}

// An object whose every event handler fails.
class TFailingObject : public QObject {
 public:
  bool event(QEvent*) override { throw TError(QStringLiteral("The handler failed")); }
};

// A path no file can be written to, even by root: its folder is a file.
QString UnwritablePath(const QTemporaryDir& temp) {
  QFile blocker(temp.filePath(QStringLiteral("blocker")));
  EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
  return temp.filePath(QStringLiteral("blocker/Lost.tqm"));
}

}  // namespace

using TWindowFilesTest = TWindowTest;

TEST_F(TWindowFilesTest, NewMapsAreNumberedAfterTheOpenOnesAndMadeInTheDialog) {
  // The dialog proposes the numbered name; the user sizes the map.
  QString proposed;
  dialogAnswers.push_back([&proposed](QDialog& dialog) {
    auto& props = static_cast<TfrmMapProps&>(dialog);
    proposed = props.MapNameEdit()->text();
    props.WidthSpin()->setValue(12);
    props.accept();
  });
  Run("faNewMap");
  EXPECT_EQ(proposed, "BattleMap1");
  EXPECT_EQ(window->CurrentMap()->Width(), 24);
  Run("faNewMap");
  EXPECT_EQ(shownDialogs, (std::vector<std::string>{"New Map", "New Map"}));
  EXPECT_EQ(TabTexts(window->MapTabs()),
            (std::vector<std::string>{"BattleMap", "BattleMap1", "BattleMap2"}));
  EXPECT_EQ(window->MapTabs()->currentIndex(), 2);
  EXPECT_EQ(window->CurrentMap()->MapName(), "BattleMap2");
  EXPECT_EQ(window->MapPanel()->Caption(), "Map - BattleMap2");

  // Cancel changes nothing.
  TTileMap* current = window->CurrentMap();
  dialogAnswers.push_back([](QDialog& dialog) { dialog.reject(); });
  Run("faNewMap");
  EXPECT_EQ(window->Files().Maps().Count(), 3);
  EXPECT_EQ(window->MapTabs()->count(), 3);
  EXPECT_EQ(window->CurrentMap(), current);

  // A free number is taken again.
  window->MapTabs()->setCurrentIndex(1);
  EXPECT_EQ(window->CurrentMap()->MapName(), "BattleMap1");
  ScriptedMessages().Answers = {TMsgAnswer::No};  // a confirmed new map counts as changed
  Run("faClose");
  // The tab taking the closed one's place is selected.
  EXPECT_EQ(window->MapTabs()->currentIndex(), 1);
  EXPECT_EQ(window->CurrentMap()->MapName(), "BattleMap2");
  Run("faNewMap");
  EXPECT_EQ(TabTexts(window->MapTabs()),
            (std::vector<std::string>{"BattleMap", "BattleMap2", "BattleMap1"}));
}

TEST_F(TWindowFilesTest, SaveAndOpenRoundTripThroughTheDialogs) {
  DragOnGrid(0, 0, 2, 1);
  const QString path = TempPath("Keep.tqm");
  dialogs->Answers = {path};
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(dialogs->Requests.size(), 1u);
  const TFileDialogRequest& save = dialogs->Requests[0];
  EXPECT_EQ(save.Kind, TFileDialogRequest::Save);
  EXPECT_EQ(save.FileName, "BattleMap.tqm");
  EXPECT_EQ(save.Owner, window.get());
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(window->CurrentMap()->MapName(), "Keep");
  EXPECT_EQ(window->MapTabs()->tabText(0), "Keep");
  EXPECT_FALSE(window->CurrentMap()->Modified());
  EXPECT_FALSE(Action("eaUndo")->isEnabled());

  Run("faClose");
  EXPECT_EQ(window->MapTabs()->count(), 0);

  dialogs->Answers = {path};
  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialogs->Requests.size(), 2u);
  EXPECT_EQ(dialogs->Requests[1].Kind, TFileDialogRequest::Open);
  EXPECT_EQ(dialogs->Requests[1].Title, "Open File");
  ASSERT_EQ(TabTexts(window->MapTabs()), std::vector<std::string>{"Keep"});
  const TTileMap& map = *window->CurrentMap();
  for (int x = 0; x < 6; ++x)
    EXPECT_NE(map.GetTile(mlBase, x, 3), nullptr) << x;
  EXPECT_EQ(map.GetTile(mlBase, 6, 0), nullptr);
  EXPECT_TRUE(Action("gaAddCol")->isEnabled());
}

TEST_F(TWindowFilesTest, AFailedSaveKeepsTheMapAsItWas) {
  DragOnGrid(0, 0, 0, 0);
  dialogs->Answers = {UnwritablePath(temp)};
  Run("faSave");
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, "Tessellan");
  EXPECT_EQ(window->CurrentMap()->MapName(), "BattleMap");
  EXPECT_EQ(window->MapTabs()->tabText(0), "BattleMap");
  EXPECT_TRUE(window->CurrentMap()->Modified());
}

TEST_F(TWindowFilesTest, ClosingAModifiedMapAsksFirst) {
  Run("faNewMap");
  DragOnGrid(0, 0, 0, 0);
  ScriptedMessages().Answers = {TMsgAnswer::Cancel};
  Run("faClose");
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_TRUE(
      ScriptedMessages().Shown[0].Text.startsWith(QStringLiteral("BattleMap1 has changed")));
  EXPECT_EQ(ScriptedMessages().Shown[0].Owner, window.get());
  EXPECT_EQ(window->MapTabs()->count(), 2);

  ScriptedMessages().Answers = {TMsgAnswer::No};
  Run("faClose");
  EXPECT_EQ(TabTexts(window->MapTabs()), std::vector<std::string>{"BattleMap"});
  EXPECT_EQ(window->CurrentMap()->MapName(), "BattleMap");

  // The unmodified map closes without a question.
  Run("faClose");
  EXPECT_EQ(ScriptedMessages().Shown.size(), 2u);
  EXPECT_EQ(window->MapTabs()->count(), 0);
}

TEST_F(TWindowFilesTest, TheWindowClosesOnlyWhenEveryMapIsSavedOrGivenUp) {
  DragOnGrid(0, 0, 0, 0);
  ScriptedMessages().Answers = {TMsgAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());

  // Yes with a save that fails keeps the window open as well.
  ScriptedMessages().Answers = {TMsgAnswer::Yes};
  dialogs->Answers = {UnwritablePath(temp)};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(ScriptedMessages().Shown.back().Caption, "Tessellan");

  ScriptedMessages().Answers = {TMsgAnswer::No};
  EXPECT_TRUE(window->close());
}

TEST_F(TWindowFilesTest, AReadOnlyMapIsShownAndSavedElsewhere) {
  const QString path = TempPath("Locked.tqm");
  dialogs->Answers = {path};
  Run("faSaveAs");
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
  MakeWindow(path);
  EXPECT_EQ(window->MapPanel()->Caption(), "Map - Locked (READ-ONLY)");
  EXPECT_FALSE(Action("faSave")->isEnabled());
  EXPECT_TRUE(Action("faSaveAs")->isEnabled());
  EXPECT_FALSE(Action("gaRoom")->isEnabled());
  EXPECT_FALSE(window->MapGrid()->isEnabled());

  const QString copy = TempPath("Unlocked.tqm");
  dialogs->Answers = {copy};
  window->Files().faSaveExecute();
  ASSERT_EQ(dialogs->Requests.size(), 2u);
  EXPECT_EQ(dialogs->Requests[1].FileName, path);
  EXPECT_EQ(window->MapPanel()->Caption(), "Map - Unlocked");
  EXPECT_TRUE(Action("faSave")->isEnabled());
}

TEST_F(TWindowFilesTest, AnErrorEscapingAnEventHandlerIsShownAndTheWindowLivesOn) {
  TFailingObject failing;
  QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Text, "The handler failed.");
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, "Tessellan");
  EXPECT_EQ(ScriptedMessages().Shown[0].Icon, TMsgIcon::Error);
  QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(window->MapTabs()->count(), 2);
}

// The File menu lists the recent files after Exit, rebuilt whenever they
// change and after the Options; an entry opens its file as the last tab.
TEST_F(TWindowFilesTest, TheFileMenuListsTheRecentFiles) {
  const auto afterExit = [this] {
    const std::vector<std::string> entries = Entries(window->FileMenu());
    const auto exit = std::find(entries.begin(), entries.end(), "E&xit");
    return std::vector<std::string>(exit + 1, entries.end());
  };
  // Nothing recent yet: the menu ends with Exit.
  EXPECT_TRUE(afterExit().empty());

  const QString a = TempPath("A.tqm");
  const QString b = TempPath("B.tqm");
  dialogs->Answers = {a};
  Run("faSaveAs");
  Run("faNewMap");
  dialogs->Answers = {b};
  Run("faSaveAs");
  EXPECT_EQ(afterExit(),
            (std::vector<std::string>{"-", "&1 " + b.toStdString(), "&2 " + a.toStdString()}));

  window->FileMenu()->findChild<QAction*>("mnuRecent2")->trigger();
  EXPECT_EQ(window->CurrentMap()->FileName(), a);
  EXPECT_EQ(window->MapTabs()->tabText(window->MapTabs()->count() - 1), "A");
  EXPECT_EQ(afterExit(),
            (std::vector<std::string>{"-", "&1 " + a.toStdString(), "&2 " + b.toStdString()}));

  for (int i = 0; i < 11; ++i)
    window->Files().AddToRecentFiles(TempPath(QStringLiteral("M%1.tqm").arg(i)));
  EXPECT_EQ(afterExit().size(), 6u);  // the default five and a separator
  dialogAnswers.push_back([](QDialog& dialog) {
    static_cast<TfrmOptions&>(dialog).RecentFilesSpin()->setValue(9);
    dialog.accept();
  });
  Run("taOptions");
  ASSERT_EQ(afterExit().size(), 10u);
  EXPECT_EQ(afterExit().back(), "&9 " + TempPath("M2.tqm").toStdString());
  Settings().SetValue("MRULen", "0");
  window->BuildRecentFilesMenu();
  EXPECT_EQ(afterExit(), std::vector<std::string>{"-"});
}

TEST_F(TWindowFilesTest, CloseAllStopsAtCancelAndLeavesOnlyMapFreeCommands) {
  Run("faNewMap");
  DragOnGrid(0, 0, 0, 0);
  window->MapTabs()->setCurrentIndex(0);
  DragOnGrid(0, 0, 0, 0);
  ScriptedMessages().Answers = {TMsgAnswer::No, TMsgAnswer::Cancel};
  Run("faCloseAll");
  EXPECT_EQ(TabTexts(window->MapTabs()), std::vector<std::string>{"BattleMap1"});

  // The undo depth of the Options applies to the maps already open; the
  // undone steps it drops can no longer be redone.
  for (int i = 0; i < 3; ++i)
    Run("gaAddCol");
  Run("eaUndo");
  Run("eaUndo");
  ASSERT_TRUE(Action("eaRedo")->isEnabled());
  Settings().SetValue("DefUndoNum", "2");
  Run("taOptions");
  EXPECT_EQ(window->CurrentMap()->UndoList().MaxUndo(), 2);
  EXPECT_TRUE(Action("eaUndo")->isEnabled());
  EXPECT_FALSE(Action("eaRedo")->isEnabled());

  ScriptedMessages().Answers = {TMsgAnswer::No};
  Run("faCloseAll");
  EXPECT_EQ(window->MapTabs()->count(), 0);
  EXPECT_EQ(window->CurrentMap(), nullptr);
  EXPECT_EQ(window->MapPanel()->Caption(), "Map");
  EXPECT_TRUE(window->Status()->PanelText(1).isEmpty());
  std::vector<std::string> enabled;
  for (const QAction* action : window->Actions().All())
    if (action->isEnabled()) enabled.push_back(action->objectName().toStdString());
  // The erase layers sit in submenus that follow Erase Tiles; the orientation
  // commands follow the picked group, map or not; the overview shows or hides
  // without one, and a dungeon is generated into a map of its own.
  EXPECT_EQ(enabled, (std::vector<std::string>{"faNewMap",
                                               "faOpen",
                                               "faAddTileset",
                                               "faExit",
                                               "taOptions",
                                               "taTilesetEditor",
                                               "mnuEraseBase",
                                               "mnuEraseOverlay",
                                               "mnuEraseWall",
                                               "mnuEraseAll",
                                               "vwOverview",
                                               "maGenerateDungeon",
                                               "vwFlipHorizontal",
                                               "vwFlipVertical",
                                               "vwRotateCClockwise",
                                               "vwRotateClockwise",
                                               "haHelp",
                                               "haTessellanWeb",
                                               "haAbout",
                                               "vwBaseLayer",
                                               "vwObjectsLayer",
                                               "vwWallLayer"}));
}
