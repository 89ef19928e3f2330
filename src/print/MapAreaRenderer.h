#pragma once

#include "render/ScaledTiles.h"

#include <QHash>
#include <QImage>

#include <functional>

class QPainter;
class QRect;
class TTileMap;

// The pictures of sub-cells drawn so far, by what they show (each layer's
// embedded tile and orientation) and size. Drawing the same QImage again
// lets a PDF hold the picture once and refer to it from every place it
// appears. A picture has no more pixels than its tiles' images, however
// fine the device: the device stretches it into place, so a job grows with
// the map, not with the printer's resolution. The layers' scaled pictures it
// draws from are its own as well. The cache is bounded in bytes: when full
// it starts afresh, so a job's memory does not grow with the number of
// pages.
class TSubCellCache {
 public:
  static constexpr qint64 kDefaultLimit = qint64(128) << 20;

  explicit TSubCellCache(qint64 byteLimit = kDefaultLimit) : fLimit(byteLimit) {}

  // The picture of sub-cell (x, y), all layers stretched from the
  // full-resolution images over white, at the size of the largest of them
  // but no more than maxWidth × maxHeight pixels; a null image when no layer
  // holds a tile there.
  QImage SubCell(const TTileMap& map, int x, int y, int maxWidth, int maxHeight);

 private:
  qint64 fLimit;
  qint64 fBytes = 0;
  QHash<QByteArray, QImage> fPictures;
  TScaledTileCache fTiles;
};

// Draws the block of cols × rows sub-cells whose top-left sub-cell is
// (firstCol, firstRow) onto canvas, sub-cell (k, r) of the block between
// edges SubCellEdge(k, cellWidth) and SubCellEdge(k + 1, cellWidth) across
// and the same down (in the canvas's coordinates). Only sub-cells inside
// the map that hold a tile are sent to the canvas, each as its own small
// picture stretched into its rectangle, with no more pixels than the device
// pixels of a sub-cell (twice as many each way on a canvas at a device pixel
// ratio of 2); the rest stays as it was. drawn, when given, runs after each
// picture sent, so a long page can keep a window responsive.
void RenderMapArea(const TTileMap& map, QPainter& canvas, int rows, double cellWidth,
                   double cellHeight, int firstCol, int firstRow, int cols, TSubCellCache& cache,
                   const std::function<void()>& drawn = {});

// Copies a picture into a rectangle of a device, stretched.
void DrawBitmapToDevice(QPainter& canvas, const QRect& rect, const QImage& bitmap);
