#include "CompoundFile.h"
#include "CompoundFileFormat.h"

#include <algorithm>
#include <deque>
#include <vector>

using namespace TCfb;

namespace {

constexpr int kShift = 9;
constexpr quint32 kSectorSize = 1u << kShift;
constexpr quint32 kPerSector = kSectorSize / 4;  // FAT entries per sector
constexpr quint32 kPerDifat = kPerSector - 1;    // FAT locations per DIFAT sector
constexpr quint32 kEntriesPerSector = kSectorSize / kDirEntrySize;
constexpr quint32 kMiniPerSector = kSectorSize / kMiniSectorSize;

quint32 SectorsFor(quint64 bytes, quint64 unit) {
  return quint32((bytes + unit - 1) / unit);
}

// Lays out a whole version 3 file (512-byte sectors) in one buffer:
//   header | FAT | DIFAT | mini FAT | directory | mini stream | other streams
// Every structure is one contiguous run of sectors. Nothing in the output
// depends on the time or on memory addresses, so the same tree always gives
// the same bytes.
class TCompoundFileWriter {
 public:
  explicit TCompoundFileWriter(const TStorage& root) { CollectEntries(root); }

  QByteArray Serialize();

 private:
  struct TDirEntry {
    QString Name;
    quint8 Type = etUnused;
    quint8 Color = ecBlack;
    quint32 Left = kNoStream;
    quint32 Right = kNoStream;
    quint32 Child = kNoStream;
    quint32 Start = kEndOfChain;
    quint64 Size = 0;
    const QByteArray* Data = nullptr;
  };

  void CollectEntries(const TStorage& root);
  quint32 BuildSiblingTree(quint32 base, int low, int high, int depth, int redDepth);
  void LayOutStreams(quint32 firstStreamSector);
  void WriteHeader(char* out) const;
  void WriteEntry(char* out, const TDirEntry& entry) const;

  std::vector<TDirEntry> fEntries;
  quint32 fMiniSectors = 0;  // mini sectors of all small streams
  quint32 fFatSectors = 0;
  quint32 fDifatSectors = 0;
  quint32 fMiniFatSectors = 0;
  quint32 fDirSectors = 0;
  quint32 fMiniStreamSectors = 0;
};

void TCompoundFileWriter::CollectEntries(const TStorage& root) {
  fEntries.push_back({});
  fEntries[0].Name = QStringLiteral("Root Entry");
  fEntries[0].Type = etRoot;

  // Breadth first: every storage's children get consecutive entries in the
  // container's name order, and their sibling tree is a balanced search
  // tree over that range.
  std::deque<std::pair<const TStorage*, quint32>> pending{{&root, 0}};
  while (!pending.empty()) {
    // Plain variables, not a structured binding: clang before C++20 cannot
    // capture a binding in the lambda below.
    const TStorage* storage = pending.front().first;
    const quint32 parent = pending.front().second;
    pending.pop_front();
    std::vector<int> order(size_t(storage->ElementCount()));
    for (int i = 0; i < storage->ElementCount(); ++i) {
      TStorage::ValidateElementName(storage->NameAt(i));
      order[size_t(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(), [storage](int a, int b) {
      return TStorage::CompareNames(storage->NameAt(a), storage->NameAt(b)) < 0;
    });
    for (size_t i = 1; i < order.size(); ++i)
      if (TStorage::CompareNames(storage->NameAt(order[i - 1]), storage->NameAt(order[i])) == 0)
        throw TStorageError(QStringLiteral("The storage \"%1\" holds two elements named \"%2\".")
                                .arg(storage->Name(), storage->NameAt(order[i])));

    const quint32 base = quint32(fEntries.size());
    for (int index : order) {
      TDirEntry entry;
      entry.Name = storage->NameAt(index);
      if (storage->TypeAt(index) == TElementType::Storage) {
        entry.Type = etStorage;
        entry.Start = 0;
        pending.emplace_back(&storage->StorageAt(index), quint32(fEntries.size()));
      } else {
        entry.Type = etStream;
        entry.Data = &storage->StreamAt(index);
        entry.Size = quint64(entry.Data->size());
        if (entry.Size > 0xFFFFFFFFu)
          throw TStorageError(QStringLiteral("The stream \"%1\" is too large for a compound file.")
                                  .arg(entry.Name));
      }
      fEntries.push_back(std::move(entry));
    }
    const int n = int(order.size());
    if (n == 0) continue;
    // Levels 0 .. levels-1; the deepest level is red when it is not full,
    // which gives every path from the root to a leaf the same black count.
    int levels = 0;
    while ((1 << levels) - 1 < n)
      ++levels;
    const int redDepth = (1 << levels) - 1 == n ? -1 : levels - 1;
    fEntries[parent].Child = BuildSiblingTree(base, 0, n, 0, redDepth);
  }
}

quint32 TCompoundFileWriter::BuildSiblingTree(quint32 base, int low, int high, int depth,
                                              int redDepth) {
  // The recursion is over our own tree and only log2(n) deep.
  if (low >= high) return kNoStream;
  const int middle = (low + high) / 2;
  const quint32 id = base + quint32(middle);
  fEntries[id].Color = depth == redDepth ? ecRed : ecBlack;
  fEntries[id].Left = BuildSiblingTree(base, low, middle, depth + 1, redDepth);
  fEntries[id].Right = BuildSiblingTree(base, middle + 1, high, depth + 1, redDepth);
  return id;
}

void TCompoundFileWriter::LayOutStreams(quint32 firstStreamSector) {
  quint32 mini = 0;
  quint32 big = firstStreamSector;
  for (TDirEntry& entry : fEntries) {
    if (entry.Type != etStream || entry.Size == 0) continue;
    if (entry.Size < kMiniStreamCutoff) {
      entry.Start = mini;
      mini += SectorsFor(entry.Size, kMiniSectorSize);
    } else {
      entry.Start = big;
      big += SectorsFor(entry.Size, kSectorSize);
    }
  }
}

void TCompoundFileWriter::WriteHeader(char* out) const {
  std::memcpy(out, kSignature, kSignatureSize);
  Put16(out + hoMinorVersion, kMinorVersion);
  Put16(out + hoMajorVersion, 3);
  Put16(out + hoByteOrder, kByteOrderMark);
  Put16(out + hoSectorShift, kShift);
  Put16(out + hoMiniSectorShift, kMiniSectorShift);
  Put32(out + hoFatSectorCount, fFatSectors);
  Put32(out + hoFirstDirSector, fFatSectors + fDifatSectors + fMiniFatSectors);
  Put32(out + hoMiniStreamCutoff, kMiniStreamCutoff);
  Put32(out + hoFirstMiniFatSector, fMiniFatSectors ? fFatSectors + fDifatSectors : kEndOfChain);
  Put32(out + hoMiniFatSectorCount, fMiniFatSectors);
  Put32(out + hoFirstDifatSector, fDifatSectors ? fFatSectors : kEndOfChain);
  Put32(out + hoDifatSectorCount, fDifatSectors);
  for (quint32 i = 0; i < quint32(kHeaderDifatEntries); ++i)
    Put32(out + hoDifat + 4 * i, i < fFatSectors ? i : kFreeSector);
}

void TCompoundFileWriter::WriteEntry(char* out, const TDirEntry& entry) const {
  const QString& name = entry.Name;
  for (qsizetype i = 0; i < name.size(); ++i)
    Put16(out + 2 * i, name[i].unicode());
  Put16(out + doNameLength, entry.Type == etUnused ? 0 : quint16((name.size() + 1) * 2));
  out[doType] = char(entry.Type);
  out[doColor] = char(entry.Type == etUnused ? quint8(ecRed) : entry.Color);
  Put32(out + doLeft, entry.Left);
  Put32(out + doRight, entry.Right);
  Put32(out + doChild, entry.Child);
  Put32(out + doStartSector, entry.Type == etUnused ? 0 : entry.Start);
  Put64(out + doSize, entry.Size);
}

QByteArray TCompoundFileWriter::Serialize() {
  quint64 bigSectors = 0;
  for (const TDirEntry& entry : fEntries) {
    if (entry.Type != etStream) continue;
    if (entry.Size < kMiniStreamCutoff)
      fMiniSectors += SectorsFor(entry.Size, kMiniSectorSize);
    else
      bigSectors += SectorsFor(entry.Size, kSectorSize);
  }
  fMiniFatSectors = SectorsFor(fMiniSectors, kPerSector);
  fMiniStreamSectors = SectorsFor(fMiniSectors, kMiniPerSector);
  fDirSectors = SectorsFor(fEntries.size(), kEntriesPerSector);
  const quint64 others = bigSectors + fMiniFatSectors + fMiniStreamSectors + fDirSectors;
  // The FAT must also describe its own sectors and those of the DIFAT.
  quint64 fat = 0, difat = 0;
  for (;;) {
    const quint64 needFat = SectorsFor(fat + difat + others, kPerSector);
    const quint64 needDifat = needFat > quint64(kHeaderDifatEntries)
                                  ? SectorsFor(needFat - kHeaderDifatEntries, kPerDifat)
                                  : 0;
    if (needFat == fat && needDifat == difat) break;
    fat = needFat;
    difat = needDifat;
  }
  const quint64 total = fat + difat + others;
  if (total >= kMaxRegularSector / 2)
    throw TStorageError(QStringLiteral("The data is too large for a compound file."));
  fFatSectors = quint32(fat);
  fDifatSectors = quint32(difat);

  const quint32 miniFatStart = fFatSectors + fDifatSectors;
  const quint32 dirStart = miniFatStart + fMiniFatSectors;
  const quint32 miniStreamStart = dirStart + fDirSectors;
  const quint32 bigStart = miniStreamStart + fMiniStreamSectors;
  LayOutStreams(bigStart);
  if (fMiniSectors > 0) {
    fEntries[0].Start = miniStreamStart;
    fEntries[0].Size = quint64(fMiniSectors) * kMiniSectorSize;
  }

  QByteArray file(qsizetype(kHeaderSize + total * kSectorSize), '\0');
  char* data = file.data();
  auto sector = [data](quint32 s) { return data + (qint64(s) + 1) * kSectorSize; };
  WriteHeader(data);

  // FAT: each structure and stream is one run of sectors.
  std::vector<quint32> table(size_t(fFatSectors) * kPerSector, kFreeSector);
  auto chain = [&table](quint32 start, quint32 count) {
    for (quint32 i = 0; i < count; ++i)
      table[start + i] = i + 1 < count ? start + i + 1 : kEndOfChain;
  };
  for (quint32 i = 0; i < fFatSectors; ++i)
    table[i] = kFatSector;
  for (quint32 i = 0; i < fDifatSectors; ++i)
    table[fFatSectors + i] = kDifatSector;
  chain(miniFatStart, fMiniFatSectors);
  chain(dirStart, fDirSectors);
  chain(miniStreamStart, fMiniStreamSectors);
  for (const TDirEntry& entry : fEntries)
    if (entry.Type == etStream && entry.Size >= kMiniStreamCutoff)
      chain(entry.Start, SectorsFor(entry.Size, kSectorSize));
  for (size_t i = 0; i < table.size(); ++i)
    Put32(sector(0) + 4 * i, table[i]);

  // DIFAT: the locations of the FAT sectors beyond the header's 109.
  for (quint32 d = 0; d < fDifatSectors; ++d) {
    char* p = sector(fFatSectors + d);
    for (quint32 i = 0; i < kPerDifat; ++i) {
      const quint64 fatIndex = quint64(kHeaderDifatEntries) + quint64(d) * kPerDifat + i;
      Put32(p + 4 * i, fatIndex < fFatSectors ? quint32(fatIndex) : kFreeSector);
    }
    Put32(p + 4 * kPerDifat, d + 1 < fDifatSectors ? fFatSectors + d + 1 : kEndOfChain);
  }

  // Mini FAT and mini stream.
  std::vector<quint32> miniTable(size_t(fMiniFatSectors) * kPerSector, kFreeSector);
  for (const TDirEntry& entry : fEntries) {
    if (entry.Type != etStream || entry.Size == 0 || entry.Size >= kMiniStreamCutoff) continue;
    const quint32 count = SectorsFor(entry.Size, kMiniSectorSize);
    for (quint32 i = 0; i < count; ++i)
      miniTable[entry.Start + i] = i + 1 < count ? entry.Start + i + 1 : kEndOfChain;
    std::memcpy(sector(miniStreamStart) + qint64(entry.Start) * kMiniSectorSize,
                entry.Data->constData(), size_t(entry.Size));
  }
  for (size_t i = 0; i < miniTable.size(); ++i)
    Put32(sector(miniFatStart) + 4 * i, miniTable[i]);

  // Directory; the unused entries that fill its last sector carry no links.
  fEntries.resize(size_t(fDirSectors) * kEntriesPerSector);
  for (size_t i = 0; i < fEntries.size(); ++i)
    WriteEntry(sector(dirStart) + qint64(i) * kDirEntrySize, fEntries[i]);

  for (const TDirEntry& entry : fEntries)
    if (entry.Type == etStream && entry.Size >= kMiniStreamCutoff)
      std::memcpy(sector(entry.Start), entry.Data->constData(), size_t(entry.Size));
  return file;
}

}  // namespace

QByteArray SerializeCompoundFile(const TStorage& root) {
  return TCompoundFileWriter(root).Serialize();
}
