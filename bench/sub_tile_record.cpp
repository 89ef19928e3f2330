// Reading a tileset's worth of sub-tile records (184 textured 150 × 150 RGB
// images) through ReadSubTileRecord, against decoding the same PNG
// datastreams with plain libpng into one buffer. Also the encoder's cost and
// output size at several zlib levels and filter choices, which decided the
// writer's settings.
#include "storage/Png.h"
#include "storage/SubTileRecord.h"

#include <QImage>

#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kRecords = 184;
constexpr int kSide = 150;

// A stone-like floor texture: smooth noise at a few scales plus a little
// grain, different for every image.
QImage Texture(int seed) {
  std::mt19937 random(unsigned(seed) * 7919u + 1u);
  std::uniform_real_distribution<double> phase(0, 6.283);
  std::uniform_int_distribution<int> grain(-4, 4);
  const double p1 = phase(random), p2 = phase(random), p3 = phase(random);
  const int base = 90 + seed % 60;
  QImage image(kSide, kSide, QImage::Format_RGB888);
  for (int y = 0; y < kSide; ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < kSide; ++x) {
      const double v = 20 * std::sin(x * 0.05 + p1) * std::cos(y * 0.07 + p2) +
                       10 * std::sin((x + y) * 0.21 + p3) + 6 * std::cos(x * 0.6 - y * 0.4);
      const int g = grain(random);
      line[3 * x] = uchar(qBound(0, int(base + v + g), 255));
      line[3 * x + 1] = uchar(qBound(0, int(base * 0.9 + v + g), 255));
      line[3 * x + 2] = uchar(qBound(0, int(base * 0.8 + v * 0.8 + g), 255));
    }
  }
  return image;
}

struct TTilesetStreams {
  QByteArray Records;            // every record back to back
  std::vector<QByteArray> Pngs;  // the same PNG datastreams alone
  std::vector<QImage> Images;
};

const TTilesetStreams& Streams() {
  static const TTilesetStreams streams = [] {
    TTilesetStreams s;
    for (int i = 0; i < kRecords; ++i) {
      s.Images.push_back(Texture(i));
      s.Pngs.push_back(EncodePng(s.Images.back()));
      WriteSubTileRecord(s.Records, s.Images.back(),
                         QStringLiteral("{33FA80D4-9933-476A-8B8C-4FC1EDE16F%1}")
                             .arg(i % 256, 2, 16, QLatin1Char('0'))
                             .toUpper(),
                         0x02737373);
    }
    return s;
  }();
  return streams;
}

void BM_ReadSubTileRecords(benchmark::State& state) {
  const QByteArray& records = Streams().Records;
  for (auto _ : state) {
    qsizetype offset = 0;
    for (int i = 0; i < kRecords; ++i) {
      TSubTileRecord record = ReadSubTileRecord(records, offset);
      benchmark::DoNotOptimize(record.Image.constBits());
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ReadSubTileRecords)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// Plain libpng: memory source, no transforms (the images are already 8-bit
// RGB), rows into one reused buffer.

struct TMemory {
  const unsigned char* Data;
  size_t Size;
  size_t Pos;
};

extern "C" void ReadMemory(png_structp png, png_bytep out, size_t length) {
  auto* m = static_cast<TMemory*>(png_get_io_ptr(png));
  if (length > m->Size - m->Pos) png_error(png, "short");
  std::memcpy(out, m->Data + m->Pos, length);
  m->Pos += length;
}

bool PlainDecode(TMemory* memory, unsigned char* buffer, unsigned char** rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, memory, ReadMemory);
  png_read_info(png, info);
  png_read_update_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = buffer + y * stride;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

void BM_PlainLibpng(benchmark::State& state) {
  const auto& pngs = Streams().Pngs;
  std::vector<unsigned char> buffer(size_t(kSide) * kSide * 3);
  std::vector<unsigned char*> rows(kSide);
  for (auto _ : state) {
    for (const QByteArray& data : pngs) {
      TMemory memory{reinterpret_cast<const unsigned char*>(data.constData()), size_t(data.size()),
                     0};
      if (!PlainDecode(&memory, buffer.data(), rows.data())) state.SkipWithError("decode failed");
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_PlainLibpng)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// Encoding: ours, and libpng at other settings for comparison.

void BM_EncodePng(benchmark::State& state) {
  const auto& images = Streams().Images;
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const QImage& image : images)
      bytes += size_t(EncodePng(image).size());
  }
  state.counters["KiB"] = double(bytes) / 1024;
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

struct TSink {
  size_t Size;
};

extern "C" void CountBytes(png_structp png, png_bytep, size_t length) {
  static_cast<TSink*>(png_get_io_ptr(png))->Size += length;
}

extern "C" void NoFlush(png_structp) {}

bool EncodeWith(const QImage* image, int level, int filters, TSink* sink, unsigned char** rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, sink, CountBytes, NoFlush);
  png_set_compression_level(png, level);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_set_IHDR(png, info, png_uint_32(image->width()), png_uint_32(image->height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Arguments: zlib level, and 0 for no filtering or 1 for adaptive filtering.
void BM_EncodeSettings(benchmark::State& state) {
  const auto& images = Streams().Images;
  const int level = int(state.range(0));
  const int filters = state.range(1) ? PNG_ALL_FILTERS : PNG_FILTER_NONE;
  std::vector<unsigned char*> rows(kSide);
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const QImage& image : images) {
      for (int y = 0; y < kSide; ++y)
        rows[size_t(y)] = const_cast<uchar*>(image.constScanLine(y));
      TSink sink{0};
      if (!EncodeWith(&image, level, filters, &sink, rows.data()))
        state.SkipWithError("encode failed");
      bytes += sink.Size;
    }
  }
  state.counters["KiB"] = double(bytes) / 1024;
}
BENCHMARK(BM_EncodeSettings)
    ->ArgsProduct({{1, 3, 6, 9}, {0, 1}})
    ->ArgNames({"level", "adaptive"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
