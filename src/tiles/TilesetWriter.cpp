#include "TilesetWriter.h"

#include "TileObjects.h"
#include "TileSet.h"
#include "base/Error.h"
#include "storage/CompoundFile.h"
#include "storage/Guid.h"
#include "storage/PropertySet.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "storage/SubTileRecord.h"

namespace {

// Root elements a group storage must not replace.
const char* const kRootStreams[] = {"Version",     "TilesetName", "AuthorName",
                                    "Information", "URL",         "LastMod"};

bool IsUsableStorageName(const QString& name) {
  try {
    TStorage::ValidateElementName(name);
  } catch (const TStorageError&) {
    return false;
  }
  for (const char* stream : kRootStreams)
    if (TStorage::CompareNames(name, QLatin1String(stream)) == 0) return false;
  return TStorage::CompareNames(name, SummaryInformationName()) != 0 &&
         TStorage::CompareNames(name, DocumentSummaryInformationName()) != 0;
}

QString TilePlace(const TTileGroup& group, const TTile& tile) {
  return QStringLiteral("tile %1.%2 of group \"%3\"")
      .arg(tile.X())
      .arg(tile.Y())
      .arg(group.GroupName());
}

QByteArray TileRecords(const TTileGroup& group, const TTile& tile) {
  QByteArray records;
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    const TSubTile& subTile = tile.SubTile(quadrant);
    if (subTile.Image().isNull())
      throw TError(QStringLiteral("Sub-tile %1 of %2 has no image.")
                       .arg(quadrant)
                       .arg(TilePlace(group, tile)));
    if (!IsGuidText(subTile.Guid()))
      throw TError(QStringLiteral("Sub-tile %1 of %2 has no valid identity.")
                       .arg(quadrant)
                       .arg(TilePlace(group, tile)));
    WriteSubTileRecord(records, subTile.Image(), subTile.Guid(), subTile.TransparentColor());
  }
  return records;
}

void WriteGroup(TStorage& storage, const TTileGroup& group) {
  WriteProperty(storage, QStringLiteral("PatWidth"), QString::number(group.PatWidth()));
  WriteProperty(storage, QStringLiteral("PatHeight"), QString::number(group.PatHeight()));
  WriteProperty(storage, QStringLiteral("FType"), QString::number(group.FType()));
  WriteProperty(storage, QStringLiteral("GroupName"), group.GroupName());
  WriteProperty(storage, QStringLiteral("GroupDescr"), group.GroupDescr());
  WriteProperty(storage, QStringLiteral("Category"), group.Category());
  WriteProperty(storage, QStringLiteral("PlaceType"), QString::number(group.PlaceType()));
  TStorage& tiles = storage.CreateStorage(QStringLiteral("Tiles"));
  for (int x = 0; x < group.PatWidth(); ++x)
    for (int y = 0; y < group.PatHeight(); ++y)
      if (const TTile* tile = group.StoredTile(x, y))
        tiles.CreateStream(QStringLiteral("%1.%2").arg(x).arg(y), TileRecords(group, *tile));
}

}  // namespace

QStringList GroupStorageNames(const QStringList& groupNames) {
  bool own = true;
  for (int i = 0; own && i < groupNames.size(); ++i)
    own = IsUsableStorageName(groupNames[i]) &&
          (i == 0 || TStorage::CompareNames(groupNames[i - 1], groupNames[i]) < 0);
  if (own) return groupNames;
  // Equal widths, so the numbers sort as they count.
  const int width = qMax(2, int(QString::number(groupNames.size()).size()));
  QStringList names;
  for (int i = 0; i < groupNames.size(); ++i)
    names.append(QStringLiteral("Group%1").arg(i + 1, width, 10, QLatin1Char('0')));
  return names;
}

std::unique_ptr<TStorage> BuildTilesetStorage(const TTileSet& tileSet, const QDate& lastModified) {
  auto root = std::make_unique<TStorage>();
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("TilesetName"), tileSet.TilesetName());
  WriteProperty(*root, QStringLiteral("AuthorName"), tileSet.AuthorName());
  WriteProperty(*root, QStringLiteral("Information"), tileSet.Information());
  WriteProperty(*root, QStringLiteral("URL"), tileSet.URL());
  WriteProperty(*root, QStringLiteral("LastMod"),
                lastModified.toString(QStringLiteral("MM/dd/yyyy")));
  // The desktop shows these in a file's properties; readers skip them.
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, tileSet.TilesetName()},
                                              {pidSubject, QStringLiteral("Tessellan Tileset")},
                                              {pidAuthor, tileSet.AuthorName()},
                                              {pidComments, tileSet.Information()}}));
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());

  QStringList groupNames;
  for (const auto& group : tileSet.Groups())
    groupNames.append(group->GroupName());
  const QStringList storageNames = GroupStorageNames(groupNames);
  for (size_t i = 0; i < tileSet.Groups().size(); ++i)
    WriteGroup(root->CreateStorage(storageNames[int(i)]), *tileSet.Groups()[i]);
  return root;
}

void SaveTilesetFile(const TTileSet& tileSet, const QString& path, const QDate& lastModified) {
  WriteCompoundFile(path, *BuildTilesetStorage(tileSet, lastModified));
}
