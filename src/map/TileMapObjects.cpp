#include "TileMapObjects.h"

#include "MapDocument.h"
#include "MapFile.h"
#include "TileMapObjectsUndoU.h"
#include "UndoRedoU.h"
#include "base/Convert.h"
#include "base/Error.h"

#include <algorithm>
#include <utility>

// --- TMapTile ---------------------------------------------------------------

const TSubTile* TMapTile::SubTile() const {
  return fMap->EmbeddedTiles().At(fTileIndex);
}

std::unique_ptr<TMapTile> TMapTile::Clone(TTileMap* newMap) const {
  auto copy = std::make_unique<TMapTile>(newMap);
  copy->fOrientation = fOrientation;
  copy->fX = fX;
  copy->fY = fY;
  copy->fTileIndex = fTileIndex;
  return copy;
}

// --- TMapTileList -----------------------------------------------------------

void TMapTileList::Resize(int width, int height) {
  if (width == fWidth && height == fHeight) return;
  std::vector<std::unique_ptr<TMapTile>> cells(size_t(width) * size_t(height));
  const int keepWidth = std::min(width, fWidth);
  const int keepHeight = std::min(height, fHeight);
  for (int x = 0; x < keepWidth; ++x)
    for (int y = 0; y < keepHeight; ++y)
      cells[size_t(x) * size_t(height) + size_t(y)] = std::move(fCells[Index(x, y)]);
  fCells = std::move(cells);
  fWidth = width;
  fHeight = height;
}

void TMapTileList::Clear() {
  fCells.clear();
  fWidth = 0;
  fHeight = 0;
}

// --- TGraphicTileList -------------------------------------------------------

int TGraphicTileList::Append(std::unique_ptr<TSubTile> subTile) {
  const int index = Count();
  if (!fFirstOfGuid.contains(subTile->Guid())) fFirstOfGuid.insert(subTile->Guid(), index);
  fItems.push_back(std::move(subTile));
  return index;
}

std::vector<std::unique_ptr<TSubTile>> TGraphicTileList::TakeAll() {
  fFirstOfGuid.clear();
  return std::exchange(fItems, {});
}

void TGraphicTileList::Clear() {
  fItems.clear();
  fFirstOfGuid.clear();
}

// --- TTileMap ---------------------------------------------------------------

TTileMap::TTileMap(const TMapDefaults& defaults)
    : fUndoList(std::make_unique<TUndoRedoList>()),
      fDocument(std::make_unique<TMapDocument>(*this)) {
  SetWidth(defaults.Width);
  SetHeight(defaults.Height);
  fMapName = defaults.MapName;
  fAuthorName = defaults.AuthorName;
  fLastMod = QDate::currentDate();
  fTileSize = defaults.TileSize;
  SetModified(false);
  fReadOnly = false;
  fRecording = false;
  fUndoList->SetMaxUndo(defaults.MaxUndo);
}

TTileMap::~TTileMap() {
  // Listeners told that the document goes still find the map whole.
  fDocument.reset();
  // The history refers to embedded tiles: it goes before them.
  fCurrentUndo.reset();
  fUndoList.reset();
}

void TTileMap::SetModified(bool modified) {
  if (modified == fModified) return;
  fModified = modified;
  emit fDocument->ModifiedChanged(fModified);
}

void TTileMap::SetMapName(const QString& name) {
  if (name == fMapName) return;
  fMapName = name;
  emit fDocument->Renamed(fMapName);
}

void TTileMap::Touch(int x, int y) {
  if (!fPendingChange.WholeMap) fPendingChange.SubCells |= QRect(x, y, 1, 1);
  ReportChange();
}

void TTileMap::TouchWholeMap() {
  fPendingChange.WholeMap = true;
  fPendingChange.SubCells = QRect();
  if (fRecording) fCurrentUndo->SetWholeMap();
  ReportChange();
}

void TTileMap::EndChange() {
  if (fChangeDepth > 0) --fChangeDepth;
  ReportChange();
}

void TTileMap::ReportChange() {
  if (fChangeDepth > 0 || fPendingChange.IsEmpty()) return;
  const TMapChange change = std::exchange(fPendingChange, TMapChange{});
  emit fDocument->Changed(change);
}

TMapTile* TTileMap::GetTile(int layer, int x, int y) const {
  if (layer < 0 || layer >= kLayerCount) return nullptr;
  const TMapTileList& list = fLayers[layer];
  if (!list.Contains(x, y)) return nullptr;
  return list.Get(x, y);
}

void TTileMap::RemoveTile(int layer, int x, int y) {
  TMapTile* tile = GetTile(layer, x, y);
  if (!tile) return;
  if (fRecording)
    fCurrentUndo->AddTileState(layer, x, y, tile->SubTile(), tile->Orientation(), nullptr, 0);
  fLayers[layer].Cell(x, y).reset();
  SetModified(true);
  Touch(x, y);
}

TMapTile* TTileMap::PlaceTile(int layer, int x, int y, const TSubTile& subTile,
                              quint8 orientation) {
  if (layer < 0 || layer >= kLayerCount || !fLayers[layer].Contains(x, y)) return nullptr;
  // The removal and the placing are one change of the sub-cell.
  const TMapChangeBracket bracket(*this);
  RemoveTile(layer, x, y);

  int index = fEmbeddedTiles.IndexOfGuid(subTile.Guid());
  if (index < 0) index = fEmbeddedTiles.Append(subTile.Clone());
  if (fRecording)
    fCurrentUndo->AddTileState(layer, x, y, nullptr, 0, fEmbeddedTiles.At(index), orientation);

  auto tile = std::make_unique<TMapTile>(this);
  tile->SetX(x);
  tile->SetY(y);
  tile->SetTileIndex(index);
  tile->SetOrientation(orientation);
  TMapTile* result = tile.get();
  fLayers[layer].Cell(x, y) = std::move(tile);
  SetModified(true);
  Touch(x, y);
  return result;
}

void TTileMap::CheckExtent(int extent) const {
  if (extent < 0 || extent > kMaxMapExtent)
    throw TError(QStringLiteral("A map must be between 0 and %1 sub-cells wide and high.")
                     .arg(kMaxMapExtent));
}

void TTileMap::ResizeLayers() {
  for (TMapTileList& layer : fLayers)
    layer.Resize(fWidth, fHeight);
}

void TTileMap::SetWidth(int width) {
  CheckExtent(width);
  const TMapChangeBracket bracket(*this);
  for (int x = fWidth - 1; x >= width; --x)
    for (int y = 0; y < fHeight; ++y)
      for (int layer = 0; layer < kLayerCount; ++layer)
        RemoveTile(layer, x, y);
  if (fRecording) fCurrentUndo->AddSizeState(fWidth, fHeight, width, fHeight);
  const bool resized = width != fWidth;
  fWidth = width;
  ResizeLayers();
  SetModified(true);
  if (resized) TouchWholeMap();
}

void TTileMap::SetHeight(int height) {
  CheckExtent(height);
  const TMapChangeBracket bracket(*this);
  for (int x = 0; x < fWidth; ++x)
    for (int y = fHeight - 1; y >= height; --y)
      for (int layer = 0; layer < kLayerCount; ++layer)
        RemoveTile(layer, x, y);
  if (fRecording) fCurrentUndo->AddSizeState(fWidth, fHeight, fWidth, height);
  const bool resized = height != fHeight;
  fHeight = height;
  ResizeLayers();
  SetModified(true);
  if (resized) TouchWholeMap();
}

void TTileMap::BeginUndo() {
  // A bracket opened inside another keeps recording into the same action, so
  // no recorded step is ever lost.
  if (fRecording) return;
  fCurrentUndo = std::make_unique<TTileMapUndoObj>(this);
  fRecording = true;
  BeginChange();
}

void TTileMap::EndUndo() {
  if (!fRecording) return;
  fRecording = false;
  fUndoList->Add(std::move(fCurrentUndo));
  EndChange();
  fDocument->HistoryChanged();
}

void TTileMap::Undo() {
  fUndoList->Undo();
  fDocument->HistoryChanged();
}

void TTileMap::Redo() {
  fUndoList->Redo();
  fDocument->HistoryChanged();
}

void TTileMap::SetMaxUndo(int n) {
  fUndoList->SetMaxUndo(n);
  fDocument->HistoryChanged();
}

void TTileMap::MoveCell(int destX, int destY, int sourceX, int sourceY) {
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const TMapTile* tile = GetTile(layer, sourceX, sourceY);
    if (!tile) continue;
    const quint8 orientation = tile->Orientation();
    const TSubTile* subTile = tile->SubTile();
    RemoveTile(layer, sourceX, sourceY);
    PlaceTile(layer, destX, destY, *subTile, orientation);
  }
}

void TTileMap::Nudge(TNudgeDirection direction, int amount) {
  // A negative amount would move cells that were already moved again and
  // smear the content across the map.
  if (amount < 0) return;
  // Every cell may move: the moves are reported as one change of the whole
  // map, not cell by cell.
  const TMapChangeBracket bracket(*this);
  TouchWholeMap();
  // 64-bit sums, so a huge amount cannot overflow into the map.
  const qint64 step = amount;
  switch (direction) {
    case TNudgeDirection::Up:
      for (int x = 0; x < fWidth; ++x)
        for (int y = 0; y < fHeight; ++y)
          if (y + step < fHeight) MoveCell(x, y, x, y + amount);
      break;
    case TNudgeDirection::Down:
      for (int x = 0; x < fWidth; ++x)
        for (int y = fHeight - 1; y >= 0; --y)
          if (y - step >= 0) MoveCell(x, y, x, y - amount);
      break;
    case TNudgeDirection::Left:
      for (int x = 0; x < fWidth; ++x)
        for (int y = 0; y < fHeight; ++y)
          if (x + step < fWidth) MoveCell(x, y, x + amount, y);
      break;
    case TNudgeDirection::Right:
      for (int x = fWidth - 1; x >= 0; --x)
        for (int y = 0; y < fHeight; ++y)
          if (x - step >= 0) MoveCell(x, y, x - amount, y);
      break;
    default:
      break;
  }
}

void TTileMap::ClearContents() {
  // The layers keep the map's extent, so GetTile stays safe afterwards.
  for (TMapTileList& layer : fLayers) {
    layer.Clear();
    layer.Resize(fWidth, fHeight);
  }
  fEmbeddedTiles.Clear();
}

std::unique_ptr<TTileMap> TTileMap::Clone() const {
  auto copy = std::make_unique<TTileMap>();
  copy->fWidth = fWidth;
  copy->fHeight = fHeight;
  copy->fMapName = fMapName;
  copy->fFileName = fFileName;
  copy->fAuthorName = fAuthorName;
  copy->fURL = fURL;
  copy->fInformation = fInformation;
  copy->fLastMod = fLastMod;
  copy->fTileSize = fTileSize;
  copy->ClearContents();
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (int x = 0; x < fWidth; ++x)
      for (int y = 0; y < fHeight; ++y)
        if (const TMapTile* tile = fLayers[layer].Get(x, y))
          copy->fLayers[layer].Cell(x, y) = tile->Clone(copy.get());
  for (int i = 0; i < fEmbeddedTiles.Count(); ++i)
    copy->fEmbeddedTiles.Append(fEmbeddedTiles.At(i)->Clone());
  copy->fModified = fModified;
  return copy;
}

bool TTileMap::SaveToFile(const QString& path) {
  SaveMapFile(*this, path);
  return true;
}

bool TTileMap::LoadFromFile(const QString& path) {
  LoadMapFile(*this, path);
  return true;
}

void TTileMap::DropHistory() {
  fRecording = false;
  fCurrentUndo.reset();
  fUndoList->Clear();
  fDocument->HistoryChanged();
}

int TTileMap::AppendEmbeddedTile(std::unique_ptr<TSubTile> subTile) {
  return fEmbeddedTiles.Append(std::move(subTile));
}

void TTileMap::SetCell(int layer, int x, int y, int tileIndex, quint8 orientation) {
  auto tile = std::make_unique<TMapTile>(this);
  tile->SetX(x);
  tile->SetY(y);
  tile->SetTileIndex(tileIndex);
  tile->SetOrientation(orientation);
  fLayers[layer].Cell(x, y) = std::move(tile);
}

void TTileMap::RenumberEmbeddedTiles(const std::vector<int>& order,
                                     const std::vector<int>& newIndexOf) {
  fUndoList->Clear();
  fDocument->HistoryChanged();
  if (fRecording) fCurrentUndo = std::make_unique<TTileMapUndoObj>(this);

  std::vector<std::unique_ptr<TSubTile>> old = fEmbeddedTiles.TakeAll();
  for (int oldIndex : order)
    fEmbeddedTiles.Append(std::move(old[size_t(oldIndex)]));
  for (TMapTileList& layer : fLayers)
    for (int x = 0; x < fWidth; ++x)
      for (int y = 0; y < fHeight; ++y)
        if (TMapTile* tile = layer.Get(x, y))
          tile->SetTileIndex(newIndexOf[size_t(tile->TileIndex())]);
}
