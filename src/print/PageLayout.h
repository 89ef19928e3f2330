#pragma once

#include "render/MapGeometry.h"

#include <QPoint>

// Where a map's sub-cells fall on printed pages. A page holds only whole grid
// squares of their true size (the grid size in inches times the device's
// pixels per inch); pages run left to right, then top to bottom, and
// sub-cell (0, 0) of a page's block sits at the top-left corner of the
// printable area; edge k of the block's sub-cells lies at SubCellEdge(k,
// CellWidth) across and SubCellEdge(k, CellHeight) down.
struct TPageLayout {
  int MapWidth = 0;   // in sub-cells
  int MapHeight = 0;  // in sub-cells
  // The size of one sub-cell in device pixels, with its fraction: half the
  // grid size times the resolution.
  double CellWidth = 0;
  double CellHeight = 0;
  int Cols = 0;  // sub-cells across a page
  int Rows = 0;  // sub-cells down a page
  int PagesAcross = 0;
  int PagesDown = 0;

  int TotalPages() const { return PagesAcross * PagesDown; }
  // The first sub-cell column and row that page (from 0) shows.
  QPoint PageOrigin(int page) const;
};

// The layout of a map of mapWidth × mapHeight sub-cells with a grid size in
// inches on a printable area of pageWidth × pageHeight pixels at dpiX × dpiY
// pixels per inch. Raises TError when the area cannot hold one grid square
// across or down, when a sub-cell would be smaller than a device pixel, or
// when the device reports no resolution.
TPageLayout ComputePageLayout(int mapWidth, int mapHeight, float gridSize, int dpiX, int dpiY,
                              int pageWidth, int pageHeight);

// The pages a print job draws: every page for a page index of -1 or one
// outside 0 .. totalPages - 1, else that page alone.
struct TPageRange {
  int First = 0;
  int Last = -1;
};
TPageRange PagesToPrint(int pageIndex, int totalPages);
