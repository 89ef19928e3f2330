// The Help menu's web command and the about box: the browser opener with
// its address rule and its message, the program's version, and the box
// itself.
#include "WindowTestSupport.h"
#include "app/HelpWindow.h"
#include "app/ProgramVersion.h"
#include "app/WebBrowser.h"
#include "app/frmAboutU.h"
#include "support/ScriptedMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Replaces the browser opener for one test and records what it was given.
class TScriptedOpener {
 public:
  explicit TScriptedOpener(bool succeeds) {
    fPrevious = SetUrlOpener([this, succeeds](const QUrl& url) {
      Opened.push_back(url);
      return succeeds;
    });
  }
  ~TScriptedOpener() { SetUrlOpener(fPrevious); }
  std::vector<QUrl> Opened;

 private:
  TUrlOpener fPrevious;
};

class TFixedSystemInfo {
 public:
  explicit TFixedSystemInfo(const QString& program) {
    fPrevious = SetSystemInfoFinder([program] { return program; });
  }
  ~TFixedSystemInfo() { SetSystemInfoFinder(fPrevious); }

 private:
  TSystemInfoFinder fPrevious;
};

}  // namespace

TEST(OpenInDefaultBrowser, KeepsFilePathsReplacesSpacesAndReportsAMissingBrowser) {
  const struct {
    const char* Address;
    const char* Opened;
  } cases[] = {
      {"https://tessellan.example.org/", "https://tessellan.example.org/"},
      {"https://tessellan.example.org/my maps.html", "https://tessellan.example.org/my_maps.html"},
      {"C:\\Maps\\My Map.htm", "C:\\Maps\\My Map.htm"},
      {"\\\\server\\share\\My Map.htm", "\\\\server\\share\\My Map.htm"},
      {"a b", "a_b"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BrowserAddress(QString::fromUtf8(c.Address)), c.Opened);

  {
    TScriptedOpener opener(true);
    OpenInDefaultBrowser(kTessellanWebAddress);
    ASSERT_EQ(opener.Opened.size(), 1u);
    EXPECT_EQ(opener.Opened[0], QUrl(QStringLiteral("https://tessellan.example.org/")));
    EXPECT_TRUE(ScriptedMessages().Shown.empty());
  }
  TScriptedOpener opener(false);
  OpenInDefaultBrowser(QStringLiteral("https://tessellan.example.org/new maps"));
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  const TMessage& box = ScriptedMessages().Shown[0];
  EXPECT_EQ(box.Text,
            QStringLiteral("The application was unable to find a default browser for the system.  "
                           "Please open a web browser and go to "
                           "https://tessellan.example.org/new_maps"));
  EXPECT_EQ(box.Caption, QStringLiteral("Unable to Find Browser"));
  EXPECT_EQ(box.Icon, TMsgIcon::Warning);
  EXPECT_EQ(box.Buttons, mbOK);
  EXPECT_EQ(box.Owner, nullptr);
}

TEST(OpenInDefaultBrowser, TheDesktopsOpenerHearsALauncherThatFindsNoBrowser) {
  // The desktop's launcher, as found on the path: it notes the address and
  // ends as the case says.
  QTemporaryDir bin;
  ASSERT_TRUE(bin.isValid());
  const QString notes = bin.filePath(QStringLiteral("opened"));
  QFile launcher(bin.filePath(QStringLiteral("xdg-open")));
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(bin.path()));
  const TUrlOpener previous = SetUrlOpener({});

  const struct {
    const char* Ending;
    bool Found;
  } cases[] = {
      {"exit 3", false},  // xdg-open: no program for the address
      {"exit 0", true},
      // Still running after a while: it waits for the browser it started.
      {"exec /bin/sleep 5", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Ending);
    ScriptedMessages().Shown.clear();
    QFile::remove(notes);
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly | QIODevice::Truncate));
    launcher.write("#!/bin/sh\necho \"$1\" > '" + QFile::encodeName(notes) + "'\n" + c.Ending +
                   "\n");
    launcher.close();
    launcher.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    OpenInDefaultBrowser(kTessellanWebAddress);
    QFile noted(notes);
    ASSERT_TRUE(noted.open(QIODevice::ReadOnly)) << "the launcher did not run";
    EXPECT_EQ(noted.readAll(), "https://tessellan.example.org/\n");
    ASSERT_EQ(ScriptedMessages().Shown.size(), c.Found ? 0u : 1u);
    if (!c.Found) {
      EXPECT_EQ(ScriptedMessages().Shown[0].Caption, QStringLiteral("Unable to Find Browser"));
    }
  }
  SetUrlOpener(previous);
  qputenv("PATH", oldPath);
}

TEST(GetFileVersionText, NamesTheVersionOfTheProgramFileOnly) {
  const QString program = QCoreApplication::applicationFilePath();
  EXPECT_EQ(GetFileVersionText(program), QStringLiteral("1.0.3.220"));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Another name for the same file is the same file.
  const QString link = dir.filePath(QStringLiteral("alias"));
  ASSERT_TRUE(QFile::link(program, link));
  EXPECT_EQ(GetFileVersionText(link), QStringLiteral("1.0.3.220"));
  const QString copy = dir.filePath(QStringLiteral("copy"));
  ASSERT_TRUE(QFile::copy(program, copy));
  EXPECT_EQ(GetFileVersionText(copy), QString());
  EXPECT_EQ(GetFileVersionText(dir.filePath(QStringLiteral("missing"))), QString());
  EXPECT_EQ(GetFileVersionText(QString()), QString());
}

TEST(AboutBox, ShowsVersionLinkAndButtonsAndOKTakesTheFreePlace) {
  QWidget main;
  main.setGeometry(100, 100, 700, 500);
  main.show();

  TFixedSystemInfo withTool(QStringLiteral("/bin/true"));
  TfrmAbout about(&main);
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Tessellan"));
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(about.isModal());
  EXPECT_EQ(about.property("HelpContext").toInt(), 9);
  EXPECT_EQ(about.VersionLabel()->text(), QStringLiteral("Version 1.0.3.220"));
  EXPECT_EQ(about.WebLink()->text(), kTessellanWebAddress);
  EXPECT_EQ(about.WebLink()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(about.OKButton()->isDefault());
  EXPECT_EQ(about.SystemInfoButton()->text(), QStringLiteral("System Info"));
  EXPECT_EQ(about.TechSupportButton()->text(), QStringLiteral("Tech Support"));
  about.show();
  EXPECT_EQ(about.geometry().center(), main.frameGeometry().center());
  EXPECT_TRUE(about.SystemInfoButton()->isVisible());
  const QRect systemInfoPlace = about.SystemInfoButton()->geometry();

  // The link opens the web site, or says where to go.
  {
    TScriptedOpener opener(false);
    QTest::mouseClick(about.WebLink(), Qt::LeftButton);
    ASSERT_EQ(opener.Opened.size(), 1u);
    EXPECT_EQ(opener.Opened[0], QUrl(kTessellanWebAddress));
    ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
    EXPECT_EQ(ScriptedMessages().Shown[0].Caption, QStringLiteral("Unable to Find Browser"));
  }
  QTest::mouseClick(about.TechSupportButton(), Qt::LeftButton);
  EXPECT_EQ(HelpWindow()->CurrentPage(), QStringLiteral("TechnicalSupport.html"));
  HelpWindow()->close();
  QTest::mouseClick(about.OKButton(), Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);

  // Without a system information program the button is gone and OK sits
  // where it was.
  TFixedSystemInfo without{QString()};
  TfrmAbout plain(&main);
  plain.show();
  EXPECT_FALSE(plain.SystemInfoButton()->isVisible());
  EXPECT_EQ(plain.OKButton()->geometry(), systemInfoPlace);
}
