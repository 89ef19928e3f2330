#include "MapDocument.h"

#include "TileMapObjects.h"
#include "UndoRedoU.h"

TMapDocument::TMapDocument(TTileMap& map) : fMap(map) {}

TMapDocument::~TMapDocument() = default;

void TMapDocument::HistoryChanged() {
  const bool canUndo = fMap.UndoList().CanUndo();
  const bool canRedo = fMap.UndoList().CanRedo();
  if (canUndo == fCanUndo && canRedo == fCanRedo) return;
  fCanUndo = canUndo;
  fCanRedo = canRedo;
  emit UndoStateChanged(canUndo, canRedo);
}
