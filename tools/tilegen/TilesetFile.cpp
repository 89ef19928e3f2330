#include "TilesetArt.h"
#include "app/services/Error.h"

void WriteTilesetFiles(const QString&, const TTilesetArt&, const TTilesetArt&) {
  throw TError(QStringLiteral("Writing tileset files is not available yet."));
}
