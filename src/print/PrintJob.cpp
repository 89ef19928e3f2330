#include "PrintJob.h"

#include "MapAreaRenderer.h"
#include "PrinterDevice.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"

#include <QPainter>

TPageLayout LayoutForDevice(const TTileMap& map, const TPrinterDevice& device) {
  const QSize area = device.PrintableSize();
  return ComputePageLayout(map.Width(), map.Height(), map.TileSize(), device.ResolutionX(),
                           device.ResolutionY(), area.width(), area.height());
}

int PrintMapPages(const TTileMap& map, TPrinterDevice& device, int pageIndex,
                  TPrintProgress* progress) {
  const TPageLayout layout = LayoutForDevice(map, device);
  const int total = layout.TotalPages();
  if (total <= 0) throw TError(QStringLiteral("The map has no grid squares to print."));
  const TPageRange pages = PagesToPrint(pageIndex, total);

  device.BeginJob(map.MapName());
  int drawn = 0;
  try {
    TSubCellCache cache;
    std::function<void()> drawing;
    if (progress) drawing = [progress] { progress->Drawing(); };
    for (int p = pages.First; p <= pages.Last; ++p) {
      if (progress)
        progress->PageStarting(QStringLiteral("Printing page %1 of %2").arg(p + 1).arg(total));
      const QPoint origin = layout.PageOrigin(p);
      RenderMapArea(map, device.Painter(), layout.Rows, layout.CellWidth, layout.CellHeight,
                    origin.x(), origin.y(), layout.Cols, cache, drawing);
      ++drawn;
      if (progress && progress->Cancelled()) break;
      if (p != pages.Last) device.NewPage();
    }
  } catch (...) {
    // The job must not stay open: end it, keep the first error.
    device.AbortJob();
    throw;
  }
  device.EndJob();
  return drawn;
}
