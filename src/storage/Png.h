#pragma once

#include "base/Error.h"

#include <QByteArray>
#include <QImage>

// An image the PNG codec could not decode or encode.
class TPngError : public TError {
 public:
  using TError::TError;
};

// The largest width or height a decoded image may have.
constexpr int kMaxImageSide = 4096;

// Decodes exactly one PNG datastream starting at data[offset]: the signature
// and the chunks up to and including IEND's CRC, never a byte more. Any colour
// type and bit depth is flattened to QImage::Format_RGB888 (alpha dropped).
// On success offset is moved to the byte after IEND. Raises TPngError.
QImage DecodePng(const QByteArray& data, qsizetype& offset);

// The chunk structure of one PNG datastream starting at data[offset], read
// from the chunk headers alone: nothing is decompressed, so a file can be
// sized up before any of its images is decoded.
struct TPngOutline {
  // The size IHDR declares; 0 × 0 when the data does not start with the
  // signature and an IHDR chunk, as DecodePng requires.
  quint32 Width = 0;
  quint32 Height = 0;
  // The byte after IEND's CRC, where DecodePng would leave offset; -1 when
  // the chunks run past the end of the data before IEND.
  qsizetype End = -1;
};
TPngOutline OutlinePng(const QByteArray& data, qsizetype offset);

// Encodes a 24-bit image as one PNG datastream (RGB, 8 bits per sample).
QByteArray EncodePng(const QImage& image);
