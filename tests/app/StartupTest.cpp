// Start-up with real second processes: a later start hands its file to the
// running editor and waits for it, a start without a file ends at once, a
// start after a killed primary becomes the primary, starts at the same
// moment give one editor with every file; the socket is private to the user;
// and print mode's error.
#include "WindowTestSupport.h"
#include "app/Application.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/frmSplash.h"
#include "base/FileName.h"
#include "map/TileMapObjects.h"
#include "support/RunProgram.h"
#include "support/ScriptedMessages.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QTabBar>
#include <QTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>

namespace {

const QString kProgram = QStringLiteral(TESSELLAN_BINARY_DIR "/tessellan");

// Each test gets its own runtime, temporary and settings folders, so tests
// running side by side never meet.
class TStartupTest : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CONFIG_HOME"}) {
      const QString folder = temp.filePath(QString::fromLatin1(name));
      ASSERT_TRUE(QDir().mkpath(folder));
      ASSERT_TRUE(QFile::setPermissions(
          folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
      fSaved.emplace_back(name, qgetenv(name));
      qputenv(name, QFile::encodeName(folder));
    }
    runtime = temp.filePath(QStringLiteral("XDG_RUNTIME_DIR"));
    tmp = temp.filePath(QStringLiteral("TMPDIR"));
  }
  void TearDown() override {
    ScriptedMessages().WhileShown = nullptr;
    for (const auto& [name, value] : fSaved)
      value.isNull() ? qunsetenv(name) : qputenv(name, value);
    TWindowTest::TearDown();
  }

  // The program started in a folder (its environment is this process's).
  std::unique_ptr<QProcess> Start(const QStringList& arguments, const QString& folder) {
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(folder);
    StartProgram(*process, kProgram, arguments);
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
  }

  // Runs the event loop until the condition holds; false after timeoutMs.
  static bool Await(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < timeoutMs)
      QTest::qWait(20);
    return condition();
  }
  static bool AwaitEnd(QProcess& process, int timeoutMs) {
    return Await([&process] { return process.state() == QProcess::NotRunning; }, timeoutMs);
  }
  // Waits until the process has written the text to stderr.
  static bool AwaitError(QProcess& process, const QByteArray& text) {
    QByteArray written;
    const bool found = Await(
        [&] {
          written += process.readAllStandardError();
          return written.contains(text);
        },
        30000);
    EXPECT_TRUE(found) << written.constData();
    return found;
  }

  // This test program as the primary, its window taking the hand-overs.
  std::unique_ptr<TInstanceServer> BecomePrimary() {
    TInstanceClaim claim = ClaimInstance();
    EXPECT_FALSE(claim.Primary);
    EXPECT_TRUE(claim.Server) << claim.Problem.toStdString();
    if (claim.Server)
      QObject::connect(claim.Server.get(), &TInstanceServer::FileHandedOver, window.get(),
                       Guarded([this](const QString& path) { window->WMCopyData(path); }));
    return std::move(claim.Server);
  }

  void SaveMapAs(const QString& path) {
    dialogs->Answers = {path};
    Run("faSaveAs");
    ASSERT_EQ(window->CurrentMap()->FileName(), path);
  }

  QString runtime;
  QString tmp;

 private:
  std::vector<std::pair<const char*, QByteArray>> fSaved;
};

QByteArray FileBytes(const QString& path) {
  QFile file;
  QString error;
  EXPECT_TRUE(OpenExistingFile(file, path, QIODevice::ReadOnly, error)) << error.toStdString();
  return file.readAll();
}

// Runs a child process as another user (nobody) until it returns its exit
// code; only root can do that.
pid_t RunAsNobody(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
    ::_exit(body());
  }
  return child;
}

sockaddr_un SocketAddress(const QString& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray bytes = EncodeFileName(path);
  std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
  return address;
}

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

  const std::unique_ptr<TInstanceServer> server = BecomePrimary();
  ASSERT_TRUE(server);
  std::vector<std::pair<QString, bool>> handled;  // path, forwarder still waiting
  QProcess* forwarder = nullptr;
  QObject::connect(server.get(), &TInstanceServer::FileHandedOver, window.get(),
                   [&](const QString& handed) {
                     handled.emplace_back(handed, forwarder->state() == QProcess::Running);
                   });
  server->StartDelivering();

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

  // A name that is not UTF-8 (Latin-1 here) travels as its bytes and opens.
  const QString cave = DecodeFileName(QFile::encodeName(temp.path()) + "/H\xf6hle.tqm");
  const QByteArray saved = FileBytes(path);
  QFile copy;
  ASSERT_TRUE(
      copy.open(::open(EncodeFileName(cave).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644),
                QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
  copy.write(saved);
  copy.close();
  auto raw = Start({DecodeFileName("H\xf6hle.tqm")}, temp.path());
  forwarder = raw.get();
  ASSERT_TRUE(AwaitEnd(*raw, 30000));
  ASSERT_EQ(handled.size(), 3u);
  EXPECT_EQ(handled[2].first, cave);
  ASSERT_EQ(window->MapTabs()->count(), 3);
  EXPECT_EQ(window->CurrentMap()->FileName(), cave);

  // Saving it asks for a name (Qt could only write another file), and the
  // file it came from stays as it was.
  window->CurrentMap()->SetModified(true);
  const QString renamed = temp.filePath(QStringLiteral("Höhle.tqm"));
  dialogs->Answers = {renamed};
  Run("faSave");
  ASSERT_EQ(dialogs->Requests.size(), 2u);
  EXPECT_EQ(dialogs->Requests[1].Kind, TFileDialogRequest::Save);
  EXPECT_EQ(dialogs->Requests[1].FileName, QStringLiteral("Crypt.tqm"));
  EXPECT_EQ(window->CurrentMap()->FileName(), renamed);
  EXPECT_EQ(FileBytes(cave), saved);
  EXPECT_FALSE(window->CurrentMap()->Modified());
}

TEST_F(TStartupTest, AStartAfterAKilledPrimaryBecomesThePrimaryAndHandOversWaitForItsWindow) {
  auto primary = Start({}, temp.path());
  const QString socket = InstancePlace().Socket;
  ASSERT_TRUE(socket.startsWith(runtime + QLatin1Char('/'))) << socket.toStdString();
  ASSERT_TRUE(Await([&] { return QFile::exists(socket); }, 30000))
      << "the first start never listened";
  primary->kill();
  ASSERT_TRUE(primary->waitForFinished(10000));
  ASSERT_TRUE(QFile::exists(socket)) << "a killed primary leaves its socket behind";

  // This start takes over; while it "loads its tilesets" a later start
  // hands a file over and waits, unanswered, until the window is up.
  const std::unique_ptr<TInstanceServer> server = BecomePrimary();
  ASSERT_TRUE(server);
  QStringList handed;
  QObject::connect(server.get(), &TInstanceServer::FileHandedOver,
                   [&](const QString& path) { handed << path; });
  auto later = Start({QStringLiteral("Any.tqm")}, temp.path());
  EXPECT_FALSE(AwaitEnd(*later, 1500)) << later->readAllStandardError().toStdString();
  EXPECT_TRUE(handed.isEmpty());

  server->StartDelivering();
  ASSERT_TRUE(AwaitEnd(*later, 30000));
  EXPECT_EQ(later->exitCode(), 0);
  EXPECT_EQ(handed, QStringList{temp.filePath(QStringLiteral("Any.tqm"))});
}

TEST_F(TStartupTest, AForwarderThatGoesAwayWhileItsFileIsReportedLeavesThePrimaryWhole) {
  const std::unique_ptr<TInstanceServer> server = BecomePrimary();
  ASSERT_TRUE(server);
  server->StartDelivering();
  // The missing file's message box is open when the later start is killed:
  // its socket goes in the box's event loop.
  std::unique_ptr<QProcess> forwarder;
  bool socketGone = false;
  ScriptedMessages().WhileShown = [&](const TMessage&) {
    const auto sockets = server->findChildren<QLocalSocket*>();
    ASSERT_EQ(sockets.size(), 1);
    const QPointer<QLocalSocket> socket(sockets[0]);
    forwarder->kill();
    socketGone = Await([&socket] { return socket.isNull(); }, 10000);
  };
  forwarder = Start({temp.filePath(QStringLiteral("Missing.tqm"))}, temp.path());
  ASSERT_TRUE(Await([] { return !ScriptedMessages().Shown.empty(); }, 30000));
  EXPECT_TRUE(socketGone);
  ScriptedMessages().WhileShown = nullptr;

  // The primary still serves the next start.
  const QString path = temp.filePath(QStringLiteral("Next.tqm"));
  SaveMapAs(path);
  Run("faNewMap");
  auto next = Start({path}, temp.path());
  ASSERT_TRUE(AwaitEnd(*next, 30000));
  EXPECT_EQ(next->exitCode(), 0);
  EXPECT_EQ(window->CurrentMap()->FileName(), path);
}

TEST_F(TStartupTest, StartsAtTheSameMomentGiveOneEditorWithEveryFile) {
  // The editor's reading of each map is seen by the system.
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  const QStringList maps = {temp.filePath(QStringLiteral("a.tqm")),
                            temp.filePath(QStringLiteral("b.tqm"))};
  std::map<int, QString> watched;
  for (const QString& path : maps) {
    ASSERT_TRUE(TTileMap().SaveToFile(path));
    watched[inotify_add_watch(watch, QFile::encodeName(path).constData(), IN_OPEN)] = path;
  }
  QSet<QString> opened;
  const auto readEvents = [&] {
    alignas(inotify_event) char buffer[4096];
    ssize_t size = 0;
    while ((size = ::read(watch, buffer, sizeof buffer)) > 0)
      for (char* at = buffer; at < buffer + size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        opened.insert(watched[event->wd]);
        at += sizeof(inotify_event) + event->len;
      }
  };

  std::vector<std::unique_ptr<QProcess>> starts;
  starts.push_back(Start({maps[0]}, temp.path()));
  starts.push_back(Start({maps[1]}, temp.path()));
  starts.push_back(Start({}, temp.path()));
  const auto running = [&starts] {
    return std::count_if(starts.begin(), starts.end(),
                         [](const auto& start) { return start->state() != QProcess::NotRunning; });
  };
  EXPECT_TRUE(Await(
      [&] {
        readEvents();
        return opened.size() == 2 && running() == 1;
      },
      60000))
      << "maps read: " << opened.size() << ", starts running: " << running();
  ::close(watch);
  for (const auto& start : starts)
    if (start->state() == QProcess::NotRunning) {
      EXPECT_EQ(start->exitCode(), 0) << start->readAllStandardError().toStdString();
    }

  // The one editor answers the next start.
  auto next = Start({}, temp.path());
  EXPECT_TRUE(AwaitEnd(*next, 10000));
  EXPECT_EQ(running(), 1);
  for (const auto& start : starts) {
    start->kill();
    start->waitForFinished();
  }
}

TEST_F(TStartupTest, TheSocketIsPrivateAndAStartThatCannotTrustItStillOpensTheEditor) {
  EXPECT_EQ(InstancePlace().Socket, runtime + QLatin1Char('/') + InstanceServerName());
  // A runtime folder others may enter is passed over for a folder of the
  // user's own in the temporary folder.
  const QString own = tmp + QStringLiteral("/tessellan-") + QString::number(::geteuid());
  ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), 0777), 0);
  EXPECT_EQ(InstancePlace().Socket, own + QLatin1Char('/') + InstanceServerName());
  struct stat details {};
  ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &details), 0);
  EXPECT_TRUE(S_ISDIR(details.st_mode));
  EXPECT_EQ(details.st_mode & 0777, 0700u);
  EXPECT_EQ(details.st_uid, ::geteuid());
  ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), 0700), 0);

  // Whoever listens on the name in the shared temporary folder hears
  // nothing: the start becomes the editor, which a start after it reaches.
  const QString plans = temp.filePath(QStringLiteral("Secret Plans.tqm"));
  ASSERT_TRUE(TTileMap().SaveToFile(plans));
  QLocalServer squatter;
  ASSERT_TRUE(squatter.listen(tmp + QLatin1Char('/') + InstanceServerName()));
  auto editor = Start({plans}, temp.path());
  ASSERT_TRUE(Await([] { return QFile::exists(InstancePlace().Socket); }, 30000));
  auto next = Start({}, temp.path());
  EXPECT_TRUE(AwaitEnd(*next, 10000));
  EXPECT_FALSE(squatter.hasPendingConnections());
  EXPECT_EQ(editor->state(), QProcess::Running);
  editor->kill();
  editor->waitForFinished();

  // A folder in the temporary folder that someone else prepared (a link to
  // a folder anybody may write) is not trusted; the start still opens the
  // editor and says why it runs on its own.
  qunsetenv("XDG_RUNTIME_DIR");
  ASSERT_TRUE(QDir(own).removeRecursively());
  const QString open = tmp + QStringLiteral("/open");
  ASSERT_TRUE(QDir().mkpath(open));
  ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0777), 0);
  ASSERT_TRUE(QFile::link(open, own));
  EXPECT_NE(InstancePlace().Problem, QString());
  auto alone = Start({plans}, temp.path());
  EXPECT_TRUE(AwaitError(*alone, "Tessellan: runs on its own: the folder " +
                                     QFile::encodeName(own) +
                                     " cannot be trusted: it is a symbolic link"));
  EXPECT_FALSE(AwaitEnd(*alone, 1000)) << "the start ended without an editor";
  EXPECT_TRUE(QDir(open).isEmpty());
  alone->kill();
  alone->waitForFinished();
}

TEST_F(TStartupTest, NeitherEndTrustsAPeerOfAnotherUser) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can run a peer as another user";
  // A primary of another user on the socket (root let it in): the start
  // hands nothing over and opens the editor itself.
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_un address = SocketAddress(InstancePlace().Socket);
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  const pid_t foreign = RunAsNobody([&] {
    // Says it listens, then how many bytes its first caller sent.
    if (::listen(listener, 4) != 0 || ::write(report[1], "L", 1) != 1) return 1;
    const int caller = ::accept(listener, nullptr, nullptr);
    char buffer[256];
    ssize_t total = 0;
    for (ssize_t got = 0; (got = ::read(caller, buffer, sizeof buffer)) > 0;)
      total += got;
    return ::write(report[1], &total, sizeof total) == sizeof total ? 0 : 1;
  });
  ::close(listener);
  ::close(report[1]);
  char listening = 0;
  ASSERT_EQ(::read(report[0], &listening, 1), 1);
  const QString plans = temp.filePath(QStringLiteral("Secret Plans.tqm"));
  ASSERT_TRUE(TTileMap().SaveToFile(plans));
  auto start = Start({plans}, temp.path());
  EXPECT_TRUE(AwaitError(*start, "belongs to another user"));
  ssize_t received = -1;
  ASSERT_EQ(::read(report[0], &received, sizeof received), ssize_t(sizeof received));
  EXPECT_EQ(received, 0);
  EXPECT_FALSE(AwaitEnd(*start, 1000)) << "the start ended without an editor";
  start->kill();
  start->waitForFinished();
  ::waitpid(foreign, nullptr, 0);
  ::close(report[0]);

  // The primary's end: a caller of another user hands nothing over, here
  // on a socket anybody may reach (in the system's shared folder, as this
  // test's folders are closed to others).
  QTemporaryDir open(QStringLiteral("/tmp/tessellan-peer-XXXXXX"));
  ASSERT_TRUE(open.isValid());
  ASSERT_EQ(::chmod(QFile::encodeName(open.path()).constData(), 0755), 0);
  TInstanceServer server;
  const TInstancePlace place{
      open.filePath(QStringLiteral("socket")), open.filePath(QStringLiteral("lock")), {}};
  ASSERT_TRUE(server.Listen(place));
  ASSERT_EQ(::chmod(QFile::encodeName(place.Socket).constData(), 0777), 0);
  QStringList handed;
  QObject::connect(&server, &TInstanceServer::FileHandedOver,
                   [&](const QString& path) { handed << path; });
  server.StartDelivering();
  const sockaddr_un serverAddress = SocketAddress(place.Socket);
  const pid_t caller = RunAsNobody([&] {
    const int connection = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(connection, reinterpret_cast<const sockaddr*>(&serverAddress),
                  sizeof serverAddress) != 0)
      return 2;
    const char message[] = {0, 0, 0, 11, '/', 'e', 't', 'c', '/', 'p', 'a', 's', 's', 'w', 'd'};
    if (::write(connection, message, sizeof message) != sizeof message) return 3;
    // Closed without the answer of a handled file.
    char answer = 0;
    return ::read(connection, &answer, 1) == 1 ? 4 : 0;
  });
  int status = -1;
  bool ended = false;
  ASSERT_TRUE(
      Await([&] { return ended = ended || ::waitpid(caller, &status, WNOHANG) == caller; }, 10000));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  QTest::qWait(100);
  EXPECT_TRUE(handed.isEmpty());
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
