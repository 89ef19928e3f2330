// Hover moves over the map grid cost the same whatever its cells cost to
// paint: the outline is drawn over the picture of the cells when it reaches
// the screen, never by repainting cells. Measured with an empty sub-cell
// painter and with one drawing four images per sub-cell; a full repaint with
// each is measured for scale. bench_map_grid_hover_2x runs the same
// on a screen scaled by 2 (the "dpr" counter).
#include "editor/SubCellPainter.h"
#include "editor/controls/MapGrid.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

enum class THandler { Empty, FourImages };

std::array<QImage, 4> MakeImages() {
  std::array<QImage, 4> images;
  for (int i = 0; i < 4; ++i) {
    images[i] = QImage(24, 24, QImage::Format_RGB888);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        images[i].setPixel(x, y, qRgb(x * 10, y * 10, i * 60));
  }
  return images;
}

// A grid of 40 x 30 cells of 48 pixels in an 800 x 600 control, shown on the
// offscreen platform with the outline timer stopped.
struct TBenchGrid : TSubCellPainter {
  explicit TBenchGrid(THandler handler) : images(MakeImages()), handler(handler) {
    grid.resize(800, 600);
    grid.Model().SetCellWidth(48);
    grid.Model().SetCellHeight(48);
    grid.Model().SetCellColCount(40);
    grid.Model().SetCellRowCount(30);
    grid.SetOnDrawSubCell(this);
    grid.show();
    QCoreApplication::processEvents();
    grid.OutlineTimer()->stop();
    grid.Model().RedrawAll();
    draws = 0;
  }

  void DrawSubCell(int, int, int, int, const QRect& rect, QPainter& canvas, bool) override {
    ++draws;
    if (handler == THandler::Empty) return;
    for (const QImage& image : images)
      canvas.drawImage(rect.topLeft(), image);
  }

  void MoveTo(const QPoint& p) {
    QMouseEvent move(QEvent::MouseMove, p, grid.viewport()->mapToGlobal(p), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move);
  }

  TMapGrid grid;
  std::array<QImage, 4> images;
  THandler handler;
  long draws = 0;
};

// A zig-zag over the visible cells, a few pixels per step, so that most
// moves change the hovered cell or its outline.
std::vector<QPoint> Path() {
  std::vector<QPoint> path;
  for (int y = 5; y < 560; y += 37)
    for (int x = 5; x < 760; x += 11)
      path.emplace_back(x, y);
  return path;
}

void HoverMoves(benchmark::State& state, THandler handler, bool paint) {
  TBenchGrid bench(handler);
  const std::vector<QPoint> path = Path();
  std::size_t i = 0;
  for (auto _ : state) {
    bench.MoveTo(path[i++ % path.size()]);
    // Lets the widget copy the changed pixels to the screen.
    if (paint) QCoreApplication::processEvents();
  }
  state.counters["DrawSubCell"] = static_cast<double>(bench.draws);
  state.counters["dpr"] = bench.grid.devicePixelRatioF();
}

void FullRepaint(benchmark::State& state, THandler handler) {
  TBenchGrid bench(handler);
  for (auto _ : state)
    bench.grid.Model().RedrawAll();
  state.counters["DrawSubCell/repaint"] =
      static_cast<double>(bench.draws) / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(HoverMoves, empty_handler, THandler::Empty, false);
BENCHMARK_CAPTURE(HoverMoves, four_images_per_sub_cell, THandler::FourImages, false);
BENCHMARK_CAPTURE(HoverMoves, empty_handler_with_paint, THandler::Empty, true);
BENCHMARK_CAPTURE(HoverMoves, four_images_per_sub_cell_with_paint, THandler::FourImages, true);
BENCHMARK_CAPTURE(FullRepaint, empty_handler, THandler::Empty);
BENCHMARK_CAPTURE(FullRepaint, four_images_per_sub_cell, THandler::FourImages);
