#include "CompoundFileSupport.h"

#include "storage/CompoundFile.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

bool RunningAsRoot() {
#ifdef Q_OS_UNIX
  return geteuid() == 0;
#else
  return false;
#endif
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList Listing(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class CompoundFileIo : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fDir.isValid());
    fPath = fDir.filePath(QStringLiteral("map.tqm"));
  }
  void TearDown() override {
    // Leave everything removable.
    for (const QString& name : Listing(fDir.path()))
      QFile::setPermissions(fDir.filePath(name),
                            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  QTemporaryDir fDir;
  QString fPath;
};

struct TWriteFailure {
  const char* Name;
  // Prepares the failure; returns the path to write to.
  std::function<QString(const QString& dir, const QString& previous)> Prepare;
  // For failures of the file system: the file-size limit for a file of
  // `size` bytes, and the reason the message must give.
  std::function<qint64(qint64 size)> Limit = nullptr;
};

QString Unchanged(const QString&, const QString& previous) {
  return previous;
}

// Writes that fail go through the real file system: a file-size limit
// makes the system refuse them as a full disk would.
const TWriteFailure kWriteFailures[] = {
    {"fails before the first byte", Unchanged, [](qint64) { return qint64(0); }},
    {"fails midway", Unchanged, [](qint64) { return qint64(3000); }},
    // What a buffered writer holds back until it closes the file.
    {"fails at the last byte", Unchanged, [](qint64 size) { return size - 1; }},
    {"target is read-only",
     [](const QString&, const QString& previous) {
       QFile::setPermissions(previous, QFile::ReadOwner | QFile::ReadGroup);
       return previous;
     }},
    {"target is a folder",
     [](const QString& dir, const QString&) {
       QDir(dir).mkdir(QStringLiteral("folder.tqm"));
       return dir + QStringLiteral("/folder.tqm");
     }},
    {"folder is missing",
     [](const QString& dir, const QString&) { return dir + QStringLiteral("/missing/new.tqm"); }},
    {"parent is a regular file",
     [](const QString& dir, const QString&) {
       QFile plain(dir + QStringLiteral("/plain"));
       EXPECT_TRUE(plain.open(QIODevice::WriteOnly));
       return dir + QStringLiteral("/plain/new.tqm");
     }},
};

void PrintTo(const TWriteFailure& failure, std::ostream* out) {
  *out << failure.Name;
}

class CompoundFileWriteFailure : public CompoundFileIo,
                                 public testing::WithParamInterface<TWriteFailure> {};

}  // namespace

TEST_P(CompoundFileWriteFailure, LeavesThePreviousFileAndNoTemporaryFile) {
  const auto previousTree = MakeMapTree();
  WriteCompoundFile(fPath, *previousTree);
  const QByteArray previous = ReadBytes(fPath);
  const QString target = GetParam().Prepare(fDir.path(), fPath);
  const QStringList before = Listing(fDir.path());

  TStorage tree;
  tree.CreateStream(QStringLiteral("New"), PatternBytes(9000, 5));
  try {
    std::unique_ptr<TFileSizeLimit> limit;
    if (GetParam().Limit)
      limit =
          std::make_unique<TFileSizeLimit>(GetParam().Limit(SerializeCompoundFile(tree).size()));
    WriteCompoundFile(target, tree);
    FAIL() << "the write succeeded";
  } catch (const TStorageError& error) {
    EXPECT_TRUE(error.Message().startsWith(QStringLiteral("The file \"%1\" could not be written: ")
                                               .arg(QDir::toNativeSeparators(target))))
        << error.Message().toStdString();
    if (GetParam().Limit) {
      EXPECT_TRUE(error.Message().endsWith(QLatin1String(kFileTooLarge) + QLatin1Char('.')))
          << error.Message().toStdString();
    }
  }
  EXPECT_EQ(ReadBytes(fPath), previous);
  EXPECT_EQ(Listing(fDir.path()), before);

  // Once the cause is gone, the same write succeeds.
  if (target == fPath) QFile::setPermissions(fPath, QFile::ReadOwner | QFile::WriteOwner);
  WriteCompoundFile(fPath, tree);
  ExpectSameTree(tree, *ReadCompoundFile(fPath, TOpenMode::Read));
}

INSTANTIATE_TEST_SUITE_P(Ways, CompoundFileWriteFailure, testing::ValuesIn(kWriteFailures),
                         [](const testing::TestParamInfo<TWriteFailure>& info) {
                           std::string name;
                           for (const char* c = info.param.Name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

TEST_F(CompoundFileIo, FolderWithoutWritePermission) {
  if (RunningAsRoot()) GTEST_SKIP() << "root ignores permission bits; the other failures cover it";
  const QString sub = fDir.filePath(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkdir(sub));
  const QString path = sub + QStringLiteral("/map.tqm");
  WriteCompoundFile(path, *MakeMapTree());
  const QByteArray previous = ReadBytes(path);
  ASSERT_TRUE(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
  EXPECT_THROW(WriteCompoundFile(path, *MakeTilesetTree()), TStorageError);
  EXPECT_EQ(ReadBytes(path), previous);
  EXPECT_EQ(Listing(sub), QStringList{QStringLiteral("map.tqm")});
}

TEST_F(CompoundFileIo, WriteReplacesAndReadsBackInBothModes) {
  WriteCompoundFile(fPath, *MakeTilesetTree());
  const auto tree = MakeMapTree();
  WriteCompoundFile(fPath, *tree);
  EXPECT_EQ(ReadBytes(fPath), SerializeCompoundFile(*tree));
  ExpectSameTree(*tree, *ReadCompoundFile(fPath, TOpenMode::Read));
  ExpectSameTree(*tree, *ReadCompoundFile(fPath, TOpenMode::ReadWrite));
  EXPECT_EQ(Listing(fDir.path()), QStringList{QStringLiteral("map.tqm")});
}

TEST_F(CompoundFileIo, ReadFailuresRaiseStorageErrors) {
  const QString missing = fDir.filePath(QStringLiteral("missing.tqm"));
  EXPECT_THROW(ReadCompoundFile(missing, TOpenMode::Read), TStorageError);
  EXPECT_THROW(ReadCompoundFile(missing, TOpenMode::ReadWrite), TStorageError);
  EXPECT_FALSE(QFile::exists(missing)) << "a read-write open created the file";
  EXPECT_THROW(ReadCompoundFile(fDir.path(), TOpenMode::Read), TStorageError);

  WriteBytes(fPath, SerializeCompoundFile(*MakeMapTree()).left(3000));
  EXPECT_THROW(ReadCompoundFile(fPath, TOpenMode::Read), TStorageError);
}

TEST_F(CompoundFileIo, ReadWriteRefusesAFileThatCannotBeWritten) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may write any file";
  WriteCompoundFile(fPath, *MakeMapTree());
  ASSERT_TRUE(QFile::setPermissions(fPath, QFile::ReadOwner));
  EXPECT_THROW(ReadCompoundFile(fPath, TOpenMode::ReadWrite), TStorageError);
  EXPECT_NO_THROW(ReadCompoundFile(fPath, TOpenMode::Read));
}

TEST_F(CompoundFileIo, IsStorageFileChecksTheSignature) {
  const QByteArray signature = QByteArray::fromHex("d0cf11e0a1b11ae1");
  struct TCase {
    const char* Name;
    QByteArray Content;
    bool Expected;
  };
  const TCase cases[] = {
      {"empty", QByteArray(), false},
      {"signature cut short", signature.left(7), false},
      {"signature alone", signature, true},
      {"text", QByteArray("Version 1.0\n"), false},
      {"one byte wrong", QByteArray(signature).replace(3, 1, "\xE1"), false},
      {"whole file", SerializeCompoundFile(*MakeMapTree()), true},
  };
  for (const TCase& c : cases) {
    const QString path = fDir.filePath(QString::fromLatin1(c.Name));
    WriteBytes(path, c.Content);
    EXPECT_EQ(IsStorageFile(path), c.Expected) << c.Name;
  }
  EXPECT_FALSE(IsStorageFile(fDir.filePath(QStringLiteral("missing"))));
  EXPECT_FALSE(IsStorageFile(fDir.path()));
}
