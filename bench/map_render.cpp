// Rendering a whole map of 50 x 50 squares at 48 pixels per square into a
// PNG file: in process (load the map file, draw it, write the picture, as
// tessellan-tool render does) and as the tool itself, process start included.
// The map is painted with the supplied tilesets through the editing engine:
// a random floor everywhere, rooms of walls and furniture in every room.
#include "editor/GridDrag.h"
#include "editor/MapGridModel.h"
#include "map/TileMapObjects.h"
#include "render/MapRender.h"
#include "support/BenchMap.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The tool's PNG setting: zlib level 3 (quality -1 is Qt's default, level 6,
// for comparison).
constexpr int kPngQuality = 60;

// Writes the map once and returns its path.
QString BenchMapPath() {
  static QString path;
  if (!path.isEmpty()) return path;
  TBenchMap bench;
  TMapGridModel& grid = bench.Grid();
  TEditSession& session = bench.Session();

  bench.SelectGroup(QStringLiteral("Flagstones"));
  DragOnGrid(grid, {0, 0}, {49, 49});
  const char* const furniture[] = {"Long Table", "Barrel", "Bookshelf",
                                   "Chest",      "Statue", "Round Table"};
  int item = 0;
  for (int r = 1; r < 45; r += 5)
    for (int c = 1; c < 45; c += 5) {
      bench.SelectGroup(QString::fromLatin1(furniture[item++ % 6]));
      if (item % 3 == 0) session.Engine().vwRotateClockwiseExecute();
      DragOnGrid(grid, {c + 1, r + 1, 1, 0}, {c + 1, r + 1, 1, 0});
    }
  session.Engine().gaWallExecute();
  for (int r = 1; r < 45; r += 5)
    for (int c = 1; c < 45; c += 5) {
      DragOnGrid(grid, {c, r, 0, 0, TCellEdge::Top}, {c + 3, r, 0, 0, TCellEdge::Top});
      DragOnGrid(grid, {c + 3, r, 0, 0, TCellEdge::Right}, {c + 3, r + 3, 0, 0, TCellEdge::Right});
      DragOnGrid(grid, {c, r + 3, 0, 0, TCellEdge::Bottom},
                 {c + 3, r + 3, 0, 0, TCellEdge::Bottom});
      DragOnGrid(grid, {c, r, 0, 0, TCellEdge::Left}, {c, r + 3, 0, 0, TCellEdge::Left});
    }
  path = bench.Save(QStringLiteral("fifty.tqm"));
  return path;
}

void RenderInProcess(benchmark::State& state) {
  const QString map = BenchMapPath();
  const QString out = BenchWorkDir().filePath(QStringLiteral("in-process.png"));
  for (auto _ : state) {
    TTileMap loaded;
    loaded.LoadFromFile(map);
    const QImage picture = RenderMap(loaded, 48);
    QImageWriter writer(out, "png");
    writer.setQuality(kPngQuality);
    if (!writer.write(picture)) state.SkipWithError("the picture could not be written");
  }
}

// The three parts of a render apart.
void LoadMapFile(benchmark::State& state) {
  const QString map = BenchMapPath();
  for (auto _ : state) {
    TTileMap loaded;
    loaded.LoadFromFile(map);
  }
}

void DrawWholeMap(benchmark::State& state) {
  TTileMap loaded;
  loaded.LoadFromFile(BenchMapPath());
  for (auto _ : state)
    benchmark::DoNotOptimize(RenderMap(loaded, 48));
}

void WritePng(benchmark::State& state) {
  TTileMap loaded;
  loaded.LoadFromFile(BenchMapPath());
  const QImage picture = RenderMap(loaded, 48);
  const QString out = BenchWorkDir().filePath(QStringLiteral("write.png"));
  for (auto _ : state) {
    QImageWriter writer(out, "png");
    writer.setQuality(int(state.range(0)));
    writer.write(picture);
  }
}

void RenderTool(benchmark::State& state) {
  const QString map = BenchMapPath();
  const QString tool =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../tessellan-tool");
  if (!QFile::exists(tool)) {
    state.SkipWithError("tessellan-tool is not built");
    return;
  }
  const QString out = BenchWorkDir().filePath(QStringLiteral("tool.png"));
  for (auto _ : state) {
    QProcess process;
    process.start(tool, {QStringLiteral("render"), map, out});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
      state.SkipWithError("tessellan-tool render failed");
  }
}

}  // namespace

BENCHMARK(RenderInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadMapFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DrawWholeMap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WritePng)->Arg(-1)->Arg(kPngQuality)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RenderTool)->Unit(benchmark::kMillisecond)->UseRealTime();
