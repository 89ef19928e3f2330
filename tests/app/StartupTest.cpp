// Start-up with real second processes: a later start hands its file to the
// running editor and waits for it, a start without a file ends at once, a
// start after a killed primary becomes the primary; and print mode's error.
#include "WindowTestSupport.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/frmSplash.h"
#include "map/TileMapObjects.h"
#include "support/ScriptedMessages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QTabBar>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(TESSELLAN_BINARY_DIR "/tessellan");

// Each test gets its own temporary folder, which is where the instance
// socket lives, so tests running side by side never meet.
class TStartupTest : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    fOldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
  }
  void TearDown() override {
    qputenv("TMPDIR", fOldTemp);
    TWindowTest::TearDown();
  }

  // The program started in a folder (its environment is this process's).
  std::unique_ptr<QProcess> Start(const QStringList& arguments, const QString& folder) {
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(folder);
    process->start(kProgram, arguments);
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
  }

  // Runs the event loop until the process ends; false after timeoutMs.
  static bool AwaitEnd(QProcess& process, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs)
      QTest::qWait(20);
    return process.state() == QProcess::NotRunning;
  }

  void SaveMapAs(const QString& path) {
    dialogs->Answers = {path};
    Run("faSaveAs");
    ASSERT_EQ(window->CurrentMap()->FileName(), path);
  }

 private:
  QByteArray fOldTemp;
};

}  // namespace

TEST_F(TStartupTest, LaterStartsHandTheirFileOverAndWaitUntilItIsOpen) {
  // Any characters and any length travel: blanks, accents, other scripts,
  // and a path far longer than a socket name may be.
  const QString folder = QStringLiteral("Karten für Höhlen 地図 ") + QString(160, QLatin1Char('x'));
  ASSERT_TRUE(QDir(temp.path()).mkdir(folder));
  const QString path = temp.filePath(folder + QStringLiteral("/Crypt.tqm"));
  SaveMapAs(path);
  Run("faNewMap");
  ASSERT_EQ(window->MapTabs()->count(), 2);

  TInstanceServer server;
  ASSERT_TRUE(server.Listen()) << server.ErrorString().toStdString();
  QObject::connect(&server, &TInstanceServer::FileHandedOver, window.get(),
                   [this](const QString& handed) { window->WMCopyData(handed); });
  std::vector<std::pair<QString, bool>> handled;  // path, forwarder still waiting
  QProcess* forwarder = nullptr;
  QObject::connect(&server, &TInstanceServer::FileHandedOver, window.get(),
                   [&](const QString& handed) {
                     handled.emplace_back(handed, forwarder->state() == QProcess::Running);
                   });

  // A relative path counts from the folder it was typed in; the file that is
  // already open moves to the last tab.
  auto later = Start({QStringLiteral("Crypt.tqm")}, temp.filePath(folder));
  forwarder = later.get();
  ASSERT_TRUE(AwaitEnd(*later, 30000));
  EXPECT_EQ(later->exitCode(), 0) << later->readAllStandardError().toStdString();
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_EQ(handled[0].first, path);
  EXPECT_TRUE(handled[0].second) << "the later start ended before the file was open";
  ASSERT_EQ(window->MapTabs()->count(), 2);
  EXPECT_EQ(window->MapTabs()->currentIndex(), 1);
  EXPECT_EQ(window->CurrentMap()->FileName(), path);

  // Without a file the later start ends at once and hands nothing over.
  auto empty = Start({}, temp.path());
  forwarder = empty.get();
  ASSERT_TRUE(AwaitEnd(*empty, 10000));
  EXPECT_EQ(empty->exitCode(), 0);
  EXPECT_EQ(handled.size(), 1u);

  // A path the primary cannot open is reported there; the later start is
  // released all the same.
  const QString missing = temp.filePath(QStringLiteral("No Such Map.tqm"));
  auto failing = Start({missing}, temp.path());
  forwarder = failing.get();
  ASSERT_TRUE(AwaitEnd(*failing, 30000));
  EXPECT_EQ(failing->exitCode(), 0);
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Text,
            QStringLiteral("The file ") + missing +
                QStringLiteral(" could not be found or does not exist."));
  EXPECT_EQ(window->MapTabs()->count(), 2);
}

TEST_F(TStartupTest, AStartAfterAKilledPrimaryBecomesThePrimary) {
  auto primary = Start({}, temp.path());
  const QString socket = QDir(temp.path()).filePath(InstanceServerName());
  QElapsedTimer clock;
  clock.start();
  while (!QFile::exists(socket) && clock.elapsed() < 30000)
    QTest::qWait(20);
  ASSERT_TRUE(QFile::exists(socket)) << "the first start never listened";
  primary->kill();
  ASSERT_TRUE(primary->waitForFinished(10000));
  ASSERT_TRUE(QFile::exists(socket)) << "a killed primary leaves its socket behind";

  EXPECT_FALSE(ForwardToPrimary(QString()));
  TInstanceServer server;
  ASSERT_TRUE(server.Listen()) << server.ErrorString().toStdString();
  QStringList handed;
  QObject::connect(&server, &TInstanceServer::FileHandedOver,
                   [&](const QString& path) { handed << path; });
  auto later = Start({QStringLiteral("Any.tqm")}, temp.path());
  ASSERT_TRUE(AwaitEnd(*later, 30000));
  EXPECT_EQ(handed, QStringList{temp.filePath(QStringLiteral("Any.tqm"))});
}

TEST_F(TStartupTest, PrintModeReportsAMissingFile) {
  const QString missing = temp.filePath(QStringLiteral("Gone.tqm"));
  EXPECT_EQ(RunTessellan({QStringLiteral("/p"), missing}), 1);
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  const TMessage& box = ScriptedMessages().Shown[0];
  EXPECT_EQ(box.Text, QStringLiteral("The application was unable to print the map. Error "
                                     "Message: The file ") +
                          missing + QStringLiteral(" could not be found or does not exist."));
  EXPECT_EQ(box.Caption, QStringLiteral("Unable to Print Map"));
  EXPECT_EQ(box.Icon, TMsgIcon::Warning);
  EXPECT_TRUE(IsPrintSwitch(QStringLiteral("/P")));
  EXPECT_FALSE(IsPrintSwitch(QStringLiteral("/Print")));
}

TEST(Splash, ShowsTheProgressTextWhereItsPictureLeavesRoom) {
  TfrmSplash splash;
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash.ProgressLabel()->pos(), QPoint(7, 215));
  splash.show();
  splash.SplashProgress(QStringLiteral("Loading Tileset: Walls.wls"));
  EXPECT_EQ(splash.ProgressLabel()->text(), QStringLiteral("Loading Tileset: Walls.wls"));
  // The text is drawn over the picture, not on a box of its own.
  const QImage shot = splash.grab().toImage();
  EXPECT_NE(shot.pixelColor(300, 100), shot.pixelColor(300, 300));
}
