#include "MapPainter.h"

#include "editor/MapGridModel.h"
#include "map/MapDocument.h"
#include "map/TileMapObjects.h"

#include <QPainter>
#include <QRect>

bool DrawMapSubCell(const TTileMap& map, QPainter& canvas, const QRect& rect, quint8 layerFlags,
                    bool stretch, int x, int y) {
  static constexpr quint8 kFlagOf[kLayerCount] = {lfBase, lfObjects, lfWalls};
  bool occupied = false;
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const TMapTile* tile = map.GetTile(layer, x, y);
    if (!tile) continue;
    occupied = true;
    if (!(layerFlags & kFlagOf[layer])) continue;
    // The floor covers the cell's background; objects and walls lie on top
    // and let the layers below show through their transparent colour.
    tile->SubTile()->Draw(canvas, rect, tile->Orientation(), layer != mlBase, stretch);
  }
  return occupied;
}

TMapPainter::TMapPainter(TMapGridModel& grid) : fGrid(grid) {}

void TMapPainter::SetCurrentMap(TTileMap* map) {
  disconnect(fChanged);
  disconnect(fFreed);
  fMap = map;
  if (!fMap) return;
  TMapDocument* document = &fMap->Document();
  fChanged = connect(document, &TMapDocument::Changed, this, &TMapPainter::MapChanged);
  fFreed = connect(document, &QObject::destroyed, this, [this] { fMap = nullptr; });
}

void TMapPainter::MapChanged(const TMapChange& change) {
  if (change.WholeMap)
    SyncGridToMap();
  else
    fGrid.RedrawSubCells(change.SubCells);
}

void TMapPainter::ActivateMap(TTileMap* map) {
  SetCurrentMap(map);
  if (fMap) fMap->ScaleEmbeddedTiles(SubCellSize(), SubCellSize());
  SyncGridToMap();
}

void TMapPainter::SetCellSize(int size) {
  const int clamped = qBound(kMinCellSize, size, kMaxCellSize);
  fCellSize = kMinCellSize + (clamped - kMinCellSize) / kZoomStep * kZoomStep;
  fZoomInEnabled = fCellSize != kMaxCellSize;
  fZoomOutEnabled = fCellSize != kMinCellSize;
}

bool TMapPainter::StepZoom(bool zoomIn) {
  if (zoomIn) {
    if (!fZoomInEnabled) return false;
    fCellSize += kZoomStep;
    if (fCellSize == kMaxCellSize) fZoomInEnabled = false;
    if (fCellSize > kMinCellSize) fZoomOutEnabled = true;
  } else {
    if (!fZoomOutEnabled) return false;
    fCellSize -= kZoomStep;
    if (fCellSize == kMinCellSize) fZoomOutEnabled = false;
    if (fCellSize < kMaxCellSize) fZoomInEnabled = true;
  }
  return true;
}

void TMapPainter::vwZoomInExecute(bool zoomIn) {
  if (StepZoom(zoomIn)) ApplyZoom();
}

void TMapPainter::ZoomAt(bool zoomIn, int x, int y) {
  const double cellX = (fGrid.ScrollX() + x) / double(fCellSize);
  const double cellY = (fGrid.ScrollY() + y) / double(fCellSize);
  if (!StepZoom(zoomIn)) return;
  fGrid.BeginUpdate();
  ApplyCellSize();
  fGrid.ScrollTo(TScrollBarKind::Horizontal, qRound(cellX * fCellSize) - x);
  fGrid.ScrollTo(TScrollBarKind::Vertical, qRound(cellY * fCellSize) - y);
  fGrid.EndUpdate();
}

void TMapPainter::ApplyZoom() {
  fGrid.BeginUpdate();
  ApplyCellSize();
  fGrid.EndUpdate();
}

void TMapPainter::ApplyCellSize() {
  fGrid.SetCellWidth(fCellSize);
  fGrid.SetCellHeight(fCellSize);
  if (fMap) fMap->ScaleEmbeddedTiles(SubCellSize(), SubCellSize());
}

void TMapPainter::SyncGridToMap() {
  fGrid.BeginUpdate();
  if (fMap) {
    fGrid.SetCellColCount(SubCellToCell(fMap->Width()));
    fGrid.SetCellRowCount(SubCellToCell(fMap->Height()));
  }
  fGrid.EndUpdate();
}

void TMapPainter::ToggleLayer(quint8 flag) {
  fLayerFlags ^= flag;
  fGrid.EndUpdate();
}

void TMapPainter::grdMapDrawSubCell(int ACol, int ARow, int ASubCol, int ASubRow, const QRect& Rect,
                                    QPainter& CtrlCanvas, bool /*IsSelected*/) const {
  if (!fMap) return;
  DrawMapSubCell(*fMap, CtrlCanvas, Rect, fLayerFlags, false, CellToSubCell(ACol) + ASubCol,
                 CellToSubCell(ARow) + ASubRow);
}
