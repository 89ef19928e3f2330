#include "CompoundFileSupport.h"

#include "storage/PropertySet.h"
#include "storage/PropertyStream.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

QByteArray PatternBytes(int size, int seed) {
  QByteArray bytes(size, Qt::Uninitialized);
  quint32 state = 2166136261u ^ quint32(seed) * 16777619u;
  for (int i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = char(state >> 23);
  }
  return bytes;
}

const QList<int>& BoundarySizes() {
  static const QList<int> sizes{0, 1, 63, 64, 4095, 4096, 4097, 20000, 100000};
  return sizes;
}

std::unique_ptr<TStorage> MakeTilesetTree(int sizeLimit) {
  auto root = std::make_unique<TStorage>(QStringLiteral("Root Entry"));
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, QStringLiteral("Example")}}));
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("TilesetName"), QStringLiteral("Example Tileset"));
  WriteProperty(*root, QStringLiteral("URL"), QString());
  int seed = 0;
  for (int g = 0; g < 12; ++g) {
    TStorage& group = root->CreateStorage(QStringLiteral("Group %1").arg(g));
    WriteProperty(group, QStringLiteral("PatWidth"), QString::number(g + 1));
    WriteProperty(group, QStringLiteral("PlaceType"), QString::number(g % 3));
    TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
    for (int t = 0; t < 3; ++t) {
      const int size = std::min(sizeLimit, BoundarySizes()[(g * 3 + t) % BoundarySizes().size()]);
      tiles.CreateStream(QStringLiteral("%1.%2").arg(t % 2).arg(t / 2 + g),
                         PatternBytes(size, ++seed));
    }
  }
  root->CreateStorage(QStringLiteral("Empty"));
  return root;
}

std::unique_ptr<TStorage> MakeMapTree() {
  auto root = std::make_unique<TStorage>(QStringLiteral("Root Entry"));
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, QStringLiteral("Cellar")},
                                              {pidAuthor, QStringLiteral("Ann")},
                                              {pidComments, QStringLiteral("Dark")},
                                              {pidSubject, QStringLiteral("Battle Map")}}));
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("MapName"), QStringLiteral("Cellar"));
  WriteProperty(*root, QStringLiteral("MapWidth"), QStringLiteral("20"));
  WriteProperty(*root, QStringLiteral("MapHeight"), QStringLiteral("16"));
  TStorage& tiles = root->CreateStorage(QStringLiteral("Tiles"));
  for (int i = 0; i < 6; ++i)
    tiles.CreateStream(QString::number(i), PatternBytes(300 + 170 * i, 100 + i));
  root->CreateStream(QStringLiteral("LayerBase"), PatternBytes(1500, 200));
  root->CreateStream(QStringLiteral("LayerWall"), PatternBytes(5000, 201));
  return root;
}

void ExpectSameTree(const TStorage& expected, const TStorage& actual) {
  ASSERT_EQ(expected.ElementCount(), actual.ElementCount())
      << "in " << expected.Name().toStdString();
  for (int i = 0; i < expected.ElementCount(); ++i) {
    SCOPED_TRACE(expected.NameAt(i).toStdString());
    ASSERT_EQ(expected.NameAt(i), actual.NameAt(i));
    ASSERT_EQ(expected.TypeAt(i), actual.TypeAt(i));
    if (expected.TypeAt(i) == TElementType::Storage)
      ExpectSameTree(expected.StorageAt(i), actual.StorageAt(i));
    else
      EXPECT_EQ(expected.StreamAt(i), actual.StreamAt(i));
  }
}

QString TestScriptDir() {
  return QStringLiteral(TESSELLAN_SOURCE_DIR "/tests/storage");
}

void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& list, std::ostream* out) {
  *out << "{\n";
  for (const QString& text : list)
    *out << "  " << text.toStdString() << "\n";
  *out << "}";
}

quint32 TRawCompoundFile::Get32(qint64 offset) const {
  EXPECT_LE(offset + 4, Bytes.size());
  return qFromLittleEndian<quint32>(Bytes.constData() + offset);
}

void TRawCompoundFile::Set32(qint64 offset, quint32 value) {
  ASSERT_LE(offset + 4, Bytes.size());
  qToLittleEndian<quint32>(value, Bytes.data() + offset);
}

void TRawCompoundFile::Set16(qint64 offset, quint16 value) {
  ASSERT_LE(offset + 2, Bytes.size());
  qToLittleEndian<quint16>(value, Bytes.data() + offset);
}

qint64 TRawCompoundFile::FatOffset(quint32 sector) const {
  EXPECT_LT(sector / 128, 109u);
  return SectorOffset(Get32(76 + 4 * (sector / 128))) + 4 * (sector % 128);
}

quint32 TRawCompoundFile::ChainSector(quint32 start, int n) const {
  quint32 sector = start;
  for (int i = 0; i < n; ++i)
    sector = Get32(FatOffset(sector));
  return sector;
}

qint64 TRawCompoundFile::MiniFatOffset(quint32 miniSector) const {
  return SectorOffset(ChainSector(Get32(60), int(miniSector / 128))) + 4 * (miniSector % 128);
}

quint32 TRawCompoundFile::EntryIndex(const QString& name) const {
  quint32 index = 0;
  for (quint32 sector = Get32(48); sector != 0xFFFFFFFEu; sector = Get32(FatOffset(sector))) {
    for (int i = 0; i < 4; ++i, ++index) {
      const char* entry = Bytes.constData() + SectorOffset(sector) + 128 * i;
      const int units = qFromLittleEndian<quint16>(entry + 64) / 2 - 1;
      if (units >= 0 && QString(reinterpret_cast<const QChar*>(entry), units) == name) return index;
    }
  }
  ADD_FAILURE() << "no entry " << name.toStdString();
  return 0;
}

qint64 TRawCompoundFile::EntryOffset(const QString& name) const {
  const quint32 index = EntryIndex(name);
  return SectorOffset(ChainSector(Get32(48), int(index / 4))) + 128 * (index % 4);
}

namespace {

void PutName(char* entry, const QString& name) {
  for (int i = 0; i < name.size(); ++i)
    qToLittleEndian<quint16>(name[i].unicode(), entry + 2 * i);
  qToLittleEndian<quint16>(quint16((name.size() + 1) * 2), entry + 64);
}

}  // namespace

std::unique_ptr<TStorage> MakeVersionFourTree(bool withBig) {
  auto root = std::make_unique<TStorage>(QStringLiteral("Root Entry"));
  if (withBig) root->CreateStream(QStringLiteral("Big"), PatternBytes(10000, 41));
  root->CreateStream(QStringLiteral("Small"), PatternBytes(100, 42));
  root->CreateStorage(QStringLiteral("Tiles"))
      .CreateStream(QStringLiteral("0"), PatternBytes(3000, 43));
  return root;
}

QByteArray MakeVersionFourFile(bool withBig) {
  // Sectors: 0 FAT, 1 directory, 2 mini FAT, 3 mini stream, 4-6 "Big".
  // Mini sectors: "Small" 0-1, "0" 2-48.
  const int sectors = withBig ? 7 : 4;
  QByteArray file((sectors + 1) * 4096, '\0');
  char* d = file.data();
  auto put32 = [d](qint64 at, quint32 v) { qToLittleEndian<quint32>(v, d + at); };
  auto put16 = [d](qint64 at, quint16 v) { qToLittleEndian<quint16>(v, d + at); };
  auto sector = [](int s) { return qint64(s + 1) * 4096; };
  const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  std::memcpy(d, signature, 8);
  put16(24, 0x3E);
  put16(26, 4);
  put16(28, 0xFFFE);
  put16(30, 12);
  put16(32, 6);
  put32(40, 1);  // directory sectors
  put32(44, 1);  // FAT sectors
  put32(48, 1);  // first directory sector
  put32(56, 4096);
  put32(60, 2);  // first mini FAT sector
  put32(64, 1);
  put32(68, 0xFFFFFFFE);
  put32(72, 0);
  put32(76, 0);
  for (int i = 1; i < 109; ++i)
    put32(76 + 4 * i, 0xFFFFFFFF);

  for (int i = 0; i < 1024; ++i)
    put32(sector(0) + 4 * i, 0xFFFFFFFF);
  put32(sector(0), 0xFFFFFFFD);
  for (int s = 1; s <= 3; ++s)
    put32(sector(0) + 4 * s, 0xFFFFFFFE);
  if (withBig) {
    put32(sector(0) + 16, 5);
    put32(sector(0) + 20, 6);
    put32(sector(0) + 24, 0xFFFFFFFE);
  }

  for (int i = 0; i < 1024; ++i)
    put32(sector(2) + 4 * i, 0xFFFFFFFF);
  auto miniChain = [&](int first, int count) {
    for (int i = 0; i < count; ++i)
      put32(sector(2) + 4 * (first + i), i + 1 < count ? quint32(first + i + 1) : 0xFFFFFFFE);
  };
  miniChain(0, 2);
  miniChain(2, 47);

  const auto tree = MakeVersionFourTree(withBig);
  std::memcpy(d + sector(3), tree->OpenStream(QStringLiteral("Small")).constData(), 100);
  std::memcpy(
      d + sector(3) + 128,
      tree->OpenStorage(QStringLiteral("Tiles")).OpenStream(QStringLiteral("0")).constData(), 3000);
  if (withBig)
    std::memcpy(d + sector(4), tree->OpenStream(QStringLiteral("Big")).constData(), 10000);

  // Directory: 0 root, 1 "Small" (tree root, black), 2 "Tiles" (right, red),
  // 3 "0", 4 "Big" (left, red).
  struct TEntry {
    const char* Name;
    quint8 Type, Color;
    quint32 Left, Right, Child, Start;
    quint64 Size;
  };
  const quint32 none = 0xFFFFFFFF;
  const TEntry entries[] = {
      {"Root Entry", 5, 1, none, none, 1, 3, 49 * 64},
      {"Small", 2, 1, withBig ? 4u : none, 2, none, 0, 100},
      {"Tiles", 1, 0, none, none, 3, 0, 0},
      {"0", 2, 1, none, none, none, 2, 3000},
      {"Big", 2, 0, none, none, none, 4, 10000},
  };
  for (int i = 0; i < 32; ++i) {
    char* e = d + sector(1) + 128 * i;
    put32(e - d + 68, none);
    put32(e - d + 72, none);
    put32(e - d + 76, none);
    if (i >= (withBig ? 5 : 4)) continue;
    const TEntry& entry = entries[i];
    PutName(e, QString::fromLatin1(entry.Name));
    e[66] = char(entry.Type);
    e[67] = char(entry.Color);
    put32(e - d + 68, entry.Left);
    put32(e - d + 72, entry.Right);
    put32(e - d + 76, entry.Child);
    put32(e - d + 116, entry.Start);
    put32(e - d + 120, quint32(entry.Size));
    put32(e - d + 124, quint32(entry.Size >> 32));
  }
  return file;
}
