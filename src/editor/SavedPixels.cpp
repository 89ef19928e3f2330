#include "SavedPixels.h"

#include <cstring>

void CopyPixels(const QImage& from, const TPixelRect& area, QImage& to, int dx, int dy) {
  if (area.IsEmpty()) return;
  const int bytesPerPixel = from.depth() / 8;
  const auto rowBytes = static_cast<std::size_t>(area.Width() * bytesPerPixel);
  for (int y = area.Top; y < area.Bottom; ++y) {
    const uchar* source = from.constScanLine(y) + area.Left * bytesPerPixel;
    uchar* target = to.scanLine(y + dy) + (area.Left + dx) * bytesPerPixel;
    std::memcpy(target, source, rowBytes);
  }
}

void TSavedPixels::Save(const QImage& picture, const TPixelRect& rect) {
  fRect = rect.Intersected({0, 0, picture.width(), picture.height()});
  if (fRect.IsEmpty()) {
    Forget();
    return;
  }
  // Hover moves save a rectangle of the same size over and over: reuse the
  // buffer instead of allocating one per move.
  if (fCopy.width() != fRect.Width() || fCopy.height() != fRect.Height() ||
      fCopy.format() != picture.format())
    fCopy = QImage(fRect.Width(), fRect.Height(), picture.format());
  CopyPixels(picture, fRect, fCopy, -fRect.Left, -fRect.Top);
}

void TSavedPixels::Restore(QImage& picture) const {
  if (IsEmpty()) return;
  const TPixelRect inside = fRect.Intersected({0, 0, picture.width(), picture.height()});
  if (inside.IsEmpty() || picture.format() != fCopy.format()) return;
  CopyPixels(fCopy,
             {inside.Left - fRect.Left, inside.Top - fRect.Top, inside.Right - fRect.Left,
              inside.Bottom - fRect.Top},
             picture, fRect.Left, fRect.Top);
}

void TSavedPixels::Forget() {
  fRect = {};
  fCopy = QImage();
}

void TSavedPixels::Refresh(const QImage& picture, const TPixelRect& area) {
  if (IsEmpty() || picture.format() != fCopy.format()) return;
  const TPixelRect common =
      fRect.Intersected(area).Intersected({0, 0, picture.width(), picture.height()});
  CopyPixels(picture, common, fCopy, -fRect.Left, -fRect.Top);
}
