#include "CompoundFileSupport.h"

#include "storage/CompoundFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList Lines(const QByteArray& out) {
  return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TProgramRun Olefile(const QString& mode, const QString& path) {
  return RunProgram(QStringLiteral("/usr/bin/python3"),
                    {TestScriptDir() + QStringLiteral("/olefile_check.py"), mode, path});
}

class CompoundFileCrossCheck : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fDir.isValid()); }
  QString Write(const TStorage& tree, const QString& name) {
    const QString path = fDir.filePath(name);
    WriteCompoundFile(path, tree);
    return path;
  }
  QTemporaryDir fDir;
};

}  // namespace

TEST_F(CompoundFileCrossCheck, OlefileListsAndReadsWhatWeWrite) {
  for (const auto& tree : {MakeTilesetTree(), MakeMapTree()}) {
    const QString path = Write(*tree, QStringLiteral("t.cfb"));
    const TProgramRun result = Olefile(QStringLiteral("list"), path);
    ASSERT_EQ(result.ExitCode, 0) << result.Err.toStdString();
    EXPECT_EQ(Lines(result.Out), ListTree(*tree));
  }
}

TEST_F(CompoundFileCrossCheck, OlefileReadsOurSummaryInformation) {
  const QString path = Write(*MakeMapTree(), QStringLiteral("map.tqm"));
  const TProgramRun result = Olefile(QStringLiteral("meta"), path);
  ASSERT_EQ(result.ExitCode, 0) << result.Err.toStdString();
  EXPECT_EQ(Lines(result.Out),
            (QStringList{QStringLiteral("title=Cellar"), QStringLiteral("author=Ann"),
                         QStringLiteral("comments=Dark"), QStringLiteral("subject=Battle Map"),
                         QStringLiteral("codepage=1252"), QStringLiteral("docprops=[(1, 1252)]")}));
}

namespace {

// "D path" and "F path size" lines of a tree, with the names as another
// tool prints them, sorted.
QStringList ListWithSizes(const TStorage& tree, const QString& control5) {
  QStringList lines;
  for (const QString& line : ListTree(tree)) {
    QStringList words = line.split(QLatin1Char(' '));
    if (words[0] == QLatin1String("F")) words.removeLast();  // the checksum
    lines << words.join(QLatin1Char(' ')).replace(QChar(5), control5);
  }
  lines.sort();
  return lines;
}

// Every stream of the tree with its path.
void CollectStreams(const TStorage& storage, const QString& prefix,
                    QList<QPair<QString, QByteArray>>& out) {
  for (int i = 0; i < storage.ElementCount(); ++i) {
    const QString path = prefix + storage.NameAt(i);
    if (storage.TypeAt(i) == TElementType::Storage)
      CollectStreams(storage.StorageAt(i), path + QLatin1Char('/'), out);
    else
      out.append({path, storage.StreamAt(i)});
  }
}

}  // namespace

TEST_F(CompoundFileCrossCheck, GsfListsAndReadsWhatWeWrite) {
  const auto tree = MakeTilesetTree();
  const QString path = Write(*tree, QStringLiteral("t.tls"));
  const TProgramRun list = RunProgram(QStringLiteral("gsf"), {QStringLiteral("list"), path});
  ASSERT_EQ(list.ExitCode, 0) << list.Err.toStdString();
  QStringList lines;
  for (const QString& line : Lines(list.Out).mid(1)) {  // the first line names the file
    // "d|f <size> <path>", the path possibly holding spaces.
    const QStringList words = line.simplified().split(QLatin1Char(' '));
    ASSERT_GE(words.size(), 3) << line.toStdString();
    if (words[2] == QLatin1String("*root*")) continue;
    const QString name = words.mid(2).join(QLatin1Char(' '));
    lines << (words[0] == QLatin1String("d") ? QStringLiteral("D ") + name
                                             : QStringLiteral("F %1 %2").arg(name, words[1]));
  }
  lines.sort();
  // gsf shows a storage without elements as an empty stream.
  QStringList expected = ListWithSizes(*tree, QString(QChar(5)));
  expected.replaceInStrings(QStringLiteral("D Empty"), QStringLiteral("F Empty 0"));
  expected.sort();
  EXPECT_EQ(lines, expected);

  QList<QPair<QString, QByteArray>> streams;
  CollectStreams(*tree, QString(), streams);
  for (const auto& [name, data] : streams) {
    const TProgramRun cat = RunProgram(QStringLiteral("gsf"), {QStringLiteral("cat"), path, name});
    ASSERT_EQ(cat.ExitCode, 0) << name.toStdString() << cat.Err.toStdString();
    EXPECT_EQ(cat.Out, data) << name.toStdString();
  }
}

TEST_F(CompoundFileCrossCheck, SevenZipListsAndExtractsWhatWeWrite) {
  const auto tree = MakeMapTree();
  const QString path = Write(*tree, QStringLiteral("m.tqm"));
  const TProgramRun list =
      RunProgram(QStringLiteral("7z"), {QStringLiteral("l"), QStringLiteral("-slt"), path});
  ASSERT_EQ(list.ExitCode, 0) << list.Err.toStdString();
  // Entries are "Path = ..." followed by "Size = ..." (empty for storages);
  // the first path is the archive itself.
  QStringList lines;
  QString name;
  for (const QString& line : Lines(list.Out)) {
    if (line.startsWith(QLatin1String("Path = "))) name = line.mid(7);
    if (!line.startsWith(QLatin1String("Size = ")) || name.isEmpty()) continue;
    const QString size = line.mid(7).trimmed();
    lines << (size.isEmpty() ? QStringLiteral("D ") + name
                             : QStringLiteral("F %1 %2").arg(name, size));
  }
  lines.sort();
  EXPECT_EQ(lines, ListWithSizes(*tree, QStringLiteral("[5]")));

  QList<QPair<QString, QByteArray>> streams;
  CollectStreams(*tree, QString(), streams);
  for (const auto& [name, data] : streams) {
    const TProgramRun cat =
        RunProgram(QStringLiteral("7z"), {QStringLiteral("e"), QStringLiteral("-so"), path,
                                          QString(name).replace(QChar(5), QStringLiteral("[5]"))});
    ASSERT_EQ(cat.ExitCode, 0) << name.toStdString() << cat.Err.toStdString();
    EXPECT_EQ(cat.Out, data) << name.toStdString();
  }
}

TEST_F(CompoundFileCrossCheck, WeReadWhatOleStorageLiteWrites) {
  const QString path = fDir.filePath(QStringLiteral("perl.cfb"));
  const TProgramRun result =
      RunProgram(QStringLiteral("perl"),
                 {TestScriptDir() + QStringLiteral("/ole_storage_lite_write.pl"), path});
  ASSERT_EQ(result.ExitCode, 0) << result.Err.toStdString();

  auto counting = [](int n) {
    QByteArray bytes(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
      bytes[i] = char(i % 251);
    return bytes;
  };
  TStorage expected;
  expected.CreateStream(QStringLiteral("Version"), QByteArray("1.0", 4));
  expected.CreateStream(QStringLiteral("Big"), counting(100000));
  for (int g = 0; g < 3; ++g) {
    TStorage& group = expected.CreateStorage(QStringLiteral("Group %1").arg(g));
    group.CreateStream(QStringLiteral("PatWidth"), QByteArray::number(g + 1) + '\0');
    TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
    tiles.CreateStream(QStringLiteral("0.0"), counting(5000 + g));
    tiles.CreateStream(QStringLiteral("0.1"), counting(64 * (g + 1)));
    tiles.CreateStream(QStringLiteral("1.0"));
    tiles.CreateStream(QStringLiteral("1.1"), counting(4096));
  }
  const auto read = ReadCompoundFile(path, TOpenMode::Read);
  EXPECT_EQ(ListTree(*read), ListTree(expected));
}

TEST_F(CompoundFileCrossCheck, OlefileReadsAFileWithAChainedDifat) {
  TStorage root;
  root.CreateStream(QStringLiteral("Big"), PatternBytes(15000 * 512, 3));
  root.CreateStorage(QStringLiteral("Tiles"))
      .CreateStream(QStringLiteral("0"), PatternBytes(90, 4));
  const QString path = Write(root, QStringLiteral("big.cfb"));
  const TProgramRun result = Olefile(QStringLiteral("list"), path);
  ASSERT_EQ(result.ExitCode, 0) << result.Err.toStdString();
  EXPECT_EQ(Lines(result.Out), ListTree(root));
}
