#pragma once

#include <QRect>

// A cell of the map (one grid square) is split into kSubCellsPerCell x
// kSubCellsPerCell sub-cells. The map stores one tile per sub-cell and layer;
// a tile covers the sub-cells of one cell, and objects may sit on the
// half-cell raster. Every conversion between the two units goes through
// these helpers.
constexpr int kSubCellsPerCell = 2;

// The first (top or left) sub-cell of a cell, along one axis.
constexpr int CellToSubCell(int cell) {
  return cell * kSubCellsPerCell;
}

// The cell a sub-cell lies in, along one axis; negative sub-cells round down,
// so sub-cell -1 lies in cell -1.
constexpr int SubCellToCell(int subCell) {
  return subCell >= 0 ? subCell / kSubCellsPerCell
                      : (subCell - kSubCellsPerCell + 1) / kSubCellsPerCell;
}

// The four edges of a cell, clockwise from the top. Wall placement and the
// grid's edge picking share this order; tables indexed by edge convert with
// EdgeIndex.
enum class TCellEdge { Top, Right, Bottom, Left };

constexpr int EdgeIndex(TCellEdge edge) {
  return static_cast<int>(edge);
}

// The direction a nudge shifts the content of a map.
enum class TNudgeDirection { Up, Down, Left, Right };

// What one change of a map touched, as the map reports it: a rectangle of
// sub-cells (a QRect in sub-cell units), or the whole map when its size or
// all of its content changed.
struct TMapChange {
  QRect SubCells;
  bool WholeMap = false;

  bool IsEmpty() const { return !WholeMap && SubCells.isEmpty(); }
};
