#include "MapDrawing.h"

#include "ScaledTiles.h"
#include "map/TileMapObjects.h"
#include "tiles/DevicePixels.h"

#include <QPainter>
#include <QRect>

bool DrawMapSubCell(const TTileMap& map, TScaledTileCache& tiles, QPainter& canvas,
                    const QRect& rect, quint8 layerFlags, int x, int y) {
  static constexpr quint8 kFlagOf[kLayerCount] = {lfBase, lfObjects, lfWalls};
  bool occupied = false;
  QRect device;
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const TMapTile* tile = map.GetTile(layer, x, y);
    if (!tile) continue;
    occupied = true;
    if (!(layerFlags & kFlagOf[layer])) continue;
    if (device.isNull()) device = DeviceRect(canvas, rect);
    if (device.isEmpty()) return true;
    // The floor covers the cell's background; objects and walls lie on top
    // and let the layers below show through their transparent colour.
    const QImage& picture =
        tiles.Picture(*tile->SubTile(), tile->Orientation(), layer != mlBase, device.size());
    DrawDevicePicture(canvas, rect, device, picture);
  }
  return occupied;
}
