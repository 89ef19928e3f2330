#pragma once

#include <QtGlobal>

class QPainter;
class QRect;
class TScaledTileCache;
class TTileMap;

// Layer visibility flags, combined with |.
enum TLayerFlag : quint8 { lfBase = 1, lfObjects = 2, lfWalls = 4, lfAll = 7 };

// Draws sub-cell (x, y) of the map into rect: the base layer opaque, then the
// objects and walls with their transparent colour left out, each placed tile
// in its orientation. Only the layers whose flag is set are drawn; an empty
// sub-cell leaves the background. Every layer's picture is stretched from
// its full-resolution image to the device pixels rect covers (at the
// painter's device pixel ratio) and kept in the renderer's cache, so the
// screen, an exported picture and a printed page of the same pixel size are
// the same pixels. Returns true when any layer holds a tile there, drawn or
// not.
bool DrawMapSubCell(const TTileMap& map, TScaledTileCache& tiles, QPainter& canvas,
                    const QRect& rect, quint8 layerFlags, int x, int y);
