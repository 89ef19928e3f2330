#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <memory>

class QLocalServer;
class QLocalSocket;
class TInstanceServer;

// One running editor per user. The first start becomes the primary and
// listens on a local socket in a folder that only the user can enter; a
// later start connects to it, hands over its file argument (an absolute
// path, resolved where it was typed) and waits until the primary has handled
// it before it ends. Either end talks only to a peer of the same user.
// Which of the two a start becomes is decided under a lock file, so that
// starts at the same moment can neither both listen nor remove each other's
// socket; a socket left over from a crashed primary answers nobody and is
// replaced.

// The socket's name: "TessellanSynchMutexOneInst" and the user's name.
QString InstanceServerName();

// Where the socket and its lock live. The folder is XDG_RUNTIME_DIR when it
// is the user's own and closed to everybody else, otherwise
// "tessellan-<uid>" in the temporary folder, made so. When no folder can be
// trusted, Socket is empty and Problem says why.
struct TInstancePlace {
  QString Socket;
  QString Lock;
  QString Problem;
};
TInstancePlace InstancePlace();

// How this start runs: connected to the primary (hand the file over and
// end), listening (this start is the primary), or neither (the start runs on
// its own and Problem says why).
struct TInstanceClaim {
  std::unique_ptr<QLocalSocket> Primary;
  std::unique_ptr<TInstanceServer> Server;
  QString Problem;

  TInstanceClaim();
  TInstanceClaim(TInstanceClaim&&) noexcept;
  TInstanceClaim& operator=(TInstanceClaim&&) noexcept;
  ~TInstanceClaim();
};
TInstanceClaim ClaimInstance();

// Hands the path over to the primary (nothing when it is empty) and waits,
// however long that takes, until the primary has handled it. False when the
// primary went away before.
bool HandOver(QLocalSocket& primary, const QString& path);

// The primary's end. Hand-overs wait until StartDelivering; from then on
// each is reported by FileHandedOver, one at a time and in the order they
// arrived, from the event loop (never inside the socket's own signals, as a
// handler's message box may outlive the socket). The later start is released
// when the handler returns, message boxes it showed included. Closing (or
// destroying) the server drops hand-overs not yet reported: their later
// starts find nobody and start the editor themselves.
class TInstanceServer : public QObject {
  Q_OBJECT

 public:
  explicit TInstanceServer(QObject* parent = nullptr);
  ~TInstanceServer() override;

  // Listens on the socket of the place, which must be free; false when that
  // fails (see ErrorString).
  bool Listen(const TInstancePlace& place);
  QString ErrorString() const;
  void StartDelivering();
  // Stops listening, under the lock, so that a start deciding at the same
  // moment never has its new socket removed by this one's going.
  void Close();

 signals:
  void FileHandedOver(const QString& path);

 private:
  struct TPending {
    QString Path;
    QPointer<QLocalSocket> Sender;
  };

  void Accept();
  void Receive(QLocalSocket* socket);
  void ScheduleDelivery();
  void DeliverNext();

  QLocalServer* fServer;
  QString fLock;
  std::deque<TPending> fPending;
  bool fDelivering = false;
  bool fHandling = false;
  bool fScheduled = false;
};
