#include "MapGeometry.h"

#include <QColor>
#include <QPainter>

#include <cmath>

namespace {

const QColor kGridLineColour(128, 128, 128);

}  // namespace

int SubCellEdge(int k, double cellSize) {
  return int(std::floor(k * cellSize + 0.5));
}

void DrawCellLines(QPainter& painter, const QRect& rect, const TCellLines& lines) {
  const int left = rect.x();
  const int top = rect.y();
  const int width = rect.width();
  const int height = rect.height();
  if (lines.Top) painter.fillRect(QRect(left, top, width, 1), kGridLineColour);
  if (lines.Left) painter.fillRect(QRect(left, top, 1, height), kGridLineColour);
  if (lines.Right) painter.fillRect(QRect(left + width, top, 1, height + 1), kGridLineColour);
  if (lines.Bottom) painter.fillRect(QRect(left, top + height, width + 1, 1), kGridLineColour);
}
