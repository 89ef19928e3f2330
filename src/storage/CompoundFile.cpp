#include "CompoundFile.h"
#include "CompoundFileFormat.h"
#include "WriteAsideFile.h"
#include "base/FileName.h"

#include <QDir>
#include <QFile>

namespace {

QString NativePath(const QString& path) {
  return QDir::toNativeSeparators(path);
}

}  // namespace

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
  WriteFileAside(path, SerializeCompoundFile(root));
}
