// Loading the supplied example tileset against decoding its PNG datastreams
// with libpng alone, and the heap the load needs at its peak.
//
// Peak memory is measured by counting the heap: this program replaces
// malloc and friends with thin wrappers around glibc's own allocator that
// add up the usable size of every live block and remember the highest total.
// QImage pixels, QByteArray file contents and every C++ object go through
// them, so "peak during the load minus live before it" is the extra heap the
// load needed.
#include "storage/CompoundFile.h"
#include "storage/Storage.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <png.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

// ---- heap counting -------------------------------------------------------

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<long long> gLiveBytes{0};
std::atomic<long long> gPeakBytes{0};

void Count(void* block) {
  if (!block) return;
  const long long live = gLiveBytes += (long long)malloc_usable_size(block);
  long long peak = gPeakBytes.load(std::memory_order_relaxed);
  while (live > peak && !gPeakBytes.compare_exchange_weak(peak, live)) {
  }
}

void Uncount(void* block) {
  if (block) gLiveBytes -= (long long)malloc_usable_size(block);
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
  void* block = __libc_malloc(size);
  Count(block);
  return block;
}

void* calloc(size_t count, size_t size) {
  void* block = __libc_calloc(count, size);
  Count(block);
  return block;
}

void* realloc(void* block, size_t size) {
  const long long before = block ? (long long)malloc_usable_size(block) : 0;
  void* moved = __libc_realloc(block, size);
  if (moved) {
    gLiveBytes -= before;
    Count(moved);
  } else if (size == 0) {
    gLiveBytes -= before;
  }
  return moved;
}

void free(void* block) {
  Uncount(block);
  __libc_free(block);
}

void* memalign(size_t alignment, size_t size) {
  void* block = __libc_memalign(alignment, size);
  Count(block);
  return block;
}

void* aligned_alloc(size_t alignment, size_t size) {
  return memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) {
  void* block = memalign(alignment, size);
  if (!block) return ENOMEM;
  *result = block;
  return 0;
}

}  // extern "C"

// ---- the tileset and its datastreams ------------------------------------

namespace {

struct TFixture {
  QTemporaryDir Dir;
  QString Path;
  std::vector<QByteArray> Pngs;  // every image of every tile stream
  long long DecodedBytes = 0;    // width × height × 3 over all images
};

// Splits a tile stream into its PNG datastreams by walking the chunks; the
// 20 bytes of identity and colour after each IEND are skipped.
void SplitRecords(const QByteArray& stream, std::vector<QByteArray>& out) {
  qsizetype at = 0;
  while (at + 8 <= stream.size()) {
    const qsizetype start = at;
    at += 8;
    for (;;) {
      if (at + 12 > stream.size()) return;
      const auto* p = reinterpret_cast<const unsigned char*>(stream.constData() + at);
      const qsizetype length = (qsizetype(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
      const bool end = std::memcmp(p + 4, "IEND", 4) == 0;
      at += 12 + length;
      if (end) break;
    }
    out.push_back(stream.mid(start, at - start));
    at += 20;
  }
}

void CollectPngs(const TStorage& storage, std::vector<QByteArray>& out, bool inTiles) {
  for (int i = 0; i < storage.ElementCount(); ++i) {
    if (storage.TypeAt(i) == TElementType::Storage)
      CollectPngs(storage.StorageAt(i), out,
                  storage.NameAt(i).compare(QStringLiteral("Tiles"), Qt::CaseInsensitive) == 0);
    else if (inTiles)
      SplitRecords(storage.StreamAt(i), out);
  }
}

TFixture& Fixture() {
  static TFixture* fixture = [] {
    auto* f = new TFixture;
    f->Path = QDir(f->Dir.path()).filePath(QStringLiteral("ExampleTileset.tls"));
    QFile resource(QStringLiteral(":/TILESET/xTileset"));
    QFile file(f->Path);
    if (!resource.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly) ||
        file.write(resource.readAll()) != resource.size())
      qFatal("cannot write the example tileset");
    file.close();
    CollectPngs(*ReadCompoundFile(f->Path, TOpenMode::Read), f->Pngs, false);

    TTileSet tileSet;
    if (!tileSet.SetFileName(f->Path) || !tileSet.Load()) qFatal("cannot load the example tileset");
    for (int g = 0; g < tileSet.GroupCount(); ++g) {
      const TTileGroup& group = *tileSet.GroupAt(g);
      for (int x = 0; x < group.PatWidth(); ++x)
        for (int y = 0; y < group.PatHeight(); ++y)
          if (const TTile* tile = group.StoredTile(x, y))
            for (int q = 0; q < 4; ++q) {
              const QImage& image = tile->SubTile(q).Image();
              f->DecodedBytes += 3LL * image.width() * image.height();
            }
    }
    return f;
  }();
  return *fixture;
}

// ---- plain libpng --------------------------------------------------------

struct TMemoryReader {
  const unsigned char* Data;
  size_t Size;
  size_t Position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<TMemoryReader*>(png_get_io_ptr(png));
  if (count > reader->Size - reader->Position) png_error(png, "datastream cut short");
  std::memcpy(out, reader->Data + reader->Position, count);
  reader->Position += count;
}

// Decodes one datastream to 8-bit RGB rows in pixels (grown as needed). Holds
// no object with a destructor, so libpng's longjmp is safe here.
bool DecodeWithLibpng(const QByteArray& png, std::vector<unsigned char>& pixels,
                      std::vector<png_bytep>& rows) {
  TMemoryReader reader{reinterpret_cast<const unsigned char*>(png.constData()), size_t(png.size()),
                       0};
  png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = read ? png_create_info_struct(read) : nullptr;
  if (!info) {
    png_destroy_read_struct(&read, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(read))) {
    png_destroy_read_struct(&read, &info, nullptr);
    return false;
  }
  png_set_read_fn(read, &reader, &ReadFromMemory);
  png_read_info(read, info);
  png_set_expand(read);
  png_set_strip_16(read);
  png_set_strip_alpha(read);
  png_set_gray_to_rgb(read);
  const int passes = png_set_interlace_handling(read);
  (void)passes;
  png_read_update_info(read, info);
  const png_uint_32 height = png_get_image_height(read, info);
  const size_t rowBytes = png_get_rowbytes(read, info);
  if (pixels.size() < rowBytes * height) pixels.resize(rowBytes * height);
  if (rows.size() < height) rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = pixels.data() + y * rowBytes;
  png_read_image(read, rows.data());
  png_read_end(read, nullptr);
  png_destroy_read_struct(&read, &info, nullptr);
  return true;
}

void DecodeAll(const std::vector<QByteArray>& pngs, std::vector<unsigned char>& pixels,
               std::vector<png_bytep>& rows) {
  for (const QByteArray& png : pngs)
    if (!DecodeWithLibpng(png, pixels, rows)) qFatal("libpng refused a datastream");
}

// As DecodeAll, but every image keeps a buffer of its own until the end, as
// the images of a loaded tileset do.
void DecodeAllKept(const std::vector<QByteArray>& pngs, std::vector<png_bytep>& rows) {
  std::vector<std::vector<unsigned char>> images(pngs.size());
  for (size_t i = 0; i < pngs.size(); ++i)
    if (!DecodeWithLibpng(pngs[i], images[i], rows)) qFatal("libpng refused a datastream");
  benchmark::DoNotOptimize(images.data());
}

void LoadOnce(const QString& path) {
  TTileSet tileSet;
  if (!tileSet.SetFileName(path) || !tileSet.Load()) qFatal("load failed");
  benchmark::DoNotOptimize(tileSet.GroupCount());
}

// ---- benchmarks ----------------------------------------------------------

void BM_LibpngDecodeAll(benchmark::State& state) {
  const TFixture& f = Fixture();
  std::vector<unsigned char> pixels;
  std::vector<png_bytep> rows;
  for (auto _ : state)
    DecodeAll(f.Pngs, pixels, rows);
  state.counters["images"] = double(f.Pngs.size());
}
BENCHMARK(BM_LibpngDecodeAll)->Unit(benchmark::kMillisecond);

void BM_LoadExampleTileset(benchmark::State& state) {
  const TFixture& f = Fixture();
  for (auto _ : state)
    LoadOnce(f.Path);
}
BENCHMARK(BM_LoadExampleTileset)->Unit(benchmark::kMillisecond);

// The file part of a load alone: reading and parsing the compound file.
void BM_ReadExampleCompoundFile(benchmark::State& state) {
  const TFixture& f = Fixture();
  for (auto _ : state)
    benchmark::DoNotOptimize(ReadCompoundFile(f.Path, TOpenMode::ReadWrite));
}
BENCHMARK(BM_ReadExampleCompoundFile)->Unit(benchmark::kMillisecond);

// The CPU time of this thread: on a machine shared with other work, wall
// time would mostly measure the neighbours.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// All side by side in every iteration, so the ratios see the same machine
// state. "ratio" is load time over plain decoding into one reused buffer (the
// strictest baseline; goal: at most 1.2); "ratio_kept" over plain decoding
// into a buffer per image, as a load must.
void BM_LoadOverLibpngRatio(benchmark::State& state) {
  const TFixture& f = Fixture();
  std::vector<unsigned char> pixels;
  std::vector<png_bytep> rows;
  double decoding = 0, decodingKept = 0, loading = 0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    DecodeAll(f.Pngs, pixels, rows);
    const double t1 = ThreadSeconds();
    DecodeAllKept(f.Pngs, rows);
    const double t2 = ThreadSeconds();
    LoadOnce(f.Path);
    const double t3 = ThreadSeconds();
    decoding += t1 - t0;
    decodingKept += t2 - t1;
    loading += t3 - t2;
  }
  state.counters["ratio"] = loading / decoding;
  state.counters["ratio_kept"] = loading / decodingKept;
}
BENCHMARK(BM_LoadOverLibpngRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Extra heap at the peak of a load, over the decoded pixel bytes (goal: at
// most 3).
void BM_LoadPeakMemory(benchmark::State& state) {
  const TFixture& f = Fixture();
  long long worst = 0;
  for (auto _ : state) {
    const long long before = gLiveBytes.load();
    gPeakBytes = before;
    LoadOnce(f.Path);
    worst = std::max(worst, gPeakBytes.load() - before);
  }
  state.counters["peak_MB"] = double(worst) / (1024.0 * 1024.0);
  state.counters["decoded_MB"] = double(f.DecodedBytes) / (1024.0 * 1024.0);
  state.counters["peak_over_decoded"] = double(worst) / double(f.DecodedBytes);
}
BENCHMARK(BM_LoadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
