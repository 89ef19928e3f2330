#pragma once

#include "TilesetArt.h"

#include <QString>

#include <memory>

class TTileSet;

// The painted tileset as the model holds it: one group per painted group in
// palette order, every cell a tile whose four sub-tiles carry name-based
// identities (tileset, group, tile and quadrant), so every build writes the
// same file.
std::unique_ptr<TTileSet> MakeTileSet(const TTilesetArt& art);

// Creates the folder and its parents. Raises TStorageError.
void PrepareFolder(const QString& folder);

// Writes folder/ExampleTileset.tls and folder/Walls.wls with the tile
// layer's tileset writer, creating the folder. Raises TError.
void WriteTilesetFiles(const QString& folder, const TTilesetArt& tileset, const TTilesetArt& walls);
