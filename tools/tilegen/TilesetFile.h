#pragma once

#include "TilesetArt.h"

#include <QString>

#include <memory>

class TStorage;

// The storage tree of a tileset file: the root's text properties and summary
// property sets, one storage per group with its properties and a "Tiles"
// storage holding one stream "x.y" of four sub-tile records per tile.
std::unique_ptr<TStorage> BuildTilesetStorage(const TTilesetArt& tileset);

// Creates the folder and its parents. Raises TStorageError.
void PrepareFolder(const QString& folder);

// Writes folder/ExampleTileset.tls and folder/Walls.wls, creating the folder.
// Raises TStorageError.
void WriteTilesetFiles(const QString& folder, const TTilesetArt& tileset, const TTilesetArt& walls);
