#pragma once

#include "editor/MapPainter.h"
#include "editor/Palette.h"
#include "editor/PlacementEngine.h"

class TMapGridModel;
class TTilesetList;

// The editing engine in one piece: map painting, the placement engine and the
// palette logic around one map grid, wired as the main window wires them (the
// grid's OnSelect applies the tool). The window, the command-line tool and
// the tests drive the same objects.
class TEditSession {
 public:
  // Neither is owned; the grid's OnSelect is taken over.
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
