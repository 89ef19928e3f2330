#include "TilesetFile.h"

#include "storage/CompoundFile.h"
#include "storage/Guid.h"
#include "storage/PropertySet.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "storage/SubTileRecord.h"

#include <QDir>

namespace {

// A fixed date, so every build writes the same bytes.
const char* const kLastModified = "12/07/2026";

}  // namespace

std::unique_ptr<TStorage> BuildTilesetStorage(const TTilesetArt& tileset) {
  auto root = std::make_unique<TStorage>();
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("TilesetName"), tileset.Name);
  WriteProperty(*root, QStringLiteral("AuthorName"), tileset.Author);
  WriteProperty(*root, QStringLiteral("Information"), tileset.Information);
  WriteProperty(*root, QStringLiteral("URL"), QString());
  WriteProperty(*root, QStringLiteral("LastMod"), QLatin1String(kLastModified));
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, tileset.Name},
                                              {pidSubject, QStringLiteral("Tessellan Tileset")},
                                              {pidAuthor, tileset.Author},
                                              {pidComments, tileset.Information}}));
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());
  for (const TGroupArt& group : tileset.Groups) {
    TStorage& storage = root->CreateStorage(group.StorageName);
    WriteProperty(storage, QStringLiteral("PatWidth"), QString::number(group.PatWidth));
    WriteProperty(storage, QStringLiteral("PatHeight"), QString::number(group.PatHeight));
    WriteProperty(storage, QStringLiteral("FType"), QString::number(group.FType));
    WriteProperty(storage, QStringLiteral("GroupName"), group.Name);
    WriteProperty(storage, QStringLiteral("GroupDescr"), group.Description);
    WriteProperty(storage, QStringLiteral("Category"), group.Category);
    WriteProperty(storage, QStringLiteral("PlaceType"), QString::number(group.PlaceType));
    TStorage& tiles = storage.CreateStorage(QStringLiteral("Tiles"));
    for (int y = 0; y < group.PatHeight; ++y)
      for (int x = 0; x < group.PatWidth; ++x) {
        const QString position = QStringLiteral("%1.%2").arg(x).arg(y);
        QByteArray records;
        for (int q = 0; q < 4; ++q) {
          // Identities from names: tileset, group, tile and quadrant.
          const QString guid = NameGuidText(
              QStringLiteral("%1/%2/%3/%4").arg(tileset.Name, group.Name, position).arg(q));
          WriteSubTileRecord(records, group.SubTile(x, y, q), guid, group.TransparentColour());
        }
        tiles.CreateStream(position, records);
      }
  }
  return root;
}

void PrepareFolder(const QString& folder) {
  if (!QDir().mkpath(folder))
    throw TStorageError(QStringLiteral("Unable to create the folder %1.").arg(folder));
}

void WriteTilesetFiles(const QString& folder, const TTilesetArt& tileset,
                       const TTilesetArt& walls) {
  PrepareFolder(folder);
  WriteCompoundFile(QDir(folder).filePath(QStringLiteral("ExampleTileset.tls")),
                    *BuildTilesetStorage(tileset));
  WriteCompoundFile(QDir(folder).filePath(QStringLiteral("Walls.wls")),
                    *BuildTilesetStorage(walls));
}
