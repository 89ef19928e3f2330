#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A path travels as a 32-bit length and its UTF-8 bytes; the primary answers
// with one byte once it has handled it.
constexpr char kHandled = 'K';
constexpr quint32 kMaxPathBytes = 1 << 20;

QString UserName() {
  for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty()) return value;
  }
  return QDir::home().dirName();
}

// Reads a whole hand-over once it has arrived; false while bytes are missing.
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
  path = QString::fromUtf8(socket.read(length));
  return true;
}

}  // namespace

QString InstanceServerName() {
  QString user = UserName();
  // The name becomes a file name in the temporary folder.
  user.replace(QLatin1Char('/'), QLatin1Char('_'));
  return QStringLiteral("TessellanSynchMutexOneInst") + user;
}

bool ForwardToPrimary(const QString& path) {
  QLocalSocket socket;
  socket.connectToServer(InstanceServerName());
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  if (!path.isEmpty()) {
    const QByteArray bytes = QFileInfo(path).absoluteFilePath().toUtf8();
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << quint32(bytes.size());
    message.append(bytes);
    socket.write(message);
    socket.flush();
    // However long the primary takes (a message box may be waiting for the
    // user); a primary that goes away ends the wait too.
    while (socket.state() == QLocalSocket::ConnectedState && socket.bytesAvailable() == 0)
      socket.waitForReadyRead(-1);
  }
  socket.disconnectFromServer();
  return true;
}

TInstanceServer::TInstanceServer(QObject* parent)
    : QObject(parent), fServer(new QLocalServer(this)) {
  connect(fServer, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

TInstanceServer::~TInstanceServer() = default;

bool TInstanceServer::Listen() {
  const QString name = InstanceServerName();
  // Only called once nobody answered on the name: a socket file still there
  // is left over from a primary that crashed.
  QLocalServer::removeServer(name);
  fServer->setSocketOptions(QLocalServer::UserAccessOption);
  return fServer->listen(name);
}

QString TInstanceServer::ErrorString() const {
  return fServer->errorString();
}

void TInstanceServer::Accept() {
  while (QLocalSocket* socket = fServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      QString path;
      if (!ReadPath(*socket, path)) return;
      // The handler may run nested event loops (message boxes), in which a
      // forwarder that went away has its socket deleted.
      const QPointer<QLocalSocket> alive(socket);
      const auto release = [&alive] {
        if (!alive) return;
        alive->write(&kHandled, 1);
        alive->flush();
      };
      // A handler that fails still releases the later start.
      try {
        emit FileHandedOver(path);
      } catch (...) {
        release();
        throw;
      }
      release();
    });
  }
}
