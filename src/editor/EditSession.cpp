#include "EditSession.h"

#include "editor/MapGridModel.h"

TEditSession::TEditSession(TMapGridModel& grid, TTilesetList& tilesets)
    : fGrid(grid),
      fTilesets(tilesets),
      fPainter(grid),
      fEngine(grid, fPainter),
      fPalette(fEngine, tilesets) {
  fEngine.SetTilesets(&tilesets);
  QObject::connect(&fGrid, &TMapGridModel::Selected, &fEngine, &TPlacementEngine::grdMapSelect);
}
