#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running editor per user. The first start becomes the primary and
// listens on a local socket private to the user; a later start connects to
// it, hands over its file argument (an absolute path, resolved where it was
// typed) and waits until the primary has handled it before it ends. A start
// whose socket is left over from a crashed primary finds nobody answering,
// removes it and becomes the primary.

// The socket's name: "TessellanSynchMutexOneInst" and the user's name.
QString InstanceServerName();

// Connects to a running primary. Without one, returns false at once. With
// one, hands over the path (nothing when it is empty), waits until the
// primary has handled it and returns true.
bool ForwardToPrimary(const QString& path);

// The primary's end: listens for later starts and reports each path handed
// over; the later start is released when the handler of FileHandedOver
// returns, message boxes it showed included.
class TInstanceServer : public QObject {
  Q_OBJECT

 public:
  explicit TInstanceServer(QObject* parent = nullptr);
  ~TInstanceServer() override;

  // Removes a left-over socket and listens; false when that fails (the
  // program then runs without taking hand-overs).
  bool Listen();
  QString ErrorString() const;

 signals:
  void FileHandedOver(const QString& path);

 private:
  void Accept();

  QLocalServer* fServer;
};
