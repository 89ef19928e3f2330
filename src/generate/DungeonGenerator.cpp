// Builds a planned dungeon on a map through the editor's own operations:
// floors by their groups' placement rules, walls by the wall rules, doors
// cut in as the door tool cuts them.
#include "DungeonGenerator.h"

#include "base/Error.h"
#include "editor/WallRules.h"
#include "map/TileMapObjects.h"
#include "map/TileMapObjectsUndoU.h"
#include "tiles/SubTileIndex.h"

#include <algorithm>
#include <random>

namespace {

constexpr auto& kStepCol = TDungeonPlan::kStepCol;
constexpr auto& kStepRow = TDungeonPlan::kStepRow;

// The layout's draws and the tiles' draws come from separate sources, so a
// change of tiles never moves a room.
constexpr quint32 kTileSeedSalt = 0x9e3779b9u;

void ClearMap(TTileMap& map) {
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x)
        if (map.GetTile(layer, x, y)) map.RemoveTile(layer, x, y);
}

// Walls along every edge between floor and anything else. A room walls its
// own side of each edge it shares with a corridor; a corridor walls its
// side towards rock and the map's edge. So every boundary has one line.
// Doorways left open get no wall at all.
void BuildWalls(TTileMap& map, const TDungeonPlan& plan, const TTileGroup& style,
                bool openDoorways) {
  std::vector<quint8> open(size_t(plan.Cols) * size_t(plan.Rows), 0);
  if (openDoorways)
    for (const TEdgeSpot& door : plan.Doors)
      open[size_t(plan.Index(door.Col, door.Row))] |= quint8(1u << EdgeIndex(door.Edge));
  for (int room = 0; room < plan.RoomsPlaced(); ++room)
    for (const QPoint& cell : plan.Rooms[size_t(room)])
      for (int d = 0; d < 4; ++d)
        if (plan.RoomAt(cell.x() + kStepCol[d], cell.y() + kStepRow[d]) != room &&
            !((open[size_t(plan.Index(cell.x(), cell.y()))] >> d) & 1u))
          PlaceWallEdge(map, style, cell.x(), cell.y(), static_cast<TCellEdge>(d));
  for (int r = 0; r < plan.Rows; ++r)
    for (int c = 0; c < plan.Cols; ++c) {
      if (!plan.IsCorridor(c, r)) continue;
      for (int d = 0; d < 4; ++d)
        if (!plan.IsFloor(c + kStepCol[d], r + kStepRow[d]))
          PlaceWallEdge(map, style, c, r, static_cast<TCellEdge>(d));
    }
}

// A few objects in each room, mostly against its walls, never on the
// square inside a door nor on a square next to it, and apart from each
// other.
void Furnish(TTileMap& map, const TDungeonPlan& plan, const std::vector<const TTileGroup*>& groups,
             std::mt19937& random) {
  if (groups.empty()) return;
  std::vector<char> taken(size_t(plan.Cols) * size_t(plan.Rows), 0);
  auto take = [&](int c, int r) {
    if (plan.InMap(c, r)) taken[size_t(plan.Index(c, r))] = 1;
  };
  for (const TEdgeSpot& door : plan.Doors) {
    for (const TEdgeSpot& side : {door, TMapBuilder::OtherSide(door)}) {
      take(side.Col, side.Row);
      for (int d = 0; d < 4; ++d)
        take(side.Col + kStepCol[d], side.Row + kStepRow[d]);
    }
  }
  for (int room = 0; room < plan.RoomsPlaced(); ++room) {
    const std::vector<QPoint>& cells = plan.Rooms[size_t(room)];
    const int area = int(cells.size());
    int count = std::min(3, area / 14);
    if (count == 0 && area >= 9 && RandomBelow(random, 2) == 0) count = 1;
    for (int n = 0; n < count; ++n) {
      const TTileGroup& group = *groups[size_t(RandomBelow(random, int(groups.size())))];
      const int w = group.PatWidth();
      const int h = group.PatHeight();
      std::vector<QPoint> free;
      std::vector<QPoint> againstWall;
      for (const QPoint& at : cells) {
        bool fits = true;
        bool wall = false;
        for (int b = 0; b < h && fits; ++b)
          for (int a = 0; a < w && fits; ++a) {
            const int c = at.x() + a;
            const int r = at.y() + b;
            fits = plan.RoomAt(c, r) == room && !taken[size_t(plan.Index(c, r))];
            for (int d = 0; d < 4 && fits; ++d)
              wall = wall || plan.RoomAt(c + kStepCol[d], r + kStepRow[d]) != room;
          }
        if (!fits) continue;
        free.push_back(at);
        if (wall) againstWall.push_back(at);
      }
      const std::vector<QPoint>& choice =
          !againstWall.empty() && RandomBelow(random, 4) != 0 ? againstWall : free;
      if (choice.empty()) continue;
      const QPoint at = choice[size_t(RandomBelow(random, int(choice.size())))];
      for (int b = 0; b < h; ++b)
        for (int a = 0; a < w; ++a)
          PlaceGroupTile(map, group, CellToSubCell(at.x() + a), CellToSubCell(at.y() + b), a, b, 0);
      // The squares round an object stay free, so objects never touch.
      for (int r = at.y() - 1; r <= at.y() + h; ++r)
        for (int c = at.x() - 1; c <= at.x() + w; ++c)
          take(c, r);
    }
  }
}

}  // namespace

TDungeonReport BuildDungeon(TTileMap& map, const TDungeonPlan& plan, const TDungeonOptions& options,
                            const TDungeonTiles& tiles) {
  CheckDungeonTiles(tiles);
  std::mt19937 random(options.Seed ^ kTileSeedSalt);
  TSubTileIndex walls;
  walls.AddGroup(*tiles.WallStyle);
  TSubTileIndex doors;
  if (tiles.Door) doors.AddGroup(*tiles.Door);
  {
    const TUndoStep step(map);
    ClearMap(map);
    map.SetWidth(CellToSubCell(plan.Cols));
    map.SetHeight(CellToSubCell(plan.Rows));
    TMapBuilder builder(map, walls, doors, random);
    for (const std::vector<QPoint>& room : plan.Rooms)
      builder.PlaceFloor(*tiles.Floor, 0, room);
    std::vector<QPoint> corridor;
    for (int r = 0; r < plan.Rows; ++r)
      for (int c = 0; c < plan.Cols; ++c)
        if (plan.IsCorridor(c, r)) corridor.emplace_back(c, r);
    builder.PlaceFloor(tiles.CorridorFloor ? *tiles.CorridorFloor : *tiles.Floor, 0, corridor);
    BuildWalls(map, plan, *tiles.WallStyle, !tiles.Door);
    if (tiles.Door)
      for (const TEdgeSpot& door : plan.Doors)
        builder.PlaceDoor(*tiles.Door, door);
    if (options.Furnish) Furnish(map, plan, tiles.Furniture, random);
  }

  TDungeonReport report;
  report.RoomsRequested = plan.RoomsRequested;
  report.RoomsPlaced = plan.RoomsPlaced();
  if (report.RoomsPlaced < report.RoomsRequested)
    report.Shortfall = QStringLiteral("Only %1 of the %2 rooms asked for fit in %3 × %4 squares.")
                           .arg(report.RoomsPlaced)
                           .arg(report.RoomsRequested)
                           .arg(plan.Cols)
                           .arg(plan.Rows);
  return report;
}

TDungeonReport GenerateDungeon(TTileMap& map, const TDungeonOptions& options,
                               const TDungeonTiles& tiles) {
  // The tiles are checked before the layout is worked out.
  CheckDungeonTiles(tiles);
  return BuildDungeon(map, PlanDungeon(options), options, tiles);
}
