#include "OutlinePattern.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

std::uint8_t NextOutlinePhase(std::uint8_t phase) {
  const auto next = static_cast<std::uint8_t>(phase >> 2);
  return next == 0 ? 128 : next;
}

void DrawOutline(QImage& picture, const TPixelRect& rect, std::uint8_t phase) {
  if (picture.devicePixelRatio() != 1) {
    QPainter painter(&picture);
    PaintOutline(painter, rect, phase);
    return;
  }
  const int width = picture.width();
  const int height = picture.height();
  const bool direct = picture.depth() == 32;
  WalkOutline(rect, phase, [&](int x, int y, bool white) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const QRgb colour = white ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    if (direct)
      reinterpret_cast<QRgb*>(picture.scanLine(y))[x] = colour;
    else
      picture.setPixel(x, y, colour);
  });
}

void PaintOutline(QPainter& painter, const TPixelRect& rect, std::uint8_t phase) {
  if (rect.IsEmpty()) return;
  // The border as four strips of pixels: the top and bottom rows whole, the
  // left and right columns between them.
  const int width = rect.Width();
  const int height = rect.Height();
  const int sides = std::max(0, height - 2);
  QImage top(width, 1, QImage::Format_RGB32);
  QImage bottom(width, 1, QImage::Format_RGB32);
  QImage left(1, std::max(1, sides), QImage::Format_RGB32);
  QImage right(1, std::max(1, sides), QImage::Format_RGB32);
  const int lastY = rect.Bottom - 1;
  WalkOutline(rect, phase, [&](int x, int y, bool white) {
    const QRgb colour = white ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    if (y == rect.Top)
      reinterpret_cast<QRgb*>(top.scanLine(0))[x - rect.Left] = colour;
    else if (y == lastY)
      reinterpret_cast<QRgb*>(bottom.scanLine(0))[x - rect.Left] = colour;
    else if (x == rect.Left)
      reinterpret_cast<QRgb*>(left.scanLine(y - rect.Top - 1))[0] = colour;
    else
      reinterpret_cast<QRgb*>(right.scanLine(y - rect.Top - 1))[0] = colour;
  });
  painter.drawImage(QPoint(rect.Left, rect.Top), top);
  if (height > 1) painter.drawImage(QPoint(rect.Left, lastY), bottom);
  if (sides > 0) {
    painter.drawImage(QPoint(rect.Left, rect.Top + 1), left);
    if (width > 1) painter.drawImage(QPoint(rect.Right - 1, rect.Top + 1), right);
  }
}
