#include "BandWriter.h"

#include "base/Error.h"

#include <QIODevice>

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

// libpng reports errors by longjmp; the functions that call into it hold no
// objects with destructors between setjmp and the calls.

namespace {

struct TPngState {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  QIODevice* Device = nullptr;
  char Error[256] = {};
};

extern "C" void ExportPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<TPngState*>(png_get_error_ptr(png));
  std::strncpy(state->Error, message, sizeof state->Error - 1);
  png_longjmp(png, 1);
}

extern "C" void ExportPngWarning(png_structp, png_const_charp) {}

extern "C" void ExportPngWrite(png_structp png, png_bytep data, size_t length) {
  auto* state = static_cast<TPngState*>(png_get_io_ptr(png));
  if (state->Device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length))
    png_error(png, "the file could not be written");
}

extern "C" void ExportPngFlush(png_structp) {}

bool PngBegin(TPngState* s, png_uint_32 width, png_uint_32 height) {
  if (setjmp(png_jmpbuf(s->Png))) return false;
  png_set_write_fn(s->Png, s, ExportPngWrite, ExportPngFlush);
  png_set_compression_level(s->Png, kPngCompressionLevel);
  png_set_IHDR(s->Png, s->Info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s->Png, s->Info);
  return true;
}

bool PngRow(TPngState* s, png_bytep row) {
  if (setjmp(png_jmpbuf(s->Png))) return false;
  png_write_row(s->Png, row);
  return true;
}

bool PngEnd(TPngState* s) {
  if (setjmp(png_jmpbuf(s->Png))) return false;
  png_write_end(s->Png, s->Info);
  return true;
}

class TPngBandWriter : public TBandWriter {
 public:
  explicit TPngBandWriter(QIODevice& device) {
    fState.Device = &device;
    fState.Png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &fState, ExportPngError, ExportPngWarning);
    if (fState.Png) fState.Info = png_create_info_struct(fState.Png);
    if (!fState.Png || !fState.Info) throw TError(QStringLiteral("Out of memory for the picture."));
  }
  ~TPngBandWriter() override { png_destroy_write_struct(&fState.Png, &fState.Info); }

  void Begin(int width, int height) override {
    fRow.resize(size_t(width) * 3);
    if (!PngBegin(&fState, png_uint_32(width), png_uint_32(height))) Fail();
  }
  void WriteRow(const QRgb* row) override {
    png_bytep out = fRow.data();
    const size_t width = fRow.size() / 3;
    for (size_t x = 0; x < width; ++x) {
      *out++ = png_byte(qRed(row[x]));
      *out++ = png_byte(qGreen(row[x]));
      *out++ = png_byte(qBlue(row[x]));
    }
    if (!PngRow(&fState, fRow.data())) Fail();
  }
  void Finish() override {
    if (!PngEnd(&fState)) Fail();
  }

 private:
  [[noreturn]] void Fail() const {
    throw TError(QStringLiteral("The PNG picture could not be written: %1.")
                     .arg(QString::fromLocal8Bit(fState.Error)));
  }

  TPngState fState;
  std::vector<png_byte> fRow;
};

}  // namespace

std::unique_ptr<TBandWriter> NewPngBandWriter(QIODevice& device) {
  return std::make_unique<TPngBandWriter>(device);
}
