#pragma once

#include "editor/MapPainter.h"
#include "editor/Palette.h"
#include "editor/PlacementEngine.h"

class TMapGridModel;
class TTilesetList;

// The editing engine in one piece: map painting, the placement engine and the
// palette logic around one map grid, wired as the main window uses them: the
// grid's Selected signal applies the tool, and the current map's change
// reports repaint the grid. The window, the command-line tool and the tests
// drive the same objects.
class TEditSession {
 public:
  // Neither is owned.
  TEditSession(TMapGridModel& grid, TTilesetList& tilesets);

  TMapGridModel& Grid() { return fGrid; }
  TMapPainter& Painter() { return fPainter; }
  TPlacementEngine& Engine() { return fEngine; }
  TPalette& Palette() { return fPalette; }
  TTilesetList& Tilesets() { return fTilesets; }

 private:
  TMapGridModel& fGrid;
  TTilesetList& fTilesets;
  TMapPainter fPainter;
  TPlacementEngine fEngine;
  TPalette fPalette;
};
