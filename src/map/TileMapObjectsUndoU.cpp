#include "TileMapObjectsUndoU.h"

#include "TileMapObjects.h"

#include <exception>

TTileMapSizeState::TTileMapSizeState(TTileMapUndoObj* owner, int oldWidth, int oldHeight,
                                     int newWidth, int newHeight)
    : TTileMapStateObj(owner),
      fOldWidth(oldWidth),
      fOldHeight(oldHeight),
      fNewWidth(newWidth),
      fNewHeight(newHeight) {}

void TTileMapSizeState::Undo() {
  TTileMap* map = Owner()->Map();
  map->SetWidth(fOldWidth);
  map->SetHeight(fOldHeight);
}

void TTileMapSizeState::Redo() {
  TTileMap* map = Owner()->Map();
  map->SetWidth(fNewWidth);
  map->SetHeight(fNewHeight);
}

TTileMapTileState::TTileMapTileState(TTileMapUndoObj* owner, int layer, int x, int y,
                                     const TSubTile* oldSubTile, quint8 oldOrientation,
                                     const TSubTile* newSubTile, quint8 newOrientation)
    : TTileMapStateObj(owner),
      fLayer(layer),
      fX(x),
      fY(y),
      fOldSubTile(oldSubTile),
      fOldOrientation(oldOrientation),
      fNewSubTile(newSubTile),
      fNewOrientation(newOrientation) {}

void TTileMapTileState::Apply(const TSubTile* subTile, quint8 orientation) {
  TTileMap* map = Owner()->Map();
  // The sub-tile is an embedded entry, so PlaceTile finds it by identity and
  // never appends: drawing size 0 is never used.
  if (subTile)
    map->PlaceTile(fLayer, fX, fY, *subTile, orientation);
  else
    map->RemoveTile(fLayer, fX, fY);
}

void TTileMapTileState::Undo() {
  Apply(fOldSubTile, fOldOrientation);
}

void TTileMapTileState::Redo() {
  Apply(fNewSubTile, fNewOrientation);
}

TTileMapUndoObj::~TTileMapUndoObj() = default;

void TTileMapUndoObj::AddTileState(int layer, int x, int y, const TSubTile* oldSubTile,
                                   quint8 oldOrientation, const TSubTile* newSubTile,
                                   quint8 newOrientation) {
  fStates.push_back(std::make_unique<TTileMapTileState>(
      this, layer, x, y, oldSubTile, oldOrientation, newSubTile, newOrientation));
}

void TTileMapUndoObj::AddSizeState(int oldWidth, int oldHeight, int newWidth, int newHeight) {
  fStates.push_back(
      std::make_unique<TTileMapSizeState>(this, oldWidth, oldHeight, newWidth, newHeight));
}

void TTileMapUndoObj::Undo() {
  // The replayed steps are one change of the map.
  const TMapChangeBracket bracket(*fMap);
  if (fWholeMap) fMap->TouchWholeMap();
  for (auto it = fStates.rbegin(); it != fStates.rend(); ++it)
    (*it)->Undo();
}

void TTileMapUndoObj::Redo() {
  const TMapChangeBracket bracket(*fMap);
  if (fWholeMap) fMap->TouchWholeMap();
  for (auto& state : fStates)
    state->Redo();
}

TUndoStep::TUndoStep(TTileMap& map)
    : fMap(map), fOpened(!map.Recording()), fUncaught(std::uncaught_exceptions()) {
  if (fOpened) fMap.BeginUndo();
}

TUndoStep::~TUndoStep() noexcept(false) {
  if (!fOpened) return;
  if (std::uncaught_exceptions() == fUncaught) {
    fMap.EndUndo();
    return;
  }
  try {
    fMap.EndUndo();
  } catch (...) {
    // A second exception during unwinding would end the program.
  }
}
