#include "MapRender.h"

#include "MapGeometry.h"
#include "base/Error.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"

#include <QColor>
#include <QPainter>

#include <algorithm>

namespace {

// The largest picture rendered whole: the same bound the readers put on
// images.
constexpr qint64 kMaxPixels = qint64(16384) * 16384;

const QRgb kGridLineRgb = qRgb(128, 128, 128);

}  // namespace

TMapRenderer::TMapRenderer(const TTileMap& map, int cellSize, quint8 layerFlags, bool gridLines)
    : fMap(map), fCellSize(cellSize), fLayerFlags(layerFlags), fGridLines(gridLines) {
  fCols = SubCellToCell(map.Width());
  fRows = SubCellToCell(map.Height());
  if (cellSize < 2) throw TError(QStringLiteral("The cell size must be at least 2 pixels."));
  if (fCols <= 0 || fRows <= 0)
    throw TError(QStringLiteral("The map has no grid squares to draw."));
  fScale = cellSize % 2 ? 2 : 1;
  const qint64 width = qint64(fCols) * cellSize;
  const qint64 height = qint64(fRows) * cellSize;
  if (width * fScale > 1 << 20 || height * fScale > 1 << 20)
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels, more than can be made.")
                     .arg(width)
                     .arg(height));
  fWidth = int(width);
  fHeight = int(height);
}

void TMapRenderer::PaintRows(QImage& band, int top) {
  band.fill(Qt::white);
  QPainter painter(&band);
  // Sub-cells of half the (drawing) cell size, the band's first row at the
  // picture's row top.
  const int subCell = fCellSize * fScale / kSubCellsPerCell;
  const TSubCellGeometry geometry(subCell, subCell, 0, -top);
  const int subCols = fCols * kSubCellsPerCell;
  const int subRows = fRows * kSubCellsPerCell;
  const int firstRow = top / subCell;
  const int lastRow = std::min(subRows - 1, (top + band.height() - 1) / subCell);
  const bool lines = fGridLines && fScale == 1;
  for (int y = firstRow; y <= lastRow; ++y)
    for (int x = 0; x < subCols; ++x) {
      const QRect rect = geometry.SubCellRect(x, y);
      DrawMapSubCell(fMap, fTiles, painter, rect, fLayerFlags, x, y);
      if (!lines) continue;
      // The closing lines fall on the picture's last pixel column and row,
      // not beyond them.
      const TCellLines cellLines = TSubCellGeometry::LinesOf(x, y, subCols, subRows);
      DrawCellLines(painter, rect.adjusted(0, 0, cellLines.Right ? -1 : 0, cellLines.Bottom ? -1 : 0),
                    cellLines);
    }
}

void TMapRenderer::DrawOddSizeLines(QImage& band, int top) const {
  // The same grey one-pixel lines as the grid's, on every cell's top and
  // left edge and on the last pixel column and row.
  const int rows = band.height();
  for (int y = 0; y < rows; ++y) {
    const int py = top + y;
    auto* line = reinterpret_cast<QRgb*>(band.scanLine(y));
    if (py % fCellSize == 0 || py == fHeight - 1) {
      std::fill(line, line + fWidth, kGridLineRgb);
      continue;
    }
    for (int x = 0; x < fWidth; x += fCellSize)
      line[x] = kGridLineRgb;
    line[fWidth - 1] = kGridLineRgb;
  }
}

void TMapRenderer::RenderRows(QImage& band, int top) {
  if (fScale == 1) {
    PaintRows(band, top);
    return;
  }
  // Twice the size, then each 2 x 2 block averaged into one pixel.
  const int rows = band.height();
  if (fDouble.width() != fWidth * 2 || fDouble.height() != rows * 2)
    fDouble = NewDrawingPicture(fWidth * 2, rows * 2);
  PaintRows(fDouble, top * 2);
  for (int y = 0; y < rows; ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(fDouble.constScanLine(2 * y));
    const auto* b = reinterpret_cast<const QRgb*>(fDouble.constScanLine(2 * y + 1));
    auto* out = reinterpret_cast<QRgb*>(band.scanLine(y));
    for (int x = 0; x < fWidth; ++x) {
      const QRgb p[4] = {a[2 * x], a[2 * x + 1], b[2 * x], b[2 * x + 1]};
      int r = 2, g = 2, bl = 2;
      for (QRgb v : p) {
        r += qRed(v);
        g += qGreen(v);
        bl += qBlue(v);
      }
      out[x] = qRgb(r / 4, g / 4, bl / 4);
    }
  }
  if (fGridLines) DrawOddSizeLines(band, top);
}

namespace {

[[noreturn]] void NoMemoryForPicture(int width, int height) {
  throw TError(QStringLiteral("There is not enough memory for a picture of %1 x %2 pixels.")
                   .arg(width)
                   .arg(height));
}

}  // namespace

QImage NewDrawingPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  if (picture.isNull()) NoMemoryForPicture(width, height);
  return picture;
}

QImage RenderMap(const TTileMap& map, int cellSize, quint8 layerFlags, bool gridLines) {
  if (cellSize < 2 || cellSize % 2)
    throw TError(QStringLiteral("The cell size must be an even number of pixels."));
  const qint64 width = qint64(SubCellToCell(map.Width())) * cellSize;
  const qint64 height = qint64(SubCellToCell(map.Height())) * cellSize;
  if (width > 16384 || height > 16384 || width * height > kMaxPixels)
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels, more than can be made.")
                     .arg(width)
                     .arg(height));
  TMapRenderer renderer(map, cellSize, layerFlags, gridLines);
  // Painting goes fastest on 32-bit pixels; the result is 24-bit.
  QImage picture = NewDrawingPicture(renderer.Width(), renderer.Height());
  renderer.RenderRows(picture, 0);
  QImage result = picture.convertToFormat(QImage::Format_RGB888);
  if (result.isNull()) NoMemoryForPicture(renderer.Width(), renderer.Height());
  return result;
}
