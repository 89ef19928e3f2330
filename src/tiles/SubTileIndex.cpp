#include "SubTileIndex.h"

#include "TileObjects.h"
#include "TileSet.h"

void TSubTileIndex::AddTileset(const TTileSet& set, const QString& category) {
  for (const auto& group : set.Groups())
    if (category.isEmpty() || group->Category().compare(category, Qt::CaseInsensitive) == 0)
      AddGroup(*group);
}

void TSubTileIndex::AddGroup(const TTileGroup& group) {
  for (int x = 0; x < group.PatWidth(); ++x)
    for (int y = 0; y < group.PatHeight(); ++y)
      if (const TTile* tile = group.StoredTile(x, y))
        for (int q = 0; q < 4; ++q) {
          const QString& guid = tile->SubTile(q).Guid();
          if (!guid.isEmpty() && !fSources.contains(guid)) fSources.insert(guid, {&group, tile, q});
        }
}

const TSubTileSource* TSubTileIndex::Find(const QString& guid) const {
  const auto found = fSources.constFind(guid);
  return found == fSources.constEnd() ? nullptr : &found.value();
}
