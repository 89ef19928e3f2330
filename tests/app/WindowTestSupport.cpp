#include "WindowTestSupport.h"
#include "app/Application.h"
#include "app/DialogRunner.h"
#include "app/MainActions.h"
#include "editor/controls/MapGrid.h"
#include "support/ScriptedMessages.h"
#include "support/TestApplication.h"
#include "tiles/TilesetList.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTest>

namespace {

// The window tests run under the program's own application object, whose
// notify() shows escaping errors.
const bool kUsesProgramApplication = [] {
  TestApplicationFactory() = [](int& argc, char** argv) -> std::unique_ptr<QApplication> {
    return std::make_unique<TApplication>(argc, argv);
  };
  return true;
}();

QTemporaryDir* gTilesetDir = nullptr;

}  // namespace

QString TScriptedFileDialogs::Run(const TFileDialogRequest& request) {
  Requests.push_back(request);
  if (request.ChosenFilter) {
    *request.ChosenFilter = FilterAnswers.empty() ? 0 : FilterAnswers.front();
    if (!FilterAnswers.empty()) FilterAnswers.pop_front();
  }
  if (Answers.empty()) return QString();
  const QString answer = Answers.front();
  Answers.pop_front();
  return answer;
}

void TWindowTest::SetUpTestSuite() {
  (void)kUsesProgramApplication;
  gTilesetDir = new QTemporaryDir;
  ASSERT_TRUE(gTilesetDir->isValid());
  TilesetList().LoadInstalled(gTilesetDir->path());
  ASSERT_FALSE(TilesetList().TerminateRequested());
  ASSERT_EQ(TilesetList().Count(), 2);
}

void TWindowTest::TearDownTestSuite() {
  delete gTilesetDir;
  gTilesetDir = nullptr;
}

void TWindowTest::SetUp() {
  ASSERT_TRUE(temp.isValid());
  auto scripted = std::make_unique<TScriptedFileDialogs>();
  dialogs = scripted.get();
  fPreviousDialogs = SetFileDialogService(std::move(scripted));
  SetDialogRunner([this](QDialog& dialog) {
    shownDialogs.push_back(dialog.windowTitle().toStdString());
    if (dialogAnswers.empty()) {
      dialog.accept();
    } else {
      const auto answer = std::move(dialogAnswers.front());
      dialogAnswers.pop_front();
      answer(dialog);
    }
    return dialog.result();
  });
  MakeWindow();
}

void TWindowTest::TearDown() {
  window.reset();
  SetDialogRunner(nullptr);
  SetFileDialogService(std::move(fPreviousDialogs));
}

void TWindowTest::MakeWindow(const QString& startFile) {
  window.reset();
  window = std::make_unique<TfrmMain>(startFile);
  window->resize(1100, 800);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

QAction* TWindowTest::Action(const char* name) const {
  return window->Actions().Get(QString::fromUtf8(name));
}

void TWindowTest::Run(const char* name) const {
  Action(name)->trigger();
}

QPoint TWindowTest::CellPoint(int col, int row) const {
  const TMapGridModel& grid = window->MapGrid()->Model();
  return QPoint(col * grid.CellWidth() + grid.CellWidth() / 4 - grid.ScrollX(),
                row * grid.CellHeight() + grid.CellHeight() / 4 - grid.ScrollY());
}

void TWindowTest::DragOnGrid(int fromCol, int fromRow, int toCol, int toRow) const {
  QWidget* viewport = window->MapGrid()->viewport();
  QTest::mouseMove(viewport, CellPoint(fromCol, fromRow));
  QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(fromCol, fromRow));
  QTest::mouseMove(viewport, CellPoint(toCol, toRow));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellPoint(toCol, toRow));
}

QString TWindowTest::TempPath(const QString& name) const {
  return temp.filePath(name);
}

std::vector<std::string> TWindowTest::Entries(const QMenu* menu) {
  std::vector<std::string> entries;
  for (const QAction* action : menu->actions())
    entries.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  return entries;
}

void TPrivateSettingsWindowTest::SetUp() {
  ASSERT_TRUE(settingsDir.isValid());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  TWindowTest::SetUp();
  ScriptedMessages().Shown.clear();
}

void TPrivateSettingsWindowTest::TearDown() {
  TWindowTest::TearDown();
  AfterWindowClosed();
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + "/.config"));
}
