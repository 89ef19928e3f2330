#include "TilesetFile.h"

#include "storage/Guid.h"
#include "storage/Storage.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetWriter.h"

#include <QDir>

namespace {

// A fixed date, so every build writes the same bytes.
const QDate kLastModified(2026, 12, 7);

}  // namespace

std::unique_ptr<TTileSet> MakeTileSet(const TTilesetArt& art) {
  auto tileSet = std::make_unique<TTileSet>();
  tileSet->SetTilesetName(art.Name);
  tileSet->SetAuthorName(art.Author);
  tileSet->SetInformation(art.Information);
  for (const TGroupArt& painted : art.Groups) {
    TGroupDefaults shape;
    shape.PatWidth = painted.PatWidth;
    shape.PatHeight = painted.PatHeight;
    shape.FType = quint8(painted.FType);
    shape.PlaceType = quint8(painted.PlaceType);
    TTileGroup& group = tileSet->AddGroup(shape);
    group.SetGroupName(painted.Name);
    group.SetGroupDescr(painted.Description);
    group.SetCategory(painted.Category);
    for (int x = 0; x < painted.PatWidth; ++x)
      for (int y = 0; y < painted.PatHeight; ++y) {
        TTile& tile = group.GetOrCreateTile(x, y);
        for (int q = 0; q < 4; ++q) {
          TSubTile& subTile = tile.SubTile(q);
          subTile.SetImage(painted.SubTile(x, y, q));
          subTile.SetGuid(NameGuidText(
              QStringLiteral("%1/%2/%3.%4/%5").arg(art.Name, painted.Name).arg(x).arg(y).arg(q)));
          subTile.SetTransparentColor(painted.TransparentColour());
        }
      }
  }
  return tileSet;
}

void PrepareFolder(const QString& folder) {
  if (!QDir().mkpath(folder))
    throw TStorageError(QStringLiteral("Unable to create the folder %1.").arg(folder));
}

void WriteTilesetFiles(const QString& folder, const TTilesetArt& tileset,
                       const TTilesetArt& walls) {
  PrepareFolder(folder);
  SaveTilesetFile(*MakeTileSet(tileset),
                  QDir(folder).filePath(QStringLiteral("ExampleTileset.tls")), kLastModified);
  SaveTilesetFile(*MakeTileSet(walls), QDir(folder).filePath(QStringLiteral("Walls.wls")),
                  kLastModified);
}
