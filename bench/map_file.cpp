// Map file and undo costs measured beside their floors: saving against
// PNG-encoding the embedded images alone, loading against decoding them
// alone, and undo plus redo of a 10,000-state action against the edit.
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "storage/Guid.h"
#include "storage/Png.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 100;       // sub-cells each way
constexpr int kDistinct = 60;    // distinct sub-tiles
constexpr int kImageSide = 150;  // pixels

// Tile-like images: a smooth gradient per tile with stone-like grain.
std::vector<std::unique_ptr<TSubTile>> MakeSubTiles() {
  std::mt19937 random(5);
  std::vector<std::unique_ptr<TSubTile>> tiles;
  for (int i = 0; i < kDistinct; ++i) {
    QImage image(kImageSide, kImageSide, QImage::Format_RGB888);
    for (int y = 0; y < kImageSide; ++y) {
      uchar* row = image.scanLine(y);
      for (int x = 0; x < kImageSide; ++x) {
        const int grain = int(random() % 24);
        row[3 * x] = uchar(60 + i * 2 + x / 3 + grain);
        row[3 * x + 1] = uchar(50 + y / 2 + grain);
        row[3 * x + 2] = uchar(40 + ((x / 25 + y / 25) % 2) * 30 + grain);
      }
    }
    auto tile = std::make_unique<TSubTile>();
    tile->SetImage(image);
    tile->SetGuid(NameGuidText(QStringLiteral("bench-%1").arg(i)));
    tiles.push_back(std::move(tile));
  }
  return tiles;
}

struct TFixture {
  TFixture() : tiles(MakeSubTiles()) {
    map = MakeFullMap();
    path = dir.filePath(QStringLiteral("bench.tqm"));
    map->SaveToFile(path);
    for (const auto& tile : tiles)
      encoded.push_back(EncodePng(tile->Image()));
  }

  std::unique_ptr<TTileMap> MakeFullMap() const {
    auto full = std::make_unique<TTileMap>();
    full->SetWidth(kSide);
    full->SetHeight(kSide);
    for (int layer = 0; layer < kLayerCount; ++layer)
      for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
          full->PlaceTile(layer, x, y, *tiles[size_t((x * 7 + y * 13 + layer * 17) % kDistinct)],
                          quint8((x + y) % 8));
    return full;
  }

  QTemporaryDir dir;
  std::vector<std::unique_ptr<TSubTile>> tiles;
  std::unique_ptr<TTileMap> map;
  QString path;
  std::vector<QByteArray> encoded;
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void SaveToFile(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state)
    f.map->SaveToFile(f.path);
}
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond);

void EncodeImagesOnly(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state)
    for (const auto& tile : f.tiles)
      benchmark::DoNotOptimize(EncodePng(tile->Image()));
}
BENCHMARK(EncodeImagesOnly)->Unit(benchmark::kMillisecond);

void LoadFromFile(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    TTileMap map;
    map.LoadFromFile(f.path);
    benchmark::DoNotOptimize(map.EmbeddedTiles().Count());
  }
}
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond);

void DecodeImagesOnly(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state)
    for (const QByteArray& png : f.encoded) {
      qsizetype offset = 0;
      benchmark::DoNotOptimize(DecodePng(png, offset));
    }
}
BENCHMARK(DecodeImagesOnly)->Unit(benchmark::kMillisecond);

// One action of 10,000 tile states: the base layer of a map whose other
// layers already show every sub-tile, filled cell by cell.
void FillBase(TTileMap& map, const TFixture& f) {
  map.BeginUndo();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      map.PlaceTile(mlBase, x, y, *f.tiles[size_t((x + y) % kDistinct)], 0);
  map.EndUndo();
}

std::unique_ptr<TTileMap> MapWithEmptyBase(const TFixture& f) {
  auto map = f.map->Clone();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      map->RemoveTile(mlBase, x, y);
  return map;
}

void EditOfTenThousandStates(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TTileMap> map = MapWithEmptyBase(f);
    state.ResumeTiming();
    FillBase(*map, f);
    state.PauseTiming();
    map.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(EditOfTenThousandStates)->Unit(benchmark::kMillisecond);

void UndoThenRedoOfTenThousandStates(benchmark::State& state) {
  TFixture& f = Fixture();
  std::unique_ptr<TTileMap> map = MapWithEmptyBase(f);
  FillBase(*map, f);
  for (auto _ : state) {
    map->Undo();
    map->Redo();
  }
}
BENCHMARK(UndoThenRedoOfTenThousandStates)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
