#include "BandWriter.h"

#include "base/Error.h"

#include <QIODevice>
#include <QtEndian>

#include <vector>

namespace {

constexpr int kHeaderSize = 14 + 40;

void Put16(std::vector<char>& out, size_t at, quint16 value) {
  qToLittleEndian(value, out.data() + at);
}

void Put32(std::vector<char>& out, size_t at, quint32 value) {
  qToLittleEndian(value, out.data() + at);
}

// A 24-bit BMP: a file header, a BITMAPINFOHEADER and the rows from the
// bottom up, each padded to four bytes, blue, green, red per pixel.
class TBmpBandWriter : public TBandWriter {
 public:
  explicit TBmpBandWriter(QIODevice& device) : fDevice(device) {}

  bool BottomUp() const override { return true; }

  void Begin(int width, int height) override {
    const quint64 stride = (quint64(width) * 3 + 3) & ~quint64(3);
    const quint64 imageSize = stride * quint64(height);
    if (imageSize + kHeaderSize > 0xFFFFFFFFu)
      throw TError(QStringLiteral("The picture is too large for a BMP file."));
    fWidth = width;
    fRow.assign(size_t(stride), 0);
    std::vector<char> header(kHeaderSize, 0);
    header[0] = 'B';
    header[1] = 'M';
    Put32(header, 2, quint32(imageSize + kHeaderSize));
    Put32(header, 10, kHeaderSize);
    Put32(header, 14, 40);
    Put32(header, 18, quint32(width));
    Put32(header, 22, quint32(height));
    Put16(header, 26, 1);
    Put16(header, 28, 24);
    Put32(header, 34, quint32(imageSize));
    Put32(header, 38, 2835);  // 72 dots per inch
    Put32(header, 42, 2835);
    Write(header.data(), header.size());
  }

  void WriteRow(const QRgb* row) override {
    char* out = fRow.data();
    for (int x = 0; x < fWidth; ++x) {
      *out++ = char(qBlue(row[x]));
      *out++ = char(qGreen(row[x]));
      *out++ = char(qRed(row[x]));
    }
    Write(fRow.data(), fRow.size());
  }

  void Finish() override {}

 private:
  void Write(const char* data, size_t size) {
    if (fDevice.write(data, qint64(size)) != qint64(size))
      throw TError(
          QStringLiteral("The BMP picture could not be written: %1.").arg(fDevice.errorString()));
  }

  QIODevice& fDevice;
  int fWidth = 0;
  std::vector<char> fRow;
};

}  // namespace

std::unique_ptr<TBandWriter> NewBmpBandWriter(QIODevice& device) {
  return std::make_unique<TBmpBandWriter>(device);
}
