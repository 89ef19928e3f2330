#pragma once

#include <QHash>
#include <QString>

class TTile;
class TTileGroup;
class TTileSet;

// Where a sub-tile of an installed tileset comes from: its group, its tile
// and the quadrant of the tile it shows.
struct TSubTileSource {
  const TTileGroup* Group = nullptr;
  const TTile* Tile = nullptr;
  int Quadrant = 0;
};

// Finds the origin of a placed sub-tile by its identity. A map keeps only
// copies of what it shows, so this is how a piece on a map is known again as
// a wall piece of a style or as part of a door. The groups are not owned and
// must outlive the index.
class TSubTileIndex {
 public:
  // Adds every sub-tile of a loaded tileset's groups (of one category only
  // when one is given, compared without regard to case); an identity
  // already known keeps its first source.
  void AddTileset(const TTileSet& set, const QString& category = QString());
  void AddGroup(const TTileGroup& group);
  // The source of a sub-tile identity, or none.
  const TSubTileSource* Find(const QString& guid) const;
  bool IsEmpty() const { return fSources.isEmpty(); }

 private:
  QHash<QString, TSubTileSource> fSources;
};
