#include "PlacementEngine.h"

#include "editor/MapGridModel.h"
#include "editor/MapPainter.h"
#include "map/TileMapObjects.h"
#include "map/TileMapObjectsUndoU.h"
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

// In edge order: top, right, bottom, left. Tiles 0-3 are the corners (top-left,
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

// ---------------------------------------------------------------------------
// Applying a tool

void TPlacementEngine::grdMapSelect(const TMapSelection& selection) {
  ApplyTool(fTool, selection);
}

void TPlacementEngine::ApplyTool(TEditTool tool, const TMapSelection& selection) {
  if (fGroup && fGroup->Corrupt()) return;
  TTileMap* map = CurrentMap();
  if (!map) return;

  // Whatever was placed before a failure stays one undoable step.
  const TUndoStep step(*map);
  switch (tool) {
    case etPlaceTiles:
      if (fGroup) ApplyPlaceTiles(selection);
      break;
    case etPlaceWalls:
      if (fGroup) ApplyPlaceWalls(selection);
      break;
    case etErase:
      ApplyErase(selection);
      break;
    case etSelect:
      break;
  }
}

namespace {

// Calls visit(x, y, col, row) for every cell's worth of sub-cells in the
// selection: (x, y) its top-left sub-cell, (col, row) its place counted in
// cells from the selection's first.
template <typename Visit>
void ForEachSelectedCell(const QRect& subCells, Visit visit) {
  for (int y = subCells.top(), row = 0; y <= subCells.bottom(); y += kSubCellsPerCell, ++row)
    for (int x = subCells.left(), col = 0; x <= subCells.right(); x += kSubCellsPerCell, ++col)
      visit(x, y, col, row);
}

}  // namespace

void TPlacementEngine::ApplyPlaceTiles(const TMapSelection& selection) {
  const int width = fGroup->PatWidth();
  const int height = fGroup->PatHeight();
  ForEachSelectedCell(selection.SubCells, [&](int x, int y, int col, int row) {
    switch (fGroup->PlaceType()) {
      case ptRandom: {
        if (width <= 0 || height <= 0) break;
        const int a = RandomBelow(fRandom, width);
        const int b = RandomBelow(fRandom, height);
        PlaceGroupTile(x, y, a, b, fOrientation);
        break;
      }
      case ptFixed:
      case ptPattern:
        PlaceGroupTile(x, y, col % selection.FootprintWidth, row % selection.FootprintHeight,
                       fOrientation);
        break;
      default:
        break;
    }
  });
}

void TPlacementEngine::PlaceGroupTile(int x, int y, int a, int b, quint8 orientation) {
  if (!fGroup) return;
  TTileMap* map = CurrentMap();
  if (!map) return;
  const TTile* tile = fGroup->TileAt(a, b, orientation);
  if (!tile) return;
  const int layer = fGroup->FType() == gtFloor ? mlBase : mlOverlay;
  // Quadrant q of the tile covers sub-cell (q % 2, q / 2) of the cell.
  for (int dy = 0; dy < kSubCellsPerCell; ++dy)
    for (int dx = 0; dx < kSubCellsPerCell; ++dx)
      map->PlaceTile(layer, x + dx, y + dy,
                     tile->SubTileFor(dy * kSubCellsPerCell + dx, orientation), orientation,
                     DrawingSize());
}

void TPlacementEngine::ApplyPlaceWalls(const TMapSelection& selection) {
  ForEachSelectedCell(selection.SubCells, [&](int x, int y, int, int) {
    PlaceWallEdge(SubCellToCell(x), SubCellToCell(y), selection.Edge);
  });
}

void TPlacementEngine::ApplyErase(const TMapSelection& selection) {
  TTileMap* map = CurrentMap();
  const int firstLayer = fEraseLayer < 0 ? 0 : fEraseLayer;
  const int lastLayer = fEraseLayer < 0 ? kLayerCount - 1 : fEraseLayer;
  ForEachSelectedCell(selection.SubCells, [&](int x, int y, int, int) {
    for (int layer = firstLayer; layer <= lastLayer; ++layer)
      for (int dy = 0; dy < kSubCellsPerCell; ++dy)
        for (int dx = 0; dx < kSubCellsPerCell; ++dx)
          map->RemoveTile(layer, x + dx, y + dy);
  });
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

void TPlacementEngine::PlaceWallEdge(int c, int r, TCellEdge edge) {
  const int index = EdgeIndex(edge);
  if (!CurrentMap() || index < 0 || index > 3) return;
  // Tiles 4-7 are the straight walls in edge order.
  if (!fGroup || !fGroup->TileAt(4 + index, 0, 0)) return;
  const auto piece = [this](const TPiece& p) { return WallPiece(p.N, p.Q); };
  const TEdgeRules& rules = kWallRules[index];
  const int x0 = CellToSubCell(c);
  const int y0 = CellToSubCell(r);

  for (const TJointRule& joint : rules.Joints) {
    if ((joint.NeedCol && c < 1) || (joint.NeedRow && r < 1)) continue;
    const int tx = x0 + joint.TargetX;
    const int ty = y0 + joint.TargetY;
    if (!IsEmptyWall(tx, ty)) continue;
    if (!HoldsPiece(x0 + joint.NeighbourX, y0 + joint.NeighbourY, piece(joint.A), piece(joint.B)))
      continue;
    // A rule whose post the style lacks is skipped alone.
    PutPiece(tx, ty, piece(joint.Post));
  }
  for (const TOwnRule& own : rules.Own) {
    const int x = x0 + own.X;
    const int y = y0 + own.Y;
    const bool corner = HoldsPiece(x, y, piece(own.A), piece(own.B));
    PutPiece(x, y, piece(corner ? own.Corner : own.Straight));
  }
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
  map->SetWidth(map->Width() + kSubCellsPerCell);
  if (map->Height() == 0) AddRow();
}

void TPlacementEngine::AddRow() {
  TTileMap* map = CurrentMap();
  if (map->Height() >= kMaxExtent) return;
  map->SetHeight(map->Height() + kSubCellsPerCell);
  if (map->Width() == 0) AddColumn();
}

void TPlacementEngine::gaAddColExecute() {
  TTileMap* map = CurrentMap();
  if (map && map->Width() < kMaxExtent) {
    // The row a map without rows gets as well belongs to the same step.
    const TUndoStep step(*map);
    AddColumn();
  }
  UpdateControls();
}

void TPlacementEngine::gaAddRowExecute() {
  TTileMap* map = CurrentMap();
  if (map && map->Height() < kMaxExtent) {
    const TUndoStep step(*map);
    AddRow();
  }
  UpdateControls();
}

void TPlacementEngine::gaDelColExecute() {
  TTileMap* map = CurrentMap();
  // The last column stays.
  if (!map || SubCellToCell(map->Width()) < 2) return;
  {
    const TUndoStep step(*map);
    map->SetWidth(map->Width() - kSubCellsPerCell);
  }
  UpdateControls();
}

void TPlacementEngine::gaDelRowExecute() {
  TTileMap* map = CurrentMap();
  if (!map || SubCellToCell(map->Height()) < 2) return;
  {
    const TUndoStep step(*map);
    map->SetHeight(map->Height() - kSubCellsPerCell);
  }
  UpdateControls();
}

void TPlacementEngine::NudgeMap(TNudgeDirection direction) {
  TTileMap* map = CurrentMap();
  if (!map) return;
  const TUndoStep step(*map);
  map->Nudge(direction, kSubCellsPerCell);
}

void TPlacementEngine::UndoRedo(bool undo) {
  TTileMap* map = CurrentMap();
  if (!map) return;
  // The map reports what the step changed, its size included.
  if (undo)
    map->Undo();
  else
    map->Redo();
}

void TPlacementEngine::eaUndoExecute() {
  UndoRedo(true);
}

void TPlacementEngine::eaRedoExecute() {
  UndoRedo(false);
}

bool TPlacementEngine::UndoEnabled() const {
  const TTileMap* map = CurrentMap();
  return map && map->UndoList().CanUndo();
}

bool TPlacementEngine::RedoEnabled() const {
  const TTileMap* map = CurrentMap();
  return map && map->UndoList().CanRedo();
}

void TPlacementEngine::UpdateControls() {
  emit UpdateControlsRequested();
}
