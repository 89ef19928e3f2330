#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>

class TStorage;
class TTileSet;

// Writes a tileset in the tileset file format: the root texts ("Version"
// first), the summary property sets, one storage per group with its
// properties and a "Tiles" storage holding one stream "x.y" of four sub-tile
// records per occupied tile. The writer works on the groups the tileset holds
// now; it never loads them.

// The group storages' names, in group order. Readers take the groups in the
// container's order of names, so the groups keep their own names only when
// those already sort in group order and fit the container; otherwise they
// are numbered "Group01", "Group02", ….
QStringList GroupStorageNames(const QStringList& groupNames);

// The storage tree of the file. Raises TError naming the group and tile of a
// sub-tile without an image or without a valid identity.
std::unique_ptr<TStorage> BuildTilesetStorage(const TTileSet& tileSet, const QDate& lastModified);

// Builds the tree and writes it aside, then renames it over path, so a failed
// save leaves an earlier file as it was. Raises TError or TStorageError.
void SaveTilesetFile(const TTileSet& tileSet, const QString& path,
                     const QDate& lastModified = QDate::currentDate());
