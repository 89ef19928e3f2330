#include "OutlinePattern.h"

#include <QImage>

std::uint8_t NextOutlinePhase(std::uint8_t phase) {
  const auto next = static_cast<std::uint8_t>(phase >> 2);
  return next == 0 ? 128 : next;
}

void DrawOutline(QImage& picture, const TPixelRect& rect, std::uint8_t phase) {
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
