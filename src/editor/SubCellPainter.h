#pragma once

class QPainter;
class QRect;

// Paints the sub-cells of a map grid: the grid's OnDrawSubCell, held by the
// grid and not owned by it. The grid asks for every sub-cell it paints into
// its off-screen picture: cell (ACol, ARow), sub-cell (ASubCol, ASubRow)
// within it, its rectangle in control coordinates, the picture's canvas and
// whether the cell lies in the selection. The painter draws inside the
// rectangle only; the grid draws its lines afterwards.
class TSubCellPainter {
 public:
  virtual void DrawSubCell(int ACol, int ARow, int ASubCol, int ASubRow, const QRect& Rect,
                           QPainter& CtrlCanvas, bool IsSelected) = 0;

 protected:
  ~TSubCellPainter() = default;
};
