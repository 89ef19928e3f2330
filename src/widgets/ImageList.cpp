#include "ImageList.h"

#include <QPaintDevice>
#include <QPainter>

int TImageList::Add(const QIcon& icon) {
  fIcons.push_back(icon);
  return Count() - 1;
}

QIcon TImageList::Icon(int index) const {
  if (index < 0 || index >= Count()) return QIcon();
  return fIcons[index];
}

QPixmap TImageList::Pixmap(int index, qreal devicePixelRatio) const {
  if (index < 0 || index >= Count()) return QPixmap();
  return fIcons[index].pixmap(fSize, devicePixelRatio);
}

void TImageList::Draw(QPainter& painter, const QPoint& at, int index) const {
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  const QPixmap pixmap = Pixmap(index, ratio);
  if (!pixmap.isNull()) painter.drawPixmap(QRect(at, fSize), pixmap);
}
