#include "CompoundFileSupport.h"

#include "storage/CompoundFile.h"
#include "storage/PropertySet.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace {

quint32 U32(const QByteArray& b, qint64 at) {
  if (at < 0 || at + 4 > b.size()) {
    ADD_FAILURE() << "read outside the file at offset " << at;
    return 0;
  }
  return qFromLittleEndian<quint32>(b.constData() + at);
}

// An independent look at the directory our writer produces (small files
// only: FAT in the header's list): checks for every storage that its sibling
// tree is a search tree in the container's name order and a valid red-black
// tree (black root, no red node with a red child, one black count on every
// path). Returns the number of entries checked.
int CheckSiblingTrees(const QByteArray& file) {
  std::vector<quint32> fat;
  for (quint32 i = 0; i < U32(file, 44); ++i) {
    const qint64 at = (qint64(U32(file, 76 + 4 * i)) + 1) * 512;
    for (int k = 0; k < 128; ++k)
      fat.push_back(U32(file, at + 4 * k));
  }
  QByteArray dir;
  for (quint32 s = U32(file, 48); s != 0xFFFFFFFEu; s = fat.at(s))
    dir += file.mid((qint64(s) + 1) * 512, 512);
  auto entry = [&dir](quint32 i) { return dir.constData() + qint64(i) * 128; };
  auto name = [&](quint32 i) {
    const int units = qFromLittleEndian<quint16>(entry(i) + 64) / 2 - 1;
    return QString(reinterpret_cast<const QChar*>(entry(i)), units);
  };
  auto link = [&](quint32 i, int offset) { return qFromLittleEndian<quint32>(entry(i) + offset); };
  auto red = [&](quint32 i) { return i != 0xFFFFFFFFu && entry(i)[67] == 0; };

  int checked = 0;
  // Black height of the subtree, or -1 when the red-black rules fail; also
  // collects the in-order names.
  std::function<int(quint32, QStringList&)> walk = [&](quint32 i, QStringList& names) -> int {
    if (i == 0xFFFFFFFFu) return 1;
    ++checked;
    const int left = walk(link(i, 68), names);
    names << name(i);
    const int right = walk(link(i, 72), names);
    if (left < 0 || left != right) return -1;
    if (red(i) && (red(link(i, 68)) || red(link(i, 72)))) return -1;
    if (entry(i)[66] == 1) {
      QStringList children;
      const quint32 child = link(i, 76);
      EXPECT_FALSE(red(child)) << "red tree root under " << name(i).toStdString();
      EXPECT_GT(walk(child, children), 0)
          << "red-black rules broken under " << name(i).toStdString();
      for (int k = 1; k < children.size(); ++k)
        EXPECT_LT(TStorage::CompareNames(children[k - 1], children[k]), 0);
    }
    return left + (red(i) ? 0 : 1);
  };
  QStringList top;
  EXPECT_FALSE(red(link(0, 76)));
  EXPECT_GT(walk(link(0, 76), top), 0);
  for (int k = 1; k < top.size(); ++k)
    EXPECT_LT(TStorage::CompareNames(top[k - 1], top[k]), 0);
  return checked;
}

}  // namespace

TEST(CompoundFileRoundTrip, TilesetShapedTreeComesBackWithNamesOrderAndBytes) {
  const auto tree = MakeTilesetTree();
  const QByteArray file = SerializeCompoundFile(*tree);
  ASSERT_EQ((file.size() - 512) % 512, 0);
  const auto parsed = ParseCompoundFile(file);
  EXPECT_EQ(parsed->Name(), QStringLiteral("Root Entry"));
  ExpectSameTree(*tree, *parsed);
  EXPECT_EQ(CheckSiblingTrees(file), 5 + 25 + 12 * 2 + 36);
}

TEST(CompoundFileRoundTrip, EveryBoundarySizeAloneAndTogether) {
  // Alone: the file holds only a mini stream, only regular sectors, or none.
  for (int size : BoundarySizes()) {
    SCOPED_TRACE(size);
    TStorage root;
    root.CreateStream(QStringLiteral("s"), PatternBytes(size, size));
    ExpectSameTree(root, *ParseCompoundFile(SerializeCompoundFile(root)));
  }
  TStorage empty;
  const auto parsed = ParseCompoundFile(SerializeCompoundFile(empty));
  EXPECT_EQ(parsed->ElementCount(), 0);
}

TEST(CompoundFileRoundTrip, OutputIsByteIdenticalWhateverTheOrderOfCreation) {
  TStorage a, b;
  for (const char* name : {"Zeta", "alpha", "Beta", "b", "LayerWall"})
    a.CreateStream(QString::fromLatin1(name), PatternBytes(int(qstrlen(name)) * 700, 1));
  for (const char* name : {"LayerWall", "b", "Beta", "alpha", "Zeta"})
    b.CreateStream(QString::fromLatin1(name), PatternBytes(int(qstrlen(name)) * 700, 1));
  EXPECT_EQ(SerializeCompoundFile(a), SerializeCompoundFile(b));
  EXPECT_EQ(SerializeCompoundFile(*MakeTilesetTree()), SerializeCompoundFile(*MakeTilesetTree()));
}

TEST(CompoundFileRoundTrip, SiblingTreesAreValidRedBlackTreesForEveryWidth) {
  for (int n = 1; n <= 70; ++n) {
    SCOPED_TRACE(n);
    TStorage root;
    TStorage& wide = root.CreateStorage(QStringLiteral("Wide"));
    for (int i = 0; i < n; ++i)
      wide.CreateStream(QString::number(i * 7919 % 1000), "x");
    const QByteArray file = SerializeCompoundFile(root);
    EXPECT_EQ(CheckSiblingTrees(file), n + 1);
    ExpectSameTree(root, *ParseCompoundFile(file));
  }
}

TEST(CompoundFileRoundTrip, WriterSortsAppendedElementsAndRefusesBadNames) {
  TStorage root;
  root.AppendStream(QStringLiteral("Zeta"), "1");
  root.AppendStorage(QStringLiteral("ab"));
  root.AppendStream(QStringLiteral("B"), "2");
  const auto parsed = ParseCompoundFile(SerializeCompoundFile(root));
  ASSERT_EQ(parsed->ElementCount(), 3);
  EXPECT_EQ(parsed->NameAt(0), QStringLiteral("B"));
  EXPECT_EQ(parsed->NameAt(1), QStringLiteral("ab"));
  EXPECT_EQ(parsed->NameAt(2), QStringLiteral("Zeta"));

  struct TCase {
    const char* Why;
    QString First, Second;
  };
  const TCase cases[] = {
      {"names equal but for case", QStringLiteral("Tiles"), QStringLiteral("TILES")},
      {"empty name", QStringLiteral("a"), QString()},
      {"name too long", QStringLiteral("a"), QString(32, QLatin1Char('n'))},
      {"slash in name", QStringLiteral("a"), QStringLiteral("a/b")},
      {"exclamation mark in name", QStringLiteral("a"), QStringLiteral("x!")},
  };
  for (const TCase& c : cases) {
    TStorage bad;
    TStorage& inner = bad.AppendStorage(QStringLiteral("Inner"));
    inner.AppendStream(c.First, "1");
    inner.AppendStorage(c.Second);
    EXPECT_THROW(SerializeCompoundFile(bad), TStorageError) << c.Why;
  }
}

TEST(CompoundFileRoundTrip, ManyFatSectorsNeedTheDifatChain) {
  // 300 FAT sectors describe 38400 sectors: far beyond the header's 109.
  TStorage root;
  root.CreateStream(QStringLiteral("Big"), PatternBytes(38000 * 512, 7));
  root.CreateStream(QStringLiteral("Small"), PatternBytes(100, 8));
  const QByteArray file = SerializeCompoundFile(root);
  EXPECT_GT(U32(file, 44), 109u);  // FAT sectors
  EXPECT_GE(U32(file, 72), 2u);    // DIFAT sectors
  ExpectSameTree(root, *ParseCompoundFile(file));
}

TEST(CompoundFileReader, KeepsTheFileOrderOfSiblingsWithoutSorting) {
  TStorage root;
  root.CreateStream(QStringLiteral("AA"), "1");
  root.CreateStream(QStringLiteral("BB"), "2");
  root.CreateStream(QStringLiteral("CC"), "3");
  QByteArray file = SerializeCompoundFile(root);
  // Entries 1..3 hold AA, BB, CC; swapping the first letters of AA and CC
  // leaves a tree whose in-order walk is CA, BB, AC.
  const qint64 dir = (qint64(U32(file, 48)) + 1) * 512;
  std::swap(file[dir + 128], file[dir + 3 * 128]);
  const auto parsed = ParseCompoundFile(file);
  ASSERT_EQ(parsed->ElementCount(), 3);
  EXPECT_EQ(parsed->NameAt(0), QStringLiteral("CA"));
  EXPECT_EQ(parsed->NameAt(1), QStringLiteral("BB"));
  EXPECT_EQ(parsed->NameAt(2), QStringLiteral("AC"));
  EXPECT_EQ(parsed->OpenStream(QStringLiteral("ca")), QByteArray("1"));
}

TEST(PropertySet, SummaryInformationLayout) {
  const QByteArray expected = QByteArray::fromHex(
      "feff0000 06000200 e0859ff2f94f6810ab9108002b27b3d9 01000000"
      "e0859ff2f94f6810ab9108002b27b3d9 30000000"
      // section: size, count, (PID, offset) pairs
      "40000000 03000000 01000000 20000000 02000000 28000000 04000000 34000000"
      // code page 1252 as VT_I2
      "02000000 e4040000"
      // VT_LPSTR "Ab" with its NUL, then "\xe9" with its NUL, padded to 4
      "1e000000 03000000 41620000"
      "1e000000 02000000 e9000000"
      "");
  EXPECT_EQ(
      BuildSummaryInformation({{pidTitle, QStringLiteral("Ab")}, {pidAuthor, QString(QChar(0xE9))}})
          .toHex(' ')
          .toStdString(),
      expected.toHex(' ').toStdString());

  const QByteArray doc = BuildDocumentSummaryInformation();
  EXPECT_EQ(doc.size(), 48 + 24);
  EXPECT_EQ(doc.mid(28, 16).toHex(), QByteArray("02d5cdd59c2e1b10939708002b2cf9ae"));
  EXPECT_EQ(doc.mid(48).toHex(), QByteArray("1800000001000000010000001000000002000000e4040000"));
}

// Writes the seed corpus of the compound-file fuzz target into the folder
// named by TESSELLAN_FUZZ_SEED_DIR; run it by hand with
// --gtest_also_run_disabled_tests --gtest_filter='*FuzzSeeds*'.
TEST(CompoundFileFuzzSeeds, DISABLED_Write) {
  const QString dir = qEnvironmentVariable("TESSELLAN_FUZZ_SEED_DIR");
  ASSERT_FALSE(dir.isEmpty());
  auto write = [&dir](const char* name, const QByteArray& bytes) {
    QFile file(dir + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  };
  write("empty.cfb", SerializeCompoundFile(TStorage()));
  TStorage tileset;
  tileset.CreateStream(QStringLiteral("Version"), QByteArray("1.0", 4));
  for (int g = 0; g < 3; ++g) {
    TStorage& group = tileset.CreateStorage(QStringLiteral("Group %1").arg(g));
    group.CreateStream(QStringLiteral("PatWidth"), QByteArray("12", 3));
    TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
    tiles.CreateStream(QStringLiteral("0.0"), PatternBytes(BoundarySizes()[g * 2 + 1], g));
    tiles.CreateStream(QStringLiteral("0.1"), PatternBytes(BoundarySizes()[g * 2 + 2], g));
  }
  write("tileset.cfb", SerializeCompoundFile(tileset));
  TStorage map;
  map.CreateStream(QStringLiteral("Version"), QByteArray("1.0", 4));
  TStorage& tiles = map.CreateStorage(QStringLiteral("Tiles"));
  for (int i = 0; i < 3; ++i)
    tiles.CreateStream(QString::number(i), PatternBytes(70 * i, i));
  map.CreateStream(QStringLiteral("LayerBase"), PatternBytes(4100, 9));
  write("map.cfb", SerializeCompoundFile(map));
  write("version4.cfb", MakeVersionFourFile(false));
}
