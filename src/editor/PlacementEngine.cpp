#include "PlacementEngine.h"

#include "base/MessageService.h"
#include "editor/MapBuilder.h"
#include "editor/MapGridModel.h"
#include "editor/MapPainter.h"
#include "editor/WallRules.h"
#include "map/TileMapObjects.h"
#include "map/TileMapObjectsUndoU.h"
#include "map/UndoRedoU.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStyles.h"

const quint8 kOrientationTransition[8][4] = {
    {1, 3, 4, 5}, {2, 0, 6, 7}, {3, 1, 5, 4}, {0, 2, 7, 6},
    {7, 6, 0, 2}, {6, 7, 2, 0}, {4, 5, 1, 3}, {5, 4, 3, 1},
};

TPlacementEngine::TPlacementEngine(TMapGridModel& grid, TMapPainter& painter)
    : fGrid(grid), fPainter(painter), fRandom(std::random_device{}()) {}

TTileMap* TPlacementEngine::CurrentMap() const {
  return fPainter.CurrentMap();
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
  // These check what they are given first and make their own step.
  switch (tool) {
    case etRooms:
      return ApplyRoom(selection);
    case etDoors:
      return ApplyDoor(selection);
    case etFill:
      return ApplyFill(selection);
    default:
      break;
  }

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
    default:
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
  TTileMap* map = CurrentMap();
  if (fGroup && map) ::PlaceGroupTile(*map, *fGroup, x, y, a, b, orientation);
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

void TPlacementEngine::PlaceWallEdge(int c, int r, TCellEdge edge) {
  TTileMap* map = CurrentMap();
  if (map && fGroup) ::PlaceWallEdge(*map, *fGroup, c, r, edge);
}

// ---------------------------------------------------------------------------
// Rooms, doors and fill

void TPlacementEngine::SetTilesets(TTilesetList* tilesets) {
  fTilesets = tilesets;
}

void TPlacementEngine::SetCurrentGroup(TTileGroup* group) {
  fGroup = group;
  if (fTool == etPlaceWalls && group) SetWallStyle(group);
  if (fTool == etDoors) SetupDoors();
}

void TPlacementEngine::SetCurrentTileset(TTileSet* tileSet) {
  fTileSet = tileSet;
}

void TPlacementEngine::SetWallStyle(TTileGroup* style) {
  fWallStyle = style;
}

std::vector<TWallStyle> TPlacementEngine::WallStyles() const {
  return fTilesets ? ::WallStyles(*fTilesets) : std::vector<TWallStyle>();
}

void TPlacementEngine::RefreshIndexes() const {
  // Rebuilt for every use: a tileset may be unloaded behind the engine's
  // back (the tileset editor, a removal), and the index is small.
  const QString doors = QStringLiteral("Doors");
  fWallIndex = TSubTileIndex();
  fDoorIndex = TSubTileIndex();
  if (fTilesets)
    for (int i = 0; i < fTilesets->Count(); ++i) {
      const TTileSet* set = fTilesets->Items(i);
      // Only what is loaded: the palette keeps one tileset in memory.
      if (!set || !set->Loaded()) continue;
      if (fTilesets->IsWallTileset(set))
        fWallIndex.AddTileset(*set);
      else
        fDoorIndex.AddTileset(*set, doors);
    }
  if (fWallStyle) fWallIndex.AddGroup(*fWallStyle);
  if (fGroup && fGroup->Category().compare(doors, Qt::CaseInsensitive) == 0)
    fDoorIndex.AddGroup(*fGroup);
}

std::unique_ptr<TMapBuilder> TPlacementEngine::Builder() {
  TTileMap* map = CurrentMap();
  if (!map) return nullptr;
  RefreshIndexes();
  return std::make_unique<TMapBuilder>(*map, fWallIndex, fDoorIndex, fRandom);
}

std::optional<std::pair<QPoint, TCellEdge>> TPlacementEngine::SnapEdge(int px, int py) const {
  TTileMap* map = CurrentMap();
  if (!map) return std::nullopt;
  RefreshIndexes();
  std::mt19937 unused;
  const TMapBuilder builder(*map, fWallIndex, fDoorIndex, unused);
  const double x = double(px) / fGrid.CellWidth();
  const double y = double(py) / fGrid.CellHeight();
  const auto edge = builder.NearestWalledEdge(x, y, 0.5);
  if (!edge) return std::nullopt;
  return std::make_pair(QPoint(edge->Col, edge->Row), edge->Edge);
}

TTileGroup* TPlacementEngine::FloorGroup(const QString& tool) {
  if (fGroup && fGroup->FType() == gtFloor) return fGroup;
  emit StatusMessage(tool + QStringLiteral(" needs a floor group: pick one in the palette."));
  return nullptr;
}

void TPlacementEngine::ApplyRoom(const TMapSelection& selection) {
  TTileGroup* floor = FloorGroup(QStringLiteral("Place Rooms"));
  if (!floor || selection.SubCells.isEmpty()) return;
  if (!fWallStyle) {
    const std::vector<TWallStyle> styles = WallStyles();
    if (!styles.empty()) SetWallStyle(styles.front().Group);
  }
  if (!fWallStyle) {
    emit StatusMessage(
        QStringLiteral("Place Rooms needs a wall style: no wall tileset is installed."));
    return;
  }
  const QRect& s = selection.SubCells;
  const QRect cells(QPoint(SubCellToCell(s.left()), SubCellToCell(s.top())),
                    QPoint(SubCellToCell(s.right()), SubCellToCell(s.bottom())));
  Builder()->PlaceRoom(cells, *floor, fOrientation, *fWallStyle);
}

void TPlacementEngine::ApplyDoor(const TMapSelection& selection) {
  if (!fGroup || fGroup->Category().compare(QLatin1String("Doors"), Qt::CaseInsensitive) != 0) {
    emit StatusMessage(QStringLiteral("Place Doors needs a door: pick one in the palette."));
    return;
  }
  if (selection.SubCells.isEmpty()) return;
  const TEdgeSpot edge{SubCellToCell(selection.SubCells.left()),
                       SubCellToCell(selection.SubCells.top()), selection.Edge};
  Builder()->PlaceDoor(*fGroup, edge);
}

void TPlacementEngine::ApplyFill(const TMapSelection& selection) {
  TTileGroup* floor = FloorGroup(QStringLiteral("Fill Floor"));
  if (!floor || selection.SubCells.isEmpty()) return;
  const int c = SubCellToCell(selection.SubCells.left());
  const int r = SubCellToCell(selection.SubCells.top());
  std::unique_ptr<TMapBuilder> builder = Builder();
  std::vector<QPoint> region = builder->FillRegion(c, r, kFillAskAbove);
  if (int(region.size()) > kFillAskAbove) {
    if (ShowMessage(
            QStringLiteral("The area holds more than %L1 squares. Fill it all?").arg(kFillAskAbove),
            QStringLiteral("Fill Floor"), TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes)
      return;
    region = builder->FillRegion(c, r, builder->Cols() * builder->Rows());
  }
  builder->FillFloor(region, *floor, fOrientation);
}

void TPlacementEngine::SetupDoors() {
  int width = 1;
  int height = 1;
  if (fGroup && fGroup->PlaceType() != ptRandom) {
    width = fGroup->PatWidth();
    height = fGroup->PatHeight();
  }
  fGrid.SetCursorRectWidth(qMax(1, width));
  fGrid.SetCursorRectHeight(qMax(1, height));
}

// ---------------------------------------------------------------------------
// Tools and orientation

void TPlacementEngine::SetTool(TEditTool tool) {
  if (tool == fTool) return;
  fTool = tool;
  fGrid.SetEdgeSnap(nullptr);
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
    case etRooms:
    case etFill:
      if (fPalette) fPalette->ShowTilesets();
      fGrid.SetCursorRectWidth(1);
      fGrid.SetCursorRectHeight(1);
      fGrid.SetSelectType(TSelectType::FullCell);
      fGrid.SetSelectRange(tool == etRooms);
      fGrid.SetKeepSelection(false);
      break;
    case etDoors:
      if (fPalette) {
        fPalette->ShowTilesets();
        fPalette->ShowDoors();
      }
      fGrid.SetSelectType(TSelectType::Edge);
      fGrid.SetSelectRange(false);
      fGrid.SetKeepSelection(false);
      fGrid.SetEdgeSnap(this);
      SetupDoors();
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
  // A door turns to the edge it goes on.
  return fTool != etPlaceWalls && fTool != etDoors && fGroup;
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
  // Picking a tile leaves the eraser; the other tools take it as theirs.
  if (fTool == etErase) gaRoomExecute();
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
