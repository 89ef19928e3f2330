// Printing at real scale. One full Letter page at 600 dpi with a one-inch
// grid and all three layers occupied, drawn by the print renderer, against
// the bare stretches of the same sub-tile images it cannot do without; and
// a 50 x 50 square map painted with the supplied tilesets, every layer
// occupied, printed to a 300 dpi Letter PDF (time, peak memory, file size
// next to the map file's); and 20 x 25 squares of it printed at 300, 1200
// and 2400 dpi, whose PDFs should hardly grow with the resolution.
#include "editor/MapGridModel.h"
#include "map/TileMapObjects.h"
#include "print/MapAreaRenderer.h"
#include "print/PdfPrinter.h"
#include "print/PrintJob.h"
#include "storage/Guid.h"
#include "support/BenchMap.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kDpi = 600;
// Letter's printable 8 x 10.5 inches hold 8 x 10 one-inch squares.
constexpr int kPageCols = 16;
constexpr int kPageRows = 20;
constexpr double kCell = kDpi / 2.0;

// A 64-pixel sub-tile with a pattern of its own; objects and walls key out
// a grey.
TSubTile PatternSubTile(int seed, bool keyed) {
  QImage image(64, 64, QImage::Format_RGB888);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      image.setPixel(
          x, y,
          keyed && (x + y + seed) % 7 == 0
              ? qRgb(0x73, 0x73, 0x73)
              : qRgb((seed * 37 + x * 3) & 255, (y * 4 + seed) & 255, (200 - seed) & 255));
  TSubTile subTile;
  subTile.SetImage(image);
  subTile.SetGuid(NewGuidText());
  subTile.SetTransparentColor(keyed ? 0x00737373 : -1);
  return subTile;
}

// One page of sub-cells, each with its own floor, object and wall, so that
// no two sub-cells share a picture.
TTileMap& PageMap() {
  static TTileMap map;
  static bool painted = false;
  if (painted) return map;
  painted = true;
  map.SetWidth(kPageCols);
  map.SetHeight(kPageRows);
  int seed = 0;
  for (int y = 0; y < kPageRows; ++y)
    for (int x = 0; x < kPageCols; ++x)
      for (int layer = 0; layer < kLayerCount; ++layer) {
        ++seed;
        map.PlaceTile(layer, x, y, PatternSubTile(seed, layer != mlBase), quint8(seed % 8));
      }
  return map;
}

void PrintPage600(benchmark::State& state) {
  const TTileMap& map = PageMap();
  QImage page(SubCellEdge(kPageCols, kCell), SubCellEdge(kPageRows, kCell), QImage::Format_RGB32);
  page.fill(Qt::white);
  for (auto _ : state) {
    // A fresh cache per page: every sub-cell is drawn, none reused.
    TSubCellCache cache;
    QPainter painter(&page);
    RenderMapArea(map, painter, kPageRows, kCell, kCell, 0, 0, kPageCols, cache);
  }
}

// The same stretches of the same images, and nothing else.
void BareStretches(benchmark::State& state) {
  const TTileMap& map = PageMap();
  QImage cell{int(kCell), int(kCell), QImage::Format_RGB32};
  for (auto _ : state) {
    QPainter painter(&cell);
    for (int y = 0; y < kPageRows; ++y)
      for (int x = 0; x < kPageCols; ++x)
        for (int layer = 0; layer < kLayerCount; ++layer) {
          const TMapTile* tile = map.GetTile(layer, x, y);
          tile->SubTile()->Draw(painter, cell.rect(), tile->Orientation(), layer != mlBase);
        }
  }
}

void FiftyToPdf300(benchmark::State& state) {
  TTileMap map;
  map.LoadFromFile(FiftySquareMapPath());
  int occupied[kLayerCount] = {};
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x)
        occupied[layer] += map.GetTile(layer, x, y) != nullptr;
  const QString pdf = BenchWorkDir().filePath(QStringLiteral("fifty.pdf"));
  int pages = 0;
  for (auto _ : state) {
    TPdfPrinter printer(pdf, QPageSize::Letter, false, 300);
    pages = PrintMapPages(map, printer, -1);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["pages"] = pages;
  state.counters["pdf_MB"] = QFileInfo(pdf).size() / 1e6;
  state.counters["map_file_MB"] = QFileInfo(FiftySquareMapPath()).size() / 1e6;
  state.counters["peak_rss_MB"] = usage.ru_maxrss / 1024.0;
  state.counters["base_pct"] = 100.0 * occupied[0] / (map.Width() * map.Height());
  state.counters["objects_pct"] = 100.0 * occupied[1] / (map.Width() * map.Height());
  state.counters["walls_pct"] = 100.0 * occupied[2] / (map.Width() * map.Height());
}

// The top-left 20 x 25 squares of the full map, printed on Letter at the
// resolution in the argument.
void TwentyByTwentyFiveToPdf(benchmark::State& state) {
  TTileMap map;
  map.LoadFromFile(FiftySquareMapPath());
  map.SetWidth(40);
  map.SetHeight(50);
  const int dpi = int(state.range(0));
  const QString pdf = BenchWorkDir().filePath(QStringLiteral("twenty-%1.pdf").arg(dpi));
  int pages = 0;
  for (auto _ : state) {
    TPdfPrinter printer(pdf, QPageSize::Letter, false, dpi);
    pages = PrintMapPages(map, printer, -1);
  }
  state.counters["pages"] = pages;
  state.counters["pdf_MB"] = QFileInfo(pdf).size() / 1e6;
}

}  // namespace

BENCHMARK(PrintPage600)->Unit(benchmark::kMillisecond);
BENCHMARK(BareStretches)->Unit(benchmark::kMillisecond);
BENCHMARK(FiftyToPdf300)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(TwentyByTwentyFiveToPdf)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Arg(300)
    ->Arg(1200)
    ->Arg(2400);
