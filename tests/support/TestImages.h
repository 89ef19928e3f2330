#pragma once

#include <QImage>

// A side × side 24-bit picture of one colour, the shape of a sub-tile image.
inline QImage Solid(QRgb colour, int side = 4) {
  QImage image(side, side, QImage::Format_RGB888);
  image.fill(colour);
  return image;
}
