#include "WallRules.h"

#include "map/TileMapObjects.h"
#include "tiles/TileObjects.h"

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

// The wall layer of one map in one style.
class TWallPen {
 public:
  TWallPen(TTileMap& map, const TTileGroup& style) : fMap(map), fStyle(style) {}

  // Wall piece Tn.q of the style, or none.
  const TSubTile* Piece(const TPiece& p) const {
    const TTile* tile = fStyle.TileAt(p.N, 0, 0);
    return tile ? &tile->SubTileFor(p.Q, 0) : nullptr;
  }
  bool Holds(int x, int y, const TSubTile* a, const TSubTile* b) const {
    const TMapTile* placed = fMap.GetTile(mlWall, x, y);
    if (!placed) return false;
    const QString& guid = placed->SubTile()->Guid();
    // A piece the style lacks matches nothing.
    return (a && a->Guid() == guid) || (b && b->Guid() == guid);
  }
  bool IsEmpty(int x, int y) const { return !fMap.GetTile(mlWall, x, y); }
  void Put(int x, int y, const TSubTile* piece) {
    if (piece) fMap.PlaceTile(mlWall, x, y, *piece, 0);
  }

 private:
  TTileMap& fMap;
  const TTileGroup& fStyle;
};

}  // namespace

void PlaceWallEdge(TTileMap& map, const TTileGroup& style, int c, int r, TCellEdge edge) {
  const int index = EdgeIndex(edge);
  if (index < 0 || index > 3) return;
  // Tiles 4-7 are the straight walls in edge order.
  if (!style.TileAt(4 + index, 0, 0)) return;
  TWallPen pen(map, style);
  const auto piece = [&pen](const TPiece& p) { return pen.Piece(p); };
  const TEdgeRules& rules = kWallRules[index];
  const int x0 = CellToSubCell(c);
  const int y0 = CellToSubCell(r);

  for (const TJointRule& joint : rules.Joints) {
    if ((joint.NeedCol && c < 1) || (joint.NeedRow && r < 1)) continue;
    const int tx = x0 + joint.TargetX;
    const int ty = y0 + joint.TargetY;
    if (!pen.IsEmpty(tx, ty)) continue;
    if (!pen.Holds(x0 + joint.NeighbourX, y0 + joint.NeighbourY, piece(joint.A), piece(joint.B)))
      continue;
    // A rule whose post the style lacks is skipped alone.
    pen.Put(tx, ty, piece(joint.Post));
  }
  for (const TOwnRule& own : rules.Own) {
    const int x = x0 + own.X;
    const int y = y0 + own.Y;
    const bool corner = pen.Holds(x, y, piece(own.A), piece(own.B));
    pen.Put(x, y, piece(corner ? own.Corner : own.Straight));
  }
}
