#include "PageLayout.h"

#include "base/Error.h"
#include "map/SubCells.h"

#include <cmath>

namespace {

// The whole squares of squareSize pixels that fit into extent pixels. The
// true square size may have a fraction; the last square's far edge, rounded
// to the pixel, must still lie on the area.
int WholeSquares(int extent, double squareSize) {
  int count = int(std::floor(extent / squareSize));
  while (count > 0 && SubCellEdge(2 * count, squareSize / 2) > extent)
    --count;
  return count;
}

int DivideRoundingUp(int a, int b) {
  return (a + b - 1) / b;
}

}  // namespace

QPoint TPageLayout::PageOrigin(int page) const {
  if (PagesAcross <= 0) return QPoint();
  return QPoint(page % PagesAcross * Cols, page / PagesAcross * Rows);
}

TPageLayout ComputePageLayout(int mapWidth, int mapHeight, float gridSize, int dpiX, int dpiY,
                              int pageWidth, int pageHeight) {
  if (dpiX <= 0 || dpiY <= 0) throw TError(QStringLiteral("The printer reports no resolution."));
  if (!(gridSize > 0))
    throw TError(QStringLiteral("The map's grid size of %1 inches cannot be printed.")
                     .arg(double(gridSize)));
  TPageLayout layout;
  layout.MapWidth = mapWidth;
  layout.MapHeight = mapHeight;
  const double squareWidth = double(dpiX) * double(gridSize);
  const double squareHeight = double(dpiY) * double(gridSize);
  // Every sub-cell needs a device pixel at least. A finer grid cannot keep
  // its true size, and the squares a page would hold need not even fit an
  // int.
  if (squareWidth < kSubCellsPerCell || squareHeight < kSubCellsPerCell)
    throw TError(QStringLiteral("The map's grid size of %1 inches is too small to print at %2 x %3 "
                                "pixels per inch.")
                     .arg(double(gridSize), 0, 'g', 7)
                     .arg(dpiX)
                     .arg(dpiY));
  layout.CellWidth = squareWidth / kSubCellsPerCell;
  layout.CellHeight = squareHeight / kSubCellsPerCell;
  const int across = WholeSquares(pageWidth, squareWidth);
  const int down = WholeSquares(pageHeight, squareHeight);
  if (across <= 0 || down <= 0)
    throw TError(QStringLiteral("The printable area of %1 x %2 inches is smaller than one grid "
                                "square of %3 inches; choose a larger paper or a smaller grid.")
                     .arg(double(pageWidth) / dpiX, 0, 'f', 2)
                     .arg(double(pageHeight) / dpiY, 0, 'f', 2)
                     .arg(double(gridSize)));
  layout.Cols = kSubCellsPerCell * across;
  layout.Rows = kSubCellsPerCell * down;
  layout.PagesAcross = DivideRoundingUp(qMax(mapWidth, 0), layout.Cols);
  layout.PagesDown = DivideRoundingUp(qMax(mapHeight, 0), layout.Rows);
  return layout;
}

TPageRange PagesToPrint(int pageIndex, int totalPages) {
  if (pageIndex < 0 || pageIndex >= totalPages) return {0, totalPages - 1};
  return {pageIndex, pageIndex};
}
