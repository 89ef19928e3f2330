#include "CompoundFileSupport.h"

#include "storage/CompoundFile.h"
#include "support/HostileFiles.h"

#include <QtEndian>

#include <cctype>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Parses damaged bytes: a TStorageError is fine, so is a tree (which is
// then walked whole); anything else fails the test. With `original`, a
// successful parse must give exactly the original tree.
void ExpectCleanOutcome(const QByteArray& bytes, const TStorage* original = nullptr) {
  std::unique_ptr<TStorage> tree;
  try {
    tree = ParseCompoundFile(bytes);
  } catch (const TStorageError& error) {
    EXPECT_TRUE(error.Message().startsWith(QLatin1String("The file ")))
        << error.Message().toStdString();
    return;
  }
  if (original) ExpectSameTree(*original, *tree);
  qint64 total = 0;
  std::vector<const TStorage*> pending{tree.get()};
  while (!pending.empty()) {
    const TStorage* storage = pending.back();
    pending.pop_back();
    for (int i = 0; i < storage->ElementCount(); ++i) {
      if (storage->TypeAt(i) == TElementType::Storage)
        pending.push_back(&storage->StorageAt(i));
      else
        total += storage->StreamAt(i).size();
    }
  }
  EXPECT_LE(total, bytes.size());
}

QString DamageMessage(const QByteArray& bytes) {
  try {
    ParseCompoundFile(bytes);
  } catch (const TStorageError& error) {
    return error.Message();
  }
  return QStringLiteral("(no error)");
}

struct TDamage {
  const char* Name;
  std::function<void(TRawCompoundFile&)> Apply;
  const char* Message;  // part of the expected error message
};

// Damage to a map-shaped file: "LayerWall" (5000 bytes, 10 sectors) is the
// one stream in regular sectors, "Tiles/0".."5" and the rest live in the
// mini stream.
const TDamage kMapDamage[] = {
    {"stream chain loops",
     [](TRawCompoundFile& f) {
       const quint32 start = f.Get32(f.EntryOffset(QStringLiteral("LayerWall")) + 116);
       f.Set32(f.FatOffset(f.ChainSector(start, 3)), start);
     },
     "the chain of stream \"LayerWall\" runs in a loop"},
    {"stream chain ends early",
     [](TRawCompoundFile& f) {
       const quint32 start = f.Get32(f.EntryOffset(QStringLiteral("LayerWall")) + 116);
       f.Set32(f.FatOffset(f.ChainSector(start, 1)), 0xFFFFFFFE);
     },
     "The file is damaged: the chain of stream \"LayerWall\" ends early."},
    {"stream chain leaves the file",
     [](TRawCompoundFile& f) {
       const quint32 start = f.Get32(f.EntryOffset(QStringLiteral("LayerWall")) + 116);
       f.Set32(f.FatOffset(start), 0x00FFFFFF);
     },
     "beyond the end of the file"},
    {"stream chain runs into a free sector",
     [](TRawCompoundFile& f) {
       const quint32 start = f.Get32(f.EntryOffset(QStringLiteral("LayerWall")) + 116);
       f.Set32(f.FatOffset(start), 0xFFFFFFFF);
     },
     "beyond the end of the file"},
    {"stream starts in the directory",
     [](TRawCompoundFile& f) {
       f.Set32(f.EntryOffset(QStringLiteral("LayerWall")) + 116, f.Get32(48));
     },
     "belongs elsewhere"},
    {"stream size beyond the file",
     [](TRawCompoundFile& f) {
       f.Set32(f.EntryOffset(QStringLiteral("LayerWall")) + 120, 0x7FFFFFF0);
     },
     "the size of stream \"LayerWall\" exceeds the file"},
    {"mini chain loops",
     [](TRawCompoundFile& f) {
       const quint32 start = f.Get32(f.EntryOffset(QStringLiteral("5")) + 116);
       f.Set32(f.MiniFatOffset(start + 2), start);
     },
     "the chain of stream \"5\" runs in a loop"},
    {"mini chain ends early",
     [](TRawCompoundFile& f) {
       const quint32 start = f.Get32(f.EntryOffset(QStringLiteral("5")) + 116);
       f.Set32(f.MiniFatOffset(start + 2), 0xFFFFFFFE);
     },
     "the chain of stream \"5\" ends early"},
    {"mini chain leaves the mini stream",
     [](TRawCompoundFile& f) { f.Set32(f.EntryOffset(QStringLiteral("5")) + 116, 100000); },
     "beyond the end of the mini stream"},
    {"two streams share mini sectors",
     [](TRawCompoundFile& f) {
       f.Set32(f.EntryOffset(QStringLiteral("4")) + 116,
               f.Get32(f.EntryOffset(QStringLiteral("3")) + 116));
     },
     "belongs elsewhere"},
    {"mini stream larger than the file",
     [](TRawCompoundFile& f) {
       f.Set32(f.EntryOffset(QStringLiteral("Root Entry")) + 120, 0xFFFFFF00);
     },
     "the size of the mini stream exceeds the file"},
    {"child points back to its ancestor",
     [](TRawCompoundFile& f) {
       f.Set32(f.EntryOffset(QStringLiteral("3")) + 68, f.EntryIndex(QStringLiteral("Tiles")));
     },
     "the directory tree runs in a loop"},
    {"sibling points to itself",
     [](TRawCompoundFile& f) {
       f.Set32(f.EntryOffset(QStringLiteral("Version")) + 72,
               f.EntryIndex(QStringLiteral("Version")));
     },
     "the directory tree runs in a loop"},
    {"storage's child is the root",
     [](TRawCompoundFile& f) { f.Set32(f.EntryOffset(QStringLiteral("Tiles")) + 76, 0); },
     "the directory tree runs in a loop at entry 0"},
    {"link beyond the directory",
     [](TRawCompoundFile& f) { f.Set32(f.EntryOffset(QStringLiteral("MapName")) + 68, 5000); },
     "links to an entry beyond the directory"},
    {"two names equal but for case",
     [](TRawCompoundFile& f) {
       const qint64 e = f.EntryOffset(QStringLiteral("LayerBase"));
       const char* wall = "layerwall";
       for (int i = 0; i < 9; ++i)
         f.Set16(e + 2 * i, quint16(wall[i]));
     },
     "holds two elements named"},
    {"odd name length",
     [](TRawCompoundFile& f) { f.Set16(f.EntryOffset(QStringLiteral("MapName")) + 64, 7); },
     "invalid name length"},
    {"name length beyond 64 bytes",
     [](TRawCompoundFile& f) { f.Set16(f.EntryOffset(QStringLiteral("MapName")) + 64, 66); },
     "invalid name length"},
    {"empty name",
     [](TRawCompoundFile& f) { f.Set16(f.EntryOffset(QStringLiteral("MapName")) + 64, 2); },
     "invalid name length"},
    {"name without its NUL",
     [](TRawCompoundFile& f) { f.Set16(f.EntryOffset(QStringLiteral("MapName")) + 64, 8); },
     "unterminated name"},
    {"NUL inside a name",
     [](TRawCompoundFile& f) { f.Set16(f.EntryOffset(QStringLiteral("MapName")) + 2, 0); },
     "invalid name"},
    {"unused entry in the tree",
     [](TRawCompoundFile& f) { f.Bytes[f.EntryOffset(QStringLiteral("MapName")) + 66] = 0; },
     "invalid type"},
    {"second root entry",
     [](TRawCompoundFile& f) { f.Bytes[f.EntryOffset(QStringLiteral("MapName")) + 66] = 5; },
     "invalid type"},
    {"no root entry",
     [](TRawCompoundFile& f) { f.Bytes[f.EntryOffset(QStringLiteral("Root Entry")) + 66] = 1; },
     "the root entry is missing"},
    {"not a compound file", [](TRawCompoundFile& f) { f.Bytes[7] = 0; },
     "The file is not a compound file."},
    {"unknown byte order", [](TRawCompoundFile& f) { f.Set16(28, 0xFEFF); }, "byte order"},
    {"unknown version", [](TRawCompoundFile& f) { f.Set16(26, 5); }, "version 5"},
    {"version 3 with large sectors", [](TRawCompoundFile& f) { f.Set16(30, 12); }, "not supported"},
    {"huge sector shift", [](TRawCompoundFile& f) { f.Set16(30, 40); }, "not supported"},
    {"odd mini sector size", [](TRawCompoundFile& f) { f.Set16(32, 7); }, "mini sector size"},
    {"odd mini stream cutoff", [](TRawCompoundFile& f) { f.Set32(56, 8192); }, "cutoff"},
    {"huge FAT sector count", [](TRawCompoundFile& f) { f.Set32(44, 0xFFFFFFFF); },
     "the FAT is larger than the file"},
    {"DIFAT sector count without need", [](TRawCompoundFile& f) { f.Set32(72, 1); },
     "the DIFAT sector count does not match"},
    {"FAT sector beyond the file", [](TRawCompoundFile& f) { f.Set32(76, 0x10000); },
     "the FAT refers to a sector beyond the end of the file"},
    {"FAT sector listed twice",
     [](TRawCompoundFile& f) {
       f.Set32(44, 2);
       f.Set32(80, f.Get32(76));
     },
     "the FAT's list of sectors runs in a loop"},
    {"huge DIFAT sector count", [](TRawCompoundFile& f) { f.Set32(72, 0xFFFFFFFF); },
     "the DIFAT sector count does not match"},
    {"huge mini FAT sector count", [](TRawCompoundFile& f) { f.Set32(64, 0xFFFFFFF0); },
     "the mini FAT is larger than the file"},
    {"mini FAT count beyond its chain", [](TRawCompoundFile& f) { f.Set32(64, 2); },
     "the chain of the mini FAT ends early"},
    {"directory starts beyond the file", [](TRawCompoundFile& f) { f.Set32(48, 0x7FFFFFFF); },
     "the chain of the directory refers to a sector beyond the end of the file"},
    {"no directory", [](TRawCompoundFile& f) { f.Set32(48, 0xFFFFFFFE); },
     "the directory is empty"},
    {"directory chain loops",
     [](TRawCompoundFile& f) {
       const quint32 first = f.Get32(48);
       f.Set32(f.FatOffset(f.ChainSector(first, 1)), first);
     },
     "the chain of the directory runs in a loop"},
    {"cut off inside the last stream", [](TRawCompoundFile& f) { f.Bytes.chop(200); },
     "cut off at the end of the file"},
    {"header cut off", [](TRawCompoundFile& f) { f.Bytes.truncate(300); },
     "the header is incomplete"},
};

void PrintTo(const TDamage& damage, std::ostream* out) {
  *out << damage.Name;
}

class CompoundFileDamage : public testing::TestWithParam<TDamage> {};

}  // namespace

TEST_P(CompoundFileDamage, RaisesAStorageErrorNamingTheDamage) {
  const auto tree = MakeMapTree();
  TRawCompoundFile file(SerializeCompoundFile(*tree));
  ASSERT_NO_THROW(ParseCompoundFile(file.Bytes));
  GetParam().Apply(file);
  EXPECT_TRUE(DamageMessage(file.Bytes).contains(QString::fromUtf8(GetParam().Message)))
      << DamageMessage(file.Bytes).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Map, CompoundFileDamage, testing::ValuesIn(kMapDamage),
                         [](const testing::TestParamInfo<TDamage>& info) {
                           std::string name;
                           for (const char* c = info.param.Name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

TEST(CompoundFileDamageSweep, TruncationsAndFlippedStructureBytesNeverCrash) {
  // Streams capped at 5000 bytes keep the sweep fast.
  for (const auto& tree : {MakeTilesetTree(5000), MakeMapTree()}) {
    const QByteArray original = SerializeCompoundFile(*tree);
    TRawCompoundFile raw(original);

    // A file cut short either fails or, when only padding was lost, reads
    // whole: never a shortened stream.
    for (qint64 size = 0; size < original.size(); size += size < 2048 ? 7 : 1531)
      ExpectCleanOutcome(original.left(size), tree.get());

    // Structural bytes: the header up to the FAT locations it uses (and
    // one more), FAT, mini FAT and the directory entries' fields after their
    // names (names only matter in the first sector).
    QList<QPair<qint64, qint64>> regions{{0, 76 + 4 * (raw.Get32(44) + 1)}};
    for (quint32 i = 0; i < raw.Get32(44); ++i)
      regions.append({TRawCompoundFile::SectorOffset(raw.Get32(76 + 4 * i)), 512});
    for (quint32 s = raw.Get32(60); s != 0xFFFFFFFEu; s = raw.Get32(raw.FatOffset(s)))
      regions.append({TRawCompoundFile::SectorOffset(s), 512});
    const quint32 firstDir = raw.Get32(48);
    regions.append({TRawCompoundFile::SectorOffset(firstDir), 512});
    for (quint32 s = raw.Get32(raw.FatOffset(firstDir)); s != 0xFFFFFFFEu;
         s = raw.Get32(raw.FatOffset(s)))
      for (int e = 0; e < 4; ++e)
        regions.append({TRawCompoundFile::SectorOffset(s) + 128 * e + 64, 64});

    QByteArray damaged = original;
    int cases = 0;
    for (const auto& [start, length] : regions) {
      for (qint64 at = start; at < start + length; ++at) {
        // Every mask on the header's bytes; elsewhere one mask per byte, in
        // turn, which keeps the sweep fast.
        const char masks[] = {'\xFF', '\x01', '\x80'};
        for (int m = 0; m < 3; ++m) {
          if (at >= 512 && m != at % 3) continue;
          damaged[at] = char(original[at] ^ masks[m]);
          ExpectCleanOutcome(damaged);
          damaged[at] = original[at];
          ++cases;
        }
      }
    }
    EXPECT_GT(cases, 2000);
  }
}

TEST(CompoundFileDamageSweep, DifatChainDamage) {
  TStorage root;
  root.CreateStream(QStringLiteral("Big"), PatternBytes(30000 * 512, 9));
  const QByteArray original = SerializeCompoundFile(root);
  TRawCompoundFile raw(original);
  const quint32 firstDifat = raw.Get32(68);
  ASSERT_EQ(raw.Get32(72), 2u);
  const qint64 next = TRawCompoundFile::SectorOffset(firstDifat) + 127 * 4;

  struct TCase {
    qint64 Offset;
    quint32 Value;
    const char* Message;
  };
  const TCase cases[] = {
      {next, firstDifat, "the DIFAT chain runs in a loop"},
      {next, 0xFFFFFFFE, "the DIFAT chain ends early"},
      {next, 0x00FFFFFF, "the DIFAT chain refers to a sector beyond the end of the file"},
      {68, 0x00FFFFFF, "the DIFAT chain refers to a sector beyond the end of the file"},
      {TRawCompoundFile::SectorOffset(firstDifat) + 8, 0x00FFFFFF,
       "the FAT refers to a sector beyond the end of the file"},
      {TRawCompoundFile::SectorOffset(firstDifat) + 8, firstDifat, "belongs elsewhere"},
  };
  for (const TCase& c : cases) {
    TRawCompoundFile damaged(original);
    damaged.Set32(c.Offset, c.Value);
    EXPECT_TRUE(DamageMessage(damaged.Bytes).contains(QLatin1String(c.Message)))
        << c.Message << ": " << DamageMessage(damaged.Bytes).toStdString();
  }
}

TEST(CompoundFileVersions, VersionFourFilesRead) {
  for (bool withBig : {false, true}) {
    const QByteArray file = MakeVersionFourFile(withBig);
    ExpectSameTree(*MakeVersionFourTree(withBig), *ParseCompoundFile(file));
    for (qint64 size = 0; size < file.size(); size += 509)
      ExpectCleanOutcome(file.left(size), MakeVersionFourTree(withBig).get());
  }
}

TEST(CompoundFileVersions, StreamSizeHighBitsCountOnlyInVersionFour) {
  // Version 3: only the low 32 bits of a size count.
  const auto tree = MakeMapTree();
  TRawCompoundFile three(SerializeCompoundFile(*tree));
  three.Set32(three.EntryOffset(QStringLiteral("LayerWall")) + 124, 0xDEADBEEF);
  three.Set32(three.EntryOffset(QStringLiteral("3")) + 124, 1);
  ExpectSameTree(*tree, *ParseCompoundFile(three.Bytes));

  QByteArray four = MakeVersionFourFile(true);
  // Entry 4 ("Big") of the directory in sector 1: size high half.
  qToLittleEndian<quint32>(1, four.data() + 2 * 4096 + 4 * 128 + 124);
  EXPECT_TRUE(DamageMessage(four).contains(QLatin1String("exceeds the file")));
}

TEST(CompoundFileDepth, DeepTreesAreTornDownAndRefusedWithoutRecursion) {
  // Maps nest one storage level and tilesets two; 64 levels still read.
  EXPECT_EQ(ParseCompoundFile(SerializeCompoundFile(*MakeDeepTree(64)))->ElementCount(), 2);
  EXPECT_EQ(DamageMessage(SerializeCompoundFile(*MakeDeepTree(65))).toStdString(),
            "The file is damaged: its storages nest more than 64 levels deep.");

  // 200,000 levels: destroying the tree one stack frame per level, as
  // writing or reading it would, overflows the stack long before the end.
  QByteArray file;
  {
    const std::unique_ptr<TStorage> deep = MakeDeepTree(200000);
    file = SerializeCompoundFile(*deep);
  }
  EXPECT_GT(file.size(), 25000000);
  EXPECT_TRUE(DamageMessage(file).contains(QLatin1String("nest more than 64 levels")));
}
