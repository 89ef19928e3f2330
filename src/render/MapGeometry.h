#pragma once

#include "map/SubCells.h"

#include <QRect>

class QPainter;

// Where sub-cell edge k of a row or column of sub-cells of cellSize pixels
// lies: the exact position rounded to the pixel, so rounding never adds up
// across a picture or a page and every square keeps its true size.
int SubCellEdge(int k, double cellSize);

// The grey lines a sub-cell carries. They run along the cells' edges (every
// subCellsPerCell-th sub-cell edge) and close the grid on its right and
// bottom: a sub-cell draws the top and left line of its own cell and, in the
// last column or row, the closing line.
struct TCellLines {
  bool Top = false;
  bool Left = false;
  bool Right = false;
  bool Bottom = false;
};

// Where a map's sub-cells lie in a picture: sub-cell (x, y) covers the pixels
// from edge x to edge x + 1 across and from edge y to edge y + 1 down, edge k
// lying at origin + SubCellEdge(k, sub-cell size). One value serves the map
// grid (whole pixels, the origin shifted by the scroll position), exported
// pictures and printed pages (sizes with a fraction at the printer's
// resolution).
class TSubCellGeometry {
 public:
  TSubCellGeometry(double subCellWidth, double subCellHeight, int originX = 0, int originY = 0)
      : fWidth(subCellWidth), fHeight(subCellHeight), fOriginX(originX), fOriginY(originY) {}

  double SubCellWidth() const { return fWidth; }
  double SubCellHeight() const { return fHeight; }
  int EdgeX(int k) const { return fOriginX + SubCellEdge(k, fWidth); }
  int EdgeY(int k) const { return fOriginY + SubCellEdge(k, fHeight); }
  QRect SubCellRect(int x, int y) const {
    const int left = EdgeX(x);
    const int top = EdgeY(y);
    return QRect(left, top, EdgeX(x + 1) - left, EdgeY(y + 1) - top);
  }

  // The lines of sub-cell (x, y) in a grid of cols x rows sub-cells, cells
  // of perCellX x perCellY sub-cells.
  static TCellLines LinesOf(int x, int y, int cols, int rows, int perCellX = kSubCellsPerCell,
                            int perCellY = kSubCellsPerCell) {
    return {y % perCellY == 0, x % perCellX == 0, x == cols - 1, y == rows - 1};
  }

 private:
  double fWidth;
  double fHeight;
  int fOriginX;
  int fOriginY;
};

// Draws the grey lines of a sub-cell one pixel wide: the top and left line
// along rect's top and left edge, the right and bottom line one pixel beyond
// it (at x + width and y + height), reaching one pixel further down and
// right so that the last sub-cell closes the corner.
void DrawCellLines(QPainter& painter, const QRect& rect, const TCellLines& lines);
