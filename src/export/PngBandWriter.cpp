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
#include <system_error>
#include <thread>
#include <vector>

// libpng writes the signature, the header and the chunks' frames and CRCs;
// the image data is filtered and compressed here, in pieces of a few
// megabytes on as many threads as there are cores, the way parallel gzip
// does: each piece is a run of raw deflate blocks primed with the last 32 KB
// before it and ending on a byte boundary, so the pieces joined are one zlib
// stream of the stated level. Every row is filtered with Up: on maps, whose
// squares repeat down the picture, it comes within about 1 % of libpng's
// adaptive choice of filter per row at a fraction of its cost.
//
// libpng reports errors by longjmp; the functions that call into it hold no
// objects with destructors between setjmp and the calls.

namespace {

constexpr size_t kPieceBytes = 2 * 1024 * 1024;
constexpr size_t kWindow = 32 * 1024;
constexpr png_byte kUp = 2;

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

// Filters rows of raw pixels with Up, each against the row above it;
// `above` is the row before the first (zeros above the picture's top).
void FilterRows(const unsigned char* raw, size_t rows, size_t rowBytes, const unsigned char* above,
                unsigned char* out) {
  for (size_t r = 0; r < rows; ++r) {
    const unsigned char* cur = raw + r * rowBytes;
    const unsigned char* up = r == 0 ? above : cur - rowBytes;
    *out++ = kUp;
    for (size_t i = 0; i < rowBytes; ++i)
      out[i] = static_cast<unsigned char>(cur[i] - up[i]);
    out += rowBytes;
  }
}

// One piece of rows to filter and compress on a thread of its own.
struct TPieceInput {
  std::vector<unsigned char> Raw;
  std::vector<unsigned char> Above;
  std::vector<unsigned char> Primer;  // the filtered bytes just before the piece
  size_t RowBytes = 0;
  int Level = kPngCompressionLevel;
  bool Last = false;
};

TPiece Deflate(const TPieceInput& in) {
  const size_t rows = in.Raw.size() / in.RowBytes;
  std::vector<unsigned char> input(rows * (in.RowBytes + 1));
  FilterRows(in.Raw.data(), rows, in.RowBytes, in.Above.data(), input.data());
  TPiece piece;
  piece.Size = input.size();
  piece.Adler = adler32_z(1, input.data(), input.size());
  z_stream z{};
  if (deflateInit2(&z, in.Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    piece.Failed = true;
    return piece;
  }
  if (!in.Primer.empty()) deflateSetDictionary(&z, in.Primer.data(), uInt(in.Primer.size()));
  piece.Deflated.resize(deflateBound(&z, uLong(input.size())) + 64);
  z.next_in = input.data();
  z.avail_in = uInt(input.size());
  const int flush = in.Last ? Z_FINISH : Z_SYNC_FLUSH;
  for (;;) {
    z.next_out = piece.Deflated.data() + z.total_out;
    z.avail_out = uInt(piece.Deflated.size() - z.total_out);
    const int status = deflate(&z, flush);
    if (status == Z_STREAM_END ||
        (status == Z_OK && z.avail_out > 0 && z.avail_in == 0 && !in.Last))
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

// The zlib header: deflate with a 32 KB window, and the level's class
// (fastest, fast, default, best) as zlib itself would state it.
std::vector<unsigned char> ZlibHeader(int level) {
  const unsigned levelClass = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
  const unsigned cmf = 0x78;
  unsigned flg = levelClass << 6;
  flg += 31 - (cmf * 256 + flg) % 31;
  return {static_cast<unsigned char>(cmf), static_cast<unsigned char>(flg)};
}

class TPngBandWriter : public TBandWriter {
 public:
  TPngBandWriter(QIODevice& device, int level) : fLevel(level) {
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
      if (job.valid()) job.wait();
    png_destroy_write_struct(&fState.Png, &fState.Info);
  }

  void Begin(int width, int height) override {
    fRowBytes = size_t(width) * 3;
    fAbove.assign(fRowBytes, 0);
    fRaw.reserve(kPieceBytes + fRowBytes);
    if (!PngBegin(&fState, png_uint_32(width), png_uint_32(height))) Fail();
  }

  void WriteRow(const QRgb* row) override {
    const size_t start = fRaw.size();
    fRaw.resize(start + fRowBytes);
    unsigned char* out = fRaw.data() + start;
    for (size_t x = 0; x < fRowBytes / 3; ++x) {
      *out++ = static_cast<unsigned char>(qRed(row[x]));
      *out++ = static_cast<unsigned char>(qGreen(row[x]));
      *out++ = static_cast<unsigned char>(qBlue(row[x]));
    }
    if (fRaw.size() >= kPieceBytes) Submit(false);
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
  void Submit(bool last) {
    auto in = std::make_shared<TPieceInput>();
    in->RowBytes = fRowBytes;
    in->Level = fLevel;
    in->Last = last;
    in->Above = fAbove;
    in->Primer = std::move(fPrimer);
    const size_t rows = fRaw.size() / fRowBytes;
    if (!last && rows > 0) {
      // The next piece's primer: the last 32 KB of this piece filtered, made
      // here from the few rows it needs.
      const size_t tailRows = std::min(rows, kWindow / (fRowBytes + 1) + 1);
      const size_t first = rows - tailRows;
      const unsigned char* above =
          first == 0 ? fAbove.data() : fRaw.data() + (first - 1) * fRowBytes;
      std::vector<unsigned char> tail(tailRows * (fRowBytes + 1));
      FilterRows(fRaw.data() + first * fRowBytes, tailRows, fRowBytes, above, tail.data());
      const size_t keep = std::min(kWindow, tail.size());
      fPrimer.assign(tail.end() - ptrdiff_t(keep), tail.end());
      fAbove.assign(fRaw.end() - ptrdiff_t(fRowBytes), fRaw.end());
    }
    in->Raw = std::move(fRaw);
    fRaw = std::vector<unsigned char>();
    fRaw.reserve(kPieceBytes + fRowBytes);
    const auto deflate = [in] { return Deflate(*in); };
    try {
      fJobs.push_back(std::async(std::launch::async, deflate));
    } catch (const std::system_error&) {
      // No thread to be had (a memory limit, a thread limit): compress the
      // piece here when it is written.
      fJobs.push_back(std::async(std::launch::deferred, deflate));
    }
    while (fJobs.size() >= fInFlight)
      WriteFront();
  }

  void WriteFront() {
    // Taken off the queue first: a piece whose compression threw (out of
    // memory) must not be waited for again when the writer goes.
    std::future<TPiece> job = std::move(fJobs.front());
    fJobs.pop_front();
    const TPiece piece = job.get();
    if (piece.Failed) {
      std::strncpy(fState.Error, "the image data could not be compressed", sizeof fState.Error);
      Fail();
    }
    std::vector<unsigned char> data;
    if (fFirst) {
      data = ZlibHeader(fLevel);
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
  int fLevel;
  size_t fRowBytes = 0;
  std::vector<unsigned char> fRaw;    // rows of the piece being gathered
  std::vector<unsigned char> fAbove;  // the row before its first
  std::vector<unsigned char> fPrimer;
  std::deque<std::future<TPiece>> fJobs;
  size_t fInFlight = 2;
  uLong fAdler = 1;
  bool fFirst = true;
  bool fFinishing = false;
};

}  // namespace

std::unique_ptr<TBandWriter> NewPngBandWriter(QIODevice& device, int level) {
  return std::make_unique<TPngBandWriter>(device, level);
}
