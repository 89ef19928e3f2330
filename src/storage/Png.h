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

// Encodes a 24-bit image as one PNG datastream (RGB, 8 bits per sample).
QByteArray EncodePng(const QImage& image);
