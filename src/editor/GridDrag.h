#pragma once

#include "map/SubCells.h"

#include <QPoint>

#include <optional>

class TMapGridModel;

// A point inside one cell of the map grid for a scripted drag: the centre of
// one of its sub-cells (the top-left one unless said otherwise), or, with an
// edge, a point of that sub-cell's row or column just inside the edge.
struct TCellPoint {
  int Col = 0;
  int Row = 0;
  int SubCol = 0;
  int SubRow = 0;
  std::optional<TCellEdge> Edge = std::nullopt;
};

// The control pixel of a cell point at the grid's current cell size and
// scroll position.
QPoint ControlPoint(const TMapGridModel& grid, const TCellPoint& point);

// A left-button drag as a user's mouse makes it: moves to the first point,
// presses there, moves to the second (a click when both are the same point)
// and releases. The grid's own rules turn
// it into a selection and report it through OnSelect.
void DragOnGrid(TMapGridModel& grid, const TCellPoint& from, const TCellPoint& to);
