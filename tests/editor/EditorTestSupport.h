#pragma once

#include "editor/GridDrag.h"
#include "editor/MapGridModel.h"
#include "editor/MapPainter.h"
#include "editor/PlacementEngine.h"
#include "map/TileMapObjects.h"
#include "tiles/TileObjects.h"

#include <QHash>
#include <QString>

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// Tile groups made in memory, with a name for every sub-tile so that map
// layers can be drawn as text. Tile groups get letters ('A' for the tile at
// (0, 0), then row by row); wall styles number their twelve pieces.
class TTestTiles {
 public:
  // A group whose tiles (every cell unless skipped) are letters from first
  // on, row by row; each sub-tile a 4 x 4 image of its own.
  TTileGroup& MakeGroup(int width, int height, quint8 type, quint8 place, char first = 'A');
  // A wall style of category "Walls": tiles 0 to 11 at (n, 0), type 1,
  // placement 0, leaving out the pieces listed.
  TTileGroup& MakeWallStyle(const std::set<int>& missing = {});

  // Names the tiles of a group made elsewhere (read from a file) with
  // letters from first on, row by row, as MakeGroup names its own.
  void NameGroup(const TTileGroup& group, char first);
  // Names the pieces of a wall style made elsewhere (a supplied one) as
  // MakeWallStyle names its own.
  void NameWallStyle(const TTileGroup& style);

  // "A2" for quadrant 2 of tile A, "9.1" for sub-tile 1 of wall piece 9
  // (written "91" in pictures); "??" for a sub-tile not made here.
  std::string Name(const TSubTile& subTile) const;
  // The layer sub-cell by sub-cell: rows of two-character names ("A0",
  // "91"), ".." for an empty sub-cell, separated by single blanks.
  std::string SubCellPicture(const TTileMap& map, int layer) const;
  // The layer cell by cell: the letter of the tile whose four sub-tiles fill
  // the cell as that tile shows in the orientation they were placed with,
  // '.' for an empty cell and '?' for anything else.
  std::string CellPicture(const TTileMap& map, int layer) const;

 private:
  void Name(TTile& tile, const std::string& prefix);
  std::vector<std::unique_ptr<TTileGroup>> fGroups;
  QHash<QString, std::string> fNames;
  QHash<QString, const TTile*> fTileOf;
  QHash<QString, char> fLetterOf;
};

// The editing engine over a map of 8 x 5 cells at 48 pixels per cell, with a
// grid large enough to show it all.
class TEngineRig {
 public:
  TEngineRig(int cols = 8, int rows = 5);

  void Drag(const TCellPoint& from, const TCellPoint& to) { DragOnGrid(grid, from, to); }
  void Click(const TCellPoint& at) { DragOnGrid(grid, at, at); }
  // The current group, as a palette selection makes it.
  void Select(TTileGroup& group);

  TMapGridModel grid;
  TMapPainter painter{grid};
  TPlacementEngine engine{grid, painter};
  std::unique_ptr<TTileMap> map;
  int updateControls = 0;
};

// Multi-line pictures read best with a leading newline in the test; this
// drops it.
std::string Lines(const char* text);
