#include "CompoundFile.h"
#include "CompoundFileFormat.h"
#include "base/FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

qint64 gFailNextWriteAfter = -1;

QString NativePath(const QString& path) {
  return QDir::toNativeSeparators(path);
}

[[noreturn]] void WriteFailed(const QString& path, const QString& reason) {
  throw TStorageError(
      QStringLiteral("The file \"%1\" could not be written: %2.").arg(NativePath(path), reason));
}

}  // namespace

void TCompoundFileTestHooks::FailNextWriteAfter(qint64 bytes) {
  gFailNextWriteAfter = bytes;
}

bool IsStorageFile(const QString& path) {
  QFile file;
  QString error;
  if (!OpenExistingFile(file, path, QIODevice::ReadOnly, error)) return false;
  const QByteArray start = file.read(TCfb::kSignatureSize);
  return start == QByteArray::fromRawData(TCfb::kSignature, TCfb::kSignatureSize);
}

QByteArray ReadFileBytes(const QString& path, TOpenMode mode) {
  QFile file;
  QString error;
  // A read-write open never creates the file.
  const QIODevice::OpenMode openMode =
      mode == TOpenMode::Read ? QIODevice::ReadOnly : QIODevice::ReadWrite;
  if (!OpenExistingFile(file, path, openMode, error))
    throw TStorageError(
        QStringLiteral("The file \"%1\" could not be opened: %2.").arg(NativePath(path), error));
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw TStorageError(QStringLiteral("The file \"%1\" could not be read: %2.")
                            .arg(NativePath(path), file.errorString()));
  return bytes;
}

std::unique_ptr<TStorage> ReadCompoundFile(const QString& path, TOpenMode mode) {
  return ParseCompoundFile(ReadFileBytes(path, mode));
}

void WriteCompoundFile(const QString& path, const TStorage& root) {
  const qint64 failAfter = gFailNextWriteAfter;
  gFailNextWriteAfter = -1;
  RequireWritableName(path);
  const QByteArray bytes = SerializeCompoundFile(root);

  const QFileInfo target(path);
  if (target.isDir()) WriteFailed(path, QStringLiteral("it is a folder"));
  // The read-only attribute is the owner-write bit; root could otherwise
  // replace a read-only file.
  if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))
    WriteFailed(path, QStringLiteral("the file is read-only"));

  // QSaveFile writes a temporary file beside the target and renames it over
  // the target on commit; until then, and whenever it is destroyed without
  // a commit, the target stays as it was and the temporary file is removed.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) WriteFailed(path, file.errorString());
  if (failAfter >= 0) {
    file.write(bytes.constData(), std::min<qint64>(failAfter, bytes.size()));
    file.flush();
    file.cancelWriting();
    WriteFailed(path, QStringLiteral("no space left on the device (simulated)"));
  }
  if (file.write(bytes) != bytes.size()) WriteFailed(path, file.errorString());
  if (!file.commit()) WriteFailed(path, file.errorString());
}
