#include "GridLines.h"

#include "editor/MapGridModel.h"

#include <QColor>
#include <QPainter>

namespace {

const QColor kGridLineColour(128, 128, 128);

}  // namespace

void DrawSubCellLines(QPainter& painter, const TSubCellPaint& cell) {
  // The right and bottom lines reach one pixel further, so that the last
  // sub-cell of a row or column closes the corner.
  const TPixelRect& r = cell.LineRect;
  if (cell.TopLine) painter.fillRect(QRect(r.Left, r.Top, r.Width(), 1), kGridLineColour);
  if (cell.LeftLine) painter.fillRect(QRect(r.Left, r.Top, 1, r.Height()), kGridLineColour);
  if (cell.RightLine) painter.fillRect(QRect(r.Right, r.Top, 1, r.Height() + 1), kGridLineColour);
  if (cell.BottomLine) painter.fillRect(QRect(r.Left, r.Bottom, r.Width() + 1, 1), kGridLineColour);
}
