// A full repaint of a 1600 x 1000 map view at 32 pixels per cell, every
// sub-cell holding a floor, an object and a wall piece in mixed orientations,
// drawn through the grid's sub-cell walk and DrawMapSubCell from the
// painter's scaled pictures; against it, the same number of ready-made 16 x 16 images
// drawn with QPainter::drawImage. The ratio of the two is what matters.
// Each runs at a device pixel ratio of 1 and of 2 (the argument): at 2 the
// view's picture has twice the pixels each way, as on a high-resolution
// screen, and the ready images are 32 x 32.
#include "editor/MapGridModel.h"
#include "editor/MapPainter.h"
#include "map/TileMapObjects.h"
#include "storage/Guid.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int kViewWidth = 1600;
constexpr int kViewHeight = 1000;
constexpr int kCellSize = 32;
constexpr int kDistinct = 24;

// Full-resolution pictures like the supplied ones: 150 pixels square, the
// odd ones with a transparent colour covering a quarter of the picture.
std::vector<std::unique_ptr<TSubTile>> MakeSubTiles() {
  std::vector<std::unique_ptr<TSubTile>> subTiles;
  for (int i = 0; i < kDistinct; ++i) {
    QImage image(150, 150, QImage::Format_RGB888);
    for (int y = 0; y < 150; ++y) {
      uchar* row = image.scanLine(y);
      for (int x = 0; x < 150; ++x) {
        const bool keyed = i % 2 && x < 75 && y < 75;
        row[3 * x] = keyed ? 0x73 : uchar(x + i * 9);
        row[3 * x + 1] = keyed ? 0x73 : uchar(y * 2);
        row[3 * x + 2] = keyed ? 0x73 : uchar(i * 40);
      }
    }
    auto subTile = std::make_unique<TSubTile>();
    subTile->SetImage(image);
    subTile->SetGuid(NewGuidText());
    subTile->SetTransparentColor(i % 2 ? 0x02737373 : -1);
    subTiles.push_back(std::move(subTile));
  }
  return subTiles;
}

// Paints what the grid asks into an off-screen picture, as the widget does.
class TPictureView : public TMapGridView {
 public:
  TPictureView(const TMapGridModel& grid, TMapPainter& painter, int scale)
      : Picture(kViewWidth * scale, kViewHeight * scale, QImage::Format_RGB32),
        fGrid(grid),
        fPainter(painter) {
    Picture.setDevicePixelRatio(scale);
  }

  QImage Picture;

  void PaintRegion(const TRedrawRange& range) override {
    QPainter canvas(&Picture);
    canvas.fillRect(range.Region.ToQRect(), Qt::white);
    fGrid.ForEachSubCell(range, [&](const TSubCellPaint& cell) {
      fPainter.grdMapDrawSubCell(cell.Col, cell.Row, cell.SubCol, cell.SubRow, cell.Rect.ToQRect(),
                                 canvas, cell.Selected);
    });
  }

 private:
  const TMapGridModel& fGrid;
  TMapPainter& fPainter;
};

struct TBenchMap {
  explicit TBenchMap(int scale) : subTiles(MakeSubTiles()), view(grid, painter, scale) {
    const int cols = kViewWidth / kCellSize;
    const int rows = (kViewHeight + kCellSize - 1) / kCellSize;
    map.SetWidth(2 * cols);
    map.SetHeight(2 * rows);
    for (int x = 0; x < map.Width(); ++x)
      for (int y = 0; y < map.Height(); ++y)
        for (int layer = 0; layer < kLayerCount; ++layer) {
          const int i = (x * 7 + y * 3 + layer * 5) % kDistinct;
          map.PlaceTile(layer, x, y, *subTiles[size_t(i)], quint8((x + y + layer) % 8));
        }
    grid.SetControlSize(kViewWidth, kViewHeight);
    painter.SetCellSize(kCellSize);
    painter.ActivateMap(&map);
    painter.ApplyZoom();
    grid.SetView(&view);
  }

  std::vector<std::unique_ptr<TSubTile>> subTiles;
  TTileMap map;
  TMapGridModel grid;
  TMapPainter painter{grid};
  TPictureView view;
};

void FullRepaint(benchmark::State& state) {
  TBenchMap bench(int(state.range(0)));
  // Once outside the timing, so every orientation's cached copy exists.
  bench.grid.RedrawAll();
  for (auto _ : state)
    bench.grid.RedrawAll();
  state.counters["images/repaint"] = 3.0 * (kViewWidth / 16) * ((kViewHeight + 15) / 16);
}

// The same number of 16 x 16 images (32 x 32 at a ratio of 2), ready in the
// same format as the drawing copies (premultiplied ARGB), drawn over the same
// white picture.
struct TReadyImages {
  explicit TReadyImages(int scale)
      : picture(kViewWidth * scale, kViewHeight * scale, QImage::Format_RGB32) {
    picture.setDevicePixelRatio(scale);
    const int side = 16 * scale;
    for (int i = 0; i < kDistinct; ++i) {
      QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
      image.fill(i % 2 ? qRgba(0, 0, 0, 0) : qRgb(i * 9, 40, 90));
      for (int y = side / 2; y < side; ++y)
        for (int x = 0; x < side; ++x)
          image.setPixel(x, y, qRgb(x * 9, y * 9, i * 9));
      image.setDevicePixelRatio(scale);
      images.push_back(image);
    }
  }
  void Draw() {
    QPainter canvas(&picture);
    canvas.fillRect(picture.rect(), Qt::white);
    for (int y = 0; y < kViewHeight; y += 16)
      for (int x = 0; x < kViewWidth; x += 16)
        for (int layer = 0; layer < kLayerCount; ++layer)
          canvas.drawImage(QPoint(x, y), images[size_t((x * 7 + y * 3 + layer * 5) % kDistinct)]);
  }

  std::vector<QImage> images;
  QImage picture;
};

void ReadyImages(benchmark::State& state) {
  TReadyImages ready(int(state.range(0)));
  for (auto _ : state)
    ready.Draw();
}

// Both drawings alternately, keeping the fastest of each: on a machine shared
// with other work the minimum is the steadiest measure of what each costs.
void RepaintRatio(benchmark::State& state) {
  TBenchMap bench(int(state.range(0)));
  TReadyImages ready(int(state.range(0)));
  bench.grid.RedrawAll();
  using TClock = std::chrono::steady_clock;
  double bestMap = 1e9;
  double bestReady = 1e9;
  for (auto _ : state) {
    auto start = TClock::now();
    bench.grid.RedrawAll();
    auto middle = TClock::now();
    ready.Draw();
    auto end = TClock::now();
    bestMap = std::min(bestMap, std::chrono::duration<double, std::milli>(middle - start).count());
    bestReady =
        std::min(bestReady, std::chrono::duration<double, std::milli>(end - middle).count());
  }
  state.counters["map_ms"] = bestMap;
  state.counters["ready_ms"] = bestReady;
  state.counters["ratio"] = bestMap / bestReady;
}

}  // namespace

BENCHMARK(FullRepaint)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK(ReadyImages)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK(RepaintRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0)->Arg(1)->Arg(2);
