#include "PlacementEngine.h"

#include "editor/MapGridModel.h"
#include "editor/MapPainter.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "tiles/TileObjects.h"

const quint8 kOrientationTransition[8][4] = {
    {1, 3, 4, 5}, {2, 0, 6, 7}, {3, 1, 5, 4}, {0, 2, 7, 6},
    {7, 6, 0, 2}, {6, 7, 2, 0}, {4, 5, 1, 3}, {5, 4, 3, 1},
};

namespace {

// Wall piece Tn.q: sub-tile q of the wall style's tile n (tile at (n, 0)).
struct TPiece {
  int N;
  int Q;
};

// A joint: when the target sub-cell (an offset from the cell's top-left
// sub-cell) is empty and the neighbour sub-cell holds piece A or B, the
// target gets a post. The guards keep column and row -1 out of reach.
struct TJointRule {
  bool NeedCol;  // c >= 1
  bool NeedRow;  // r >= 1
  int TargetX, TargetY;
  int NeighbourX, NeighbourY;
  TPiece A, B;
  TPiece Post;
};

// One of the cell's own two sub-cells along the edge: the corner when it
// holds piece A or B already (a perpendicular wall, or the corner itself),
// else the straight piece.
struct TOwnRule {
  int X, Y;
  TPiece A, B;
  TPiece Corner;
  TPiece Straight;
};

struct TEdgeRules {
  TJointRule Joints[2];
  TOwnRule Own[2];
};

// Edges 0 top, 1 right, 2 bottom, 3 left. Tiles 0-3 are the corners (top-left,
// top-right, bottom-right, bottom-left), 4-7 the straight walls (top, right,
// bottom, left), 8-11 the posts in the corners of the same order.
const TEdgeRules kWallRules[4] = {
    {{{true, true, -1, 0, -1, -1, {5, 3}, {2, 3}, {9, 1}},
      {false, true, 2, 0, 2, -1, {7, 2}, {3, 2}, {8, 0}}},
     {{0, 0, {7, 0}, {0, 0}, {0, 0}, {4, 0}}, {1, 0, {5, 1}, {1, 1}, {1, 1}, {4, 1}}}},
    {{{false, true, 1, -1, 2, -1, {6, 2}, {3, 2}, {10, 3}},
      {false, false, 1, 2, 2, 2, {4, 0}, {0, 0}, {9, 1}}},
     {{1, 0, {4, 1}, {1, 1}, {1, 1}, {5, 1}}, {1, 1, {6, 3}, {2, 3}, {2, 3}, {5, 3}}}},
    {{{true, false, -1, 1, -1, 2, {5, 1}, {1, 1}, {10, 3}},
      {false, false, 2, 1, 2, 2, {7, 0}, {0, 0}, {11, 2}}},
     {{0, 1, {7, 2}, {3, 2}, {3, 2}, {6, 2}}, {1, 1, {5, 3}, {2, 3}, {2, 3}, {6, 3}}}},
    {{{true, true, 0, -1, -1, -1, {6, 3}, {2, 3}, {11, 2}},
      {true, false, 0, 2, -1, 2, {4, 1}, {1, 1}, {8, 0}}},
     {{0, 0, {4, 0}, {0, 0}, {0, 0}, {7, 0}}, {0, 1, {6, 2}, {3, 2}, {3, 2}, {7, 2}}}},
};

}  // namespace

TPlacementEngine::TPlacementEngine(TMapGridModel& grid, TMapPainter& painter)
    : fGrid(grid), fPainter(painter), fRandom(std::random_device{}()) {}

TTileMap* TPlacementEngine::CurrentMap() const {
  return fPainter.CurrentMap();
}

int TPlacementEngine::RandomBelow(std::mt19937& random, int n) {
  return std::uniform_int_distribution<int>(0, n - 1)(random);
}

int TPlacementEngine::DrawingSize() const {
  return fPainter.SubCellSize();
}

void TPlacementEngine::FirstSubCell(int& sx, int& sy) const {
  const bool sub = fGrid.SelectType() == TSelectType::SubCell;
  sx = sub ? fGrid.Selection().FirstSubCol : 0;
  sy = sub ? fGrid.Selection().FirstSubRow : 0;
}

// ---------------------------------------------------------------------------
// Applying a tool

void TPlacementEngine::grdMapSelect() {
  ApplyTool(fTool);
  UpdateUndoRedoActions();
}

void TPlacementEngine::ApplyTool(TEditTool tool) {
  if (fGroup && fGroup->Corrupt()) return;
  TTileMap* map = CurrentMap();
  if (!map) return;

  map->BeginUndo();
  bool neighboursChanged = false;
  try {
    switch (tool) {
      case etPlaceTiles:
        if (fGroup) ApplyPlaceTiles();
        break;
      case etPlaceWalls:
        if (fGroup && fGrid.HasSelection()) {
          const TGridSelection& sel = fGrid.Selection();
          for (int r = sel.FirstRow; r <= sel.LastRow; ++r)
            for (int c = sel.FirstCol; c <= sel.LastCol; ++c)
              neighboursChanged |= PlaceWallEdge(c, r, fGrid.HotEdge());
        }
        break;
      case etErase:
        ApplyErase();
        break;
      case etSelect:
        break;
    }
  } catch (...) {
    // Whatever was placed before the failure stays one undoable step.
    map->EndUndo();
    throw;
  }
  map->EndUndo();
  // A joint lies outside the selected cells, which are all the grid redraws
  // after OnSelect.
  if (neighboursChanged) fGrid.EndUpdate();
}

void TPlacementEngine::ApplyPlaceTiles() {
  if (!fGrid.HasSelection()) return;
  const TGridSelection& sel = fGrid.Selection();
  const int width = fGroup->PatWidth();
  const int height = fGroup->PatHeight();
  for (int r = sel.FirstRow; r <= sel.LastRow; ++r) {
    for (int c = sel.FirstCol; c <= sel.LastCol; ++c) {
      switch (fGroup->PlaceType()) {
        case ptRandom: {
          if (width <= 0 || height <= 0) break;
          const int a = RandomBelow(fRandom, width);
          const int b = RandomBelow(fRandom, height);
          PlaceGroupTile(c, r, a, b, fOrientation);
          break;
        }
        case ptFixed:
        case ptPattern:
          PlaceGroupTile(c, r, (c - sel.FirstCol) % fGrid.CursorRectWidth(),
                         (r - sel.FirstRow) % fGrid.CursorRectHeight(), fOrientation);
          break;
        default:
          break;
      }
    }
  }
}

void TPlacementEngine::PlaceGroupTile(int c, int r, int a, int b, quint8 orientation) {
  if (!fGroup) return;
  TTileMap* map = CurrentMap();
  if (!map) return;
  const TTile* tile = fGroup->TileAt(a, b, orientation);
  if (!tile) return;
  int sx = 0;
  int sy = 0;
  FirstSubCell(sx, sy);
  const int layer = fGroup->FType() == gtFloor ? mlBase : mlOverlay;
  const int x = 2 * c + sx;
  const int y = 2 * r + sy;
  for (int q = 0; q < 4; ++q)
    map->PlaceTile(layer, x + q % 2, y + q / 2, tile->SubTileFor(q, orientation), orientation,
                   DrawingSize());
}

void TPlacementEngine::ApplyErase() {
  TTileMap* map = CurrentMap();
  if (!fGrid.HasSelection()) return;
  const TGridSelection& sel = fGrid.Selection();
  int sx = 0;
  int sy = 0;
  FirstSubCell(sx, sy);
  const int firstLayer = fEraseLayer < 0 ? 0 : fEraseLayer;
  const int lastLayer = fEraseLayer < 0 ? kLayerCount - 1 : fEraseLayer;
  for (int r = sel.FirstRow; r <= sel.LastRow; ++r) {
    for (int c = sel.FirstCol; c <= sel.LastCol; ++c) {
      const int x = 2 * c + sx;
      const int y = 2 * r + sy;
      for (int layer = firstLayer; layer <= lastLayer; ++layer) {
        map->RemoveTile(layer, x, y);
        map->RemoveTile(layer, x + 1, y);
        map->RemoveTile(layer, x, y + 1);
        map->RemoveTile(layer, x + 1, y + 1);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Walls

const TSubTile* TPlacementEngine::WallPiece(int n, int q) const {
  if (!fGroup) return nullptr;
  const TTile* tile = fGroup->TileAt(n, 0, 0);
  return tile ? &tile->SubTileFor(q, 0) : nullptr;
}

bool TPlacementEngine::HoldsPiece(int x, int y, const TSubTile* a, const TSubTile* b) const {
  const TMapTile* placed = CurrentMap()->GetTile(mlWall, x, y);
  if (!placed) return false;
  const QString& guid = placed->SubTile()->Guid();
  // A piece the style lacks matches nothing.
  return (a && a->Guid() == guid) || (b && b->Guid() == guid);
}

bool TPlacementEngine::IsEmptyWall(int x, int y) const {
  return !CurrentMap()->GetTile(mlWall, x, y);
}

bool TPlacementEngine::PutPiece(int x, int y, const TSubTile* piece) {
  if (!piece) return false;
  return CurrentMap()->PlaceTile(mlWall, x, y, *piece, 0, DrawingSize()) != nullptr;
}

bool TPlacementEngine::PlaceWallEdge(int c, int r, int edge) {
  if (!CurrentMap() || edge < 0 || edge > 3) return false;
  if (!fGroup || !fGroup->TileAt(4 + edge, 0, 0)) return false;
  const auto piece = [this](const TPiece& p) { return WallPiece(p.N, p.Q); };
  const TEdgeRules& rules = kWallRules[edge];
  const int x0 = 2 * c;
  const int y0 = 2 * r;

  bool outside = false;
  for (const TJointRule& joint : rules.Joints) {
    if ((joint.NeedCol && c < 1) || (joint.NeedRow && r < 1)) continue;
    const int tx = x0 + joint.TargetX;
    const int ty = y0 + joint.TargetY;
    if (!IsEmptyWall(tx, ty)) continue;
    if (!HoldsPiece(x0 + joint.NeighbourX, y0 + joint.NeighbourY, piece(joint.A), piece(joint.B)))
      continue;
    // A rule whose post the style lacks is skipped alone.
    outside |= PutPiece(tx, ty, piece(joint.Post));
  }
  for (const TOwnRule& own : rules.Own) {
    const int x = x0 + own.X;
    const int y = y0 + own.Y;
    const bool corner = HoldsPiece(x, y, piece(own.A), piece(own.B));
    PutPiece(x, y, piece(corner ? own.Corner : own.Straight));
  }
  return outside;
}

// ---------------------------------------------------------------------------
// Tools and orientation

void TPlacementEngine::SetTool(TEditTool tool) {
  if (tool == fTool) return;
  fTool = tool;
  switch (tool) {
    case etPlaceTiles:
      if (fPalette) fPalette->ShowTilesets();
      SetupPlacement();
      break;
    case etPlaceWalls:
      fGrid.SetCursorRectWidth(1);
      fGrid.SetCursorRectHeight(1);
      fGrid.SetSelectType(TSelectType::Edge);
      fGrid.SetSelectRange(true);
      fGrid.SetKeepSelection(false);
      if (fPalette) fPalette->ShowWallStyles();
      break;
    case etErase:
      if (fPalette) fPalette->ShowTilesets();
      fGrid.SetCursorRectWidth(1);
      fGrid.SetCursorRectHeight(1);
      fGrid.SetSelectRange(true);
      fGrid.SetSelectType(TSelectType::FullCell);
      fGrid.SetKeepSelection(false);
      break;
    case etSelect:
      break;
  }
  UpdateControls();
}

void TPlacementEngine::SetupPlacement() {
  const bool object = fGroup && fGroup->FType() == gtObjects;
  fGrid.SetSelectType(object ? TSelectType::SubCell : TSelectType::FullCell);
  const bool fixed = fGroup && fGroup->PlaceType() == ptFixed;
  fGrid.SetSelectRange(!object && !fixed);
  int width = 1;
  int height = 1;
  if (fGroup && (fGroup->PlaceType() == ptFixed || fGroup->PlaceType() == ptPattern)) {
    width = fGroup->PatWidth();
    height = fGroup->PatHeight();
    if (SwapsSides(fOrientation)) std::swap(width, height);
  }
  // An empty grid still needs a footprint of one cell to point with.
  fGrid.SetCursorRectWidth(qMax(1, width));
  fGrid.SetCursorRectHeight(qMax(1, height));
  if (fGrid.KeepSelection()) fGrid.SetKeepSelection(false);
}

void TPlacementEngine::TransformPlacement(TOrientCommand command) {
  if (!OrientationCommandsEnabled() || fGroup->Corrupt()) return;
  if (command < 0 || command > 3) return;
  fOrientation = kOrientationTransition[fOrientation][command];
  if (fGroup->PlaceType() == ptFixed || fGroup->PlaceType() == ptPattern) {
    int width = fGroup->PatWidth();
    int height = fGroup->PatHeight();
    if (SwapsSides(fOrientation)) std::swap(width, height);
    fGrid.SetCursorRectWidth(qMax(1, width));
    fGrid.SetCursorRectHeight(qMax(1, height));
  }
  if (fPalette) fPalette->OrientationChanged();
}

bool TPlacementEngine::OrientationCommandsEnabled() const {
  return fTool != etPlaceWalls && fGroup;
}

// ---------------------------------------------------------------------------
// Action handlers

void TPlacementEngine::gaRoomExecute() {
  SetTool(etPlaceTiles);
}

void TPlacementEngine::gaWallExecute() {
  SetTool(etPlaceWalls);
}

void TPlacementEngine::gaEraserExecute() {
  SetTool(etErase);
}

void TPlacementEngine::popErasePopup() {
  SetTool(etErase);
}

void TPlacementEngine::grdTileGroupsMouseDown() {
  if (fTool != etPlaceWalls) gaRoomExecute();
}

void TPlacementEngine::mnuEraseBaseClick(int tag) {
  if (tag < 0 || tag > 3) return;
  fEraseLayer = tag == 3 ? -1 : tag;
}

// ---------------------------------------------------------------------------
// Whole-map commands

void TPlacementEngine::AddColumn() {
  TTileMap* map = CurrentMap();
  if (map->Width() >= kMaxExtent) return;
  map->SetWidth(map->Width() + 2);
  fGrid.SetCellColCount(fGrid.CellColCount() + 1);
  if (map->Height() == 0) AddRow();
}

void TPlacementEngine::AddRow() {
  TTileMap* map = CurrentMap();
  if (map->Height() >= kMaxExtent) return;
  map->SetHeight(map->Height() + 2);
  fGrid.SetCellRowCount(fGrid.CellRowCount() + 1);
  if (map->Width() == 0) AddColumn();
}

void TPlacementEngine::gaAddColExecute() {
  TTileMap* map = CurrentMap();
  if (map && map->Width() < kMaxExtent) {
    // The row a map without rows gets as well belongs to the same step.
    map->BeginUndo();
    AddColumn();
    map->EndUndo();
  }
  UpdateControls();
}

void TPlacementEngine::gaAddRowExecute() {
  TTileMap* map = CurrentMap();
  if (map && map->Height() < kMaxExtent) {
    map->BeginUndo();
    AddRow();
    map->EndUndo();
  }
  UpdateControls();
}

void TPlacementEngine::gaDelColExecute() {
  TTileMap* map = CurrentMap();
  if (!map || fGrid.CellColCount() < 2 || map->Width() < 2) return;
  map->BeginUndo();
  fGrid.SetCellColCount(fGrid.CellColCount() - 1);
  map->SetWidth(map->Width() - 2);
  map->EndUndo();
  UpdateControls();
}

void TPlacementEngine::gaDelRowExecute() {
  TTileMap* map = CurrentMap();
  if (!map || fGrid.CellRowCount() < 2 || map->Height() < 2) return;
  map->BeginUndo();
  fGrid.SetCellRowCount(fGrid.CellRowCount() - 1);
  map->SetHeight(map->Height() - 2);
  map->EndUndo();
  UpdateControls();
}

void TPlacementEngine::NudgeMap(int direction) {
  TTileMap* map = CurrentMap();
  if (!map) return;
  map->BeginUndo();
  map->Nudge(direction, 2);
  map->EndUndo();
  fGrid.EndUpdate();
  fGrid.ForgetHover();
  // The nudge is a new step: Undo must become available at once.
  UpdateUndoRedoActions();
}

void TPlacementEngine::UndoRedo(bool undo) {
  TTileMap* map = CurrentMap();
  if (!map) return;
  fGrid.BeginUpdate();
  if (undo)
    map->UndoList().Undo();
  else
    map->UndoList().Redo();
  // A size step may have changed the map's extent.
  fGrid.SetCellColCount(map->Width() / 2);
  fGrid.SetCellRowCount(map->Height() / 2);
  UpdateUndoRedoActions();
  fGrid.EndUpdate();
}

void TPlacementEngine::eaUndoExecute() {
  UndoRedo(true);
}

void TPlacementEngine::eaRedoExecute() {
  UndoRedo(false);
}

void TPlacementEngine::UpdateUndoRedoActions() {
  const TTileMap* map = CurrentMap();
  fUndoEnabled = map && map->UndoList().CanUndo();
  fRedoEnabled = map && map->UndoList().CanRedo();
  if (OnUndoRedoActions) OnUndoRedoActions(fUndoEnabled, fRedoEnabled);
}

void TPlacementEngine::UpdateControls() {
  if (OnUpdateControls)
    OnUpdateControls();
  else
    UpdateUndoRedoActions();
}
