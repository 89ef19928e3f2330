#include "FileName.h"

#include "Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#endif

namespace {

QString QtCanonicalName(const QString& name) {
  const QFileInfo info(name);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

TFileStatus QtFileStatus(const QString& name) {
  const QFileInfo info(name);
  TFileStatus status;
  status.Exists = info.exists();
  status.IsFile = info.isFile();
  status.OwnerWritable = info.permission(QFileDevice::WriteOwner);
  return status;
}

bool QtOpenExisting(QFile& file, const QString& name, QIODevice::OpenMode mode, QString& error) {
  file.setFileName(name);
  if (file.open(mode | QIODevice::ExistingOnly)) return true;
  error = file.errorString();
  return false;
}

#ifdef Q_OS_UNIX
constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

// The length of the valid UTF-8 sequence at bytes[i], or 0 when the byte
// there does not start one (overlong forms, surrogates and values above
// U+10FFFF are not valid). The code point goes to codePoint.
int ValidSequence(const QByteArray& bytes, qsizetype i, char32_t& codePoint) {
  const auto byte = [&bytes](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
  const unsigned char lead = byte(i);
  int length = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    minimum = 0x80;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    minimum = 0x800;
    codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    minimum = 0x10000;
    codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  for (int k = 1; k < length; ++k) {
    const unsigned char next = byte(i + k);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

bool IsEscapeAt(const QString& name, qsizetype i) {
  const char16_t c = name[i].unicode();
  if (c < kFirstEscape || c > kLastEscape) return false;
  // The low half of a surrogate pair is a character, not an escape.
  return i == 0 || !name[i - 1].isHighSurrogate();
}

QString CurrentFolder() {
  char* folder = ::getcwd(nullptr, 0);
  if (!folder) return QDir::currentPath();
  const QString result = DecodeFileName(QByteArray(folder));
  std::free(folder);
  return result;
}
#endif

}  // namespace

#ifdef Q_OS_UNIX

QString DecodeFileName(const QByteArray& bytes) {
  QString name;
  name.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      name += QChar(byte);
      ++i;
      continue;
    }
    char32_t codePoint = 0;
    const int length = ValidSequence(bytes, i, codePoint);
    if (length == 0) {
      name += QChar(char16_t(kEscapeBase + byte));
      ++i;
      continue;
    }
    const char32_t single[] = {codePoint};
    name += QString::fromUcs4(single, 1);
    i += length;
  }
  return name;
}

QByteArray EncodeFileName(const QString& name) {
  QByteArray bytes;
  qsizetype runStart = 0;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (!IsEscapeAt(name, i)) continue;
    bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
    bytes += char(name[i].unicode() - kEscapeBase);
    runStart = i + 1;
  }
  bytes += QStringView(name).mid(runStart).toUtf8();
  return bytes;
}

bool HasRawBytes(const QString& name) {
  for (qsizetype i = 0; i < name.size(); ++i)
    if (IsEscapeAt(name, i)) return true;
  return false;
}

QStringList ProgramArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << DecodeFileName(QByteArray(argv[i]));
  return arguments;
}

QString AbsoluteFileName(const QString& name) {
  if (QDir::isAbsolutePath(name)) return QDir::cleanPath(name);
  return QDir::cleanPath(CurrentFolder() + QLatin1Char('/') + name);
}

QString CanonicalFileName(const QString& name) {
  if (!HasRawBytes(name)) return QtCanonicalName(name);
  char* resolved = ::realpath(EncodeFileName(name).constData(), nullptr);
  if (!resolved) return AbsoluteFileName(name);
  const QString result = DecodeFileName(QByteArray(resolved));
  std::free(resolved);
  return result;
}

TFileStatus FileStatus(const QString& name) {
  if (!HasRawBytes(name)) return QtFileStatus(name);
  TFileStatus status;
  struct stat details {};
  if (::stat(EncodeFileName(name).constData(), &details) != 0) return status;
  status.Exists = true;
  status.IsFile = S_ISREG(details.st_mode);
  status.OwnerWritable = details.st_mode & S_IWUSR;
  return status;
}

bool OpenExistingFile(QFile& file, const QString& name, QIODevice::OpenMode mode, QString& error) {
  if (!HasRawBytes(name)) return QtOpenExisting(file, name, mode, error);
  const bool readWrite = (mode & QIODevice::ReadWrite) == QIODevice::ReadWrite;
  const int descriptor =
      ::open(EncodeFileName(name).constData(), (readWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (descriptor < 0) {
    error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  if (file.open(descriptor, mode, QFileDevice::AutoCloseHandle)) return true;
  ::close(descriptor);
  error = file.errorString();
  return false;
}

#else

QString DecodeFileName(const QByteArray& bytes) {
  return QFile::decodeName(bytes);
}

QByteArray EncodeFileName(const QString& name) {
  return QFile::encodeName(name);
}

bool HasRawBytes(const QString&) {
  return false;
}

QStringList ProgramArguments(int, char**) {
  return QCoreApplication::arguments().mid(1);
}

QString AbsoluteFileName(const QString& name) {
  return QDir::cleanPath(QFileInfo(name).absoluteFilePath());
}

QString CanonicalFileName(const QString& name) {
  return QtCanonicalName(name);
}

TFileStatus FileStatus(const QString& name) {
  return QtFileStatus(name);
}

bool OpenExistingFile(QFile& file, const QString& name, QIODevice::OpenMode mode, QString& error) {
  return QtOpenExisting(file, name, mode, error);
}

#endif

void RequireWritableName(const QString& name) {
  if (HasRawBytes(name))
    throw TError(QStringLiteral("The file \"%1\" could not be written: its name is not valid "
                                "UTF-8.")
                     .arg(QDir::toNativeSeparators(name)));
}
