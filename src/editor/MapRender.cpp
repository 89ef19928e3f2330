#include "MapRender.h"

#include "base/Error.h"
#include "editor/GridLines.h"
#include "editor/MapGridModel.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"

#include <QColor>
#include <QPainter>

namespace {

// The largest picture rendered: the same bound the readers put on images.
constexpr qint64 kMaxPixels = qint64(16384) * 16384;

}  // namespace

QImage RenderMap(TTileMap& map, int cellSize, quint8 layerFlags, bool gridLines) {
  const int cols = SubCellToCell(map.Width());
  const int rows = SubCellToCell(map.Height());
  if (cellSize < 2 || cellSize % 2)
    throw TError(QStringLiteral("The cell size must be an even number of pixels."));
  if (cols <= 0 || rows <= 0) throw TError(QStringLiteral("The map has no grid squares to draw."));
  const qint64 width = qint64(cols) * cellSize + (gridLines ? 1 : 0);
  const qint64 height = qint64(rows) * cellSize + (gridLines ? 1 : 0);
  if (width > 16384 || height > 16384 || width * height > kMaxPixels)
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels, more than can be made.")
                     .arg(width)
                     .arg(height));

  // The grid's own geometry places the sub-cells and the lines; the grid is
  // as large as the picture, so nothing scrolls.
  TMapGridModel grid;
  grid.SetCellWidth(cellSize);
  grid.SetCellHeight(cellSize);
  grid.SetCellColCount(cols);
  grid.SetCellRowCount(rows);
  grid.SetControlSize(int(width), int(height));
  map.ScaleEmbeddedTiles(grid.SubCellWidth(), grid.SubCellHeight());

  // Painting goes fastest on 32-bit pixels; the result is 24-bit.
  QImage picture(int(width), int(height), QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  grid.ForEachSubCell(grid.RedrawRangeFor(-1, -1, -1, -1, 0, 0, 0, 0),
                      [&](const TSubCellPaint& cell) {
                        DrawMapSubCell(map, painter, cell.Rect.ToQRect(), layerFlags, false,
                                       CellToSubCell(cell.Col) + cell.SubCol,
                                       CellToSubCell(cell.Row) + cell.SubRow);
                        if (gridLines) DrawSubCellLines(painter, cell);
                      });
  painter.end();
  return picture.convertToFormat(QImage::Format_RGB888);
}
