#include "HelpWindow.h"

#include "AppResources.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QRect>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

namespace {

const QString kContentsPage = QStringLiteral("index.html");
const QString kHelpKeyFilterName = QStringLiteral("HelpKeyFilter");

bool IsHelpPage(const QString& page) {
  for (const THelpPage& entry : HelpPages())
    if (page == QLatin1String(entry.File)) return true;
  return false;
}

// Catches F1 before any widget sees it, so that a modal dialog in front gets
// its own page rather than the main window's.
class THelpKeyFilter : public QObject {
 public:
  explicit THelpKeyFilter(QObject* parent) : QObject(parent) {
    setObjectName(kHelpKeyFilterName);
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    ShowHelpContext(HelpContextOf(WidgetOf(watched)));
    return true;
  }

 private:
  // Keys reach the window system's window before the widget with the focus;
  // either names the window the user is in.
  static const QWidget* WidgetOf(QObject* watched) {
    if (const auto* widget = qobject_cast<const QWidget*>(watched)) return widget;
    if (const auto* window = qobject_cast<const QWindow*>(watched)) {
      const auto tops = QApplication::topLevelWidgets();
      for (const QWidget* top : tops)
        if (top->windowHandle() == window) return top;
    }
    return QApplication::activeWindow();
  }
};

// A modal dialog blocks every window that is not its own, the help window
// included. While one is open, the help window becomes a window of the
// dialog, so that help asked for from the dialog can be read and clicked;
// when the dialog closes, the help window stands on its own again, where
// it was.
class THelpOwnerWatch : public QObject {
 public:
  THelpOwnerWatch(QWidget* dialog, THelpWindow* help) : QObject(dialog), fHelp(help) {
    const QRect place = help->geometry();
    help->setParent(dialog, help->windowFlags() | Qt::Window);
    help->setGeometry(place);
    dialog->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent() && event->type() == QEvent::Hide) {
      if (fHelp && fHelp->parentWidget() == parent()) {
        const bool shown = !fHelp->isHidden();
        const QRect place = fHelp->geometry();
        fHelp->setParent(nullptr, fHelp->windowFlags() | Qt::Window);
        fHelp->setGeometry(place);
        if (shown) fHelp->show();
      }
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<THelpWindow> fHelp;
};

}  // namespace

const std::vector<THelpPage>& HelpPages() {
  static const std::vector<THelpPage> pages = {
      {"index.html", "Contents"},
      {"MainWindow.html", "The main window"},
      {"PaintingFloors.html", "Painting floors"},
      {"PlacingObjects.html", "Placing objects"},
      {"HalfCellRaster.html", "The half-cell raster"},
      {"DrawingWalls.html", "Drawing walls"},
      {"RoomsAndDoors.html", "Drawing rooms and doors"},
      {"GeneratingDungeons.html", "Generating a dungeon"},
      {"Erasing.html", "Erasing"},
      {"RotatingAndFlipping.html", "Rotating and flipping"},
      {"ColumnsAndRows.html", "Columns, rows and nudging"},
      {"Zoom.html", "Zooming and scrolling"},
      {"MapsAndTabs.html", "Maps and tabs"},
      {"Printing.html", "Printing and print preview"},
      {"Exporting.html", "Exporting pictures and VTT files"},
      {"MapProperties.html", "The Map Properties dialog"},
      {"Options.html", "The Options dialog"},
      {"TilesetEditor.html", "The Tileset Editor"},
      {"About.html", "The About box"},
      {"TechnicalSupport.html", "Technical support"},
  };
  return pages;
}

QString HelpPageOfContext(int context) {
  switch (context) {
    case 1:
      return QStringLiteral("MainWindow.html");
    case 2:
      return QStringLiteral("MapProperties.html");
    case 4:
      return QStringLiteral("Options.html");
    case 5:
      return QStringLiteral("Printing.html");
    case 9:
      return QStringLiteral("About.html");
    case kTilesetEditorHelpContext:
      return QStringLiteral("TilesetEditor.html");
    case kExportHelpContext:
      return QStringLiteral("Exporting.html");
    case kGenerateDungeonHelpContext:
      return QStringLiteral("GeneratingDungeons.html");
    default:
      return kContentsPage;
  }
}

QString HelpPageAddress(const QString& page) {
  return QStringLiteral("qrc:/help/") + page;
}

THelpWindow::THelpWindow(QWidget* parent) : QMainWindow(parent) {
  InitAppResources();
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Tessellan Help"));
  // F1 here leads to the contents.
  setProperty("HelpContext", 0);
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(860, 620);

  auto* splitter = new QSplitter(this);
  fContents = new QListWidget(splitter);
  fContents->setObjectName(QStringLiteral("lstContents"));
  for (const THelpPage& page : HelpPages()) {
    auto* item = new QListWidgetItem(QString::fromUtf8(page.Title), fContents);
    item->setData(Qt::UserRole, QString::fromUtf8(page.File));
  }
  fBrowser = new QTextBrowser(splitter);
  fBrowser->setObjectName(QStringLiteral("brwHelp"));
  fBrowser->setOpenExternalLinks(false);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({200, 660});
  setCentralWidget(splitter);

  auto* bar = addToolBar(QStringLiteral("Help"));
  bar->setObjectName(QStringLiteral("tbrHelp"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  QAction* back = bar->addAction(QStringLiteral("&Back"), fBrowser, &QTextBrowser::backward);
  back->setObjectName(QStringLiteral("hwBack"));
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  QAction* forward = bar->addAction(QStringLiteral("&Forward"), fBrowser, &QTextBrowser::forward);
  forward->setObjectName(QStringLiteral("hwForward"));
  forward->setShortcut(QKeySequence::Forward);
  forward->setEnabled(false);
  QAction* contents =
      bar->addAction(QStringLiteral("&Contents"), this, [this] { ShowPage(kContentsPage); });
  contents->setObjectName(QStringLiteral("hwContents"));
  connect(fBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(fBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(fBrowser, &QTextBrowser::sourceChanged, this,
          [this](const QUrl& url) { SelectInContents(url.fileName()); });
  connect(fContents, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });

  ShowPage(kContentsPage);
}

void THelpWindow::ShowPage(const QString& page) {
  const QString target = IsHelpPage(page) ? page : kContentsPage;
  if (CurrentPage() == target) return;
  fBrowser->setSource(QUrl(HelpPageAddress(target)));
}

QString THelpWindow::CurrentPage() const {
  return fBrowser->source().fileName();
}

void THelpWindow::SelectInContents(const QString& page) {
  for (int i = 0; i < fContents->count(); ++i) {
    if (fContents->item(i)->data(Qt::UserRole).toString() == page) {
      fContents->setCurrentRow(i);
      return;
    }
  }
  fContents->clearSelection();
}

THelpWindow* HelpWindow() {
  static QPointer<THelpWindow> window;
  if (!window) window = new THelpWindow;
  return window;
}

void ShowHelpTopic(const QString& page) {
  THelpWindow* window = HelpWindow();
  window->ShowPage(page);
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (modal != window && window->parentWidget() != modal) new THelpOwnerWatch(modal, window);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

void ShowHelp() {
  ShowHelpTopic(kContentsPage);
}

void ShowHelpContext(int context) {
  ShowHelpTopic(HelpPageOfContext(context));
}

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (!w->isWindow()) continue;
    const QVariant context = w->property("HelpContext");
    if (context.isValid()) return context.toInt();
  }
  return 1;
}

void InstallHelpKey(QWidget* window) {
  if (window->findChild<QObject*>(kHelpKeyFilterName, Qt::FindDirectChildrenOnly)) return;
  new THelpKeyFilter(window);
}
