// The built-in help as a user meets it: the contents, the links between the
// pages, the page each window's F1 opens, and the program's icon that ships
// beside the pages.
#include "app/AppResources.h"
#include "app/HelpWindow.h"
#include "app/frmOptionsU.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <deque>

namespace {

QString ResourceText(const QString& page) {
  QFile file(QStringLiteral(":/help/") + page);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

// The href targets of a page, without their #fragments.
QStringList LinksOf(const QString& html) {
  QStringList links;
  static const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)[^\"]*\""));
  for (auto it = href.globalMatch(html); it.hasNext();)
    links << it.next().captured(1);
  return links;
}

void PressF1(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

}  // namespace

TEST(HelpPages, EveryLinkResolvesAndEveryPageIsReachableFromTheContents) {
  InitAppResources();
  const QString contents = QStringLiteral("index.html");
  QSet<QString> listed;
  for (const THelpPage& page : HelpPages())
    listed.insert(QString::fromUtf8(page.File));
  EXPECT_EQ(QString::fromUtf8(HelpPages().front().File), contents);

  // Every page file in the resources is listed, and every listed page exists.
  const QStringList files = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
  EXPECT_EQ(QSet<QString>(files.begin(), files.end()), listed);

  // Every link of every page names a resource, and following links from the
  // contents reaches every page.
  QSet<QString> reached{contents};
  std::deque<QString> queue{contents};
  while (!queue.empty()) {
    const QString page = queue.front();
    queue.pop_front();
    const QString html = ResourceText(page);
    ASSERT_FALSE(html.isEmpty()) << page.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
    for (const QString& link : LinksOf(html)) {
      EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + link))
          << page.toStdString() << " links to " << link.toStdString();
      if (link.endsWith(QStringLiteral(".html")) && !reached.contains(link)) {
        reached.insert(link);
        queue.push_back(link);
      }
    }
  }
  EXPECT_EQ(reached, listed);
}

TEST(HelpWindow, ContextNumbersOpenTheirPagesAndTheWindowNavigates) {
  const struct {
    int Context;
    const char* Page;
  } cases[] = {
      {1, "MainWindow.html"},
      {2, "MapProperties.html"},
      {4, "Options.html"},
      {5, "Printing.html"},
      {9, "About.html"},
      {0, "index.html"},
      {3, "index.html"},
      {77, "index.html"},
      {10, "TilesetEditor.html"},
      {kExportHelpContext, "Exporting.html"},
      {kGenerateDungeonHelpContext, "GeneratingDungeons.html"},
  };
  for (const auto& c : cases) {
    ShowHelpContext(c.Context);
    EXPECT_EQ(HelpWindow()->CurrentPage(), c.Page) << c.Context;
  }
  THelpWindow* help = HelpWindow();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Tessellan Help"));
  EXPECT_EQ(help->Contents()->count(), int(HelpPages().size()));

  // One window serves every request; the contents list follows the page.
  ShowHelp();
  EXPECT_EQ(HelpWindow(), help);
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("index.html"));
  ShowHelpTopic(QStringLiteral("TechnicalSupport.html"));
  EXPECT_EQ(help->Contents()->currentItem()->text(), QStringLiteral("Technical support"));
  ShowHelpTopic(QStringLiteral("NoSuchPage.html"));
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("index.html"));

  // A click in the contents list, then Back and Forward.
  QListWidgetItem* zoom = help->Contents()
                              ->findItems(QStringLiteral("Zooming and scrolling"), Qt::MatchExactly)
                              .value(0);
  ASSERT_NE(zoom, nullptr);
  emit help->Contents()->itemClicked(zoom);
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("Zoom.html"));
  EXPECT_TRUE(help->Browser()->toPlainText().contains(QStringLiteral("Ctrl")));
  auto* back = help->findChild<QAction*>(QStringLiteral("hwBack"));
  auto* forward = help->findChild<QAction*>(QStringLiteral("hwForward"));
  ASSERT_TRUE(back && forward);
  ASSERT_TRUE(back->isEnabled());
  back->trigger();
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("index.html"));
  ASSERT_TRUE(forward->isEnabled());
  forward->trigger();
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("Zoom.html"));
  help->findChild<QAction*>(QStringLiteral("hwContents"))->trigger();
  EXPECT_EQ(help->CurrentPage(), QStringLiteral("index.html"));
  help->close();
}

TEST(HelpKey, F1OpensThePageOfTheWindowInFront) {
  QWidget main;
  main.setObjectName(QStringLiteral("frmMain"));
  auto* field = new QLineEdit(&main);
  InstallHelpKey(&main);
  InstallHelpKey(&main);  // a second call adds no second handler
  EXPECT_EQ(main.findChildren<QObject*>(QStringLiteral("HelpKeyFilter")).size(), 1);
  EXPECT_EQ(HelpContextOf(nullptr), 1);

  TfrmOptions options(&main);
  PressF1(options.MapNameEdit());
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("Options.html"));
  PressF1(field);
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("MainWindow.html"));

  // Help asked for from a modal dialog must not be blocked by it: it rides
  // along as the dialog's window and stands alone again when it closes.
  options.setModal(true);
  options.show();
  ASSERT_EQ(QApplication::activeModalWidget(), &options);
  PressF1(options.MapNameEdit());
  EXPECT_EQ(HelpWindow()->parentWidget(), &options);
  EXPECT_TRUE(HelpWindow()->isVisible());
  options.hide();
  EXPECT_EQ(HelpWindow()->parentWidget(), nullptr);
  EXPECT_TRUE(HelpWindow()->isVisible());
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("Options.html"));

  // A key as the window system delivers it: to the window first.
  QDialog properties;
  properties.setProperty("HelpContext", 2);
  properties.show();
  ASSERT_TRUE(properties.windowHandle());
  QTest::keyClick(properties.windowHandle(), Qt::Key_F1);
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("MapProperties.html"));
  properties.hide();
  // F1 in the help window itself leads to the contents.
  PressF1(HelpWindow()->Browser());
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("index.html"));

  // Other keys pass through untouched.
  HelpWindow()->ShowPage(QStringLiteral("index.html"));
  QTest::keyClick(field, Qt::Key_A);
  EXPECT_EQ(field->text(), QStringLiteral("a"));
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("index.html"));
  HelpWindow()->close();
}

TEST(ApplicationIcon, HoldsEverySizeTheDesktopAsksFor) {
  const QIcon icon = ApplicationIcon();
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    EXPECT_EQ(image.size(), QSize(size, size)) << size;
    // Transparent corner, opaque middle.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
  }
}
