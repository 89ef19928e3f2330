#include "Tmpfs.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

TTmpfs::TTmpfs(const QString& size) {
  if (geteuid() != 0) {
    fSkip = QStringLiteral("mounting a tmpfs needs root");
    return;
  }
  fMounted = QProcess::execute(
                 QStringLiteral("mount"),
                 {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                  QStringLiteral("size=") + size, QStringLiteral("tmpfs"), fDir.path()}) == 0;
  if (!fMounted) fSkip = QStringLiteral("no tmpfs can be mounted here");
}

TTmpfs::~TTmpfs() {
  if (fMounted) QProcess::execute(QStringLiteral("umount"), {fDir.path()});
}

void TTmpfs::Fill() const {
  QFile filler(QDir(fDir.path()).filePath(QStringLiteral("filler")));
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
  const QByteArray block(4096, 'f');
  while (filler.write(block) == block.size()) {
  }
}

bool TTmpfs::RemountReadOnly() const {
  return QProcess::execute(QStringLiteral("mount"),
                           {QStringLiteral("-o"), QStringLiteral("remount,ro"), fDir.path()}) == 0;
}
