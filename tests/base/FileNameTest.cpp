// File names with bytes that are not UTF-8: decoded without loss, encoded
// back to the same bytes, and reachable where Qt's own classes miss them.
#include "base/Error.h"
#include "base/FileName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

TEST(FileName, KeepsEveryByteOfANameThroughTextAndReachesTheFile) {
  const struct {
    QByteArray Bytes;
    bool Raw;
  } cases[] = {
      {"plain.tqm", false},
      {"Karten f\xc3\xbcr H\xc3\xb6hlen \xe5\x9c\xb0\xe5\x9b\xb3 \xf0\x9f\x97\xba.tqm", false},
      {"latin1 H\xf6hle.tqm", true},          // a single byte of another code page
      {"\xff\xfe", true},                     // never a lead byte
      {"cut \xe5\x9c.tqm", true},             // a sequence that stops short
      {"overlong \xc0\xaf.tqm", true},        // "/" spelt in two bytes
      {"surrogate \xed\xb2\x80.tqm", true},   // U+DC80 in UTF-8 form
      {"beyond \xf4\x90\x80\x80.tqm", true},  // above U+10FFFF
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bytes.toHex().toStdString());
    const QString name = DecodeFileName(c.Bytes);
    EXPECT_EQ(EncodeFileName(name), c.Bytes);
    EXPECT_EQ(HasRawBytes(name), c.Raw);
    // Valid names decode as Qt decodes them.
    if (!c.Raw) {
      EXPECT_EQ(name, QFile::decodeName(c.Bytes));
    }
  }
  // A character beyond the first plane is a surrogate pair, not two escapes.
  EXPECT_FALSE(HasRawBytes(QString::fromUtf8("\xf0\x90\x82\x80")));

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray bytes = QFile::encodeName(dir.path()) + "/H\xf6hle.tqm";
  const int descriptor = ::open(bytes.constData(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::write(descriptor, "map", 3), 3);
  ::close(descriptor);

  const QString name = DecodeFileName(bytes);
  EXPECT_FALSE(QFile::exists(name)) << "Qt reaches such a name now: the escapes may go";
  EXPECT_TRUE(FileStatus(name).IsFile);
  EXPECT_TRUE(FileStatus(name).OwnerWritable);
  const QString canonical =
      DecodeFileName(QFile::encodeName(QDir(dir.path()).canonicalPath()) + "/H\xf6hle.tqm");
  EXPECT_EQ(CanonicalFileName(name), canonical);
  QFile file;
  QString error;
  ASSERT_TRUE(OpenExistingFile(file, name, QIODevice::ReadOnly, error)) << error.toStdString();
  EXPECT_EQ(file.readAll(), "map");
  file.close();
  // A file of a name that differs in the raw byte alone is another file.
  EXPECT_FALSE(OpenExistingFile(file,
                                DecodeFileName(QFile::encodeName(dir.path()) + "/H\xf7hle.tqm"),
                                QIODevice::ReadWrite, error));
  EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
  // Qt would write under another name: writing refuses.
  EXPECT_THROW(RequireWritableName(name), TError);
  EXPECT_NO_THROW(RequireWritableName(dir.filePath(QStringLiteral("Höhle.tqm"))));

  // A relative name counts from the current folder as the system names it.
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  EXPECT_EQ(AbsoluteFileName(DecodeFileName("sub/../H\xf6hle.tqm")), canonical);
  QDir::setCurrent(before);
}
