// The tiles a dungeon is built from: checked for their kinds, found by
// name among the installed tilesets, and the furniture a tileset offers.
#include "DungeonGenerator.h"

#include "base/Error.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetNames.h"
#include "tiles/WallStyles.h"

namespace {

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// The index of a name, the case counting first, then not; -1 when none.
int FindName(const QStringList& names, const QString& name) {
  for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
    for (int i = 0; i < names.size(); ++i)
      if (names[i].compare(name, cs) == 0) return i;
  return -1;
}

TTileSet& FindTileset(const TTilesetList& tilesets, const QString& name) {
  const int index = FindName(TilesetNames(tilesets), name);
  TTileSet* set = index < 0 ? nullptr : tilesets.Items(index + 1);
  if (!set) throw TError(QStringLiteral("No installed tileset is named %1.").arg(Quoted(name)));
  if (!set->EnsureLoaded())
    throw TError(QStringLiteral("The tileset %1 could not be loaded.").arg(Quoted(name)));
  return *set;
}

const TTileGroup& FindGroup(const TTileSet& set, const QString& name) {
  QStringList names;
  for (const std::unique_ptr<TTileGroup>& group : set.Groups())
    names << group->GroupName();
  const int index = FindName(names, name);
  if (index < 0)
    throw TError(QStringLiteral("The tileset %1 has no group named %2.")
                     .arg(Quoted(set.TilesetName()), Quoted(name)));
  return *set.Groups()[size_t(index)];
}

}  // namespace

bool IsDoorGroup(const TTileGroup& group) {
  return group.FType() == gtObjects &&
         group.Category().compare(QLatin1String("Doors"), Qt::CaseInsensitive) == 0;
}

void CheckDungeonTiles(const TDungeonTiles& tiles) {
  if (!tiles.Floor) throw TError(QStringLiteral("Choose a floor for the rooms."));
  for (const TTileGroup* floor : {tiles.Floor, tiles.CorridorFloor})
    if (floor && floor->FType() != gtFloor)
      throw TError(QStringLiteral("%1 is not a floor group.").arg(Quoted(floor->GroupName())));
  if (!tiles.WallStyle) throw TError(QStringLiteral("Choose a wall style."));
  if (!IsWallStyle(*tiles.WallStyle))
    throw TError(
        QStringLiteral("%1 is not a wall style.").arg(Quoted(tiles.WallStyle->GroupName())));
  if (tiles.Door && !IsDoorGroup(*tiles.Door))
    throw TError(QStringLiteral("%1 is not a door group.").arg(Quoted(tiles.Door->GroupName())));
  for (const TTileGroup* object : tiles.Furniture)
    if (!object || object->FType() != gtObjects)
      throw TError(QStringLiteral("Rooms are furnished with objects, not floors."));
}

std::vector<const TTileGroup*> FurnitureGroups(const TTileSet& tileset) {
  std::vector<const TTileGroup*> groups;
  for (const std::unique_ptr<TTileGroup>& group : tileset.Groups())
    if (group->FType() == gtObjects && !IsDoorGroup(*group) && !IsWallStyle(*group) &&
        group->PlaceType() != ptRandom && group->PatWidth() >= 1 && group->PatWidth() <= 2 &&
        group->PatHeight() >= 1 && group->PatHeight() <= 2)
      groups.push_back(group.get());
  return groups;
}

TDungeonTiles FindDungeonTiles(const TTilesetList& tilesets, const TDungeonTileNames& names) {
  const TTileSet& set = FindTileset(tilesets, names.Tileset);
  TDungeonTiles tiles;
  tiles.Floor = &FindGroup(set, names.Floor);
  if (!names.CorridorFloor.isEmpty()) tiles.CorridorFloor = &FindGroup(set, names.CorridorFloor);
  if (!names.Door.isEmpty()) tiles.Door = &FindGroup(set, names.Door);
  const std::vector<TWallStyle> styles = WallStyles(tilesets);
  const int style = FindWallStyle(styles, names.WallStyle);
  if (style < 0)
    throw TError(QStringLiteral("No wall style is named %1.").arg(Quoted(names.WallStyle)));
  tiles.WallStyle = styles[size_t(style)].Group;
  tiles.Furniture = FurnitureGroups(set);
  CheckDungeonTiles(tiles);
  return tiles;
}
