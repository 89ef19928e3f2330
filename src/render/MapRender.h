#pragma once

#include "render/MapDrawing.h"
#include "render/ScaledTiles.h"

#include <QImage>

class TTileMap;

// Draws a map exactly as the map grid shows it at a cell size, a band of
// picture rows at a time, so that a picture far larger than memory can be
// written row by row. Every sub-cell is drawn with DrawMapSubCell over white
// at half the cell size, optionally with the grid's grey lines, the closing
// right and bottom lines falling on the last pixel column and row. The
// picture is exactly columns x cell size by rows x cell size pixels. An odd
// cell size is drawn at twice the size and reduced by averaging each 2 x 2
// block, since a sub-cell must be whole pixels. The renderer keeps its own
// scaled pictures; the map is only read.
class TMapRenderer {
 public:
  // Raises TError for a cell size below 2 or a map without squares.
  TMapRenderer(const TTileMap& map, int cellSize, quint8 layerFlags = lfAll,
               bool gridLines = false);

  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  // Draws the picture's rows top .. top + band.height() - 1 into band, a
  // QImage::Format_RGB32 picture as wide as the whole one.
  void RenderRows(QImage& band, int top);

 private:
  void PaintRows(QImage& band, int top);
  void DrawOddSizeLines(QImage& band, int top) const;

  const TTileMap& fMap;
  int fCellSize;
  quint8 fLayerFlags;
  bool fGridLines;
  // Drawing scale: 1, or 2 for odd cell sizes.
  int fScale = 1;
  int fCols = 0;
  int fRows = 0;
  int fWidth = 0;
  int fHeight = 0;
  TScaledTileCache fTiles;
  QImage fDouble;  // the band at twice the size, for odd cell sizes
};

// A 32-bit picture of that size for drawing into; raises TError when there is
// not the memory for it (QImage would give a null picture).
QImage NewDrawingPicture(int width, int height);

// The whole picture at once, 24-bit RGB, for pictures small enough to hold
// (at most 16384 pixels a side). The cell size must be even.
QImage RenderMap(const TTileMap& map, int cellSize, quint8 layerFlags = lfAll,
                 bool gridLines = false);
