#include "PrinterDevice.h"

#include <QPageLayout>
#include <QRectF>

#include <cmath>

namespace {

// Points to whole device pixels, rounding down; a hair below a whole number
// counts as that number.
int Pixels(double points, int resolution) {
  return int(std::floor(points * resolution / 72.0 + 1e-6));
}

}  // namespace

QSize PrintableSizeOf(const QPageLayout& layout, int resolution) {
  const QRectF area = layout.paintRect(QPageLayout::Point);
  return QSize(Pixels(area.width(), resolution), Pixels(area.height(), resolution));
}

QSize PhysicalSizeOf(const QPageLayout& layout, int resolution) {
  const QRectF sheet = layout.fullRect(QPageLayout::Point);
  return QSize(Pixels(sheet.width(), resolution), Pixels(sheet.height(), resolution));
}

QPoint PhysicalOffsetOf(const QPageLayout& layout, int resolution) {
  const QRectF area = layout.paintRect(QPageLayout::Point);
  return QPoint(Pixels(area.left(), resolution), Pixels(area.top(), resolution));
}
