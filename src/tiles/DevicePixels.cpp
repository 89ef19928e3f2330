#include "DevicePixels.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <cmath>

namespace {

int RoundEdge(double edge) {
  return int(std::floor(edge + 0.5));
}

}  // namespace

QRect DeviceRect(const QPainter& painter, const QRect& rect) {
  const QTransform& transform = painter.deviceTransform();
  if (transform.type() <= QTransform::TxTranslate)
    return rect.translated(RoundEdge(transform.dx()), RoundEdge(transform.dy()));
  const QRectF mapped = transform.mapRect(QRectF(rect));
  const int left = RoundEdge(mapped.left());
  const int top = RoundEdge(mapped.top());
  return QRect(left, top, RoundEdge(mapped.right()) - left, RoundEdge(mapped.bottom()) - top);
}

void DrawDevicePicture(QPainter& painter, const QRect& rect, const QRect& deviceRect,
                       const QImage& picture) {
  const QTransform& transform = painter.deviceTransform();
  if (transform.type() <= QTransform::TxTranslate) {
    painter.drawImage(rect.topLeft(), picture);
    return;
  }
  // The target is deviceRect in the painter's coordinates: mapped back, it
  // falls exactly on those device pixels, one picture pixel to each.
  const QRectF target = transform.inverted().mapRect(QRectF(deviceRect));
  painter.drawImage(target, picture, QRectF(picture.rect()));
}
