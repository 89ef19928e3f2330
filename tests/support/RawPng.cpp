#include "RawPng.h"

#include <QtEndian>

#include <zlib.h>

namespace {

QByteArray BigEndian32(quint32 value) {
  char bytes[4];
  qToBigEndian(value, bytes);
  return QByteArray(bytes, 4);
}

// The scanlines of one (sub-)image, each with filter type 0, samples packed
// most significant bit first.
void AppendScanlines(const TRawPng& png, int x0, int y0, int dx, int dy, QByteArray& out) {
  const int columns = png.Width > x0 ? (png.Width - x0 + dx - 1) / dx : 0;
  const int rows = png.Height > y0 ? (png.Height - y0 + dy - 1) / dy : 0;
  if (columns == 0 || rows == 0) return;
  const int channels = png.Channels();
  for (int r = 0; r < rows; ++r) {
    out.append('\0');
    if (png.BitDepth >= 8) {
      for (int c = 0; c < columns; ++c)
        for (int ch = 0; ch < channels; ++ch) {
          const int v = png.Sample(x0 + c * dx, y0 + r * dy, ch);
          if (png.BitDepth == 16) out.append(char(v >> 8));
          out.append(char(v & 0xFF));
        }
    } else {
      int bits = 0;
      int acc = 0;
      for (int c = 0; c < columns; ++c) {
        acc = (acc << png.BitDepth) | png.Sample(x0 + c * dx, y0 + r * dy, 0);
        bits += png.BitDepth;
        if (bits == 8) {
          out.append(char(acc));
          bits = acc = 0;
        }
      }
      if (bits) out.append(char(acc << (8 - bits)));
    }
  }
}

}  // namespace

int TRawPng::Channels() const {
  switch (ColorType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

QByteArray PngChunk(const QByteArray& type, const QByteArray& data) {
  QByteArray body = type + data;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()));
  return BigEndian32(quint32(data.size())) + body + BigEndian32(quint32(crc));
}

QByteArray TRawPng::SignatureAndHeader() const {
  QByteArray header = BigEndian32(quint32(Width)) + BigEndian32(quint32(Height));
  header.append(char(BitDepth));
  header.append(char(ColorType));
  header.append('\0');
  header.append('\0');
  header.append(char(Interlaced ? 1 : 0));
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header);
}

QByteArray TRawPng::Encode() const {
  QByteArray raw;
  if (Interlaced) {
    static const int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : kPasses)
      AppendScanlines(*this, p[0], p[1], p[2], p[3], raw);
  } else {
    AppendScanlines(*this, 0, 0, 1, 1, raw);
  }
  uLongf size = compressBound(uLong(raw.size()));
  QByteArray compressed(qsizetype(size), '\0');
  compress(reinterpret_cast<Bytef*>(compressed.data()), &size,
           reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()));
  compressed.resize(qsizetype(size));

  QByteArray png = SignatureAndHeader();
  if (ColorType == 3)
    png += PngChunk("PLTE", QByteArray(reinterpret_cast<const char*>(Palette.data()),
                                       qsizetype(Palette.size())));
  if (!Transparency.isEmpty()) png += PngChunk("tRNS", Transparency);
  png += PngChunk("IDAT", compressed);
  if (!ExtraChunkType.isEmpty()) png += PngChunk(ExtraChunkType, ExtraChunkData);
  png += PngChunk("IEND", QByteArray());
  return png;
}
