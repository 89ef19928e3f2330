// generate: makes a dungeon of the installed tilesets' floors, walls and
// doors, as Map > Generate Dungeon does, and saves it as a map file.
#include "Command.h"
#include "CommandLine.h"
#include "InstalledTilesets.h"
#include "generate/DungeonGenerator.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <limits>

namespace {

int Generate(const TCommandLine& line) {
  TDungeonOptions options;
  options.Cols = line.Number(QStringLiteral("width"), options.Cols);
  options.Rows = line.Number(QStringLiteral("height"), options.Rows);
  options.Rooms = line.Number(QStringLiteral("rooms"), options.Rooms);
  options.CorridorWidth = line.Number(QStringLiteral("corridor-width"), options.CorridorWidth);
  options.Seed = quint32(line.Number(QStringLiteral("seed"), int(options.Seed)));
  options.Furnish = line.IsSet(QStringLiteral("furnish"));
  options.Loops = line.IsSet(QStringLiteral("loops"));

  TDungeonTileNames names;
  names.Tileset = line.Value(QStringLiteral("tileset"), names.Tileset);
  names.Floor = line.Value(QStringLiteral("floor"), names.Floor);
  names.CorridorFloor = line.Value(QStringLiteral("corridor"));
  names.WallStyle = line.Value(QStringLiteral("walls"), names.WallStyle);
  names.Door = line.IsSet(QStringLiteral("no-doors"))
                   ? QString()
                   : line.Value(QStringLiteral("door"), names.Door);
  QTemporaryDir tilesetDir;
  const TDungeonTiles tiles = FindDungeonTiles(LoadInstalledTilesets(tilesetDir), names);

  TTileMap map;
  const TDungeonReport report = GenerateDungeon(map, options, tiles);
  map.SaveToFile(line.Argument(0));
  if (!report.Shortfall.isEmpty()) QTextStream(stderr) << report.Shortfall << '\n';
  return 0;
}

TCommandOption Squares(const QString& name) {
  return {name, QStringLiteral("N"),
          QStringLiteral("The dungeon's %1 in grid squares, %2 to %3 (40).")
              .arg(name)
              .arg(TDungeonOptions::kMinSide)
              .arg(SubCellToCell(kMaxMapExtent)),
          TDungeonOptions::kMinSide, SubCellToCell(kMaxMapExtent)};
}

TCommandOption Text(const char* name, const char* valueName, const char* description) {
  return {QLatin1String(name), QLatin1String(valueName), QLatin1String(description)};
}

TCommandRegistration reg(
    {QStringLiteral("generate"),
     QStringLiteral("OUT [--width N] [--height N] [--rooms N] [--seed S] [--tileset NAME] "
                    "[--floor GROUP] [--corridor GROUP] [--walls STYLE] [--door GROUP] "
                    "[--no-doors] [--corridor-width 1|2] [--furnish] [--loops]"),
     QStringLiteral("Generate a dungeon of rooms, corridors, walls and doors and save it as a "
                    "map. The same seed and options give the same map."),
     1,
     {Squares(QStringLiteral("width")),
      Squares(QStringLiteral("height")),
      {QStringLiteral("rooms"), QStringLiteral("N"),
       QStringLiteral("How many rooms, 1 to %1 (8).").arg(TDungeonOptions::kMaxRooms), 1,
       TDungeonOptions::kMaxRooms},
      {QStringLiteral("seed"), QStringLiteral("S"),
       QStringLiteral("The seed of the random choices, 0 to %1 (1).")
           .arg(std::numeric_limits<int>::max()),
       0, std::numeric_limits<int>::max()},
      {QStringLiteral("corridor-width"), QStringLiteral("N"),
       QStringLiteral("Corridors 1 or 2 squares wide (1)."), 1, 2},
      Text("tileset", "NAME", "The tileset of the floors, doors and furniture (ExampleTileset)."),
      Text("floor", "GROUP", "The rooms' floor group (Flagstones)."),
      Text("corridor", "GROUP", "The corridors' floor group (the rooms' floor)."),
      Text("walls", "STYLE", "The wall style (Stone)."),
      Text("door", "GROUP", "The door group (\"Door, Closed\")."),
      Text("no-doors", "", "Leave the doorways open."),
      Text("furnish", "", "Put a few objects of the tileset into the rooms."),
      Text("loops", "", "Add a corridor or two more than a tree needs.")},
     Generate});

}  // namespace
