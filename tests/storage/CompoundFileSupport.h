#pragma once

#include "storage/Storage.h"
#include "support/RunProgram.h"
#include "support/StorageListing.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Trees, byte patterns and helpers shared by the compound-file tests.

// Deterministic bytes that differ from stream to stream (seeded by seed).
QByteArray PatternBytes(int size, int seed);

// Stream sizes around every boundary of the format: empty, mini sectors,
// the mini stream cutoff and several regular sectors.
const QList<int>& BoundarySizes();

// Shaped like a tileset file: the two property sets, property streams at the
// root and 25 storages, twelve of them groups with their properties and a
// nested "Tiles" storage of tile streams in every boundary size (capped at
// sizeLimit).
std::unique_ptr<TStorage> MakeTilesetTree(int sizeLimit = 100000);

// Shaped like a map file: property streams and a "Tiles" storage of small
// streams, so most data lives in the mini stream.
std::unique_ptr<TStorage> MakeMapTree();

// Expects the same names, types and order at every level, and the same bytes.
void ExpectSameTree(const TStorage& expected, const TStorage& actual);

// The folder holding the test scripts.
QString TestScriptDir();

// Raw access to the bytes of a version 3 compound file whose FAT sectors are
// all listed in the header (as in every small file our writer makes), for
// tests that damage files on purpose.
class TRawCompoundFile {
 public:
  explicit TRawCompoundFile(QByteArray bytes) : Bytes(std::move(bytes)) {}

  quint32 Get32(qint64 offset) const;
  void Set32(qint64 offset, quint32 value);
  void Set16(qint64 offset, quint16 value);
  static qint64 SectorOffset(quint32 sector) { return (qint64(sector) + 1) * 512; }
  // Offset of the FAT entry and the mini FAT entry of a sector.
  qint64 FatOffset(quint32 sector) const;
  qint64 MiniFatOffset(quint32 miniSector) const;
  // Offset and index of the first directory entry with that name.
  qint64 EntryOffset(const QString& name) const;
  quint32 EntryIndex(const QString& name) const;
  // The n-th sector (from 0) of the chain starting at start.
  quint32 ChainSector(quint32 start, int n) const;

  QByteArray Bytes;
};

// A version 4 file (4096-byte sectors) made by hand: root elements "Small"
// (100 bytes) and storage "Tiles" holding "0" (3000 bytes), both in the mini
// stream, and with withBig the stream "Big" (10000 bytes) in regular
// sectors. VersionFourTree gives the tree it holds.
QByteArray MakeVersionFourFile(bool withBig);
std::unique_ptr<TStorage> MakeVersionFourTree(bool withBig);

// Readable test failure output for Qt strings.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& list, std::ostream* out);
