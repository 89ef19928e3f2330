#include "BandExport.h"

#include "BandWriter.h"
#include "MapExport.h"
#include "render/MapRender.h"

#include <QImage>

#include <algorithm>

namespace {

constexpr qint64 kBandBytes = 8 * 1024 * 1024;

}  // namespace

bool WriteBands(TMapRenderer& renderer, TBandWriter& writer, TExportProgress* progress) {
  const int width = renderer.Width();
  const int height = renderer.Height();
  const int bandRows = int(std::clamp<qint64>(kBandBytes / (qint64(width) * 4), 1, height));
  const int bands = (height + bandRows - 1) / bandRows;
  writer.Begin(width, height);
  QImage band;
  for (int i = 0; i < bands; ++i) {
    if (progress && progress->Cancelled()) return false;
    // Bottom-up writers get the bands from the bottom, each from its last
    // row.
    const int index = writer.BottomUp() ? bands - 1 - i : i;
    const int top = index * bandRows;
    const int rows = std::min(bandRows, height - top);
    if (band.height() != rows) band = NewDrawingPicture(width, rows);
    renderer.RenderRows(band, top);
    for (int r = 0; r < rows; ++r) {
      const int y = writer.BottomUp() ? rows - 1 - r : r;
      writer.WriteRow(reinterpret_cast<const QRgb*>(band.constScanLine(y)));
    }
    if (progress) progress->Advance(i + 1, bands);
  }
  if (progress && progress->Cancelled()) return false;
  writer.Finish();
  return true;
}
