#include "SettingsFile.h"

#include "SettingsStore.h"
#include "base/Error.h"
#include "storage/CompoundFile.h"
#include "storage/WriteAsideFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Every key with its value as text: the store holds only texts and whole
// numbers, which read back from the file as texts.
QMap<QString, QString> Snapshot(QSettings& store) {
  QMap<QString, QString> values;
  for (const QString& key : store.allKeys())
    values.insert(key, store.value(key).toString());
  return values;
}

// QSettings keeps what it read of a file and reads it again only when the
// file's size or modification time (in milliseconds) differs; a replacement
// of the same size made within the clock's tick would go unseen by the
// stores opened after it. So the new file is given a later time than the
// one it replaced.
void MarkNewerThan(const QString& path, const QDateTime& previous) {
  if (!previous.isValid() || QFileInfo(path).lastModified() > previous) return;
  const qint64 ms = previous.toMSecsSinceEpoch() + 1;
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = time_t(ms / 1000);
  times[1].tv_nsec = long(ms % 1000) * 1000000;
  ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

// The bytes of the settings file with the change made, checked by reading
// them back. The private copies live in a temporary folder; a failure there
// names the settings file with its reason.
QByteArray ChangedSettings(const QString& path, bool existed,
                           const std::function<void(QSettings&)>& change) {
  try {
    QTemporaryDir work;
    if (!work.isValid()) throw TFileWriteError(path, work.errorString());
    const QString draft = work.filePath(QStringLiteral("draft.ini"));
    WriteFileAside(draft, existed ? ReadFileBytes(path, TOpenMode::Read) : QByteArray());
    QMap<QString, QString> meant;
    {
      QSettings store(draft, QSettings::IniFormat);
      change(store);
      store.sync();
      if (store.status() != QSettings::NoError)
        throw TFileWriteError(path, QStringLiteral("the settings could not be prepared"));
      meant = Snapshot(store);
    }
    const QByteArray bytes = ReadFileBytes(draft, TOpenMode::Read);

    // Read back from a file of another name: QSettings would take the
    // draft's values from what it keeps in memory rather than from the disk.
    const QString check = work.filePath(QStringLiteral("check.ini"));
    WriteFileAside(check, bytes);
    QSettings reread(check, QSettings::IniFormat);
    if (reread.status() != QSettings::NoError || Snapshot(reread) != meant)
      throw TFileWriteError(path, QStringLiteral("the settings did not read back as written"));
    return bytes;
  } catch (const TFileWriteError& error) {
    throw TFileWriteError(path, error.Reason());
  }
}

}  // namespace

void ChangeSettingsFile(const std::function<void(QSettings&)>& change) {
  const QString path = OpenSettingsStore()->fileName();
  if (!QDir().mkpath(QFileInfo(path).absolutePath()))
    throw TFileWriteError(path, QStringLiteral("its folder could not be made"));
  // The lock QSettings itself takes around a write of the file, so that two
  // programs never interleave their changes. A lock that cannot be made (a
  // full disk) leaves the write to report the reason.
  QLockFile lock(path + QStringLiteral(".lock"));
  lock.lock();

  const QFileInfo before(path);
  const bool existed = before.exists();
  const QDateTime previousTime = existed ? before.lastModified() : QDateTime();
  const QByteArray bytes = ChangedSettings(path, existed, change);
  WriteFileAside(path, bytes);
  MarkNewerThan(path, previousTime);
}

void SaveAtExit(const std::function<void()>& save) {
  try {
    save();
  } catch (const TError& error) {
    std::fprintf(stderr, "Tessellan: the settings were not saved. %s\n",
                 qUtf8Printable(error.Message()));
  }
}
