// The one writer of files: what it replaces, what it refuses, and that a
// write the system refuses is never renamed into place, even when the
// caller ignores the failed write.
#include "storage/WriteAsideFile.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteBytes(const QString& path, const QByteArray& bytes, mode_t mode = 0644) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
  ASSERT_EQ(file.write(bytes), bytes.size());
  file.close();
  ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0);
}

mode_t Mode(const QString& path) {
  struct stat info;
  return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

QStringList Listing(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

class WriteAsideFileTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fDir.isValid()); }
  QString Path(const char* name) const { return fDir.filePath(QLatin1String(name)); }
  QTemporaryDir fDir;
  QTemporaryDir fOutside;
};

}  // namespace

TEST_F(WriteAsideFileTest, ReplacesTheFileOrTheNameAsAsked) {
  using TTarget = TWriteAsideFile::TTarget;
  // A replaced file keeps its permissions; the bytes go to a hidden file
  // beside it until the commit.
  WriteBytes(Path("kept.bin"), "old", 0640);
  {
    TWriteAsideFile file(Path("kept.bin"));
    file.write("new bytes");
    const QStringList during = Listing(fDir.path());
    ASSERT_EQ(during.size(), 2);
    EXPECT_TRUE(during[0].startsWith(QStringLiteral(".kept.bin."))) << qPrintable(during[0]);
    EXPECT_EQ(ReadBytes(Path("kept.bin")), QByteArray("old"));
    file.Commit();
  }
  EXPECT_EQ(ReadBytes(Path("kept.bin")), QByteArray("new bytes"));
  EXPECT_EQ(Mode(Path("kept.bin")) & 07777, mode_t(0640));

  // A user's link is followed: the file it points to is replaced.
  const QString outside = fOutside.filePath(QStringLiteral("elsewhere.bin"));
  WriteBytes(outside, "outside", 0600);
  ASSERT_TRUE(QFile::link(outside, Path("link.bin")));
  WriteFileAside(Path("link.bin"), "through the link");
  EXPECT_TRUE(S_ISLNK(Mode(Path("link.bin"))));
  EXPECT_EQ(ReadBytes(outside), QByteArray("through the link"));
  EXPECT_EQ(Mode(outside) & 07777, mode_t(0600));

  // The program's own names are replaced themselves: a link becomes a file
  // and what it pointed to stays as it was, read-only or not.
  ASSERT_EQ(chmod(QFile::encodeName(outside).constData(), 0444), 0);
  WriteFileAside(Path("link.bin"), "own copy", TTarget::ReplaceName);
  EXPECT_TRUE(S_ISREG(Mode(Path("link.bin"))));
  EXPECT_EQ(ReadBytes(Path("link.bin")), QByteArray("own copy"));
  EXPECT_EQ(ReadBytes(outside), QByteArray("through the link"));
  EXPECT_EQ(Mode(outside) & 07777, mode_t(0444));
  WriteBytes(Path("locked.bin"), "locked", 0444);
  WriteFileAside(Path("locked.bin"), "replaced", TTarget::ReplaceName);
  EXPECT_EQ(ReadBytes(Path("locked.bin")), QByteArray("replaced"));

  // Refused before anything is written.
  struct TRefusal {
    const char* Name;
    TTarget Target;
    const char* Reason;
  };
  WriteBytes(Path("read-only.bin"), "read-only", 0444);
  ASSERT_TRUE(QDir(fDir.path()).mkdir(QStringLiteral("folder")));
  ASSERT_EQ(mkfifo(QFile::encodeName(Path("fifo")).constData(), 0644), 0);
  const TRefusal refusals[] = {
      {"read-only.bin", TTarget::Follow, "the file is read-only"},
      {"folder", TTarget::Follow, "it is a folder"},
      {"folder", TTarget::ReplaceName, "it is a folder"},
      {"fifo", TTarget::Follow, "it is not a regular file"},
      {"missing/new.bin", TTarget::Follow, "No such file or directory"},
  };
  const QStringList before = Listing(fDir.path());
  for (const TRefusal& refusal : refusals) {
    SCOPED_TRACE(refusal.Name);
    try {
      WriteFileAside(Path(refusal.Name), "refused", refusal.Target);
      ADD_FAILURE() << "written";
    } catch (const TFileWriteError& error) {
      EXPECT_EQ(error.Message(), QStringLiteral("The file \"%1\" could not be written: %2.")
                                     .arg(Path(refusal.Name), QLatin1String(refusal.Reason)));
      EXPECT_EQ(error.Reason(), QLatin1String(refusal.Reason));
    }
  }
  EXPECT_EQ(Listing(fDir.path()), before);
  EXPECT_EQ(ReadBytes(Path("read-only.bin")), QByteArray("read-only"));
}

TEST_F(WriteAsideFileTest, AFailedWriteIsNeverPutInPlace) {
  WriteBytes(Path("target.bin"), "previous");
  const QStringList before = Listing(fDir.path());
  const QByteArray piece(1000, 'x');
  {
    TFileSizeLimit limit(2500);
    TWriteAsideFile file(Path("target.bin"));
    EXPECT_EQ(file.write(piece), 1000);
    EXPECT_EQ(file.write(piece), 1000);
    // The system takes 500 bytes of the third piece, then refuses.
    EXPECT_EQ(file.write(piece), -1);
    EXPECT_TRUE(file.Failed());
    EXPECT_EQ(file.errorString(), QLatin1String(kFileTooLarge));
    // A caller that ignores the failure cannot write past it or commit it.
    EXPECT_EQ(file.write("y", 1), -1);
    try {
      file.Commit();
      ADD_FAILURE() << "committed";
    } catch (const TFileWriteError& error) {
      EXPECT_EQ(error.Reason(), QLatin1String(kFileTooLarge));
    }
    EXPECT_EQ(Listing(fDir.path()), before);
  }

  // Going without a commit removes what was written.
  {
    TWriteAsideFile file(Path("target.bin"));
    file.write(piece);
  }
  EXPECT_EQ(Listing(fDir.path()), before);
  EXPECT_EQ(ReadBytes(Path("target.bin")), QByteArray("previous"));
}
