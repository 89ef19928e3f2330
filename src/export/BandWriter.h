#pragma once

#include <QRgb>

#include <memory>

class QIODevice;

// Writes a picture file a row at a time, so that no more than a band of the
// picture is ever held. Rows arrive as 32-bit pixels (QImage::Format_RGB32),
// top row first, or bottom row first when BottomUp says so. Failures raise
// TError; the caller discards the file.
class TBandWriter {
 public:
  virtual ~TBandWriter() = default;
  virtual bool BottomUp() const { return false; }
  virtual void Begin(int width, int height) = 0;
  virtual void WriteRow(const QRgb* row) = 0;
  virtual void Finish() = 0;
};

// zlib level 6, the library's default: the usual balance of size and speed.
constexpr int kPngCompressionLevel = 6;
constexpr int kJpegQuality = 90;

// The zlib level may be lowered where speed matters more than size.
std::unique_ptr<TBandWriter> NewPngBandWriter(QIODevice& device, int level = kPngCompressionLevel);
std::unique_ptr<TBandWriter> NewJpegBandWriter(QIODevice& device);
// 24-bit BMP, rows stored bottom-up as every reader expects.
std::unique_ptr<TBandWriter> NewBmpBandWriter(QIODevice& device);
