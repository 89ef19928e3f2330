#pragma once

#include "SubCells.h"
#include "tiles/TileObjects.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class TMapDocument;
class TTileMap;
class TTileMapUndoObj;
class TUndoRedoList;

// Map layers: 0 base (floor), 1 overlay (objects), 2 wall, drawn in that order.
enum TMapLayer { mlBase = 0, mlOverlay = 1, mlWall = 2 };
constexpr int kLayerCount = 3;

// The largest width or height, in sub-cells, a map may take.
constexpr int kMaxMapExtent = 4000;

// One sub-tile placed in one cell of one layer. It shows the owning map's
// embedded tile TileIndex in an orientation code.
class TMapTile {
 public:
  explicit TMapTile(TTileMap* map) : fMap(map) {}

  // The owning map (not owned).
  TTileMap* Map() const { return fMap; }
  quint8 Orientation() const { return fOrientation; }
  void SetOrientation(quint8 orientation) { fOrientation = orientation; }
  int X() const { return fX; }
  void SetX(int x) { fX = x; }
  int Y() const { return fY; }
  void SetY(int y) { fY = y; }
  int TileIndex() const { return fTileIndex; }
  void SetTileIndex(int index) { fTileIndex = index; }

  // The embedded tile shown: EmbeddedTiles[TileIndex] of the owning map.
  const TSubTile* SubTile() const;
  // A copy owned by newMap with the same orientation, position and index.
  std::unique_ptr<TMapTile> Clone(TTileMap* newMap) const;

 private:
  TTileMap* fMap;
  quint8 fOrientation = 0;
  int fX = 0;
  int fY = 0;
  int fTileIndex = 0;
};

// One layer: a dense Width × Height grid of cells indexed [x][y], each empty
// or holding one owned TMapTile.
class TMapTileList {
 public:
  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  // Resizes the grid; cells inside both the old and the new extent keep their
  // tiles, the others are freed, and new cells are empty.
  void Resize(int width, int height);
  // Frees every tile and makes the grid 0 × 0.
  void Clear();

  // The tile at (x, y), or none; (x, y) must lie inside the grid.
  TMapTile* Get(int x, int y) const { return fCells[Index(x, y)].get(); }
  std::unique_ptr<TMapTile>& Cell(int x, int y) { return fCells[Index(x, y)]; }
  bool Contains(int x, int y) const { return x >= 0 && x < fWidth && y >= 0 && y < fHeight; }

 private:
  size_t Index(int x, int y) const { return size_t(x) * size_t(fHeight) + size_t(y); }

  int fWidth = 0;
  int fHeight = 0;
  // Column-major: cell (x, y) at x * Height + y.
  std::vector<std::unique_ptr<TMapTile>> fCells;
};

// The map's own copies of the sub-tiles its layers show, in index order.
class TGraphicTileList {
 public:
  int Count() const { return int(fItems.size()); }
  const TSubTile* At(int index) const { return fItems.at(size_t(index)).get(); }
  TSubTile* At(int index) { return fItems.at(size_t(index)).get(); }
  // Index of the first entry with the identity, or -1.
  int IndexOfGuid(const QString& guid) const { return fFirstOfGuid.value(guid, -1); }
  // Appends an entry and returns its index.
  int Append(std::unique_ptr<TSubTile> subTile);
  void Clear();
  // Removes and returns every entry.
  std::vector<std::unique_ptr<TSubTile>> TakeAll();

 private:
  std::vector<std::unique_ptr<TSubTile>> fItems;
  // Identity -> index of its first entry, so PlaceTile's identity lookup
  // stays cheap however many cells a load or a replay places.
  QHash<QString, int> fFirstOfGuid;
};

// What a new map starts with: its size in sub-cells, its texts, the printed
// size of one grid square in inches and the depth of its undo history. The
// values given here are the program's own defaults; the application passes
// the user's.
struct TMapDefaults {
  int Width = 16;
  int Height = 20;
  QString MapName = QStringLiteral("BattleMap");
  QString AuthorName;
  float TileSize = 1.0f;
  int MaxUndo = 50;
};

// One open battle map: descriptive texts, the printed grid size, three layers
// of placed sub-tiles, the private copies of every image they show, and the
// undo history. Every change between BeginUndo and EndUndo is recorded as one
// undoable action. The map never refers to a tileset's objects: placing copies
// the sub-tile, and copies are found again by their identity. What changes is
// announced by the map's document (MapDocument.h).
class TTileMap {
 public:
  // A new empty map with the given starting values.
  explicit TTileMap(const TMapDefaults& defaults = TMapDefaults());
  ~TTileMap();
  TTileMap(const TTileMap&) = delete;
  TTileMap& operator=(const TTileMap&) = delete;

  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  const QString& MapName() const { return fMapName; }
  // Announced (Renamed) when the name differs.
  void SetMapName(const QString& name);
  const QString& FileName() const { return fFileName; }
  void SetFileName(const QString& fileName) { fFileName = fileName; }
  const QString& AuthorName() const { return fAuthorName; }
  void SetAuthorName(const QString& name) { fAuthorName = name; }
  const QString& URL() const { return fURL; }
  void SetURL(const QString& url) { fURL = url; }
  const QString& Information() const { return fInformation; }
  void SetInformation(const QString& text) { fInformation = text; }
  const QDate& LastMod() const { return fLastMod; }
  void SetLastMod(const QDate& date) { fLastMod = date; }
  float TileSize() const { return fTileSize; }
  void SetTileSize(float size) { fTileSize = size; }
  bool ReadOnly() const { return fReadOnly; }
  void SetReadOnly(bool readOnly) { fReadOnly = readOnly; }
  bool Modified() const { return fModified; }
  // Sets Modified; announced (ModifiedChanged) only when the value changes.
  void SetModified(bool modified);
  // Where the map announces its changes: every PlaceTile, RemoveTile,
  // SetWidth, SetHeight and Nudge, and every undo and redo, reports the
  // sub-cells it changed; the changes between BeginUndo and EndUndo (or
  // BeginChange and EndChange) are reported once, together, at the end.
  // Made and freed with the map.
  TMapDocument& Document() const { return *fDocument; }
  // Groups changes into one report; brackets nest.
  void BeginChange() { ++fChangeDepth; }
  void EndChange();
  // Marks the whole map changed in the current report (a change that moves
  // everything, replayed by undo).
  void TouchWholeMap();

  const TMapTileList& Layer(int layer) const { return fLayers[size_t(layer)]; }
  const TMapTileList& LayerBase() const { return fLayers[mlBase]; }
  const TMapTileList& LayerOverlay() const { return fLayers[mlOverlay]; }
  const TMapTileList& LayerWall() const { return fLayers[mlWall]; }
  const TGraphicTileList& EmbeddedTiles() const { return fEmbeddedTiles; }
  const TUndoRedoList& UndoList() const { return *fUndoList; }
  // The history's steps, through the map so that its document announces
  // the undo state they leave.
  void Undo();
  void Redo();
  void SetMaxUndo(int n);
  TTileMapUndoObj* CurrentUndo() const { return fCurrentUndo.get(); }
  bool Recording() const { return fRecording; }

  // The tile in a cell, or none outside the map or for a layer outside 0..2.
  TMapTile* GetTile(int layer, int x, int y) const;
  // Puts a sub-tile into a cell, replacing what is there. The map shows its
  // own copy: the first embedded tile with the same identity, or a new copy
  // appended. Returns none and changes nothing outside the map.
  TMapTile* PlaceTile(int layer, int x, int y, const TSubTile& subTile, quint8 orientation);
  // Empties a cell; the embedded tile it showed stays until the next save.
  void RemoveTile(int layer, int x, int y);
  // Add or remove sub-cell columns at the right edge and rows at the bottom
  // edge. Sizes outside 0..kMaxMapExtent raise TError.
  void SetWidth(int width);
  void SetHeight(int height);

  void BeginUndo();
  void EndUndo();

  // Shifts the content of every layer by amount cells.
  void Nudge(TNudgeDirection direction, int amount);
  // Moves the tiles of every layer from one cell to another; a layer whose
  // source cell is empty leaves the destination alone.
  void MoveCell(int destX, int destY, int sourceX, int sourceY);

  // Frees every placed tile and every embedded tile; the size stays.
  void ClearContents();
  // A deep copy without undo history, with a document of its own.
  std::unique_ptr<TTileMap> Clone() const;

  // Writes the map file (SaveMapFile); a failure leaves the previous file,
  // the map and its history as they were. Raises TError.
  bool SaveToFile(const QString& path);
  // Fills this freshly created map from a map file (LoadMapFile). Raises
  // TError.
  bool LoadFromFile(const QString& path);

  // For the map file reader and writer (MapFile.h), which fill and renumber
  // a map without recording anything.
  // Ends an open undo bracket and drops the history.
  void DropHistory();
  // Appends an embedded tile as it is, neither copied nor scaled; returns
  // its index.
  int AppendEmbeddedTile(std::unique_ptr<TSubTile> subTile);
  // Shows embedded tile tileIndex in a cell inside the map, replacing what
  // is there, without recording it or setting Modified.
  void SetCell(int layer, int x, int y, int tileIndex, quint8 orientation);
  // Keeps only the embedded tiles that order lists, in its order (order:
  // new index -> old index), and points every placed tile at
  // newIndexOf[its old index]. The history names old indexes, so it is
  // dropped; an open bracket records afresh.
  void RenumberEmbeddedTiles(const std::vector<int>& order, const std::vector<int>& newIndexOf);

 private:
  void CheckExtent(int extent) const;
  void ResizeLayers();
  void Touch(int x, int y);
  void ReportChange();

  int fWidth = 0;
  int fHeight = 0;
  QString fMapName;
  QString fFileName;
  QString fAuthorName;
  QString fURL;
  QString fInformation;
  QDate fLastMod;
  float fTileSize = 1.0f;
  TMapTileList fLayers[kLayerCount];
  TGraphicTileList fEmbeddedTiles;
  std::unique_ptr<TUndoRedoList> fUndoList;
  std::unique_ptr<TTileMapUndoObj> fCurrentUndo;
  bool fRecording = false;
  bool fModified = false;
  bool fReadOnly = false;
  int fChangeDepth = 0;
  TMapChange fPendingChange;
  std::unique_ptr<TMapDocument> fDocument;
};

// Groups the changes a scope makes to a map into one report, also when the
// scope is left by an exception.
class TMapChangeBracket {
 public:
  explicit TMapChangeBracket(TTileMap& map) : fMap(map) { fMap.BeginChange(); }
  ~TMapChangeBracket() { fMap.EndChange(); }
  TMapChangeBracket(const TMapChangeBracket&) = delete;
  TMapChangeBracket& operator=(const TMapChangeBracket&) = delete;

 private:
  TTileMap& fMap;
};
