#include "PrintJob.h"

#include "MapAreaRenderer.h"
#include "PrinterDevice.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"

#include <QPainter>

#include <vector>

namespace {

// The pages of a range the job prints: all of them, or with SkipBlank those
// that hold a tile.
std::vector<int> ChosenPages(const TTileMap& map, const TPageLayout& layout, TPageRange range,
                             const TPrintAids& aids) {
  std::vector<int> pages;
  for (int p = range.First; p <= range.Last; ++p)
    if (!PageSkipped(map, layout, p, aids)) pages.push_back(p);
  return pages;
}

}  // namespace

TPageLayout LayoutForDevice(const TTileMap& map, const TPrinterDevice& device,
                            const TPrintAids& aids) {
  const QSize area = device.PrintableSize();
  return ComputePageLayout(map.Width(), map.Height(), map.TileSize(), device.ResolutionX(),
                           device.ResolutionY(), area.width(),
                           HeightForSquares(area.height(), device.ResolutionY(), aids));
}

int PrintMapPages(const TTileMap& map, TPrinterDevice& device, int pageIndex,
                  TPrintProgress* progress, const TPrintAids& aids) {
  const TPageLayout layout = LayoutForDevice(map, device, aids);
  const int total = layout.TotalPages();
  if (total <= 0) throw TError(QStringLiteral("The map has no grid squares to print."));
  const std::vector<int> pages = ChosenPages(map, layout, PagesToPrint(pageIndex, total), aids);
  if (pages.empty())
    throw TError(QStringLiteral("No page to print holds a tile, and blank pages are skipped."));

  device.BeginJob(map.MapName());
  const int first = FirstPrintedPage(map, layout, aids);
  int drawn = 0;
  try {
    TSubCellCache cache;
    std::function<void()> drawing;
    if (progress) drawing = [progress] { progress->Drawing(); };
    for (const int p : pages) {
      if (progress)
        progress->PageStarting(QStringLiteral("Printing page %1 of %2").arg(p + 1).arg(total));
      const QPoint origin = layout.PageOrigin(p);
      RenderMapArea(map, device.Painter(), layout.Rows, layout.CellWidth, layout.CellHeight,
                    origin.x(), origin.y(), layout.Cols, cache, drawing);
      DrawPageAids(
          device.Painter(), aids,
          AidPageOf(layout, p, layout.CellWidth, layout.CellHeight, device.PrintableSize(),
                    device.ResolutionX(), device.ResolutionY(), map.MapName(), p == first));
      ++drawn;
      if (progress && progress->Cancelled()) break;
      if (p != pages.back()) device.NewPage();
    }
  } catch (...) {
    // The job must not stay open: end it, keep the first error.
    device.AbortJob();
    throw;
  }
  device.EndJob();
  return drawn;
}
