#pragma once

#include "editor/PixelRect.h"

#include <QImage>

// A copy of the pixels under a rectangle of an off-screen picture, taken
// before an outline is drawn there and copied back to remove it. The part of
// the rectangle outside the picture is not kept. Refresh() keeps the copy
// equal to the picture "without outline" after the picture underneath was
// repainted, so that restoring never brings back outdated pixels.
class TSavedPixels {
 public:
  void Save(const QImage& picture, const TPixelRect& rect);
  // Copies the saved pixels back; nothing when there is no copy.
  void Restore(QImage& picture) const;
  void Forget();
  // Takes the pixels of `area` (already repainted in `picture`) into the copy.
  void Refresh(const QImage& picture, const TPixelRect& area);

  bool IsEmpty() const { return fRect.IsEmpty(); }
  // The part of the picture the copy covers.
  const TPixelRect& Rect() const { return fRect; }

 private:
  TPixelRect fRect;
  QImage fCopy;
};

// Copies the pixels of `area` from one picture to another of the same
// format, at offsets (dx, dy) in the target. The caller clips.
void CopyPixels(const QImage& from, const TPixelRect& area, QImage& to, int dx, int dy);
