#pragma once

#include "editor/PixelRect.h"

#include <cstdint>

class QImage;
class QPainter;

// The moving dashed border both grids draw around their current rectangle:
// dashes of five black and three white pixels that advance two pixels with
// every drawing. The phase is the pattern's starting byte; the running
// pattern is shifted left once per border pixel.

// The phase after `phase`: shifted right by two bits, 0 becoming 128, so it
// cycles 128, 32, 8, 2.
std::uint8_t NextOutlinePhase(std::uint8_t phase);

// Calls visit(x, y, white) for every border pixel of `rect` in drawing order:
// the top edge left to right, the right edge downwards, the bottom edge right
// to left, the left edge upwards; each corner is visited once.
template <typename Visit>
void WalkOutline(const TPixelRect& rect, std::uint8_t phase, Visit&& visit) {
  if (rect.IsEmpty()) return;
  std::uint8_t pattern = phase;
  auto step = [&](int x, int y) {
    pattern = static_cast<std::uint8_t>(pattern << 1);
    if (pattern == 0) pattern = 1;
    visit(x, y, (pattern & 0xE0) != 0);
  };
  const int right = rect.Right - 1;
  const int bottom = rect.Bottom - 1;
  for (int x = rect.Left; x < right; ++x)
    step(x, rect.Top);
  for (int y = rect.Top; y < bottom; ++y)
    step(right, y);
  for (int x = right; x > rect.Left; --x)
    step(x, bottom);
  for (int y = bottom; y > rect.Top; --y)
    step(rect.Left, y);
}

// Draws the dashed border of `rect` into `picture`; pixels outside the
// picture are skipped but still advance the pattern. A picture with a device
// pixel ratio has the border in its coordinates, as PaintOutline draws it.
void DrawOutline(QImage& picture, const TPixelRect& rect, std::uint8_t phase);

// Draws the dashed border of `rect` with a painter, in its coordinates: at a
// device pixel ratio of 2 each border pixel is a block of 2 x 2.
void PaintOutline(QPainter& painter, const TPixelRect& rect, std::uint8_t phase);
