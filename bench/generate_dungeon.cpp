// Generating a dungeon with the supplied tilesets: the layout alone, and
// the whole map (layout, floors, walls, doors and furniture) as the window
// and the tool make it, at the default 40 x 40 squares and at 100 x 100.
#include "generate/DungeonGenerator.h"
#include "map/TileMapObjects.h"
#include "tiles/TilesetList.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const TDungeonTiles& SuppliedTiles() {
  static QTemporaryDir dir;
  static const TDungeonTiles tiles = [] {
    TilesetList().LoadInstalled(dir.path());
    return FindDungeonTiles(TilesetList(), TDungeonTileNames());
  }();
  return tiles;
}

TDungeonOptions Options(const benchmark::State& state) {
  TDungeonOptions options;
  options.Cols = options.Rows = int(state.range(0));
  options.Rooms = int(state.range(1));
  options.Furnish = true;
  options.Loops = true;
  return options;
}

void BM_PlanDungeon(benchmark::State& state) {
  TDungeonOptions options = Options(state);
  for (auto _ : state) {
    options.Seed = quint32(state.iterations() + 1);
    benchmark::DoNotOptimize(PlanDungeon(options));
  }
}
BENCHMARK(BM_PlanDungeon)->Args({40, 8})->Args({100, 40})->Unit(benchmark::kMillisecond);

void BM_GenerateDungeon(benchmark::State& state) {
  const TDungeonTiles& tiles = SuppliedTiles();
  TDungeonOptions options = Options(state);
  for (auto _ : state) {
    options.Seed = quint32(state.iterations() + 1);
    TTileMap map;
    benchmark::DoNotOptimize(GenerateDungeon(map, options, tiles));
  }
}
BENCHMARK(BM_GenerateDungeon)->Args({40, 8})->Args({100, 40})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
