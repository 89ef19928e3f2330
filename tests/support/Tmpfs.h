#pragma once

#include <QString>
#include <QTemporaryDir>

// A tmpfs of its own size mounted on a temporary folder while the object
// lives, for tests of a file system that is full or read-only. Mounting
// needs root; where it is not possible, Path() is empty and Skip() says why.
class TTmpfs {
 public:
  explicit TTmpfs(const QString& size);
  ~TTmpfs();
  TTmpfs(const TTmpfs&) = delete;
  TTmpfs& operator=(const TTmpfs&) = delete;

  QString Path() const { return fMounted ? fDir.path() : QString(); }
  const QString& Skip() const { return fSkip; }
  // Writes to it until the system refuses with "No space left on device".
  void Fill() const;
  bool RemountReadOnly() const;

 private:
  QTemporaryDir fDir;
  bool fMounted = false;
  QString fSkip;
};
