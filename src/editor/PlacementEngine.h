#pragma once

#include "editor/MapGridModel.h"
#include "map/SubCells.h"
#include "tiles/SubTileIndex.h"
#include "tiles/WallStyles.h"

#include <QObject>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <random>

class TMapBuilder;
class TMapPainter;
class TSubTile;
class TTileGroup;
class TTileMap;
class TTileSet;
class TTilesetList;

// The editing tools: place tiles, place walls, select (never enabled, no
// behaviour), erase, and the tools that build with whole rooms: rooms
// (floor and walls over a dragged rectangle), doors (cut into walls) and
// fill (floor up to the walls).
enum TEditTool : int {
  etPlaceTiles = 0,
  etPlaceWalls = 1,
  etSelect = 2,
  etErase = 3,
  etRooms = 4,
  etDoors = 5,
  etFill = 6
};

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
  // The door tool became active: list the current tileset's doors and
  // select the first (the current group stays when it is a door).
  virtual void ShowDoors() {}
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
class TPlacementEngine : public QObject, public TEdgeSnap {
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
  // The installed tilesets (not owned), whose wall styles and doors the
  // room, door and fill tools know on the map; without them only the
  // current group and wall style are known.
  void SetTilesets(TTilesetList* tilesets);

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
  void SetCurrentGroup(TTileGroup* group);
  // The tileset the palette shows (not owned), or none.
  TTileSet* CurrentTileset() const { return fTileSet; }
  void SetCurrentTileset(TTileSet* tileSet);
  // The wall style rooms are walled with (not owned), or none: the style
  // last chosen, in the wall tool's palette or the room tool's box.
  TTileGroup* WallStyle() const { return fWallStyle; }
  void SetWallStyle(TTileGroup* style);
  // The wall styles the wall tool offers, in its order (loading them).
  std::vector<TWallStyle> WallStyles() const;
  // The random source of Random groups, seeded once at creation.
  std::mt19937& Random() { return fRandom; }
  void SetSeed(quint32 seed) { fRandom.seed(seed); }

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
  // The room, door and fill operations on the current map (none without
  // one), knowing the walls and doors of the installed tilesets.
  std::unique_ptr<TMapBuilder> Builder();
  // The door tool's snap: the nearest walled edge within half a cell.
  std::optional<std::pair<QPoint, TCellEdge>> SnapEdge(int px, int py) const override;
  // More cells than this make Fill ask first.
  static constexpr int kFillAskAbove = 10000;

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
  void gaRoomsExecute() { SetTool(etRooms); }
  void gaDoorsExecute() { SetTool(etDoors); }
  void gaFillExecute() { SetTool(etFill); }
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
  // A tool could not act and says why, for the status bar.
  void StatusMessage(const QString& text);

 private:
  void ApplyPlaceTiles(const TMapSelection& selection);
  void ApplyPlaceWalls(const TMapSelection& selection);
  void ApplyErase(const TMapSelection& selection);
  void ApplyRoom(const TMapSelection& selection);
  void ApplyDoor(const TMapSelection& selection);
  void ApplyFill(const TMapSelection& selection);
  // The current group when it is a floor group; else says so and gives none.
  TTileGroup* FloorGroup(const QString& tool);
  // The grid's set-up for the door tool: the door's footprint on edges.
  void SetupDoors();
  // Rebuilds the indexes of known wall pieces and doors.
  void RefreshIndexes() const;
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
  TTileGroup* fWallStyle = nullptr;
  TTilesetList* fTilesets = nullptr;
  mutable TSubTileIndex fWallIndex;
  mutable TSubTileIndex fDoorIndex;
  std::mt19937 fRandom;
};
