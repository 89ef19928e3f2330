// Lays out a dungeon in cells: rooms first, then the corridors that join
// them, found as cheapest paths over the free cells.
#include "DungeonGenerator.h"

#include "base/Error.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <queue>
#include <random>

namespace {

constexpr auto& kStepCol = TDungeonPlan::kStepCol;
constexpr auto& kStepRow = TDungeonPlan::kStepRow;

// Rooms keep a cell free at the map's edge, so corridors can pass round
// them there.
constexpr int kMargin = 1;
constexpr int kMinRoomSide = 3;
// Random tries at a room's drawn size before smaller rooms are tried.
constexpr int kTriesPerRoom = 80;

TCellEdge EdgeOf(int direction) {
  return static_cast<TCellEdge>(direction);
}

double Uniform(std::mt19937& random, double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(random);
}

int Between(std::mt19937& random, int low, int high) {
  return low + RandomBelow(random, high - low + 1);
}

// Where a corridor may start or end next to a room: the top-left cell of
// the square of width x width cells it occupies there, and the room's edges
// it opens (one per cell of the corridor's width).
struct TEntrance {
  QPoint Block;
  int Room = -1;
  std::vector<TEdgeSpot> Doors;
};

class TPlanner {
 public:
  explicit TPlanner(const TDungeonOptions& options) : fOptions(options) {}

  TDungeonPlan Run();

 private:
  // --- Rooms ---
  // Places as many of the requested rooms as fit, at a scale of the drawn
  // sizes and at least spacing cells apart; returns the plan's room count.
  int PlaceRooms(double scale, int spacing, std::mt19937& random);
  std::vector<QPoint> DrawShape(int width, int height, std::mt19937& random) const;
  bool Fits(const std::vector<QPoint>& shape, int col, int row) const;
  void AddRoom(const std::vector<QPoint>& shape, int col, int row, int spacing);
  bool PlaceAnywhere(const std::vector<QPoint>& shape, int spacing, std::mt19937& random);
  void RemoveRoom(int room);

  // --- Corridors ---
  std::vector<TEntrance> Entrances(int room, int width) const;
  bool BlockFree(int col, int row, int width) const;
  bool BlockTouchesCorridor(int col, int row, int width) const;
  bool BlockNearRoom(int col, int row, int width) const;
  // Digs a corridor from one of the room's entrances to the nearest target,
  // as the cheapest path; false when none can be reached.
  bool Dig(int room, int width, const std::function<const TEntrance*(QPoint)>& target,
           double corridorCost);
  bool Connect(int room, const std::vector<char>& connected);
  void AddLoops();
  // The number of cells walked from the room to every cell.
  std::vector<int> WalkFrom(int room) const;
  void AddDoor(const TEdgeSpot& edge);
  bool HasDoor(int col, int row, int direction) const;
  bool HasAnyDoor(const QPoint& cell) const {
    return !fDoorEdges.empty() && fDoorEdges[size_t(fPlan.Index(cell.x(), cell.y()))] != 0;
  }

  const TDungeonOptions& fOptions;
  TDungeonPlan fPlan;
  // Per cell: within the spacing of a room, so no other room may take it.
  std::vector<char> fNearRoom;
  // Per cell: bit d set when a door lies across its edge d.
  std::vector<quint8> fDoorEdges;
  // Per cell: a small cost added to a corridor's every step over it, so
  // corridors bend where nothing else decides.
  std::vector<double> fNoise;
  std::mt19937 fRandom;
};

TDungeonPlan TPlanner::Run() {
  const int largest = SubCellToCell(kMaxMapExtent);
  if (fOptions.Cols < TDungeonOptions::kMinSide || fOptions.Rows < TDungeonOptions::kMinSide ||
      fOptions.Cols > largest || fOptions.Rows > largest)
    throw TError(QStringLiteral("A dungeon is %1 to %2 squares wide and high.")
                     .arg(TDungeonOptions::kMinSide)
                     .arg(largest));
  if (fOptions.Rooms < 1 || fOptions.Rooms > TDungeonOptions::kMaxRooms)
    throw TError(QStringLiteral("A dungeon has 1 to %1 rooms.").arg(TDungeonOptions::kMaxRooms));
  if (fOptions.CorridorWidth < 1 || fOptions.CorridorWidth > 2)
    throw TError(QStringLiteral("Corridors are 1 or 2 squares wide."));

  // Smaller rooms, then closer ones, are tried until all the requested
  // ones fit. Rooms keep more than a corridor's width apart where they
  // can, so a corridor passes between any two with rock on either side,
  // and never less than one cell, so no two rooms share a wall. Each try
  // starts from the seed, so the result depends on nothing else.
  const int wide = fOptions.CorridorWidth;
  const std::pair<double, int> tries[] = {{1.0, wide + 1}, {0.75, wide + 1}, {0.55, wide + 1},
                                          {0.55, wide},    {0.4, wide},      {0.0, wide},
                                          {0.0, 1}};
  int best = -1;
  size_t bestTry = 0;
  size_t lastTry = 0;
  for (size_t i = 0; i < std::size(tries); ++i) {
    fRandom.seed(fOptions.Seed);
    const int placed = PlaceRooms(tries[i].first, tries[i].second, fRandom);
    lastTry = i;
    if (placed > best) {
      best = placed;
      bestTry = i;
    }
    if (placed >= fOptions.Rooms) break;
  }
  if (bestTry != lastTry) {
    fRandom.seed(fOptions.Seed);
    PlaceRooms(tries[bestTry].first, tries[bestTry].second, fRandom);
  }

  const size_t cells = size_t(fPlan.Cols) * size_t(fPlan.Rows);
  fPlan.Corridor.assign(cells, 0);
  fDoorEdges.assign(cells, 0);
  fNoise.resize(cells);
  for (double& noise : fNoise)
    noise = Uniform(fRandom, 0, 0.6);

  // Joined in the order of a spanning tree over the rooms' centres: each
  // room not yet reached is the one nearest to those already joined.
  const int rooms = fPlan.RoomsPlaced();
  std::vector<QPointF> centres;
  for (const std::vector<QPoint>& room : fPlan.Rooms) {
    QPointF sum;
    for (const QPoint& cell : room)
      sum += QPointF(cell);
    centres.push_back(sum / double(room.size()));
  }
  std::vector<char> connected(size_t(rooms), 0);
  std::vector<char> failed(size_t(rooms), 0);
  if (rooms > 0) connected[0] = 1;
  for (int joined = 1; joined < rooms; ++joined) {
    int next = -1;
    double nearest = 0;
    for (int a = 0; a < rooms; ++a) {
      if (connected[size_t(a)] || failed[size_t(a)]) continue;
      for (int b = 0; b < rooms; ++b) {
        if (!connected[size_t(b)]) continue;
        const QPointF d = centres[size_t(a)] - centres[size_t(b)];
        const double distance = std::hypot(d.x(), d.y());
        if (next < 0 || distance < nearest) {
          next = a;
          nearest = distance;
        }
      }
    }
    if (next < 0) break;
    if (Connect(next, connected))
      connected[size_t(next)] = 1;
    else
      failed[size_t(next)] = 1;
  }
  // A room no corridor reaches is no part of the dungeon.
  for (int room = rooms - 1; room >= 0; --room)
    if (failed[size_t(room)]) RemoveRoom(room);

  if (fOptions.Loops) AddLoops();
  return std::move(fPlan);
}

// ---------------------------------------------------------------------------
// Rooms

int TPlanner::PlaceRooms(double scale, int spacing, std::mt19937& random) {
  fPlan = TDungeonPlan();
  fPlan.Cols = fOptions.Cols;
  fPlan.Rows = fOptions.Rows;
  fPlan.RoomsRequested = fOptions.Rooms;
  const size_t cells = size_t(fPlan.Cols) * size_t(fPlan.Rows);
  fPlan.RoomOf.assign(cells, -1);
  fNearRoom.assign(cells, 0);

  // About three tenths of the map are rooms, leaving room for corridors;
  // each room's size varies about the mean by up to a factor of two either
  // way.
  const double usable = double(fPlan.Cols - 2 * kMargin) * double(fPlan.Rows - 2 * kMargin);
  const double meanArea = std::max(9.0, 0.3 * usable / fOptions.Rooms) * scale;
  const int maxWidth = std::max(kMinRoomSide, std::min(fPlan.Cols - 2 * kMargin, 24));
  const int maxHeight = std::max(kMinRoomSide, std::min(fPlan.Rows - 2 * kMargin, 24));
  for (int n = 0; n < fOptions.Rooms; ++n) {
    bool placed = false;
    if (scale > 0) {
      const double area = meanArea * std::exp(Uniform(random, -0.7, 0.7));
      const double aspect = std::exp(Uniform(random, -0.45, 0.45));
      const int width =
          std::clamp(int(std::lround(std::sqrt(area * aspect))), kMinRoomSide, maxWidth);
      const int height = std::clamp(int(std::lround(area / width)), kMinRoomSide, maxHeight);
      const std::vector<QPoint> shape = DrawShape(width, height, random);
      int right = 0;
      int bottom = 0;
      for (const QPoint& cell : shape) {
        right = std::max(right, cell.x());
        bottom = std::max(bottom, cell.y());
      }
      const int spanCols = fPlan.Cols - 2 * kMargin - right;
      const int spanRows = fPlan.Rows - 2 * kMargin - bottom;
      for (int attempt = 0; attempt < kTriesPerRoom && !placed && spanCols > 0 && spanRows > 0;
           ++attempt) {
        const int col = kMargin + RandomBelow(random, spanCols);
        const int row = kMargin + RandomBelow(random, spanRows);
        if (!Fits(shape, col, row)) continue;
        AddRoom(shape, col, row, spacing);
        placed = true;
      }
    }
    // The smallest room, wherever it still fits.
    if (!placed)
      placed = PlaceAnywhere(DrawShape(kMinRoomSide, kMinRoomSide, random), spacing, random);
    if (!placed) break;
  }
  return fPlan.RoomsPlaced();
}

std::vector<QPoint> TPlanner::DrawShape(int width, int height, std::mt19937& random) const {
  std::vector<QRect> parts{QRect(0, 0, width, height)};
  const int kind = RandomBelow(random, 20);
  if (kind < 6 && width >= 4 && height >= 4) {
    // Two rectangles overlapping by at least two cells each way: an L, a
    // T or a cross.
    const int w2 = Between(random, std::max(kMinRoomSide, width / 2), width);
    const int h2 = Between(random, std::max(kMinRoomSide, height / 2), height);
    const int dx = Between(random, -(w2 - 2), width - 2);
    const int dy = Between(random, -(h2 - 2), height - 2);
    parts.emplace_back(dx, dy, w2, h2);
  }
  std::vector<QPoint> cells;
  QRect bounds;
  for (const QRect& part : parts)
    bounds |= part;
  for (int r = bounds.top(); r <= bounds.bottom(); ++r)
    for (int c = bounds.left(); c <= bounds.right(); ++c) {
      bool inside = false;
      for (const QRect& part : parts)
        inside = inside || part.contains(c, r);
      if (inside) cells.emplace_back(c - bounds.left(), r - bounds.top());
    }
  if (kind >= 6 && kind < 9 && width >= 5 && height >= 5) {
    // Corners cut off in steps.
    const int cut = std::min(width, height) >= 8 ? 2 : 1;
    const int w = bounds.width() - 1;
    const int h = bounds.height() - 1;
    cells.erase(std::remove_if(cells.begin(), cells.end(),
                               [&](const QPoint& p) {
                                 const int x = std::min(p.x(), w - p.x());
                                 const int y = std::min(p.y(), h - p.y());
                                 return x + y < cut;
                               }),
                cells.end());
  }
  return cells;
}

bool TPlanner::Fits(const std::vector<QPoint>& shape, int col, int row) const {
  for (const QPoint& cell : shape) {
    const int c = col + cell.x();
    const int r = row + cell.y();
    if (c < kMargin || r < kMargin || c >= fPlan.Cols - kMargin || r >= fPlan.Rows - kMargin ||
        fNearRoom[size_t(fPlan.Index(c, r))])
      return false;
  }
  return true;
}

void TPlanner::AddRoom(const std::vector<QPoint>& shape, int col, int row, int spacing) {
  const int room = fPlan.RoomsPlaced();
  std::vector<QPoint> cells;
  for (const QPoint& cell : shape) {
    const int c = col + cell.x();
    const int r = row + cell.y();
    cells.emplace_back(c, r);
    fPlan.RoomOf[size_t(fPlan.Index(c, r))] = room;
    for (int dr = -spacing; dr <= spacing; ++dr)
      for (int dc = -spacing; dc <= spacing; ++dc)
        if (fPlan.InMap(c + dc, r + dr)) fNearRoom[size_t(fPlan.Index(c + dc, r + dr))] = 1;
  }
  fPlan.Rooms.push_back(std::move(cells));
}

bool TPlanner::PlaceAnywhere(const std::vector<QPoint>& shape, int spacing, std::mt19937& random) {
  // Every position, starting from a random one, so the rooms placed this
  // way do not all crowd into the top-left corner.
  const int cols = fPlan.Cols - 2 * kMargin - kMinRoomSide + 1;
  const int rows = fPlan.Rows - 2 * kMargin - kMinRoomSide + 1;
  if (cols <= 0 || rows <= 0) return false;
  const int count = cols * rows;
  const int start = RandomBelow(random, count);
  for (int i = 0; i < count; ++i) {
    const int at = (start + i) % count;
    const int col = kMargin + at % cols;
    const int row = kMargin + at / cols;
    if (!Fits(shape, col, row)) continue;
    AddRoom(shape, col, row, spacing);
    return true;
  }
  return false;
}

void TPlanner::RemoveRoom(int room) {
  for (const QPoint& cell : fPlan.Rooms[size_t(room)])
    fPlan.RoomOf[size_t(fPlan.Index(cell.x(), cell.y()))] = -1;
  fPlan.Rooms.erase(fPlan.Rooms.begin() + room);
  for (int& owner : fPlan.RoomOf)
    if (owner > room) --owner;
}

// ---------------------------------------------------------------------------
// Corridors

bool TPlanner::BlockFree(int col, int row, int width) const {
  for (int r = row; r < row + width; ++r)
    for (int c = col; c < col + width; ++c)
      if (!fPlan.InMap(c, r) || fPlan.RoomAt(c, r) >= 0) return false;
  return true;
}

bool TPlanner::BlockTouchesCorridor(int col, int row, int width) const {
  for (int r = row - 1; r <= row + width; ++r)
    for (int c = col - 1; c <= col + width; ++c) {
      const bool corner = (r == row - 1 || r == row + width) && (c == col - 1 || c == col + width);
      if (!corner && fPlan.IsCorridor(c, r)) return true;
    }
  return false;
}

bool TPlanner::BlockNearRoom(int col, int row, int width) const {
  for (int r = row - 1; r <= row + width; ++r)
    for (int c = col - 1; c <= col + width; ++c)
      if (fPlan.RoomAt(c, r) >= 0) return true;
  return false;
}

std::vector<TEntrance> TPlanner::Entrances(int room, int width) const {
  std::vector<TEntrance> entrances;
  for (const QPoint& cell : fPlan.Rooms[size_t(room)])
    for (int d = 0; d < 4; ++d) {
      // The corridor's cells along the room's side: right of the cell for
      // the top and bottom, below it for the left and right.
      const bool acrossRows = kStepRow[d] != 0;
      const QPoint along = acrossRows ? QPoint(1, 0) : QPoint(0, 1);
      TEntrance entrance;
      entrance.Room = room;
      bool open = true;
      for (int i = 0; i < width && open; ++i) {
        const QPoint inside = cell + along * i;
        const QPoint outside = inside + QPoint(kStepCol[d], kStepRow[d]);
        // A square holds one door at most: two would share a quarter.
        open = fPlan.RoomAt(inside.x(), inside.y()) == room &&
               fPlan.InMap(outside.x(), outside.y()) &&
               fPlan.RoomAt(outside.x(), outside.y()) < 0 && !HasAnyDoor(inside) &&
               !HasAnyDoor(outside);
        entrance.Doors.push_back({inside.x(), inside.y(), EdgeOf(d)});
      }
      if (!open) continue;
      const QPoint next = cell + QPoint(kStepCol[d], kStepRow[d]);
      // The block's top-left cell: the one next to the room, moved back
      // by the block's depth on the top and left sides.
      entrance.Block =
          QPoint(d == 3 ? cell.x() - width : next.x(), d == 0 ? cell.y() - width : next.y());
      if (!BlockFree(entrance.Block.x(), entrance.Block.y(), width)) continue;
      entrances.push_back(std::move(entrance));
    }
  return entrances;
}

bool TPlanner::Dig(int room, int width, const std::function<const TEntrance*(QPoint)>& target,
                   double corridorCost) {
  const int cols = fPlan.Cols - width + 1;
  const int rows = fPlan.Rows - width + 1;
  if (cols <= 0 || rows <= 0) return false;
  // A state is a block position and the direction it was entered in, so
  // that turns can cost more than straight runs.
  const size_t states = size_t(cols) * size_t(rows) * 4;
  std::vector<double> cost(states, std::numeric_limits<double>::infinity());
  std::vector<int> parent(states, -1);
  using TItem = std::pair<double, int>;
  std::priority_queue<TItem, std::vector<TItem>, std::greater<TItem>> queue;
  const std::vector<TEntrance> starts = Entrances(room, width);
  std::vector<int> startOf(states, -1);
  for (size_t i = 0; i < starts.size(); ++i) {
    const QPoint b = starts[i].Block;
    const int d = EdgeIndex(starts[i].Doors.front().Edge);
    const int state = ((b.y() * cols + b.x()) << 2) | d;
    if (cost[size_t(state)] == 0) continue;
    cost[size_t(state)] = 0;
    startOf[size_t(state)] = int(i);
    queue.emplace(0.0, state);
  }
  while (!queue.empty()) {
    const auto [here, state] = queue.top();
    queue.pop();
    if (here > cost[size_t(state)]) continue;
    const int block = state >> 2;
    const QPoint at(block % cols, block / cols);
    if (const TEntrance* end = target(at)) {
      // Walk back to the start, marking the corridor's cells.
      int first = state;
      for (int s = state; s >= 0; s = parent[size_t(s)]) {
        first = s;
        const QPoint b((s >> 2) % cols, (s >> 2) / cols);
        for (int r = b.y(); r < b.y() + width; ++r)
          for (int c = b.x(); c < b.x() + width; ++c)
            fPlan.Corridor[size_t(fPlan.Index(c, r))] = 1;
      }
      for (const TEdgeSpot& edge : starts[size_t(startOf[size_t(first)])].Doors)
        AddDoor(edge);
      if (end->Room >= 0)
        for (const TEdgeSpot& edge : end->Doors)
          AddDoor(edge);
      return true;
    }
    const int direction = state & 3;
    for (int d = 0; d < 4; ++d) {
      const QPoint next = at + QPoint(kStepCol[d], kStepRow[d]);
      if (next.x() < 0 || next.y() < 0 || next.x() >= cols || next.y() >= rows ||
          !BlockFree(next.x(), next.y(), width))
        continue;
      const size_t cell = size_t(fPlan.Index(next.x(), next.y()));
      double step = fPlan.Corridor[cell] ? corridorCost : 1.0 + fNoise[cell];
      if (d != direction) step += 2.0;
      // Corridors keep off the rooms' walls where they can.
      if (BlockNearRoom(next.x(), next.y(), width)) step += 0.75;
      const int to = ((next.y() * cols + next.x()) << 2) | d;
      if (here + step < cost[size_t(to)]) {
        cost[size_t(to)] = here + step;
        parent[size_t(to)] = state;
        queue.emplace(here + step, to);
      }
    }
  }
  return false;
}

bool TPlanner::Connect(int room, const std::vector<char>& connected) {
  // A corridor ends where it reaches the corridors already dug, or at the
  // entrance of a room already joined: the rooms stay a tree.
  for (const int width : {fOptions.CorridorWidth, 1}) {
    std::vector<const TEntrance*> byBlock(size_t(fPlan.Cols) * size_t(fPlan.Rows), nullptr);
    std::vector<TEntrance> ends;
    for (int other = 0; other < fPlan.RoomsPlaced(); ++other)
      if (connected[size_t(other)])
        for (TEntrance& entrance : Entrances(other, width))
          ends.push_back(std::move(entrance));
    for (const TEntrance& end : ends)
      byBlock[size_t(fPlan.Index(end.Block.x(), end.Block.y()))] = &end;
    const TEntrance merge;
    auto target = [&](QPoint block) -> const TEntrance* {
      if (BlockTouchesCorridor(block.x(), block.y(), width)) return &merge;
      return byBlock[size_t(fPlan.Index(block.x(), block.y()))];
    };
    if (Dig(room, width, target, 1.0)) return true;
  }
  return false;
}

std::vector<int> TPlanner::WalkFrom(int room) const {
  std::vector<int> steps(size_t(fPlan.Cols) * size_t(fPlan.Rows), -1);
  std::deque<QPoint> queue;
  for (const QPoint& cell : fPlan.Rooms[size_t(room)]) {
    steps[size_t(fPlan.Index(cell.x(), cell.y()))] = 0;
    queue.push_back(cell);
  }
  while (!queue.empty()) {
    const QPoint cell = queue.front();
    queue.pop_front();
    const int here = steps[size_t(fPlan.Index(cell.x(), cell.y()))];
    const int owner = fPlan.RoomAt(cell.x(), cell.y());
    for (int d = 0; d < 4; ++d) {
      const int c = cell.x() + kStepCol[d];
      const int r = cell.y() + kStepRow[d];
      if (!fPlan.IsFloor(c, r) || steps[size_t(fPlan.Index(c, r))] >= 0) continue;
      const int other = fPlan.RoomAt(c, r);
      const bool open = (owner >= 0 && owner == other) || (owner < 0 && other < 0) ||
                        HasDoor(cell.x(), cell.y(), d);
      if (!open) continue;
      steps[size_t(fPlan.Index(c, r))] = here + 1;
      queue.emplace_back(c, r);
    }
  }
  return steps;
}

void TPlanner::AddLoops() {
  const int rooms = fPlan.RoomsPlaced();
  if (rooms < 3) return;
  const int loops = rooms >= 8 ? 2 : 1;
  std::vector<char> joined(size_t(rooms * rooms), 0);
  for (int loop = 0; loop < loops; ++loop) {
    // The pair of rooms that are near each other but far apart on foot.
    int bestA = -1;
    int bestB = -1;
    double bestGain = 0;
    for (int a = 0; a < rooms; ++a) {
      const std::vector<int> steps = WalkFrom(a);
      for (int b = a + 1; b < rooms; ++b) {
        if (joined[size_t(a * rooms + b)]) continue;
        int walk = -1;
        for (const QPoint& cell : fPlan.Rooms[size_t(b)]) {
          const int s = steps[size_t(fPlan.Index(cell.x(), cell.y()))];
          if (s >= 0 && (walk < 0 || s < walk)) walk = s;
        }
        int gap = -1;
        for (const QPoint& p : fPlan.Rooms[size_t(a)])
          for (const QPoint& q : fPlan.Rooms[size_t(b)]) {
            const int d = std::abs(p.x() - q.x()) + std::abs(p.y() - q.y());
            if (gap < 0 || d < gap) gap = d;
          }
        if (walk < 0 || gap > 16) continue;
        const double gain = double(walk) / double(gap + 2);
        if (gain > bestGain && walk >= gap + 10) {
          bestGain = gain;
          bestA = a;
          bestB = b;
        }
      }
    }
    if (bestA < 0) return;
    joined[size_t(bestA * rooms + bestB)] = 1;
    for (const int width : {fOptions.CorridorWidth, 1}) {
      std::vector<TEntrance> ends = Entrances(bestB, width);
      std::vector<const TEntrance*> byBlock(size_t(fPlan.Cols) * size_t(fPlan.Rows), nullptr);
      for (const TEntrance& end : ends)
        byBlock[size_t(fPlan.Index(end.Block.x(), end.Block.y()))] = &end;
      auto target = [&](QPoint block) {
        return byBlock[size_t(fPlan.Index(block.x(), block.y()))];
      };
      // Digging through the corridors there costs more than new rock: the
      // loop should be a way of its own.
      if (Dig(bestA, width, target, 3.0)) break;
    }
  }
}

void TPlanner::AddDoor(const TEdgeSpot& edge) {
  const int d = EdgeIndex(edge.Edge);
  if (HasDoor(edge.Col, edge.Row, d)) return;
  fPlan.Doors.push_back(edge);
  fDoorEdges[size_t(fPlan.Index(edge.Col, edge.Row))] |= quint8(1u << d);
  const TEdgeSpot other = TMapBuilder::OtherSide(edge);
  fDoorEdges[size_t(fPlan.Index(other.Col, other.Row))] |= quint8(1u << EdgeIndex(other.Edge));
}

bool TPlanner::HasDoor(int col, int row, int direction) const {
  return fPlan.InMap(col, row) && (fDoorEdges[size_t(fPlan.Index(col, row))] >> direction) & 1u;
}

}  // namespace

TDungeonPlan PlanDungeon(const TDungeonOptions& options) {
  return TPlanner(options).Run();
}
