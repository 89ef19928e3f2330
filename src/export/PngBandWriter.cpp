#include "BandWriter.h"

#include "base/Error.h"

#include <QIODevice>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <future>
#include <thread>
#include <vector>

// libpng writes the signature, the header and the chunks' frames and CRCs;
// the image data is compressed here, in pieces of a few megabytes on as many
// threads as there are cores, the way parallel gzip does: each piece is a
// run of raw deflate blocks primed with the previous piece's last 32 KB and
// ending on a byte boundary, so the pieces joined are one zlib stream of
// the stated level. Every row is filtered with Paeth, which on maps comes
// within about 1 % of libpng's adaptive choice at a fraction of its cost.
//
// libpng reports errors by longjmp; the functions that call into it hold no
// objects with destructors between setjmp and the calls.

namespace {

constexpr size_t kPieceBytes = 2 * 1024 * 1024;
constexpr size_t kWindow = 32 * 1024;
constexpr png_byte kPaeth = 4;

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
  png_set_IHDR(s->Png, s->Info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s->Png, s->Info);
  return true;
}

bool PngChunk(TPngState* s, const char* name, const unsigned char* data, size_t size) {
  if (setjmp(png_jmpbuf(s->Png))) return false;
  png_write_chunk(s->Png, reinterpret_cast<png_const_bytep>(name), data, size);
  return true;
}

struct TPiece {
  std::vector<unsigned char> Deflated;
  uLong Adler = 1;
  size_t Size = 0;
  bool Failed = false;
};

// Compresses one piece of filtered rows; a thread of its own runs it.
TPiece Deflate(const std::vector<unsigned char>& input, const std::vector<unsigned char>& primer,
               bool last) {
  TPiece piece;
  piece.Size = input.size();
  piece.Adler = adler32_z(1, input.data(), input.size());
  z_stream z{};
  if (deflateInit2(&z, kPngCompressionLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    piece.Failed = true;
    return piece;
  }
  if (!primer.empty()) deflateSetDictionary(&z, primer.data(), uInt(primer.size()));
  piece.Deflated.resize(deflateBound(&z, uLong(input.size())) + 64);
  z.next_in = const_cast<Bytef*>(input.data());
  z.avail_in = uInt(input.size());
  const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
  for (;;) {
    z.next_out = piece.Deflated.data() + z.total_out;
    z.avail_out = uInt(piece.Deflated.size() - z.total_out);
    const int status = deflate(&z, flush);
    if (status == Z_STREAM_END || (status == Z_OK && z.avail_out > 0 && z.avail_in == 0 && !last))
      break;
    if (status != Z_OK && status != Z_BUF_ERROR) {
      piece.Failed = true;
      break;
    }
    piece.Deflated.resize(piece.Deflated.size() * 2);
  }
  piece.Deflated.resize(z.total_out);
  deflateEnd(&z);
  return piece;
}

class TPngBandWriter : public TBandWriter {
 public:
  explicit TPngBandWriter(QIODevice& device) {
    fState.Device = &device;
    fState.Png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &fState, ExportPngError, ExportPngWarning);
    if (fState.Png) fState.Info = png_create_info_struct(fState.Png);
    if (!fState.Png || !fState.Info) throw TError(QStringLiteral("Out of memory for the picture."));
    fInFlight = std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 4) + 1;
  }
  ~TPngBandWriter() override {
    // Pieces still being compressed finish before their writer goes.
    for (auto& job : fJobs)
      job.wait();
    png_destroy_write_struct(&fState.Png, &fState.Info);
  }

  void Begin(int width, int height) override {
    fRowBytes = size_t(width) * 3;
    fRow.assign(fRowBytes, 0);
    fPrevious.assign(fRowBytes, 0);
    fPiece.reserve(kPieceBytes + fRowBytes + 1);
    if (!PngBegin(&fState, png_uint_32(width), png_uint_32(height))) Fail();
  }

  void WriteRow(const QRgb* row) override {
    unsigned char* out = fRow.data();
    for (size_t x = 0; x < fRowBytes / 3; ++x) {
      *out++ = static_cast<unsigned char>(qRed(row[x]));
      *out++ = static_cast<unsigned char>(qGreen(row[x]));
      *out++ = static_cast<unsigned char>(qBlue(row[x]));
    }
    AppendPaeth();
    std::swap(fRow, fPrevious);
    if (fPiece.size() >= kPieceBytes) Submit(false);
  }

  void Finish() override {
    fFinishing = true;
    Submit(true);
    while (!fJobs.empty())
      WriteFront();
    static const unsigned char kNothing = 0;
    if (!PngChunk(&fState, "IEND", &kNothing, 0)) Fail();
  }

 private:
  // The row filtered against the one above it (zeros above the first).
  void AppendPaeth() {
    const size_t start = fPiece.size();
    fPiece.resize(start + 1 + fRowBytes);
    unsigned char* out = fPiece.data() + start;
    *out++ = kPaeth;
    const unsigned char* cur = fRow.data();
    const unsigned char* up = fPrevious.data();
    for (size_t i = 0; i < fRowBytes; ++i) {
      const int a = i >= 3 ? cur[i - 3] : 0;
      const int b = up[i];
      const int c = i >= 3 ? up[i - 3] : 0;
      const int pa = std::abs(b - c);
      const int pb = std::abs(a - c);
      const int pc = std::abs(a + b - 2 * c);
      const int predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      out[i] = static_cast<unsigned char>(cur[i] - predictor);
    }
  }

  void Submit(bool last) {
    auto input = std::make_shared<std::vector<unsigned char>>(std::move(fPiece));
    auto primer = std::make_shared<std::vector<unsigned char>>(std::move(fPrimer));
    const size_t keep = std::min(kWindow, input->size());
    fPrimer.assign(input->end() - ptrdiff_t(keep), input->end());
    fPiece = std::vector<unsigned char>();
    fPiece.reserve(kPieceBytes + fRowBytes + 1);
    fJobs.push_back(std::async(std::launch::async,
                               [input, primer, last] { return Deflate(*input, *primer, last); }));
    while (fJobs.size() >= fInFlight)
      WriteFront();
  }

  void WriteFront() {
    TPiece piece = fJobs.front().get();
    fJobs.pop_front();
    if (piece.Failed) {
      std::strncpy(fState.Error, "the image data could not be compressed", sizeof fState.Error);
      Fail();
    }
    std::vector<unsigned char> data;
    if (fFirst) {
      // The zlib header: deflate, 32 KB window, the default level's flags.
      data = {0x78, 0x9C};
      fFirst = false;
    }
    fAdler = adler32_combine(fAdler, piece.Adler, z_off_t(piece.Size));
    data.insert(data.end(), piece.Deflated.begin(), piece.Deflated.end());
    if (fJobs.empty() && fFinishing) {
      for (int shift = 24; shift >= 0; shift -= 8)
        data.push_back(static_cast<unsigned char>(fAdler >> shift));
    }
    if (!data.empty() && !PngChunk(&fState, "IDAT", data.data(), data.size())) Fail();
  }

  [[noreturn]] void Fail() const {
    throw TError(QStringLiteral("The PNG picture could not be written: %1.")
                     .arg(QString::fromLocal8Bit(fState.Error)));
  }

  TPngState fState;
  size_t fRowBytes = 0;
  std::vector<unsigned char> fRow;
  std::vector<unsigned char> fPrevious;
  std::vector<unsigned char> fPiece;
  std::vector<unsigned char> fPrimer;
  std::deque<std::future<TPiece>> fJobs;
  size_t fInFlight = 2;
  uLong fAdler = 1;
  bool fFirst = true;
  bool fFinishing = false;
};

}  // namespace

std::unique_ptr<TBandWriter> NewPngBandWriter(QIODevice& device) {
  return std::make_unique<TPngBandWriter>(device);
}
