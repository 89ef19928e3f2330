#include "MapAreaRenderer.h"

#include "map/TileMapObjects.h"
#include "render/MapDrawing.h"
#include "render/MapGeometry.h"

#include <QPainter>
#include <QRect>
#include <QTransform>

#include <cmath>

namespace {

// What a sub-cell shows: per layer the embedded tile and its orientation,
// and the picture size. Empty when no layer holds a tile.
QByteArray CompositionKey(const TTileMap& map, int x, int y, int width, int height) {
  qint32 key[2 + 2 * kLayerCount];
  bool occupied = false;
  key[0] = width;
  key[1] = height;
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const TMapTile* tile = map.GetTile(layer, x, y);
    occupied = occupied || tile;
    key[2 + 2 * layer] = tile ? tile->TileIndex() : -1;
    key[3 + 2 * layer] = tile ? tile->Orientation() : -1;
  }
  if (!occupied) return QByteArray();
  return QByteArray(reinterpret_cast<const char*>(key), sizeof key);
}

// The side of the largest image among the sub-cell's layers.
int SourceSide(const TTileMap& map, int x, int y) {
  int side = 0;
  for (int layer = 0; layer < kLayerCount; ++layer)
    if (const TMapTile* tile = map.GetTile(layer, x, y)) {
      const QImage& image = tile->SubTile()->Image();
      side = qMax(side, qMax(image.width(), image.height()));
    }
  return side;
}

}  // namespace

QImage TSubCellCache::SubCell(const TTileMap& map, int x, int y, int maxWidth, int maxHeight) {
  const int side = SourceSide(map, x, y);
  const int width = qMin(maxWidth, side);
  const int height = qMin(maxHeight, side);
  if (width <= 0 || height <= 0) return QImage();
  const QByteArray key = CompositionKey(map, x, y, width, height);
  if (key.isEmpty()) return QImage();
  const auto found = fPictures.constFind(key);
  if (found != fPictures.constEnd()) return *found;

  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    DrawMapSubCell(map, fTiles, painter, QRect(0, 0, width, height), lfAll, x, y);
  }
  const qint64 bytes = picture.sizeInBytes();
  if (fBytes + bytes > fLimit) {
    fPictures.clear();
    fBytes = 0;
  }
  fPictures.insert(key, picture);
  fBytes += bytes;
  return picture;
}

void RenderMapArea(const TTileMap& map, QPainter& canvas, int rows, double cellWidth,
                   double cellHeight, int firstCol, int firstRow, int cols, TSubCellCache& cache,
                   const std::function<void()>& drawn) {
  // One picture size for the whole area, so a sub-cell's picture is the
  // same wherever the rounding of the edges puts it; in device pixels, so a
  // canvas at a device pixel ratio of 2 gets twice the pixels.
  const QTransform& transform = canvas.deviceTransform();
  const int maxWidth = int(std::ceil(cellWidth * std::abs(transform.m11())));
  const int maxHeight = int(std::ceil(cellHeight * std::abs(transform.m22())));
  for (int r = 0; r < rows; ++r) {
    const int y = firstRow + r;
    if (y < 0 || y >= map.Height()) continue;
    const int top = SubCellEdge(r, cellHeight);
    const int bottom = SubCellEdge(r + 1, cellHeight);
    for (int k = 0; k < cols; ++k) {
      const int x = firstCol + k;
      if (x < 0 || x >= map.Width()) continue;
      const int left = SubCellEdge(k, cellWidth);
      const int right = SubCellEdge(k + 1, cellWidth);
      const QImage picture = cache.SubCell(map, x, y, maxWidth, maxHeight);
      if (picture.isNull()) continue;
      DrawBitmapToDevice(canvas, QRect(left, top, right - left, bottom - top), picture);
      if (drawn) drawn();
    }
  }
}

void DrawBitmapToDevice(QPainter& canvas, const QRect& rect, const QImage& bitmap) {
  canvas.drawImage(rect, bitmap, bitmap.rect());
}
