#pragma once

#include "editor/MapBuilder.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <vector>

class TTileGroup;
class TTileMap;
class TTileSet;
class TTilesetList;

// What a dungeon is to be: its size in cells, how many rooms, how wide the
// corridors run, the seed of its random choices, and the extras.
struct TDungeonOptions {
  static constexpr int kMinSide = 5;
  static constexpr int kMaxRooms = 200;

  int Cols = 40;
  int Rows = 40;
  int Rooms = 8;
  int CorridorWidth = 1;  // 1 or 2
  quint32 Seed = 1;
  bool Furnish = false;  // a few objects inside the rooms
  bool Loops = false;    // a corridor or two more than a tree needs
};

// The tiles a dungeon is built from. Floor and WallStyle are needed; the
// corridors take Floor when CorridorFloor is none, and entrances stay open
// when Door is none. Furnishing draws from Furniture.
struct TDungeonTiles {
  const TTileGroup* Floor = nullptr;
  const TTileGroup* CorridorFloor = nullptr;
  const TTileGroup* WallStyle = nullptr;
  const TTileGroup* Door = nullptr;
  std::vector<const TTileGroup*> Furniture;
};

// The layout of a dungeon in cells, before any tile is laid: which cells
// are rooms and which corridors, and the edges where a corridor enters a
// room.
struct TDungeonPlan {
  // The step to the neighbour across each edge, in TCellEdge order.
  static constexpr int kStepCol[4] = {0, 1, 0, -1};
  static constexpr int kStepRow[4] = {-1, 0, 1, 0};

  int Cols = 0;
  int Rows = 0;
  int RoomsRequested = 0;
  // Per cell, row by row: the room it belongs to, or -1.
  std::vector<int> RoomOf;
  // Per cell, row by row: whether it is a corridor.
  std::vector<char> Corridor;
  // The cells of each room, row by row.
  std::vector<std::vector<QPoint>> Rooms;
  // The room cell's edge of each entrance.
  std::vector<TEdgeSpot> Doors;

  int RoomsPlaced() const { return int(Rooms.size()); }
  bool InMap(int c, int r) const { return c >= 0 && r >= 0 && c < Cols && r < Rows; }
  int RoomAt(int c, int r) const { return InMap(c, r) ? RoomOf[size_t(Index(c, r))] : -1; }
  bool IsCorridor(int c, int r) const { return InMap(c, r) && Corridor[size_t(Index(c, r))]; }
  bool IsFloor(int c, int r) const { return RoomAt(c, r) >= 0 || IsCorridor(c, r); }
  int Index(int c, int r) const { return r * Cols + c; }
};

// Lays out a dungeon: rooms of varied sizes and shapes placed apart,
// joined into one network by corridors, with an entrance wherever a
// corridor reaches a room. The same options give the same plan. Fewer rooms
// than asked are placed only when no more fit. Sizes outside
// kMinSide..the map's largest raise TError.
TDungeonPlan PlanDungeon(const TDungeonOptions& options);

// What a generation made, and, when fewer rooms fit than were asked for,
// the words that say so (empty otherwise).
struct TDungeonReport {
  int RoomsRequested = 0;
  int RoomsPlaced = 0;
  QString Shortfall;
};

// Builds a planned dungeon on the map as one undo step, through the
// placement and wall operations the editor uses: the map takes the plan's
// size, floors are laid by their groups' rules, walls run along every edge
// between floor and anything else, doors are cut into them, and the rooms
// are furnished when asked. What the map held before is replaced. Raises
// TError when the tiles do not suit (CheckDungeonTiles).
TDungeonReport BuildDungeon(TTileMap& map, const TDungeonPlan& plan, const TDungeonOptions& options,
                            const TDungeonTiles& tiles);

// PlanDungeon, then BuildDungeon.
TDungeonReport GenerateDungeon(TTileMap& map, const TDungeonOptions& options,
                               const TDungeonTiles& tiles);

// Raises TError naming what does not suit: a missing floor or wall style,
// a floor that is not a floor group, a wall style that is not one, a door
// that is not an object group, furniture that is a floor.
void CheckDungeonTiles(const TDungeonTiles& tiles);

// Whether a group is a door: an object group of category "Doors" (any
// case).
bool IsDoorGroup(const TTileGroup& group);

// The groups of a tileset that furnish a room: object groups that are
// neither doors nor wall styles, laid whole (Fixed or Pattern), no larger
// than 2 x 2 cells.
std::vector<const TTileGroup*> FurnitureGroups(const TTileSet& tileset);

// The tiles of a dungeon by name, as the tool and the dialog give them:
// a tileset (its name as the tileset box shows it), its groups, and a wall
// style (its name as the wall palette shows it). An empty corridor floor
// means the rooms' floor; an empty door leaves the doorways open.
struct TDungeonTileNames {
  QString Tileset = QStringLiteral("ExampleTileset");
  QString Floor = QStringLiteral("Flagstones");
  QString CorridorFloor;
  QString WallStyle = QStringLiteral("Stone");
  QString Door = QStringLiteral("Door, Closed");
};

// Finds the named tiles among the installed tilesets, loading the tileset
// when needed; the furniture is the tileset's FurnitureGroups. Raises
// TError naming what is missing or does not suit. The groups belong to the
// list and live as long as it keeps the tilesets loaded.
TDungeonTiles FindDungeonTiles(const TTilesetList& tilesets, const TDungeonTileNames& names);
