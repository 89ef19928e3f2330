#pragma once

#include "editor/SubCellPainter.h"
#include "map/SubCells.h"
#include "render/MapDrawing.h"
#include "render/ScaledTiles.h"

#include <QMetaObject>
#include <QObject>
#include <QtGlobal>

class QPainter;
class QRect;
class TMapGridModel;
class TTileMap;

// How the current map is shown on the map grid: the zoom (pixels per cell,
// 32 to 96 in steps of 16), the layer visibility flags, and the map the grid
// paints. It paints the grid's sub-cells (its OnDrawSubCell) from scaled
// copies of the map's pictures that it keeps itself, at the device pixels
// each sub-cell covers, and repaints on the grid whatever the current map's
// document announces changed, whoever changed it (a tool, undo, redo, a
// whole-map command).
class TMapPainter : public QObject, public TSubCellPainter {
 public:
  static constexpr int kMinCellSize = 32;
  static constexpr int kMaxCellSize = 96;
  static constexpr int kZoomStep = 16;
  static constexpr int kDefaultCellSize = 48;

  // The grid is not owned.
  explicit TMapPainter(TMapGridModel& grid);

  TMapGridModel& Grid() const { return fGrid; }

  // The map the grid shows (not owned), or none. The painter follows its
  // document from then on, with itself as the connection's context; a map
  // that is no longer current is no longer followed, and a current map that
  // is freed leaves the painter with none.
  TTileMap* CurrentMap() const { return fMap; }
  void SetCurrentMap(TTileMap* map);
  // Makes a map current as a tab change does: the grid's counts follow its
  // size and the whole grid repaints.
  void ActivateMap(TTileMap* map);

  // Pixels per cell, and per sub-cell.
  int CellSize() const { return fCellSize; }
  int SubCellSize() const { return fCellSize / kSubCellsPerCell; }
  // Sets the cell size (rounded down to a zoom step within 32..96) without
  // applying it; ApplyZoom does that.
  void SetCellSize(int size);
  bool ZoomInEnabled() const { return fZoomInEnabled; }
  bool ZoomOutEnabled() const { return fZoomOutEnabled; }
  // The handler of both zoom actions: one step in or out, then ApplyZoom. A
  // step the enabled state forbids does nothing.
  void vwZoomInExecute(bool zoomIn);
  // One zoom step about a point of the control: the part of the map under
  // it stays there (as far as the scroll range allows). Repaints once.
  void ZoomAt(bool zoomIn, int x, int y);
  // Gives the grid the cell size, repainting it once.
  void ApplyZoom();
  // The grid's column and row counts from the current map's size, and the
  // whole grid repainted.
  void SyncGridToMap();
  // A change the current map reported: the sub-cells it touched repaint; a
  // change of the whole map (its size, a nudge) resyncs the grid.
  void MapChanged(const TMapChange& change);

  quint8 LayerFlags() const { return fLayerFlags; }
  // Flips one visibility flag and repaints the grid.
  void ToggleLayer(quint8 flag);
  void vwBaseLayerExecute() { ToggleLayer(lfBase); }
  void vwObjectsLayerExecute() { ToggleLayer(lfObjects); }
  void vwWallLayerExecute() { ToggleLayer(lfWalls); }

  // The grid's drawing event: the three layers of the sub-cell with the
  // visibility flags. Nothing without a map.
  void grdMapDrawSubCell(int ACol, int ARow, int ASubCol, int ASubRow, const QRect& Rect,
                         QPainter& CtrlCanvas, bool IsSelected);
  // TSubCellPainter: grdMapDrawSubCell.
  void DrawSubCell(int ACol, int ARow, int ASubCol, int ASubRow, const QRect& Rect,
                   QPainter& CtrlCanvas, bool IsSelected) override {
    grdMapDrawSubCell(ACol, ARow, ASubCol, ASubRow, Rect, CtrlCanvas, IsSelected);
  }
  // The scaled pictures the grid is painted from.
  const TScaledTileCache& ScaledTiles() const { return fTiles; }

 private:
  // One step in or out within the limits; false when the limit forbids it.
  bool StepZoom(bool zoomIn);
  void ApplyCellSize();

  TMapGridModel& fGrid;
  TTileMap* fMap = nullptr;
  // The current map's change reports and its end.
  QMetaObject::Connection fChanged;
  QMetaObject::Connection fFreed;
  int fCellSize = kDefaultCellSize;
  bool fZoomInEnabled = true;
  bool fZoomOutEnabled = true;
  quint8 fLayerFlags = lfAll;
  TScaledTileCache fTiles;
};
