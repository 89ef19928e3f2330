#pragma once

#include <QtGlobal>

#include <cstring>

// Layout constants of the Compound File Binary format shared by the reader
// and the writer, and little-endian helpers for the byte buffers they work
// on. All multi-byte fields of the format are little-endian.
namespace TCfb {

constexpr char kSignature[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};
constexpr int kSignatureSize = 8;

constexpr int kHeaderSize = 512;
constexpr int kHeaderDifatEntries = 109;
constexpr quint16 kMinorVersion = 0x003E;
constexpr quint16 kByteOrderMark = 0xFFFE;
constexpr int kMiniSectorShift = 6;
constexpr int kMiniSectorSize = 1 << kMiniSectorShift;
constexpr quint32 kMiniStreamCutoff = 4096;
constexpr int kDirEntrySize = 128;
constexpr int kMaxNameBytes = 64;  // 31 UTF-16 units and the terminating NUL

// Header field offsets.
enum THeaderOffset : int {
  hoMinorVersion = 24,
  hoMajorVersion = 26,
  hoByteOrder = 28,
  hoSectorShift = 30,
  hoMiniSectorShift = 32,
  hoDirSectorCount = 40,
  hoFatSectorCount = 44,
  hoFirstDirSector = 48,
  hoTransaction = 52,
  hoMiniStreamCutoff = 56,
  hoFirstMiniFatSector = 60,
  hoMiniFatSectorCount = 64,
  hoFirstDifatSector = 68,
  hoDifatSectorCount = 72,
  hoDifat = 76,
};

// Directory entry field offsets.
enum TDirOffset : int {
  doNameLength = 64,
  doType = 66,
  doColor = 67,
  doLeft = 68,
  doRight = 72,
  doChild = 76,
  doStartSector = 116,
  doSize = 120,
};

// Special sector numbers.
constexpr quint32 kMaxRegularSector = 0xFFFFFFFA;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
// "No entry" in the directory's sibling and child links.
constexpr quint32 kNoStream = 0xFFFFFFFF;

enum TEntryType : quint8 { etUnused = 0, etStorage = 1, etStream = 2, etRoot = 5 };
enum TEntryColor : quint8 { ecRed = 0, ecBlack = 1 };

inline quint16 Get16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return quint16(u[0] | (u[1] << 8));
}

inline quint32 Get32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

inline quint64 Get64(const char* p) {
  return Get32(p) | (quint64(Get32(p + 4)) << 32);
}

inline void Put16(char* p, quint16 v) {
  p[0] = char(v & 0xFF);
  p[1] = char(v >> 8);
}

inline void Put32(char* p, quint32 v) {
  for (int i = 0; i < 4; ++i)
    p[i] = char((v >> (8 * i)) & 0xFF);
}

inline void Put64(char* p, quint64 v) {
  Put32(p, quint32(v));
  Put32(p + 4, quint32(v >> 32));
}

}  // namespace TCfb
