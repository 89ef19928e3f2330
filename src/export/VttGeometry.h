#pragma once

#include <QPointF>

#include <vector>

class TTileMap;
class TTilesetList;

// The walls and doors of a map as a virtual tabletop sees them, in grid
// squares from the map's top-left corner.
//
// Each wall piece in the wall layer stands for known edges of its sub-cell:
// a wall style's tiles 0-3 are corners, 4-7 straight walls along the top,
// right, bottom and left of the cell, 8-11 posts; a piece is recognised by
// the identity of its sub-tile among the installed wall styles. Touching
// collinear pieces merge into one segment. Posts fill the joint where two
// walls meet and add no line of their own.
//
// Every placed object of a group whose category is "Doors" is a portal lying
// along the middle of the object's footprint (a door is drawn across its
// cell, and turning it a quarter turns the line); the wall segments are cut
// where a portal lies on them.
struct TVttPortal {
  QPointF Position;
  QPointF BoundA;
  QPointF BoundB;
  double Rotation = 0;  // radians
};

struct TVttGeometry {
  std::vector<std::vector<QPointF>> LineOfSight;
  std::vector<TVttPortal> Portals;
  int UnrecognisedWallPieces = 0;
};

// tilesets may be null: then no piece is recognised and no door found. The
// installed tilesets not loaded yet are loaded.
TVttGeometry VttGeometry(const TTileMap& map, const TTilesetList* tilesets);
