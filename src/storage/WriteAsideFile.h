#pragma once

#include "Storage.h"

#include <QIODevice>
#include <QString>

#include <functional>

class QImage;

// A file that could not be written: "The file "<path>" could not be
// written: <reason>."
class TFileWriteError : public TStorageError {
 public:
  TFileWriteError(const QString& path, const QString& reason);
  // The reason alone, for messages that name the file their own way.
  const QString& Reason() const { return fReason; }

 private:
  QString fReason;
};

// The one way the program writes a file. The bytes go to a new temporary
// file beside the target (".name.XXXXXX" in the same folder), each write
// passed straight to the system and checked; Commit() syncs and closes it,
// checks that it holds every byte written, renames it over the target and
// syncs the folder. Until then, and whenever a step fails or the object goes
// without a commit, the target stays byte for byte as it was and the
// temporary file is removed. Failures raise TFileWriteError with the
// system's reason ("No space left on device").
//
// A temporary file left by a killed process keeps its distinct name, so the
// target is never the one half written.
class TWriteAsideFile : public QIODevice {
 public:
  enum class TTarget {
    // The file the path names: a symbolic link is followed and the file it
    // points to replaced, keeping its permissions; a folder, a read-only file
    // (owner-write bit clear, also for root) or anything but a regular file
    // is refused before anything is written.
    Follow,
    // The name itself, for files the program keeps in its own folders:
    // whatever is there (a link, a read-only file) is replaced, never
    // followed, and the new file has the default permissions; only a folder
    // is refused.
    ReplaceName,
  };

  // Creates the temporary file and opens the device for writing. Raises
  // TFileWriteError when the target is refused or the file cannot be made
  // (a missing folder is not created here), TError for a name that is not
  // valid UTF-8 (RequireWritableName).
  explicit TWriteAsideFile(const QString& path, TTarget target = TTarget::Follow);
  ~TWriteAsideFile() override;

  // The target as it was given.
  const QString& Path() const { return fPath; }
  // True once a write has failed; every later write fails too, and Commit
  // raises that first failure.
  bool Failed() const { return fErrno != 0; }
  // Raises the error of the first failed write.
  [[noreturn]] void RaiseFailure() const;

  // Puts the file in place; raises TFileWriteError, having removed the
  // temporary file, when any step fails or a write failed before.
  void Commit();
  // Removes the temporary file; the target stays as it was.
  void Discard();

  bool isSequential() const override { return true; }
  // Closing without a commit discards.
  void close() override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  [[noreturn]] void Fail(const QString& reason) const;
  [[noreturn]] void DiscardAndFail(int error);
  void CheckTarget() const;

  QString fPath;
  TTarget fTarget;
  QString fFile;  // the file replaced: the path, or where a followed link points
  QString fTemporary;
  int fFd = -1;
  qint64 fWritten = 0;
  int fErrno = 0;
};

// Writes a file through a TWriteAsideFile: `write` writes to the device and
// raises TError when it fails; when a write to the device failed, the error
// raised is the file's own, with the system's reason.
void WriteAside(const QString& path, const std::function<void(QIODevice& device)>& write,
                TWriteAsideFile::TTarget target = TWriteAsideFile::TTarget::Follow);

// Writes the bytes to the path through a TWriteAsideFile.
void WriteFileAside(const QString& path, const QByteArray& bytes,
                    TWriteAsideFile::TTarget target = TWriteAsideFile::TTarget::Follow);

// Writes a picture in a format QImageWriter knows ("PNG") through a
// TWriteAsideFile; quality as QImageWriter takes it (-1 for the format's
// default).
void WriteImageAside(const QImage& image, const QString& path, const char* format,
                     int quality = -1);
