#include "Png.h"

#include <png.h>

#include <QtEndian>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

// libpng reports errors by longjmp. Everything that may longjmp runs inside
// the C-style helpers below, which hold only plain data, so no destructor is
// ever skipped and no exception crosses a libpng frame. The C++ functions at
// the bottom allocate the images and turn a failure into TPngError.

namespace {

constexpr size_t kErrorSize = 200;

// State of one decode, plain data only.
struct TPngReader {
  png_structp Png;
  png_infop Info;
  const unsigned char* Data;
  size_t Size;
  size_t Pos;
  png_uint_32 Width;
  png_uint_32 Height;
  int ColorType;
  int BitDepth;
  int Interlace;
  char Error[kErrorSize];
};

extern "C" void PngErrorHandler(png_structp png, png_const_charp message) {
  auto* error = static_cast<char*>(png_get_error_ptr(png));
  std::strncpy(error, message ? message : "unknown error", kErrorSize - 1);
  error[kErrorSize - 1] = '\0';
  png_longjmp(png, 1);
}

extern "C" void PngWarningHandler(png_structp, png_const_charp) {}

// Hands libpng exactly the bytes it asks for, so that a datastream ends on
// the byte after IEND's CRC and the caller knows where the next record starts.
extern "C" void PngReadCallback(png_structp png, png_bytep out, size_t length) {
  auto* reader = static_cast<TPngReader*>(png_get_io_ptr(png));
  if (length > reader->Size - reader->Pos) png_error(png, "the image data is cut short");
  std::memcpy(out, reader->Data + reader->Pos, length);
  reader->Pos += length;
}

// Reads the signature and the chunks up to the first IDAT. Returns false with
// Error set on failure.
bool ReadPngHeader(TPngReader* r) {
  r->Png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, r->Error, PngErrorHandler, PngWarningHandler);
  if (!r->Png) {
    std::strcpy(r->Error, "out of memory");
    return false;
  }
  r->Info = png_create_info_struct(r->Png);
  if (!r->Info) {
    std::strcpy(r->Error, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(r->Png))) return false;
  png_set_read_fn(r->Png, r, PngReadCallback);
  // Transparency comes only from the record's colour, and nothing else in an
  // ancillary chunk matters here: skip them all (their bytes are still read
  // and their CRCs still consumed).
  // tRNS is not covered by the wholesale skip; left in, it would add alpha.
  static const png_byte kTrns[] = {'t', 'R', 'N', 'S', '\0'};
  png_set_keep_unknown_chunks(r->Png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_keep_unknown_chunks(r->Png, PNG_HANDLE_CHUNK_NEVER, kTrns, 1);
  png_read_info(r->Png, r->Info);
  png_get_IHDR(r->Png, r->Info, &r->Width, &r->Height, &r->BitDepth, &r->ColorType, &r->Interlace,
               nullptr, nullptr);
  return true;
}

// Flattens every colour type and depth to 8-bit RGB, reads the rows into the
// given row pointers and consumes the rest of the datastream through IEND.
bool ReadPngImage(TPngReader* r, unsigned char** rows) {
  if (setjmp(png_jmpbuf(r->Png))) return false;
  png_structp png = r->Png;
  if (r->ColorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (r->ColorType == PNG_COLOR_TYPE_GRAY && r->BitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (r->BitDepth == 16) png_set_strip_16(png);
  if (!(r->ColorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  if (r->ColorType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, r->Info);
  if (png_get_channels(png, r->Info) != 3 || png_get_bit_depth(png, r->Info) != 8 ||
      png_get_rowbytes(png, r->Info) != size_t(r->Width) * 3)
    png_error(png, "unsupported pixel format");
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

void DestroyReader(TPngReader* r) {
  if (r->Png) png_destroy_read_struct(&r->Png, r->Info ? &r->Info : nullptr, nullptr);
}

// State of one encode, plain data only. The output grows with realloc so that
// running out of memory is an ordinary libpng error, not a C++ exception.
struct TPngWriter {
  png_structp Png;
  png_infop Info;
  unsigned char* Out;
  size_t Size;
  size_t Capacity;
  char Error[kErrorSize];
};

extern "C" void PngWriteCallback(png_structp png, png_bytep data, size_t length) {
  auto* w = static_cast<TPngWriter*>(png_get_io_ptr(png));
  if (length > w->Capacity - w->Size) {
    size_t capacity = w->Capacity ? w->Capacity : 4096;
    while (length > capacity - w->Size)
      capacity *= 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(w->Out, capacity));
    if (!grown) png_error(png, "out of memory");
    w->Out = grown;
    w->Capacity = capacity;
  }
  std::memcpy(w->Out + w->Size, data, length);
  w->Size += length;
}

extern "C" void PngFlushCallback(png_structp) {}

bool WritePng(TPngWriter* w, unsigned char** rows, png_uint_32 width, png_uint_32 height) {
  w->Png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, w->Error, PngErrorHandler, PngWarningHandler);
  if (!w->Png) {
    std::strcpy(w->Error, "out of memory");
    return false;
  }
  w->Info = png_create_info_struct(w->Png);
  if (!w->Info) {
    std::strcpy(w->Error, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(w->Png))) return false;
  png_set_write_fn(w->Png, w, PngWriteCallback, PngFlushCallback);
  // Maps are saved often. On textured 150-pixel tiles, zlib level 3 with
  // adaptive filtering writes output within 3 to 8 per cent of level 6 in
  // about a third of the time; level 9 gains under 2 per cent more at half
  // again level 6's time (bench/sub_tile_record.cpp).
  png_set_compression_level(w->Png, 3);
  png_set_filter(w->Png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(w->Png, w->Info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(w->Png, w->Info);
  png_write_image(w->Png, rows);
  png_write_end(w->Png, nullptr);
  return true;
}

void DestroyWriter(TPngWriter* w) {
  if (w->Png) png_destroy_write_struct(&w->Png, w->Info ? &w->Info : nullptr);
  std::free(w->Out);
}

// Release the libpng state however the C++ side leaves.
struct TReaderGuard {
  TPngReader& Reader;
  ~TReaderGuard() { DestroyReader(&Reader); }
};
struct TWriterGuard {
  TPngWriter& Writer;
  ~TWriterGuard() { DestroyWriter(&Writer); }
};

QString ErrorText(const char* error) {
  return QStringLiteral("The image data is invalid (%1).").arg(QString::fromLatin1(error));
}

}  // namespace

QImage DecodePng(const QByteArray& data, qsizetype& offset) {
  if (offset < 0 || offset > data.size())
    throw TPngError(QStringLiteral("The image data is invalid (no data)."));
  TPngReader reader{};
  reader.Data = reinterpret_cast<const unsigned char*>(data.constData()) + offset;
  reader.Size = size_t(data.size() - offset);

  // Checked before libpng so that a missing image gets a plain message.
  if (reader.Size < 8 || png_sig_cmp(reader.Data, 0, 8) != 0)
    throw TPngError(QStringLiteral("The image data is invalid (not a PNG image)."));

  TReaderGuard guard{reader};
  if (!ReadPngHeader(&reader)) throw TPngError(ErrorText(reader.Error));
  if (reader.Width == 0 || reader.Height == 0 || reader.Width > png_uint_32(kMaxImageSide) ||
      reader.Height > png_uint_32(kMaxImageSide))
    throw TPngError(QStringLiteral("The image data is invalid (an image of %1 × %2 pixels; "
                                   "at most %3 × %3 are allowed).")
                        .arg(reader.Width)
                        .arg(reader.Height)
                        .arg(kMaxImageSide));

  QImage image(int(reader.Width), int(reader.Height), QImage::Format_RGB888);
  if (image.isNull())
    throw TPngError(QStringLiteral("There is not enough memory to decode an image."));
  std::vector<unsigned char*> rows(reader.Height);
  for (int y = 0; y < image.height(); ++y)
    rows[size_t(y)] = image.scanLine(y);

  // libpng writes straight into the image's rows: no intermediate buffer.
  if (!ReadPngImage(&reader, rows.data())) throw TPngError(ErrorText(reader.Error));
  offset += qsizetype(reader.Pos);
  return image;
}

TPngOutline OutlinePng(const QByteArray& data, qsizetype offset) {
  constexpr qsizetype kSignatureSize = 8;
  constexpr qsizetype kChunkFrame = 12;  // length, type and CRC
  constexpr quint32 kIhdrSize = 13;
  // PNG chunk lengths are at most 2^31 - 1; libpng refuses larger ones.
  constexpr quint32 kMaxChunkLength = 0x7FFFFFFF;
  auto get32 = [&data](qsizetype at) { return qFromBigEndian<quint32>(data.constData() + at); };

  TPngOutline outline;
  if (offset < 0 || data.size() - offset < kSignatureSize + kChunkFrame + kIhdrSize ||
      png_sig_cmp(reinterpret_cast<png_const_bytep>(data.constData() + offset), 0, 8) != 0)
    return outline;
  qsizetype pos = offset + kSignatureSize;
  if (get32(pos) != kIhdrSize || std::memcmp(data.constData() + pos + 4, "IHDR", 4) != 0)
    return outline;
  outline.Width = get32(pos + 8);
  outline.Height = get32(pos + 12);
  for (;;) {
    if (data.size() - pos < kChunkFrame) return outline;
    const quint32 length = get32(pos);
    if (length > kMaxChunkLength || data.size() - pos - kChunkFrame < qsizetype(length))
      return outline;
    const bool end = std::memcmp(data.constData() + pos + 4, "IEND", 4) == 0;
    pos += kChunkFrame + qsizetype(length);
    if (end) break;
  }
  outline.End = pos;
  return outline;
}

QByteArray EncodePng(const QImage& image) {
  if (image.isNull() || image.width() > kMaxImageSide || image.height() > kMaxImageSide)
    throw TPngError(QStringLiteral("The image cannot be encoded (%1 × %2 pixels).")
                        .arg(image.width())
                        .arg(image.height()));
  const QImage rgb = image.format() == QImage::Format_RGB888
                         ? image
                         : image.convertToFormat(QImage::Format_RGB888);
  std::vector<unsigned char*> rows(size_t(rgb.height()));
  // libpng only reads the rows; its interface is not const-correct.
  for (int y = 0; y < rgb.height(); ++y)
    rows[size_t(y)] = const_cast<unsigned char*>(rgb.constScanLine(y));

  TPngWriter writer{};
  TWriterGuard guard{writer};
  if (!WritePng(&writer, rows.data(), png_uint_32(rgb.width()), png_uint_32(rgb.height())))
    throw TPngError(
        QStringLiteral("The image cannot be encoded (%1).").arg(QString::fromLatin1(writer.Error)));
  return QByteArray(reinterpret_cast<const char*>(writer.Out), qsizetype(writer.Size));
}
