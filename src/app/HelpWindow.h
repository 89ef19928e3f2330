#pragma once

#include <QMainWindow>
#include <QString>

#include <vector>

class QListWidget;
class QTextBrowser;
class QToolBar;

// One page of the built-in help: its file in the help resources and the
// title the contents list shows.
struct THelpPage {
  const char* File;
  const char* Title;
};

// Every help page in the order of the contents list; the first is the
// contents page itself.
const std::vector<THelpPage>& HelpPages();

// Help contexts of the Tileset Editor, the export options dialog and the
// Generate Dungeon dialog.
constexpr int kTilesetEditorHelpContext = 10;
constexpr int kExportHelpContext = 11;
constexpr int kGenerateDungeonHelpContext = 12;

// The page a help context number opens: 1 the main window, 2 Map
// Properties, 4 Options, 5 printing and print preview, 9 the about box, 10
// the Tileset Editor, 11 exporting, 12 generating dungeons; any other
// number the contents page.
QString HelpPageOfContext(int context);

// The resource address of a help page, "qrc:/help/index.html".
QString HelpPageAddress(const QString& page);

// The help window: the pages of the built-in help in a browser, the list of
// pages on the left, and Back, Forward and Contents. The help is part of the
// program, so it works without a browser or a network.
class THelpWindow : public QMainWindow {
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows a page by file name ("Options.html"); an unknown page shows the
  // contents.
  void ShowPage(const QString& page);
  // The file name of the page shown.
  QString CurrentPage() const;

  QTextBrowser* Browser() const { return fBrowser; }
  QListWidget* Contents() const { return fContents; }

 private:
  void SelectInContents(const QString& page);

  QTextBrowser* fBrowser;
  QListWidget* fContents;
};

// The one help window, made on first use.
THelpWindow* HelpWindow();

// Bring the help window forward on the contents page, on the page of a help
// context number, or on a page by file name ("TechnicalSupport.html").
void ShowHelp();
void ShowHelpContext(int context);
void ShowHelpTopic(const QString& page);

// The help context of the window a widget lies in: the "HelpContext"
// property of the first window up its parent chain that has one, else 1.
int HelpContextOf(const QWidget* widget);

// Makes F1 open the help page of whichever window is in front, dialogs
// included, for as long as the given window lives. Installing it a second
// time changes nothing.
void InstallHelpKey(QWidget* window);
