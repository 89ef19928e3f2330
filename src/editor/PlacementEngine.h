#pragma once

#include "map/SubCells.h"

#include <QObject>
#include <QtGlobal>

#include <random>

class TMapGridModel;
struct TMapSelection;
class TMapPainter;
class TSubTile;
class TTileGroup;
class TTileMap;
class TTileSet;

// The editing tools: place tiles, place walls, select (never enabled, no
// behaviour) and erase.
enum TEditTool : int { etPlaceTiles = 0, etPlaceWalls = 1, etSelect = 2, etErase = 3 };

// The four orientation commands.
enum TOrientCommand : int {
  ocRotateClockwise = 0,
  ocRotateCounterClockwise = 1,
  ocFlipHorizontal = 2,
  ocFlipVertical = 3
};

// The orientation a command turns the current orientation into:
// kOrientationTransition[current][command].
extern const quint8 kOrientationTransition[8][4];

// What the engine asks of the palette when the tool or the orientation
// changes. The palette implements it; without one the engine drives the grid
// and the map only.
class TPlacementPalette {
 public:
  virtual ~TPlacementPalette() = default;
  // The wall tool became active: hide the tileset controls, list the wall
  // styles and select the first.
  virtual void ShowWallStyles() = 0;
  // Another tool became active: when the wall styles are shown, show the
  // tileset controls again and restore the tileset's palette.
  virtual void ShowTilesets() = 0;
  // The orientation changed: redraw the tile preview in it.
  virtual void OrientationChanged() = 0;
};

// The editing engine of the main window, free of widgets. It holds the
// editing state (tool, orientation, erase layer, current group and tileset,
// the random source) and turns every finished selection on the map grid into
// one undoable change of the current map: placing a tile group by its
// placement type, drawing walls along cell edges with automatic corners and
// posts, or erasing. It also carries the whole-map commands (add and delete
// column and row, nudge, undo and redo) and the rotate and flip commands.
// Every handler the window has for these forwards to it in one line. The
// grid's Selected signal is connected to grdMapSelect (by TEditSession),
// with the engine as context, so the binding ends with either side.
class TPlacementEngine : public QObject {
  Q_OBJECT

 public:
  // The grid and painter (which knows the current map and the cell size) are
  // not owned.
  TPlacementEngine(TMapGridModel& grid, TMapPainter& painter);

  TMapGridModel& Grid() const { return fGrid; }
  TMapPainter& Painter() const { return fPainter; }
  TTileMap* CurrentMap() const;

  // The palette (not owned), or none.
  void SetPalette(TPlacementPalette* palette) { fPalette = palette; }

  // --- Editing state ---
  TEditTool Tool() const { return fTool; }
  // Sets the tool value alone, as a tileset change does; SetTool switches
  // tools properly.
  void SetToolValue(TEditTool tool) { fTool = tool; }
  quint8 Orientation() const { return fOrientation; }
  void SetOrientation(quint8 orientation) { fOrientation = orientation & 7; }
  // -1 all layers, else the one layer the eraser works on.
  int EraseLayer() const { return fEraseLayer; }
  // The tile group to place (not owned), or none.
  TTileGroup* CurrentGroup() const { return fGroup; }
  void SetCurrentGroup(TTileGroup* group) { fGroup = group; }
  // The tileset the palette shows (not owned), or none.
  TTileSet* CurrentTileset() const { return fTileSet; }
  void SetCurrentTileset(TTileSet* tileSet) { fTileSet = tileSet; }
  // The random source of Random groups, seeded once at creation.
  std::mt19937& Random() { return fRandom; }
  void SetSeed(quint32 seed) { fRandom.seed(seed); }
  // A uniform draw from [0, n) of a generator, as placement makes it.
  static int RandomBelow(std::mt19937& random, int n);

  // --- Placement ---
  // The grid's Selected: the tool applied to the selection.
  void grdMapSelect(const TMapSelection& selection);
  // Applies a tool to a selection as exactly one undo step (none when the
  // current group is marked Corrupt). The map reports what it changed.
  void ApplyTool(TEditTool tool, const TMapSelection& selection);
  // One tile of the current group with its top-left sub-cell at (x, y): its
  // tile (a, b) in the orientation.
  void PlaceGroupTile(int x, int y, int a, int b, quint8 orientation);
  // The wall piece of one edge of cell (c, r), with the joints it makes with
  // walls already there.
  void PlaceWallEdge(int c, int r, TCellEdge edge);

  // --- Tools and orientation ---
  void SetTool(TEditTool tool);
  // The grid's selection mode and footprint for the current group.
  void SetupPlacement();
  // A rotate or flip command applied to the orientation and the footprint.
  void TransformPlacement(TOrientCommand command);
  // Whether the rotate and flip commands apply: not in the wall tool, and a
  // group is selected.
  bool OrientationCommandsEnabled() const;

  // --- Action handlers ---
  void gaRoomExecute();
  void gaWallExecute();
  void gaEraserExecute();
  void popErasePopup();
  void grdTileGroupsMouseDown();
  // An erase menu item with its tag: 0 floor, 1 objects, 2 walls, 3 all.
  void mnuEraseBaseClick(int tag);
  // The erase menu item that shows checked (in all three erase menus).
  int CheckedEraseTag() const { return fEraseLayer < 0 ? 3 : fEraseLayer; }
  // The erase toolbar button shows pressed while the eraser is the tool.
  bool EraseButtonDown() const { return fTool == etErase; }

  void vwRotateClockwiseExecute() { TransformPlacement(ocRotateClockwise); }
  void vwRotateCClockwiseExecute() { TransformPlacement(ocRotateCounterClockwise); }
  void vwFlipHorizontalExecute() { TransformPlacement(ocFlipHorizontal); }
  void vwFlipVerticalExecute() { TransformPlacement(ocFlipVertical); }

  // --- Whole-map commands ---
  static constexpr int kMaxExtent = CellToSubCell(50);  // sub-cells
  void gaAddColExecute();
  void gaAddRowExecute();
  void gaDelColExecute();
  void gaDelRowExecute();
  // A nudge moves the content by one cell, as one undo step.
  void gaNudgeLeftExecute() { NudgeMap(TNudgeDirection::Left); }
  void gaNudgeRightExecute() { NudgeMap(TNudgeDirection::Right); }
  void gaNudgeUpExecute() { NudgeMap(TNudgeDirection::Up); }
  void gaNudgeDownExecute() { NudgeMap(TNudgeDirection::Down); }
  void NudgeMap(TNudgeDirection direction);
  void eaUndoExecute();
  void eaRedoExecute();

  // Whether Undo and Redo apply: a map is current and its history can undo
  // (redo). The map's document announces when they change.
  bool UndoEnabled() const;
  bool RedoEnabled() const;

  // Asks whoever shows the editing state to recompute its controls
  // (UpdateControlsRequested): run after tool changes, tileset changes and
  // whole-map commands.
  void UpdateControls();

 signals:
  void UpdateControlsRequested();

 private:
  int DrawingSize() const;
  void ApplyPlaceTiles(const TMapSelection& selection);
  void ApplyPlaceWalls(const TMapSelection& selection);
  void ApplyErase(const TMapSelection& selection);
  // The wall piece sub-tile Tn.q of the current wall style, or none.
  const TSubTile* WallPiece(int n, int q) const;
  bool HoldsPiece(int x, int y, const TSubTile* a, const TSubTile* b) const;
  bool IsEmptyWall(int x, int y) const;
  // Places a piece on the wall layer; false when the piece is missing or the
  // sub-cell lies outside the map.
  bool PutPiece(int x, int y, const TSubTile* piece);
  void AddColumn();
  void AddRow();
  void UndoRedo(bool undo);

  TMapGridModel& fGrid;
  TMapPainter& fPainter;
  TPlacementPalette* fPalette = nullptr;
  TEditTool fTool = etPlaceTiles;
  quint8 fOrientation = 0;
  int fEraseLayer = -1;
  TTileGroup* fGroup = nullptr;
  TTileSet* fTileSet = nullptr;
  std::mt19937 fRandom;
};
