#include "MapExport.h"

#include "base/Error.h"
#include "map/TileMapObjects.h"

bool ExportFormatForPath(const QString&, TExportFormat*) {
  return false;
}

TExportSize ExportPictureSize(const TTileMap&, int) {
  return {};
}

void CheckExportOptions(const TTileMap&, const TExportOptions&) {}

TExportResult ExportMap(TTileMap&, const TTilesetList*, const TExportOptions&, const QString&,
                        TExportProgress*) {
  throw TError(QStringLiteral("Export is not available yet."));
}
