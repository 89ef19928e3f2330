#include "GridDrag.h"

#include "editor/MapGridModel.h"

QPoint ControlPoint(const TMapGridModel& grid, const TCellPoint& point) {
  const int cw = grid.CellWidth();
  const int ch = grid.CellHeight();
  const int left = point.Col * cw;
  const int top = point.Row * ch;
  const int sw = grid.SubCellWidth();
  const int sh = grid.SubCellHeight();
  int x = left + point.SubCol * sw + sw / 2;
  int y = top + point.SubRow * sh + sh / 2;
  // Two pixels inside the edge lie well within its triangle of the cell,
  // away from both diagonals.
  const int inset = 2;
  if (point.Edge) {
    switch (*point.Edge) {
      case TCellEdge::Top:
        y = top + inset;
        break;
      case TCellEdge::Right:
        x = left + cw - 1 - inset;
        break;
      case TCellEdge::Bottom:
        y = top + ch - 1 - inset;
        break;
      case TCellEdge::Left:
        x = left + inset;
        break;
    }
  }
  return QPoint(x - grid.ScrollX(), y - grid.ScrollY());
}

void DragOnGrid(TMapGridModel& grid, const TCellPoint& from, const TCellPoint& to) {
  const QPoint press = ControlPoint(grid, from);
  const QPoint release = ControlPoint(grid, to);
  // Moving first lets Edge mode pick the edge under the pointer before the
  // press fixes it.
  grid.MouseMove(press.x(), press.y());
  grid.MousePress(press.x(), press.y(), TMouseButton::Left);
  // A click without a move keeps the footprint the press selected; any move
  // lets the selection follow the pointer.
  if (release != press) grid.MouseMove(release.x(), release.y());
  grid.MouseRelease(release.x(), release.y(), TMouseButton::Left);
}
