#include "CompoundFile.h"
#include "CompoundFileFormat.h"

#include <QSet>

#include <algorithm>
#include <vector>

using namespace TCfb;

namespace {

// How deep storages may nest below the root. Maps nest one level and
// tilesets two; the bound keeps a hostile file from building a tree whose
// depth every later walk would have to survive.
constexpr int kMaxStorageDepth = 64;

[[noreturn]] void Damaged(const QString& detail) {
  throw TStorageError(QStringLiteral("The file is damaged: %1.").arg(detail));
}

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// The key under which the container considers two names equal: the names
// upper-cased one UTF-16 unit at a time, as TStorage::CompareNames does.
QString NameKey(const QString& name) {
  QString key(name.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < name.size(); ++i)
    key[i] = name[i].toUpper();
  return key;
}

// Parses a whole compound file held in memory. The file is untrusted: every
// index is checked before use, every sector may belong to one structure only
// (which also catches loops in chains and bounds the memory a file can make
// us allocate by its own size), and the directory tree is walked with an
// explicit stack, marking each entry once.
class TCompoundFileReader {
 public:
  explicit TCompoundFileReader(const QByteArray& bytes)
      : fData(bytes.constData()), fSize(bytes.size()) {}

  std::unique_ptr<TStorage> Parse() {
    ReadHeader();
    ReadFat();
    ReadDirectory();
    ReadMiniFat();
    ReadMiniStream();
    return BuildTree();
  }

 private:
  // Which structure uses a sector; 0 for none yet.
  using TOwner = quint32;

  void ReadHeader();
  void ReadFat();
  void ReadDirectory();
  void ReadMiniFat();
  void ReadMiniStream();
  std::unique_ptr<TStorage> BuildTree();

  const char* Header(int offset) const { return fData + offset; }
  const char* Entry(quint32 index) const {
    return fDirectory.constData() + qsizetype(index) * kDirEntrySize;
  }
  qint64 SectorOffset(quint32 sector) const { return (qint64(sector) + 1) << fShift; }
  // Marks a sector as used by owner; a sector met twice means a loop (same
  // owner) or two structures sharing it.
  void Claim(quint32 sector, TOwner owner, const QString& what);
  // Checks that a whole sector lies inside the file.
  void CheckSectorInFile(quint32 sector, const QString& what) const;
  // The sectors of a FAT chain: all of them, or with expected >= 0 the
  // first expected ones, which must exist.
  std::vector<quint32> Chain(quint32 start, const QString& what, qint64 expected = -1);
  QByteArray ReadStream(quint32 start, quint64 size, const QString& what);
  QByteArray ReadMiniStream(quint32 start, quint64 size, const QString& what);
  QString EntryName(quint32 index) const;
  quint64 EntrySize(quint32 index) const;
  void CheckLink(quint32 link, quint32 from) const;

  const char* fData;
  qint64 fSize;
  int fShift = 9;
  qint64 fSectorSize = 512;
  bool fVersion4 = false;
  quint32 fSectorCount = 0;  // sectors that start inside the file
  TOwner fLastOwner = 0;
  std::vector<TOwner> fOwner;  // per sector
  std::vector<quint32> fFat;
  std::vector<quint32> fMiniFat;
  std::vector<TOwner> fMiniOwner;  // per mini sector
  QByteArray fMiniStream;
  QByteArray fDirectory;
  quint32 fEntryCount = 0;
};

void TCompoundFileReader::ReadHeader() {
  if (fSize < kSignatureSize || std::memcmp(fData, kSignature, kSignatureSize) != 0)
    throw TStorageError(QStringLiteral("The file is not a compound file."));
  if (fSize < kHeaderSize) Damaged(QStringLiteral("the header is incomplete"));
  if (Get16(Header(hoByteOrder)) != kByteOrderMark)
    Damaged(QStringLiteral("the header has an unknown byte order"));
  const quint16 version = Get16(Header(hoMajorVersion));
  const quint16 shift = Get16(Header(hoSectorShift));
  if (version == 3 && shift == 9) {
    fVersion4 = false;
  } else if (version == 4 && shift == 12) {
    fVersion4 = true;
  } else {
    Damaged(QStringLiteral("the format version %1 with sectors of 2^%2 bytes is not supported")
                .arg(version)
                .arg(shift));
  }
  fShift = shift;
  fSectorSize = qint64(1) << fShift;
  if (Get16(Header(hoMiniSectorShift)) != kMiniSectorShift)
    Damaged(QStringLiteral("the header gives an invalid mini sector size"));
  if (Get32(Header(hoMiniStreamCutoff)) != kMiniStreamCutoff)
    Damaged(QStringLiteral("the header gives an invalid mini stream cutoff"));
  // The header fills sector -1; a version 4 file pads it to 4096 bytes.
  const qint64 sectors = fSize > fSectorSize ? (fSize - 1) / fSectorSize : 0;
  fSectorCount = quint32(std::min<qint64>(sectors, kMaxRegularSector));
  fOwner.assign(fSectorCount, 0);
}

void TCompoundFileReader::CheckSectorInFile(quint32 sector, const QString& what) const {
  if (sector >= fSectorCount || SectorOffset(sector) + fSectorSize > fSize)
    Damaged(QStringLiteral("%1 refers to a sector beyond the end of the file").arg(what));
}

void TCompoundFileReader::Claim(quint32 sector, TOwner owner, const QString& what) {
  TOwner& slot = fOwner[sector];
  if (slot == owner) Damaged(QStringLiteral("%1 runs in a loop").arg(what));
  if (slot != 0) Damaged(QStringLiteral("%1 uses a sector that belongs elsewhere").arg(what));
  slot = owner;
}

void TCompoundFileReader::ReadFat() {
  const quint32 fatSectors = Get32(Header(hoFatSectorCount));
  if (fatSectors > fSectorCount) Damaged(QStringLiteral("the FAT is larger than the file"));
  std::vector<quint32> locations;
  locations.reserve(fatSectors);
  for (quint32 i = 0; i < fatSectors && i < quint32(kHeaderDifatEntries); ++i)
    locations.push_back(Get32(Header(hoDifat + 4 * int(i))));

  // FAT sectors beyond the first 109 are listed in a chain of DIFAT sectors,
  // each ending with the number of the next one.
  const quint32 perDifat = quint32(fSectorSize / 4 - 1);
  const quint32 remaining = fatSectors - quint32(locations.size());
  const quint32 difatSectors = (remaining + perDifat - 1) / perDifat;
  if (Get32(Header(hoDifatSectorCount)) != difatSectors)
    Damaged(QStringLiteral("the DIFAT sector count does not match the FAT"));
  const QString difat = QStringLiteral("the DIFAT chain");
  const TOwner difatOwner = ++fLastOwner;
  quint32 sector = Get32(Header(hoFirstDifatSector));
  for (quint32 d = 0; d < difatSectors; ++d) {
    if (sector == kEndOfChain) Damaged(QStringLiteral("the DIFAT chain ends early"));
    CheckSectorInFile(sector, difat);
    Claim(sector, difatOwner, difat);
    const char* p = fData + SectorOffset(sector);
    for (quint32 i = 0; i < perDifat && locations.size() < fatSectors; ++i)
      locations.push_back(Get32(p + 4 * i));
    sector = Get32(p + 4 * perDifat);
  }

  const QString fat = QStringLiteral("the FAT");
  const TOwner fatOwner = ++fLastOwner;
  const qsizetype perSector = qsizetype(fSectorSize / 4);
  fFat.resize(size_t(fatSectors) * size_t(perSector));
  quint32* out = fFat.data();
  for (quint32 location : locations) {
    CheckSectorInFile(location, fat);
    Claim(location, fatOwner, QStringLiteral("the FAT's list of sectors"));
    const char* p = fData + SectorOffset(location);
    for (qsizetype i = 0; i < perSector; ++i)
      *out++ = Get32(p + 4 * i);
  }
}

std::vector<quint32> TCompoundFileReader::Chain(quint32 start, const QString& what,
                                                qint64 expected) {
  // With a known size the walk stops after the sectors the size needs: some
  // writers leave a chain running on past a stream's end, and the size is
  // what counts.
  std::vector<quint32> sectors;
  if (expected > 0) sectors.reserve(size_t(expected));
  const TOwner owner = ++fLastOwner;
  quint32 sector = start;
  while (expected < 0 || qint64(sectors.size()) < expected) {
    if (sector == kEndOfChain) {
      if (expected < 0) break;
      Damaged(QStringLiteral("%1 ends early").arg(what));
    }
    if (sector >= fSectorCount || sector >= fFat.size())
      Damaged(QStringLiteral("%1 refers to a sector beyond the end of the file").arg(what));
    Claim(sector, owner, what);
    sectors.push_back(sector);
    sector = fFat[sector];
  }
  return sectors;
}

QByteArray TCompoundFileReader::ReadStream(quint32 start, quint64 size, const QString& what) {
  if (size == 0) return QByteArray();
  if (size > quint64(fSize)) Damaged(QStringLiteral("the size of %1 exceeds the file").arg(what));
  const quint64 count = (size + quint64(fSectorSize) - 1) >> fShift;
  if (count > fSectorCount) Damaged(QStringLiteral("the size of %1 exceeds the file").arg(what));
  const std::vector<quint32> sectors =
      Chain(start, QStringLiteral("the chain of ") + what, qint64(count));
  QByteArray data(qsizetype(size), Qt::Uninitialized);
  char* out = data.data();
  quint64 left = size;
  for (quint32 sector : sectors) {
    // Only the bytes the stream needs must be present: a last sector cut
    // short after the stream's end is harmless.
    const qint64 n = qint64(std::min<quint64>(left, quint64(fSectorSize)));
    const qint64 offset = SectorOffset(sector);
    if (offset + n > fSize)
      Damaged(QStringLiteral("%1 is cut off at the end of the file").arg(what));
    std::memcpy(out, fData + offset, size_t(n));
    out += n;
    left -= quint64(n);
  }
  return data;
}

void TCompoundFileReader::ReadDirectory() {
  const std::vector<quint32> sectors =
      Chain(Get32(Header(hoFirstDirSector)), QStringLiteral("the chain of the directory"));
  if (sectors.empty()) Damaged(QStringLiteral("the directory is empty"));
  fDirectory.resize(qsizetype(sectors.size()) * fSectorSize);
  char* out = fDirectory.data();
  for (quint32 sector : sectors) {
    CheckSectorInFile(sector, QStringLiteral("the directory"));
    std::memcpy(out, fData + SectorOffset(sector), size_t(fSectorSize));
    out += fSectorSize;
  }
  fEntryCount = quint32(fDirectory.size() / kDirEntrySize);
  if (quint8(Entry(0)[doType]) != etRoot) Damaged(QStringLiteral("the root entry is missing"));
}

void TCompoundFileReader::ReadMiniFat() {
  const quint32 count = Get32(Header(hoMiniFatSectorCount));
  if (count == 0) return;
  if (count > fSectorCount) Damaged(QStringLiteral("the mini FAT is larger than the file"));
  const std::vector<quint32> sectors = Chain(Get32(Header(hoFirstMiniFatSector)),
                                             QStringLiteral("the chain of the mini FAT"), count);
  const qsizetype perSector = qsizetype(fSectorSize / 4);
  fMiniFat.resize(sectors.size() * size_t(perSector));
  quint32* out = fMiniFat.data();
  for (quint32 sector : sectors) {
    CheckSectorInFile(sector, QStringLiteral("the mini FAT"));
    const char* p = fData + SectorOffset(sector);
    for (qsizetype i = 0; i < perSector; ++i)
      *out++ = Get32(p + 4 * i);
  }
}

quint64 TCompoundFileReader::EntrySize(quint32 index) const {
  // Version 3 files may leave garbage in the high half of the size.
  const char* p = Entry(index) + doSize;
  return fVersion4 ? Get64(p) : Get32(p);
}

void TCompoundFileReader::ReadMiniStream() {
  const quint64 size = EntrySize(0);
  fMiniStream =
      ReadStream(Get32(Entry(0) + doStartSector), size, QStringLiteral("the mini stream"));
  fMiniOwner.assign(size_t((size + kMiniSectorSize - 1) / kMiniSectorSize), 0);
}

QByteArray TCompoundFileReader::ReadMiniStream(quint32 start, quint64 size, const QString& what) {
  if (size == 0) return QByteArray();
  const QString chain = QStringLiteral("the chain of ") + what;
  QByteArray data(qsizetype(size), Qt::Uninitialized);
  char* out = data.data();
  const TOwner owner = ++fLastOwner;
  quint64 left = size;
  quint32 sector = start;
  while (left > 0) {
    if (sector == kEndOfChain) Damaged(QStringLiteral("%1 ends early").arg(chain));
    if (sector >= fMiniFat.size() || sector >= fMiniOwner.size())
      Damaged(QStringLiteral("%1 refers to a sector beyond the end of the mini stream").arg(chain));
    TOwner& slot = fMiniOwner[sector];
    if (slot == owner) Damaged(QStringLiteral("%1 runs in a loop").arg(chain));
    if (slot != 0) Damaged(QStringLiteral("%1 uses a sector that belongs elsewhere").arg(chain));
    slot = owner;
    const qint64 n = qint64(std::min<quint64>(left, kMiniSectorSize));
    const qint64 offset = qint64(sector) * kMiniSectorSize;
    if (offset + n > fMiniStream.size())
      Damaged(QStringLiteral("%1 refers to a sector beyond the end of the mini stream").arg(chain));
    std::memcpy(out, fMiniStream.constData() + offset, size_t(n));
    out += n;
    left -= quint64(n);
    sector = fMiniFat[sector];
  }
  return data;
}

QString TCompoundFileReader::EntryName(quint32 index) const {
  const char* p = Entry(index);
  const quint16 bytes = Get16(p + doNameLength);
  if (bytes < 4 || bytes > kMaxNameBytes || bytes % 2 != 0)
    Damaged(QStringLiteral("directory entry %1 has an invalid name length").arg(index));
  const int units = bytes / 2 - 1;
  QString name(units, Qt::Uninitialized);
  for (int i = 0; i < units; ++i) {
    const quint16 unit = Get16(p + 2 * i);
    if (unit == 0) Damaged(QStringLiteral("directory entry %1 has an invalid name").arg(index));
    name[i] = QChar(unit);
  }
  if (Get16(p + 2 * units) != 0)
    Damaged(QStringLiteral("directory entry %1 has an unterminated name").arg(index));
  return name;
}

void TCompoundFileReader::CheckLink(quint32 link, quint32 from) const {
  if (link != kNoStream && link >= fEntryCount)
    Damaged(QStringLiteral("directory entry %1 links to an entry beyond the directory").arg(from));
}

std::unique_ptr<TStorage> TCompoundFileReader::BuildTree() {
  auto root = std::make_unique<TStorage>(EntryName(0));
  std::vector<bool> visited(fEntryCount, false);
  visited[0] = true;

  struct TPending {
    TStorage* Storage;
    quint32 Child;
    int Depth;  // 0 for the root
  };
  std::vector<TPending> storages{{root.get(), Get32(Entry(0) + doChild), 0}};
  CheckLink(storages.back().Child, 0);
  std::vector<quint32> stack;
  QSet<QString> names;
  while (!storages.empty()) {
    const TPending pending = storages.back();
    storages.pop_back();
    names.clear();
    // In-order walk (left, node, right) of the storage's sibling tree. An
    // entry is marked when first pushed, so a link back to any entry seen
    // before (an ancestor, a sibling, another storage's child) is caught.
    quint32 current = pending.Child;
    while (current != kNoStream || !stack.empty()) {
      while (current != kNoStream) {
        if (visited[current])
          Damaged(QStringLiteral("the directory tree runs in a loop at entry %1").arg(current));
        visited[current] = true;
        stack.push_back(current);
        current = Get32(Entry(current) + doLeft);
        CheckLink(current, stack.back());
      }
      const quint32 index = stack.back();
      stack.pop_back();
      const char* entry = Entry(index);
      const QString name = EntryName(index);
      if (names.contains(NameKey(name)))
        Damaged(QStringLiteral("the storage %1 holds two elements named %2")
                    .arg(Quoted(pending.Storage->Name()), Quoted(name)));
      names.insert(NameKey(name));

      const quint8 type = quint8(entry[doType]);
      if (type == etStorage) {
        if (pending.Depth >= kMaxStorageDepth)
          Damaged(
              QStringLiteral("its storages nest more than %1 levels deep").arg(kMaxStorageDepth));
        TStorage& storage = pending.Storage->AppendStorage(name);
        const quint32 child = Get32(entry + doChild);
        CheckLink(child, index);
        storages.push_back({&storage, child, pending.Depth + 1});
      } else if (type == etStream) {
        const quint64 size = EntrySize(index);
        const quint32 start = Get32(entry + doStartSector);
        const QString what = QStringLiteral("stream ") + Quoted(name);
        pending.Storage->AppendStream(name, size < kMiniStreamCutoff
                                                ? ReadMiniStream(start, size, what)
                                                : ReadStream(start, size, what));
      } else {
        Damaged(QStringLiteral("directory entry %1 has an invalid type").arg(index));
      }
      current = Get32(entry + doRight);
      CheckLink(current, index);
    }
  }
  return root;
}

}  // namespace

std::unique_ptr<TStorage> ParseCompoundFile(const QByteArray& bytes) {
  return TCompoundFileReader(bytes).Parse();
}
