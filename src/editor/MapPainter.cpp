#include "MapPainter.h"

#include "editor/MapGridModel.h"
#include "map/MapDocument.h"
#include "map/TileMapObjects.h"

#include <QPainter>
#include <QRect>

TMapPainter::TMapPainter(TMapGridModel& grid) : fGrid(grid) {}

void TMapPainter::SetCurrentMap(TTileMap* map) {
  disconnect(fChanged);
  disconnect(fFreed);
  // Another map's pictures are of no further use.
  if (map != fMap) fTiles.Clear();
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
  // The pictures of the former size are of no further use.
  if (fGrid.CellWidth() != fCellSize || fGrid.CellHeight() != fCellSize) fTiles.Clear();
  fGrid.SetCellWidth(fCellSize);
  fGrid.SetCellHeight(fCellSize);
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
                                    QPainter& CtrlCanvas, bool /*IsSelected*/) {
  if (!fMap) return;
  DrawMapSubCell(*fMap, fTiles, CtrlCanvas, Rect, fLayerFlags, CellToSubCell(ACol) + ASubCol,
                 CellToSubCell(ARow) + ASubRow);
}
