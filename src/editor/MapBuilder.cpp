#include "MapBuilder.h"

#include "editor/WallRules.h"
#include "map/TileMapObjects.h"
#include "map/TileMapObjectsUndoU.h"
#include "tiles/SubTileIndex.h"
#include "tiles/TileObjects.h"
#include "tiles/WallStrip.h"

#include <algorithm>
#include <cmath>
#include <deque>

int RandomBelow(std::mt19937& random, int n) {
  return std::uniform_int_distribution<int>(0, n - 1)(random);
}

namespace {

// The line an edge lies on, in sub-cells: whether it runs across (a
// horizontal line), the sub-cell row or column on each side of it with the
// cell side each sees it as, and the first sub-cell along it.
struct TEdgeLine {
  bool Horizontal;
  int Near;      // row (horizontal) or column of the edge's own cell next to the line
  int NearSide;  // the side of the own cell: 0 top, 1 right, 2 bottom, 3 left
  int Far;       // row or column of the cell on the other side
  int FarSide;
  int Start;  // first sub-cell along the line
};

TEdgeLine LineOf(const TEdgeSpot& edge) {
  const int x = CellToSubCell(edge.Col);
  const int y = CellToSubCell(edge.Row);
  switch (edge.Edge) {
    case TCellEdge::Top:
      return {true, y, 0, y - 1, 2, x};
    case TCellEdge::Right:
      return {false, x + 1, 1, x + 2, 3, y};
    case TCellEdge::Bottom:
      return {true, y + 1, 2, y + 2, 0, x};
    case TCellEdge::Left:
      break;
  }
  return {false, x, 3, x - 1, 1, y};
}

QPoint Along(const TEdgeLine& line, int across, int along) {
  return line.Horizontal ? QPoint(along, across) : QPoint(across, along);
}

// The footprint of a group in cells as it lies in an orientation: Random
// groups cover one cell.
QSize Footprint(const TTileGroup& group, quint8 orientation) {
  if (group.PlaceType() == ptRandom) return QSize(1, 1);
  const QSize size(group.PatWidth(), group.PatHeight());
  return SwapsSides(orientation) ? size.transposed() : size;
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

void PlaceGroupTile(TTileMap& map, const TTileGroup& group, int x, int y, int a, int b,
                    quint8 orientation) {
  const TTile* tile = group.TileAt(a, b, orientation);
  if (!tile) return;
  const int layer = group.FType() == gtFloor ? mlBase : mlOverlay;
  // Quadrant q of the tile covers sub-cell (q % 2, q / 2) of the cell.
  for (int dy = 0; dy < kSubCellsPerCell; ++dy)
    for (int dx = 0; dx < kSubCellsPerCell; ++dx)
      map.PlaceTile(layer, x + dx, y + dy,
                    tile->SubTileFor(dy * kSubCellsPerCell + dx, orientation), orientation);
}

TMapBuilder::TMapBuilder(TTileMap& map, const TSubTileIndex& walls, const TSubTileIndex& doors,
                         std::mt19937& random)
    : fMap(map), fWalls(walls), fDoors(doors), fRandom(random) {}

int TMapBuilder::Cols() const {
  return SubCellToCell(fMap.Width());
}

int TMapBuilder::Rows() const {
  return SubCellToCell(fMap.Height());
}

// ---------------------------------------------------------------------------
// What is on the map

bool TMapBuilder::WallPieceAt(int x, int y, int* n, int* q, const TTileGroup** style) const {
  const TMapTile* placed = fMap.GetTile(mlWall, x, y);
  if (!placed) return false;
  const TSubTileSource* source = fWalls.Find(placed->SubTile()->Guid());
  // Wall pieces are placed unturned from a style's first row.
  if (!source || placed->Orientation() != 0 || source->Tile->Y() != 0 || source->Tile->X() < 0 ||
      source->Tile->X() >= kWallStripPieces)
    return false;
  *n = source->Tile->X();
  *q = source->Quadrant;
  if (style) *style = source->Group;
  return true;
}

bool TMapBuilder::RunsAlong(int x, int y, int side) const {
  int n = 0;
  int q = 0;
  return WallPieceAt(x, y, &n, &q, nullptr) && WallPieceRunsAlong(n, q, side);
}

bool TMapBuilder::IsDoorPiece(int x, int y) const {
  const TMapTile* placed = fMap.GetTile(mlOverlay, x, y);
  return placed && fDoors.Find(placed->SubTile()->Guid());
}

int TMapBuilder::WalledHalves(const TEdgeSpot& edge) const {
  const TEdgeLine line = LineOf(edge);
  int halves = 0;
  for (int i = 0; i < kSubCellsPerCell; ++i) {
    const QPoint near = Along(line, line.Near, line.Start + i);
    const QPoint far = Along(line, line.Far, line.Start + i);
    if (RunsAlong(near.x(), near.y(), line.NearSide) || RunsAlong(far.x(), far.y(), line.FarSide))
      ++halves;
  }
  return halves;
}

bool TMapBuilder::HasDoor(const TEdgeSpot& edge) const {
  const TEdgeLine line = LineOf(edge);
  bool near = false;
  bool far = false;
  for (int i = 0; i < kSubCellsPerCell; ++i) {
    const QPoint a = Along(line, line.Near, line.Start + i);
    const QPoint b = Along(line, line.Far, line.Start + i);
    near = near || IsDoorPiece(a.x(), a.y());
    far = far || IsDoorPiece(b.x(), b.y());
  }
  return near && far;
}

TEdgeSpot TMapBuilder::OtherSide(const TEdgeSpot& edge) {
  switch (edge.Edge) {
    case TCellEdge::Top:
      return {edge.Col, edge.Row - 1, TCellEdge::Bottom};
    case TCellEdge::Right:
      return {edge.Col + 1, edge.Row, TCellEdge::Left};
    case TCellEdge::Bottom:
      return {edge.Col, edge.Row + 1, TCellEdge::Top};
    case TCellEdge::Left:
      break;
  }
  return {edge.Col - 1, edge.Row, TCellEdge::Right};
}

std::optional<TEdgeSpot> TMapBuilder::NearestWalledEdge(double x, double y, double reach) const {
  std::optional<TEdgeSpot> best;
  double bestDistance = reach;
  const int col = int(std::floor(x));
  const int row = int(std::floor(y));
  for (int r = row - 1; r <= row + 1; ++r)
    for (int c = col - 1; c <= col + 1; ++c)
      for (const TCellEdge edge :
           {TCellEdge::Top, TCellEdge::Right, TCellEdge::Bottom, TCellEdge::Left}) {
        const bool vertical = edge == TCellEdge::Left || edge == TCellEdge::Right;
        const double ax = c + (edge == TCellEdge::Right ? 1 : 0);
        const double ay = r + (edge == TCellEdge::Bottom ? 1 : 0);
        const double distance =
            DistanceToSegment(x, y, ax, ay, vertical ? ax : ax + 1, vertical ? ay + 1 : ay);
        if (distance > bestDistance || (best && distance == bestDistance)) continue;
        const TEdgeSpot spot{c, r, edge};
        if (!IsWalled(spot)) continue;
        best = spot;
        bestDistance = distance;
      }
  return best;
}

// ---------------------------------------------------------------------------
// Floors and rooms

void TMapBuilder::PlaceFloor(const TTileGroup& floor, quint8 orientation,
                             const std::vector<QPoint>& cells) {
  if (cells.empty()) return;
  const TUndoStep step(fMap);
  std::vector<QPoint> sorted = cells;
  // Row by row, left to right, as a drag places them.
  std::sort(sorted.begin(), sorted.end(), [](const QPoint& a, const QPoint& b) {
    return std::make_pair(a.y(), a.x()) < std::make_pair(b.y(), b.x());
  });
  int left = sorted.front().x();
  for (const QPoint& cell : sorted)
    left = std::min(left, cell.x());
  const int top = sorted.front().y();
  const QSize footprint = Footprint(floor, orientation);
  for (const QPoint& cell : sorted) {
    int a = 0;
    int b = 0;
    if (floor.PlaceType() == ptRandom) {
      if (floor.PatWidth() <= 0 || floor.PatHeight() <= 0) continue;
      a = RandomBelow(fRandom, floor.PatWidth());
      b = RandomBelow(fRandom, floor.PatHeight());
    } else if (floor.PlaceType() == ptFixed || floor.PlaceType() == ptPattern) {
      if (footprint.isEmpty()) continue;
      a = (cell.x() - left) % footprint.width();
      b = (cell.y() - top) % footprint.height();
    } else {
      continue;
    }
    PlaceGroupTile(fMap, floor, CellToSubCell(cell.x()), CellToSubCell(cell.y()), a, b, orientation);
  }
}

void TMapBuilder::PlaceRoom(const QRect& cells, const TTileGroup& floor, quint8 orientation,
                            const TTileGroup& wallStyle) {
  const QRect room = cells.normalized().intersected(QRect(0, 0, Cols(), Rows()));
  if (room.isEmpty()) return;
  const TUndoStep step(fMap);
  std::vector<QPoint> inside;
  for (int r = room.top(); r <= room.bottom(); ++r)
    for (int c = room.left(); c <= room.right(); ++c)
      inside.emplace_back(c, r);
  PlaceFloor(floor, orientation, inside);

  // Top, right, bottom and left in turn: each side's first edge meets the
  // previous side's last and the rules turn the pieces there into corners.
  std::vector<TEdgeSpot> outline;
  for (int c = room.left(); c <= room.right(); ++c)
    outline.push_back({c, room.top(), TCellEdge::Top});
  for (int r = room.top(); r <= room.bottom(); ++r)
    outline.push_back({room.right(), r, TCellEdge::Right});
  for (int c = room.right(); c >= room.left(); --c)
    outline.push_back({c, room.bottom(), TCellEdge::Bottom});
  for (int r = room.bottom(); r >= room.top(); --r)
    outline.push_back({room.left(), r, TCellEdge::Left});
  for (const TEdgeSpot& edge : outline) {
    // A wall on the other side of the line serves both rooms.
    const TEdgeLine line = LineOf(edge);
    bool otherSide = true;
    for (int i = 0; i < kSubCellsPerCell && otherSide; ++i) {
      const QPoint far = Along(line, line.Far, line.Start + i);
      otherSide = RunsAlong(far.x(), far.y(), line.FarSide);
    }
    if (otherSide) continue;
    PlaceWallEdge(fMap, wallStyle, edge.Col, edge.Row, edge.Edge);
  }
}

// ---------------------------------------------------------------------------
// Doors

TEdgeSpot TMapBuilder::DoorSide(const TEdgeSpot& edge) const {
  const TEdgeLine line = LineOf(edge);
  for (int i = 0; i < kSubCellsPerCell; ++i) {
    const QPoint near = Along(line, line.Near, line.Start + i);
    if (RunsAlong(near.x(), near.y(), line.NearSide)) return edge;
  }
  return IsWalled(edge) ? OtherSide(edge) : edge;
}

quint8 TMapBuilder::DoorOrientation(TCellEdge edge) {
  return quint8(EdgeIndex(edge));
}

QRect TMapBuilder::DoorSubCells(const TTileGroup& door, const TEdgeSpot& edge) {
  const QSize footprint = Footprint(door, DoorOrientation(edge.Edge));
  const QSize size(CellToSubCell(footprint.width()), CellToSubCell(footprint.height()));
  const TEdgeLine line = LineOf(edge);
  // The middle of the edge, in sub-cells.
  const int across = line.Near + (line.NearSide == 0 || line.NearSide == 3 ? 0 : 1);
  const int along = line.Start + kSubCellsPerCell / 2;
  const QPoint middle = Along(line, across, along);
  return QRect(middle - QPoint(size.width() / 2, size.height() / 2), size);
}

void TMapBuilder::CutWall(const TEdgeSpot& edge, int from, int to) {
  const TEdgeLine line = LineOf(edge);
  for (int along = from; along < to; ++along)
    for (const auto& [across, side] :
         {std::pair(line.Near, line.NearSide), std::pair(line.Far, line.FarSide)}) {
      const QPoint at = Along(line, across, along);
      int n = 0;
      int q = 0;
      const TTileGroup* style = nullptr;
      if (!WallPieceAt(at.x(), at.y(), &n, &q, &style) || !WallPieceRunsAlong(n, q, side)) continue;
      fMap.RemoveTile(mlWall, at.x(), at.y());
      // A corner keeps the wall of its other side.
      for (int other = 0; other < 4; ++other) {
        if (other == side || !WallPieceRunsAlong(n, q, other)) continue;
        if (const TTile* straight = style->TileAt(4 + other, 0, 0))
          fMap.PlaceTile(mlWall, at.x(), at.y(), straight->SubTileFor(q, 0), 0);
      }
    }
}

void TMapBuilder::PlaceDoor(const TTileGroup& door, const TEdgeSpot& edge) {
  const TEdgeSpot spot = DoorSide(edge);
  const quint8 orientation = DoorOrientation(spot.Edge);
  const QRect area = DoorSubCells(door, spot);
  const TUndoStep step(fMap);
  const TEdgeLine line = LineOf(spot);
  if (line.Horizontal)
    CutWall(spot, area.left(), area.right() + 1);
  else
    CutWall(spot, area.top(), area.bottom() + 1);
  const QSize footprint = Footprint(door, orientation);
  for (int b = 0; b < footprint.height(); ++b)
    for (int a = 0; a < footprint.width(); ++a) {
      int ta = a;
      int tb = b;
      if (door.PlaceType() == ptRandom) {
        if (door.PatWidth() <= 0 || door.PatHeight() <= 0) return;
        ta = RandomBelow(fRandom, door.PatWidth());
        tb = RandomBelow(fRandom, door.PatHeight());
      }
      PlaceGroupTile(fMap, door, area.left() + CellToSubCell(a), area.top() + CellToSubCell(b), ta,
                     tb, orientation);
    }
}

// ---------------------------------------------------------------------------
// Fill

std::vector<QPoint> TMapBuilder::FillRegion(int c, int r, int limit) const {
  std::vector<QPoint> region;
  const int cols = Cols();
  const int rows = Rows();
  if (c < 0 || r < 0 || c >= cols || r >= rows) return region;
  std::vector<char> seen(size_t(cols) * size_t(rows), false);
  std::deque<QPoint> queue{QPoint(c, r)};
  seen[size_t(r) * size_t(cols) + size_t(c)] = 1;
  while (!queue.empty() && int(region.size()) <= limit) {
    const QPoint cell = queue.front();
    queue.pop_front();
    region.push_back(cell);
    for (const TCellEdge edge :
         {TCellEdge::Top, TCellEdge::Right, TCellEdge::Bottom, TCellEdge::Left}) {
      const TEdgeSpot spot{cell.x(), cell.y(), edge};
      const TEdgeSpot next = OtherSide(spot);
      if (next.Col < 0 || next.Row < 0 || next.Col >= cols || next.Row >= rows) continue;
      char& visited = seen[size_t(next.Row) * size_t(cols) + size_t(next.Col)];
      if (visited || IsWalled(spot) || HasDoor(spot)) continue;
      visited = 1;
      queue.emplace_back(next.Col, next.Row);
    }
  }
  return region;
}

void TMapBuilder::FillFloor(const std::vector<QPoint>& region, const TTileGroup& floor,
                            quint8 orientation) {
  const TUndoStep step(fMap);
  PlaceFloor(floor, orientation, region);
}
