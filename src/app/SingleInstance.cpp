#include "SingleInstance.h"

#include "base/FileName.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QScopeGuard>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

constexpr int kConnectTimeoutMs = 1000;
// The lock is held only while a start connects or starts listening.
constexpr int kLockTimeoutMs = 10000;
// A path travels as a 32-bit length and the bytes of its name; the primary
// answers with one byte once it has handled it.
constexpr char kHandled = 'K';
constexpr quint32 kMaxPathBytes = 1 << 20;

QString UserName() {
  for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty()) return value;
  }
  return QDir::home().dirName();
}

#ifdef Q_OS_UNIX

// A folder nobody but this user can enter or change: the user's own, not a
// symbolic link, no access for group or others. Empty when it is, the
// reason otherwise.
QString FolderProblem(const QByteArray& folder) {
  struct stat details {};
  if (::lstat(folder.constData(), &details) != 0)
    return QString::fromLocal8Bit(std::strerror(errno));
  if (S_ISLNK(details.st_mode)) return QStringLiteral("it is a symbolic link");
  if (!S_ISDIR(details.st_mode)) return QStringLiteral("it is not a folder");
  if (details.st_uid != ::geteuid()) return QStringLiteral("it belongs to another user");
  if (details.st_mode & (S_IRWXG | S_IRWXO)) return QStringLiteral("other users have access to it");
  return QString();
}

bool PeerIsThisUser(const QLocalSocket& socket) {
  const int descriptor = int(socket.socketDescriptor());
#ifdef Q_OS_LINUX
  struct ucred peer {};
  socklen_t size = sizeof peer;
  if (::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
  return peer.uid == ::geteuid();
#else
  uid_t uid = 0;
  gid_t gid = 0;
  if (::getpeereid(descriptor, &uid, &gid) != 0) return false;
  return uid == ::geteuid();
#endif
}

#else

bool PeerIsThisUser(const QLocalSocket&) {
  return true;
}

#endif

// Reads one whole hand-over once it has arrived; false while bytes are
// missing.
bool ReadPath(QLocalSocket& socket, QString& path) {
  if (socket.bytesAvailable() < qint64(sizeof(quint32))) return false;
  QByteArray header = socket.peek(sizeof(quint32));
  QDataStream stream(header);
  quint32 length = 0;
  stream >> length;
  if (length > kMaxPathBytes) {
    socket.abort();
    return false;
  }
  if (socket.bytesAvailable() < qint64(sizeof(quint32) + length)) return false;
  socket.read(sizeof(quint32));
  path = DecodeFileName(socket.read(length));
  return true;
}

}  // namespace

QString InstanceServerName() {
  QString user = UserName();
  // The name becomes a file name.
  user.replace(QLatin1Char('/'), QLatin1Char('_'));
  return QStringLiteral("TessellanSynchMutexOneInst") + user;
}

TInstancePlace InstancePlace() {
  TInstancePlace place;
#ifdef Q_OS_UNIX
  QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
  if (!folder.startsWith('/') || !FolderProblem(folder).isEmpty()) {
    // The temporary folder is shared: a name another user took first
    // fails the checks below rather than being used.
    folder = EncodeFileName(QDir::tempPath()) + "/tessellan-" + QByteArray::number(::geteuid());
    if (::mkdir(folder.constData(), S_IRWXU) != 0 && errno != EEXIST) {
      place.Problem =
          QStringLiteral("the folder %1 could not be made: %2")
              .arg(DecodeFileName(folder), QString::fromLocal8Bit(std::strerror(errno)));
      return place;
    }
    const QString problem = FolderProblem(folder);
    if (!problem.isEmpty()) {
      place.Problem = QStringLiteral("the folder %1 cannot be trusted: %2")
                          .arg(DecodeFileName(folder), problem);
      return place;
    }
  }
  place.Socket = DecodeFileName(folder) + QLatin1Char('/') + InstanceServerName();
  place.Lock = place.Socket + QStringLiteral(".lock");
#else
  // Named pipes: the name alone, in the system's own name space.
  place.Socket = InstanceServerName();
  place.Lock = QDir::tempPath() + QLatin1Char('/') + InstanceServerName() + QStringLiteral(".lock");
#endif
  return place;
}

TInstanceClaim::TInstanceClaim() = default;
TInstanceClaim::TInstanceClaim(TInstanceClaim&&) noexcept = default;
TInstanceClaim& TInstanceClaim::operator=(TInstanceClaim&&) noexcept = default;
TInstanceClaim::~TInstanceClaim() = default;

TInstanceClaim ClaimInstance() {
  TInstanceClaim claim;
  const TInstancePlace place = InstancePlace();
  if (place.Socket.isEmpty()) {
    claim.Problem = place.Problem;
    return claim;
  }
  // Only one start at a time decides; a lock left by a start that died is
  // taken over.
  QLockFile lock(place.Lock);
  const bool locked = lock.tryLock(kLockTimeoutMs);

  auto socket = std::make_unique<QLocalSocket>();
  socket->connectToServer(place.Socket);
  if (socket->waitForConnected(kConnectTimeoutMs)) {
    if (!PeerIsThisUser(*socket)) {
      claim.Problem = QStringLiteral("the socket %1 belongs to another user").arg(place.Socket);
      return claim;
    }
    claim.Primary = std::move(socket);
    return claim;
  }
  // Only a name nobody answers on is free to take: a file there is left
  // over from a primary that crashed.
  const bool nobody = socket->error() == QLocalSocket::ServerNotFoundError ||
                      socket->error() == QLocalSocket::ConnectionRefusedError;
  if (!locked || !nobody) {
    claim.Problem = QStringLiteral("the socket %1 could not be reached: %2")
                        .arg(place.Socket, locked ? socket->errorString()
                                                  : QStringLiteral("another start holds its lock"));
    return claim;
  }
  QLocalServer::removeServer(place.Socket);
  auto server = std::make_unique<TInstanceServer>();
  if (!server->Listen(place)) {
    claim.Problem =
        QStringLiteral("later starts cannot hand files over: %1").arg(server->ErrorString());
    return claim;
  }
  claim.Server = std::move(server);
  return claim;
}

bool HandOver(QLocalSocket& primary, const QString& path) {
  if (path.isEmpty()) {
    primary.disconnectFromServer();
    return true;
  }
  const QByteArray bytes = EncodeFileName(AbsoluteFileName(path));
  QByteArray message;
  QDataStream stream(&message, QIODevice::WriteOnly);
  stream << quint32(bytes.size());
  message.append(bytes);
  primary.write(message);
  primary.flush();
  // However long the primary takes: it may still be starting, or a message
  // box may be waiting for the user. A primary that goes away ends the wait.
  while (primary.state() == QLocalSocket::ConnectedState && primary.bytesAvailable() == 0)
    primary.waitForReadyRead(-1);
  const bool handled = primary.bytesAvailable() > 0 && primary.read(1).at(0) == kHandled;
  primary.disconnectFromServer();
  return handled;
}

TInstanceServer::TInstanceServer(QObject* parent)
    : QObject(parent), fServer(new QLocalServer(this)) {
  connect(fServer, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

TInstanceServer::~TInstanceServer() {
  Close();
}

bool TInstanceServer::Listen(const TInstancePlace& place) {
  fLock = place.Lock;
  // No socket options: with any of them, listen() silently takes over a
  // live server's name. The folder keeps other users out.
  return fServer->listen(place.Socket);
}

QString TInstanceServer::ErrorString() const {
  return fServer->errorString();
}

void TInstanceServer::StartDelivering() {
  fDelivering = true;
  ScheduleDelivery();
}

void TInstanceServer::Close() {
  if (!fServer->isListening()) return;
  QLockFile lock(fLock);
  lock.tryLock(kLockTimeoutMs);
  fServer->close();
  fDelivering = false;
  fPending.clear();
}

void TInstanceServer::Accept() {
  while (QLocalSocket* socket = fServer->nextPendingConnection()) {
    if (!PeerIsThisUser(*socket)) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Receive(socket); });
  }
}

void TInstanceServer::Receive(QLocalSocket* socket) {
  QString path;
  while (ReadPath(*socket, path))
    fPending.push_back({path, socket});
  ScheduleDelivery();
}

void TInstanceServer::ScheduleDelivery() {
  if (!fDelivering || fHandling || fScheduled || fPending.empty()) return;
  fScheduled = true;
  QMetaObject::invokeMethod(this, &TInstanceServer::DeliverNext, Qt::QueuedConnection);
}

void TInstanceServer::DeliverNext() {
  fScheduled = false;
  if (!fDelivering || fHandling || fPending.empty()) return;
  const TPending next = fPending.front();
  fPending.pop_front();
  fHandling = true;
  // The handler may run nested event loops (message boxes) in which the
  // later start goes away, its socket with it, or even this server.
  const QPointer<TInstanceServer> self(this);
  const auto finish = qScopeGuard([&] {
    if (!self) return;
    fHandling = false;
    // A handler that failed releases the later start too.
    if (next.Sender) {
      next.Sender->write(&kHandled, 1);
      next.Sender->flush();
    }
    ScheduleDelivery();
  });
  emit FileHandedOver(next.Path);
}
