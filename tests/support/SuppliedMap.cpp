#include "SuppliedMap.h"

#include "TilesetFiles.h"
#include "map/TileMapObjects.h"
#include "tiles/TileObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The sub-tiles of every group of one type in a tileset, in order.
std::vector<const TSubTile*> SubTilesOf(TTileSet& tileSet, quint8 type) {
  std::vector<const TSubTile*> subTiles;
  for (int g = 0; g < tileSet.GroupCount(); ++g) {
    const TTileGroup* group = tileSet.GroupAt(g);
    if (group->FType() != type) continue;
    for (int x = 0; x < group->PatWidth(); ++x)
      for (int y = 0; y < group->PatHeight(); ++y)
        if (const TTile* tile = group->StoredTile(x, y))
          for (int q = 0; q < 4; ++q)
            subTiles.push_back(&tile->SubTile(q));
  }
  return subTiles;
}

void Load(TTileSet& tileSet, const QString& resource, const QString& path) {
  CopyResource(resource, path);
  EXPECT_TRUE(tileSet.SetFileName(path));
  EXPECT_TRUE(tileSet.Load()) << path.toStdString();
}

}  // namespace

TSuppliedMap::TSuppliedMap() {
  EXPECT_TRUE(fDir.isValid());
  Load(fExample, QStringLiteral(":/TILESET/xTileset"), fDir.filePath("ExampleTileset.tls"));
  Load(fWalls, QStringLiteral(":/TILESET/xWalls"), fDir.filePath("Walls.wls"));
}

std::unique_ptr<TTileMap> TSuppliedMap::Paint() {
  const std::vector<const TSubTile*> floors = SubTilesOf(fExample, 0);
  const std::vector<const TSubTile*> objects = SubTilesOf(fExample, 1);
  const std::vector<const TSubTile*> wallPieces = SubTilesOf(fWalls, 1);
  auto map = std::make_unique<TTileMap>();
  if (floors.empty() || objects.empty() || wallPieces.empty()) {
    ADD_FAILURE() << "the supplied tilesets hold no floors, objects or walls";
    return map;
  }
  map->SetWidth(16);
  map->SetHeight(10);
  size_t n = 0;
  for (int y = 0; y < map->Height(); ++y) {
    for (int x = 0; x < map->Width(); ++x, ++n) {
      const quint8 orientation = quint8(n % kOrientationCount);
      if (n % 7 != 3) map->PlaceTile(mlBase, x, y, *floors[n * 5 % floors.size()], orientation);
      if (n % 3 == 1)
        map->PlaceTile(mlOverlay, x, y, *objects[n * 11 % objects.size()], orientation);
      if (n % 5 == 2)
        map->PlaceTile(mlWall, x, y, *wallPieces[n * 3 % wallPieces.size()], orientation);
    }
  }
  return map;
}
