#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <vector>

class QPainter;
class QPoint;

// A numbered set of pictures of one size, each held at 1x and 2x so that it
// stays sharp on high-DPI screens. Controls refer to a picture by its index.
class TImageList {
 public:
  explicit TImageList(int width = 16, int height = 16) : fSize(width, height) {}

  int Width() const { return fSize.width(); }
  int Height() const { return fSize.height(); }
  int Count() const { return static_cast<int>(fIcons.size()); }

  // Adds a picture and returns its index.
  int Add(const QIcon& icon);
  // The picture at index (an empty icon when out of range).
  QIcon Icon(int index) const;
  // The picture at index for a device pixel ratio (null when out of range).
  QPixmap Pixmap(int index, qreal devicePixelRatio = 1.0) const;
  // Draws the picture with its top left corner at `at`, sharp for the
  // painter's device.
  void Draw(QPainter& painter, const QPoint& at, int index) const;

 private:
  QSize fSize;
  std::vector<QIcon> fIcons;
};
