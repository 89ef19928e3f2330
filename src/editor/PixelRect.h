#pragma once

#include <QRect>

#include <algorithm>

// A rectangle of pixels whose right and bottom edges are exclusive, as the
// grid's geometry is stated: [Left, Right) x [Top, Bottom). Kept apart from
// QRect, whose inclusive right() and bottom() invite off-by-one errors.
struct TPixelRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }

  TPixelRect Intersected(const TPixelRect& other) const {
    return {std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
            std::min(Bottom, other.Bottom)};
  }
  // The smallest rectangle holding both; an empty rectangle adds nothing.
  TPixelRect United(const TPixelRect& other) const {
    if (other.IsEmpty()) return *this;
    if (IsEmpty()) return other;
    return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
            std::max(Bottom, other.Bottom)};
  }
  QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }

  friend bool operator==(const TPixelRect& a, const TPixelRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
  friend bool operator!=(const TPixelRect& a, const TPixelRect& b) { return !(a == b); }
};
