// Dungeons generated over many seeds at three sizes with the supplied
// tilesets, checked through the map model (walls, doors and floors as the
// editor knows them again) and through the Universal VTT export.
#include "base/Error.h"
#include "editor/MapBuilder.h"
#include "export/VttGeometry.h"
#include "generate/DungeonGenerator.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "tiles/SubTileIndex.h"
#include "tiles/TileObjects.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStrip.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <set>
#include <tuple>

namespace {

constexpr TCellEdge kEdges[4] = {TCellEdge::Top, TCellEdge::Right, TCellEdge::Bottom,
                                 TCellEdge::Left};

class DungeonTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    sTilesetDir = new QTemporaryDir;
    TilesetList().LoadInstalled(sTilesetDir->path());
  }
  static void TearDownTestSuite() {
    TilesetList().Clear();
    delete sTilesetDir;
  }
  void SetUp() override {
    tiles = FindDungeonTiles(TilesetList(), TDungeonTileNames());
    walls.AddGroup(*tiles.WallStyle);
    doors.AddGroup(*tiles.Door);
  }

  // The options a seed stands for: every third seed has wide corridors,
  // every other one furniture, half of them loops.
  static TDungeonOptions Options(int cols, int rows, int seed) {
    TDungeonOptions options;
    options.Cols = cols;
    options.Rows = rows;
    options.Seed = quint32(seed);
    options.CorridorWidth = seed % 3 == 0 ? 2 : 1;
    options.Furnish = seed % 2 == 0;
    options.Loops = seed % 4 < 2;
    return options;
  }

  static bool IsFloor(const TTileMap& map, int c, int r) {
    return c >= 0 && r >= 0 && c < SubCellToCell(map.Width()) && r < SubCellToCell(map.Height()) &&
           map.GetTile(mlBase, CellToSubCell(c), CellToSubCell(r));
  }

  // Whether known wall pieces run along the edge's line on both of its
  // sides at once: two walls side by side.
  bool WalledOnBothSides(const TTileMap& map, const TEdgeSpot& edge) const {
    const bool vertical = edge.Edge == TCellEdge::Left;
    const int x = CellToSubCell(edge.Col);
    const int y = CellToSubCell(edge.Row);
    auto runs = [&](int sx, int sy, int side) {
      const TMapTile* placed = map.GetTile(mlWall, sx, sy);
      const TSubTileSource* source = placed ? walls.Find(placed->SubTile()->Guid()) : nullptr;
      return source && WallPieceRunsAlong(source->Tile->X(), source->Quadrant, side);
    };
    for (int i = 0; i < kSubCellsPerCell; ++i) {
      const bool near = vertical ? runs(x, y + i, 3) : runs(x + i, y, 0);
      const bool far = vertical ? runs(x - 1, y + i, 1) : runs(x + i, y - 1, 2);
      if (near && far) return true;
    }
    return false;
  }

  // Every promise a generated dungeon keeps, checked on the map; the
  // failures name the cell and the promise.
  std::vector<std::string> BrokenPromises(TTileMap& map, const TDungeonPlan& plan) const {
    std::vector<std::string> broken;
    auto fail = [&](const char* what, int c, int r) {
      broken.push_back(std::string(what) + " at " + std::to_string(c) + "," + std::to_string(r));
    };
    std::mt19937 unused;
    const TMapBuilder builder(map, walls, doors, unused);
    const int cols = builder.Cols();
    const int rows = builder.Rows();
    int floors = 0;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        const bool floor = IsFloor(map, c, r);
        if (floor != plan.IsFloor(c, r))
          fail("floor laid where the plan has none or none laid", c, r);
        floors += floor;
        for (const TCellEdge edge : kEdges) {
          const TEdgeSpot spot{c, r, edge};
          const TEdgeSpot other = TMapBuilder::OtherSide(spot);
          const bool otherFloor = IsFloor(map, other.Col, other.Row);
          if (floor && !otherFloor && builder.WalledHalves(spot) != kSubCellsPerCell)
            fail("floor open to rock or the map's edge", c, r);
          if (edge != TCellEdge::Top && edge != TCellEdge::Left) continue;
          if (WalledOnBothSides(map, spot)) fail("two walls side by side", c, r);
        }
      }
    // Each planned doorway holds a door, cut into its wall between two
    // floor cells, and the map holds no other door.
    for (const TEdgeSpot& door : plan.Doors) {
      const TEdgeSpot other = TMapBuilder::OtherSide(door);
      if (!builder.HasDoor(door)) fail("a doorway without its door", door.Col, door.Row);
      if (builder.IsWalled(door)) fail("a door whose wall was not cut", door.Col, door.Row);
      if (!IsFloor(map, door.Col, door.Row) || !IsFloor(map, other.Col, other.Row))
        fail("a door not between two floor cells", door.Col, door.Row);
    }
    size_t doorPieces = 0;
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x) {
        const TMapTile* placed = map.GetTile(mlOverlay, x, y);
        doorPieces += placed && doors.Find(placed->SubTile()->Guid());
      }
    if (doorPieces != plan.Doors.size() * kSubCellsPerCell * kSubCellsPerCell)
      broken.push_back("doors placed besides the plan's");

    // Nothing but the door on either square of a doorway.
    for (const TEdgeSpot& door : plan.Doors)
      for (const TEdgeSpot& side : {door, TMapBuilder::OtherSide(door)})
        for (int i = 0; i < kSubCellsPerCell * kSubCellsPerCell; ++i) {
          const TMapTile* placed = map.GetTile(mlOverlay, CellToSubCell(side.Col) + i % 2,
                                               CellToSubCell(side.Row) + i / 2);
          if (placed && !doors.Find(placed->SubTile()->Guid()))
            fail("an object on a doorway", side.Col, side.Row);
        }

    // Every floor cell reached from the first, through open edges and doors.
    std::vector<char> seen(size_t(cols) * size_t(rows), 0);
    std::deque<QPoint> queue;
    for (int i = 0; i < cols * rows && queue.empty(); ++i)
      if (IsFloor(map, i % cols, i / cols)) {
        queue.emplace_back(i % cols, i / cols);
        seen[size_t(i)] = 1;
      }
    int reached = 0;
    while (!queue.empty()) {
      const QPoint cell = queue.front();
      queue.pop_front();
      ++reached;
      for (const TCellEdge edge : kEdges) {
        const TEdgeSpot spot{cell.x(), cell.y(), edge};
        const TEdgeSpot next = TMapBuilder::OtherSide(spot);
        if (!IsFloor(map, next.Col, next.Row) || seen[size_t(next.Row * cols + next.Col)]) continue;
        if (builder.IsWalled(spot) && !builder.HasDoor(spot)) continue;
        seen[size_t(next.Row * cols + next.Col)] = 1;
        queue.emplace_back(next.Col, next.Row);
      }
    }
    if (reached != floors)
      broken.push_back(std::to_string(floors - reached) + " floor cells cannot be reached");
    return broken;
  }

  static inline QTemporaryDir* sTilesetDir = nullptr;
  TDungeonTiles tiles;
  TSubTileIndex walls;
  TSubTileIndex doors;
};

// Two hundred seeds at each of three sizes, with every mix of corridor
// width, furniture and loops: each dungeon keeps every promise, has the
// rooms asked for, and looks like a place rather than a lattice.
TEST_F(DungeonTest, EverySeedGivesAWalledConnectedDungeonOfVariedRooms) {
  int varied = 0;
  int shaped = 0;
  int dungeons = 0;
  for (const auto& [cols, rows] : {std::pair(20, 20), std::pair(40, 40), std::pair(60, 30)})
    for (int seed = 1; seed <= 200; ++seed) {
      const TDungeonOptions options = Options(cols, rows, seed);
      const TDungeonPlan plan = PlanDungeon(options);
      TTileMap map;
      const TDungeonReport report = BuildDungeon(map, plan, options, tiles);
      const std::string where =
          std::to_string(cols) + "x" + std::to_string(rows) + " seed " + std::to_string(seed);
      ASSERT_EQ(map.Width(), CellToSubCell(cols)) << where;
      ASSERT_EQ(map.Height(), CellToSubCell(rows)) << where;
      EXPECT_EQ(report.RoomsPlaced, 8) << where;
      EXPECT_TRUE(report.Shortfall.isEmpty()) << where;
      const std::vector<std::string> broken = BrokenPromises(map, plan);
      ASSERT_TRUE(broken.empty()) << where << ": " << broken.front();
      // One undo step takes the whole dungeon back.
      EXPECT_EQ(map.UndoList().Count(), 1) << where;

      ++dungeons;
      size_t smallest = SIZE_MAX;
      size_t largest = 0;
      for (const std::vector<QPoint>& room : plan.Rooms) {
        smallest = std::min(smallest, room.size());
        largest = std::max(largest, room.size());
        QRect bounds;
        for (const QPoint& cell : room)
          bounds |= QRect(cell, QSize(1, 1));
        shaped += int(room.size()) != bounds.width() * bounds.height();
      }
      varied += largest >= 2 * smallest;
    }
  EXPECT_GT(varied, dungeons * 3 / 4);
  // Some rooms are L-shaped, crosses or have their corners cut.
  EXPECT_GT(shaped, dungeons);
}

// The same seed and options give the same file byte for byte; another seed
// another dungeon. Undo takes the dungeon back in one step.
TEST_F(DungeonTest, ASeedAlwaysGivesTheSameFileAndUndoTakesItBack) {
  QTemporaryDir dir;
  auto save = [&](int seed, const QString& name) {
    TTileMap map;
    TDungeonOptions options = Options(40, 40, seed);
    options.Furnish = true;
    GenerateDungeon(map, options, tiles);
    map.SaveToFile(dir.filePath(name));
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  };
  const QByteArray first = save(7, QStringLiteral("a.tqm"));
  EXPECT_EQ(save(7, QStringLiteral("b.tqm")), first);
  EXPECT_NE(save(8, QStringLiteral("c.tqm")), first);

  TTileMap map;
  map.SetWidth(10);
  map.SetHeight(10);
  map.DropHistory();
  GenerateDungeon(map, Options(30, 20, 3), tiles);
  EXPECT_GT(map.EmbeddedTiles().Count(), 0);
  map.Undo();
  EXPECT_EQ(map.Width(), 10);
  EXPECT_EQ(map.Height(), 10);
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x)
        EXPECT_EQ(map.GetTile(layer, x, y), nullptr);
}

// A unit edge of the grid in squares, as the export's lines run: the
// horizontal ones (y fixed) and the vertical ones (x fixed).
using TUnitEdge = std::tuple<bool, int, int>;  // vertical, line, start along it

// The export sees what the model sees: its walls cover every edge between
// floor and rock, no wall crosses a doorway, and there is one portal in the
// middle of each doorway.
TEST_F(DungeonTest, TheVttExportWallsEveryFloorBoundaryAndPortalsEveryDoor) {
  for (int seed = 1; seed <= 30; ++seed) {
    const TDungeonOptions options = Options(40, 40, seed);
    const TDungeonPlan plan = PlanDungeon(options);
    TTileMap map;
    BuildDungeon(map, plan, options, tiles);
    const TVttGeometry geometry = VttGeometry(map, &TilesetList());
    EXPECT_EQ(geometry.UnrecognisedWallPieces, 0);

    std::set<TUnitEdge> walled;
    for (const std::vector<QPointF>& line : geometry.LineOfSight)
      for (size_t i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1];
        const QPointF b = line[i];
        const bool vertical = a.x() == b.x();
        const double from = vertical ? std::min(a.y(), b.y()) : std::min(a.x(), b.x());
        const double to = vertical ? std::max(a.y(), b.y()) : std::max(a.x(), b.x());
        const int at = int(std::lround(vertical ? a.x() : a.y()));
        for (int s = int(std::ceil(from)); s + 1 <= to + 1e-9; ++s)
          walled.insert({vertical, at, s});
      }
    auto unit = [](const TEdgeSpot& e) -> TUnitEdge {
      switch (e.Edge) {
        case TCellEdge::Top:
          return {false, e.Row, e.Col};
        case TCellEdge::Bottom:
          return {false, e.Row + 1, e.Col};
        case TCellEdge::Left:
          return {true, e.Col, e.Row};
        case TCellEdge::Right:
          break;
      }
      return {true, e.Col + 1, e.Row};
    };
    for (int r = 0; r < plan.Rows; ++r)
      for (int c = 0; c < plan.Cols; ++c)
        for (const TCellEdge edge : kEdges) {
          const TEdgeSpot spot{c, r, edge};
          const TEdgeSpot other = TMapBuilder::OtherSide(spot);
          if (plan.IsFloor(c, r) && !plan.IsFloor(other.Col, other.Row)) {
            EXPECT_TRUE(walled.count(unit(spot))) << "seed " << seed << " cell " << c << "," << r;
          }
        }

    ASSERT_EQ(geometry.Portals.size(), plan.Doors.size()) << "seed " << seed;
    std::set<std::pair<double, double>> middles;
    for (const TEdgeSpot& door : plan.Doors) {
      EXPECT_FALSE(walled.count(unit(door))) << "seed " << seed;
      const auto [vertical, line, start] = unit(door);
      middles.insert(vertical ? std::pair(double(line), start + 0.5)
                              : std::pair(start + 0.5, double(line)));
    }
    for (const TVttPortal& portal : geometry.Portals)
      EXPECT_TRUE(middles.count({portal.Position.x(), portal.Position.y()}))
          << "seed " << seed << " portal at " << portal.Position.x() << "," << portal.Position.y();
  }
}

// What does not fit or does not suit is said, not guessed: too many rooms
// for the map give the rooms that fit and the words that say so; tiles of
// the wrong kind and sizes out of range are refused before anything is
// built.
TEST_F(DungeonTest, ShortfallsAndUnsuitableChoicesAreSaid) {
  TDungeonOptions crowded = Options(10, 10, 1);
  crowded.Rooms = 20;
  TTileMap map;
  const TDungeonReport report = GenerateDungeon(map, crowded, tiles);
  EXPECT_GT(report.RoomsPlaced, 0);
  EXPECT_LT(report.RoomsPlaced, 20);
  EXPECT_EQ(report.Shortfall,
            QStringLiteral("Only %1 of the 20 rooms asked for fit in 10 × 10 squares.")
                .arg(report.RoomsPlaced));
  EXPECT_TRUE(BrokenPromises(map, PlanDungeon(crowded)).empty());

  TDungeonTileNames openDoorways;
  openDoorways.Door.clear();
  TTileMap open;
  const TDungeonOptions options = Options(30, 30, 5);
  const TDungeonPlan plan = PlanDungeon(options);
  BuildDungeon(open, plan, options, FindDungeonTiles(TilesetList(), openDoorways));
  // Without doors the doorways are open edges: the dungeon keeps every
  // promise of one without doors.
  TDungeonPlan doorless = plan;
  doorless.Doors.clear();
  EXPECT_TRUE(BrokenPromises(open, doorless).empty());
  std::mt19937 unused;
  const TMapBuilder builder(open, walls, doors, unused);
  for (const TEdgeSpot& doorway : plan.Doors)
    EXPECT_FALSE(builder.IsWalled(doorway));

  const struct {
    TDungeonTileNames Names;
    const char* Message;
  } unsuitable[] = {
      {{"ExampleTileset", "Barrel", "", "Stone", "Door, Closed"},
       "\"Barrel\" is not a floor group."},
      {{"ExampleTileset", "Flagstones", "Crate", "Stone", ""}, "\"Crate\" is not a floor group."},
      {{"ExampleTileset", "Flagstones", "", "Stone", "Marble"}, "\"Marble\" is not a door group."},
      {{"ExampleTileset", "Flagstones", "", "Brick", ""}, "No wall style is named \"Brick\"."},
      {{"ExampleTileset", "Parquet", "", "Stone", ""},
       "The tileset \"ExampleTileset\" has no group named \"Parquet\"."},
      {{"Garden", "Grass", "", "Stone", ""}, "No installed tileset is named \"Garden\"."},
  };
  for (const auto& row : unsuitable) {
    try {
      FindDungeonTiles(TilesetList(), row.Names);
      ADD_FAILURE() << row.Message;
    } catch (const TError& error) {
      EXPECT_EQ(error.Message(), QString::fromUtf8(row.Message));
    }
  }
  for (const auto& [cols, rows, rooms, width] :
       {std::tuple(4, 20, 3, 1), std::tuple(20, 2001, 3, 1), std::tuple(20, 20, 0, 1),
        std::tuple(20, 20, 201, 1), std::tuple(20, 20, 3, 3)}) {
    TDungeonOptions bad;
    bad.Cols = cols;
    bad.Rows = rows;
    bad.Rooms = rooms;
    bad.CorridorWidth = width;
    EXPECT_THROW(PlanDungeon(bad), TError) << cols << "x" << rows << " " << rooms << " " << width;
  }
}

}  // namespace
