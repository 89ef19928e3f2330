#pragma once

#include "editor/MapPainter.h"

#include <QImage>

class TTileMap;

// Draws a whole map into a picture exactly as the map grid shows it at a
// cell size: the map's cached images are scaled to half the cell size, every
// sub-cell is drawn with DrawMapSubCell from them over white,
// and optionally with the grid's grey lines between the cells (the picture
// is then one pixel wider and higher, for the closing lines). The picture is
// 24-bit RGB. The cell size must be even (two sub-cells of whole pixels).
QImage RenderMap(TTileMap& map, int cellSize, quint8 layerFlags = lfAll, bool gridLines = false);
