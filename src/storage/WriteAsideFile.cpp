#include "WriteAsideFile.h"

#include "base/FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Written with the system's own calls rather than a buffered QFile: a
// buffered file reports the failure of its last flush nowhere once it is
// closed, and a short file would be renamed into place.

namespace {

// Longer names are cut, so that the temporary name stays within the file
// system's limit of 255 bytes.
constexpr qsizetype kMaxNameBytes = 200;
constexpr int kNameAttempts = 100;

QByteArray Encoded(const QString& path) {
  return QFile::encodeName(path);
}

QString TemporaryName(const QString& folder, const QString& fileName) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray name = Encoded(fileName).left(kMaxNameBytes);
  name.prepend('.');
  name.append('.');
  for (int i = 0; i < 6; ++i)
    name.append(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))]);
  return QDir(folder).filePath(QFile::decodeName(name));
}

// The file a path names after following symbolic links; a dangling link
// names the file it would point to.
QString FollowLinks(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return info.absoluteFilePath();
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

}  // namespace

TFileWriteError::TFileWriteError(const QString& path, const QString& reason)
    : TStorageError(QStringLiteral("The file \"%1\" could not be written: %2.")
                        .arg(QDir::toNativeSeparators(path), reason)),
      fReason(reason) {}

TWriteAsideFile::TWriteAsideFile(const QString& path, TTarget target)
    : fPath(path), fTarget(target) {
  RequireWritableName(path);
  fFile = target == TTarget::Follow ? FollowLinks(path) : QFileInfo(path).absoluteFilePath();
  CheckTarget();

  const QFileInfo file(fFile);
  for (int attempt = 0; fFd < 0; ++attempt) {
    fTemporary = TemporaryName(file.absolutePath(), file.fileName());
    fFd = ::open(Encoded(fTemporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fFd < 0 && (errno != EEXIST || attempt == kNameAttempts)) {
      const int error = errno;
      fTemporary.clear();
      Fail(qt_error_string(error));
    }
  }
  // A replaced file keeps its permissions; a new one has the default ones.
  struct stat existing;
  if (target == TTarget::Follow && ::stat(Encoded(fFile).constData(), &existing) == 0 &&
      ::fchmod(fFd, existing.st_mode & 07777) != 0)
    DiscardAndFail(errno);
  QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

TWriteAsideFile::~TWriteAsideFile() {
  Discard();
}

void TWriteAsideFile::CheckTarget() const {
  struct stat info;
  // The name itself when it is replaced: a link there is never followed.
  const int result = fTarget == TTarget::Follow ? ::stat(Encoded(fFile).constData(), &info)
                                                : ::lstat(Encoded(fFile).constData(), &info);
  if (result != 0) {
    if (errno == ENOENT) return;  // a new file; a missing folder fails when it is made
    Fail(qt_error_string(errno));
  }
  if (S_ISDIR(info.st_mode)) Fail(QStringLiteral("it is a folder"));
  if (fTarget == TTarget::ReplaceName) return;
  if (!S_ISREG(info.st_mode)) Fail(QStringLiteral("it is not a regular file"));
  // The read-only attribute is the owner-write bit; root could otherwise
  // replace a read-only file.
  if (!(info.st_mode & S_IWUSR)) Fail(QStringLiteral("the file is read-only"));
}

void TWriteAsideFile::Fail(const QString& reason) const {
  throw TFileWriteError(fPath, reason);
}

void TWriteAsideFile::DiscardAndFail(int error) {
  Discard();
  Fail(qt_error_string(error));
}

void TWriteAsideFile::RaiseFailure() const {
  Fail(qt_error_string(fErrno));
}

qint64 TWriteAsideFile::readData(char*, qint64) {
  return -1;
}

qint64 TWriteAsideFile::writeData(const char* data, qint64 size) {
  if (fFd < 0 || fErrno != 0) return -1;
  qint64 done = 0;
  while (done < size) {
    const size_t chunk = size_t(std::min<qint64>(size - done, qint64(1) << 30));
    const ssize_t written = ::write(fFd, data + done, chunk);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A write that takes nothing and reports nothing still fails.
      fErrno = written < 0 ? errno : EIO;
      setErrorString(qt_error_string(fErrno));
      return -1;
    }
    done += written;
  }
  fWritten += done;
  return done;
}

void TWriteAsideFile::Commit() {
  if (fFd < 0) Fail(QStringLiteral("the file was already closed"));
  if (fErrno != 0) {
    Discard();
    RaiseFailure();
  }
  if (::fsync(fFd) != 0) DiscardAndFail(errno);
  struct stat written;
  if (::fstat(fFd, &written) != 0) DiscardAndFail(errno);
  if (written.st_size != fWritten) {
    Discard();
    Fail(QStringLiteral("it holds %1 of the %2 bytes written").arg(written.st_size).arg(fWritten));
  }
  const int closed = ::close(fFd);
  fFd = -1;
  if (closed != 0) DiscardAndFail(errno);
  // The target may have changed while the file was written.
  try {
    CheckTarget();
  } catch (...) {
    Discard();
    throw;
  }
  if (::rename(Encoded(fTemporary).constData(), Encoded(fFile).constData()) != 0)
    DiscardAndFail(errno);
  fTemporary.clear();
  QIODevice::close();
  // The rename reaches the disk with the folder. The file is in place
  // whatever this reports, so a folder that cannot be synced (some file
  // systems refuse it) is no failure of the write.
  const int folder = ::open(Encoded(QFileInfo(fFile).absolutePath()).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

void TWriteAsideFile::Discard() {
  if (fFd >= 0) ::close(fFd);
  fFd = -1;
  if (!fTemporary.isEmpty()) ::unlink(Encoded(fTemporary).constData());
  fTemporary.clear();
  if (isOpen()) QIODevice::close();
}

void TWriteAsideFile::close() {
  Discard();
}

void WriteAside(const QString& path, const std::function<void(QIODevice& device)>& write,
                TWriteAsideFile::TTarget target) {
  TWriteAsideFile file(path, target);
  try {
    write(file);
  } catch (const TError&) {
    if (file.Failed()) file.RaiseFailure();
    throw;
  }
  file.Commit();
}

void WriteFileAside(const QString& path, const QByteArray& bytes, TWriteAsideFile::TTarget target) {
  WriteAside(
      path, [&bytes](QIODevice& device) { device.write(bytes); }, target);
}

void WriteImageAside(const QImage& image, const QString& path, const char* format, int quality) {
  WriteAside(path, [&](QIODevice& device) {
    QImageWriter writer(&device, format);
    writer.setQuality(quality);
    if (!writer.write(image)) throw TFileWriteError(path, writer.errorString());
  });
}
