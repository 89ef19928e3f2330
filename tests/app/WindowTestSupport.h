#pragma once

#include "app/FileDialogs.h"
#include "app/frmMainU.h"

#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

class QAction;
class QDialog;
class QMenu;

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// Records every file dialog the window asks for and answers from a queue of
// paths (an empty path cancels; an empty queue cancels too), and, where the
// window asks which filter was chosen, from a queue of filter indexes (the
// first filter when it is empty).
class TScriptedFileDialogs : public TFileDialogService {
 public:
  QString Run(const TFileDialogRequest& request) override;

  std::vector<TFileDialogRequest> Requests;
  std::deque<QString> Answers;
  std::deque<int> FilterAnswers;
};

// A main window over the supplied tilesets, installed once per test program
// into a temporary directory, with scripted file dialogs. The window is
// large enough to show the whole default map.
class TWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Makes the window (again), optionally opening a file at start.
  void MakeWindow(const QString& startFile = QString());

  QAction* Action(const char* name) const;
  // Triggers an action as its menu item or shortcut would (nothing when it
  // is disabled).
  void Run(const char* name) const;
  // A point in the top-left sub-cell of a grid cell, in the grid viewport's
  // coordinates.
  QPoint CellPoint(int col, int row) const;
  // Presses the left button on one cell, drags to another and releases.
  void DragOnGrid(int fromCol, int fromRow, int toCol, int toRow) const;
  // A path in the test's temporary directory.
  QString TempPath(const QString& name) const;
  // The texts of a menu's entries, "-" for a separator.
  static std::vector<std::string> Entries(const QMenu* menu);

  std::unique_ptr<TfrmMain> window;
  TScriptedFileDialogs* dialogs = nullptr;
  // Modal dialogs the window shows are answered from this queue: each entry
  // fills and closes (accept or reject) the dialog; an empty queue presses
  // OK. Their captions are recorded in order.
  std::deque<std::function<void(QDialog&)>> dialogAnswers;
  std::vector<std::string> shownDialogs;
  QTemporaryDir temp;

 private:
  std::unique_ptr<TFileDialogService> fPreviousDialogs;
};

// A window test whose settings go to a file of its own, and whose scripted
// messages start empty: for tests that store names in the settings.
class TPrivateSettingsWindowTest : public TWindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs once the window is gone, before the settings path is restored.
  virtual void AfterWindowClosed() {}

  QTemporaryDir settingsDir;
};
