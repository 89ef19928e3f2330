#pragma once

#include <QByteArray>

#include <memory>

class TStorage;

// Files made to attack the readers: storages nested far deeper than any map
// or tileset nests them, and pictures that declare far more memory than
// their file holds.

// A root with the texts every map and tileset root starts with (Version
// "1.0") and a chain of depth storages, each holding the next.
std::unique_ptr<TStorage> MakeDeepTree(int depth);

// A sub-tile record whose PNG declares side × side pixels: one-bit grey, all
// black, so a 4096 × 4096 picture (48 MB decoded) takes about 2 KB.
QByteArray BlackPictureRecord(int side);

// A 2 × 2 map embedding `pictures` 4096 × 4096 black pictures.
std::unique_ptr<TStorage> MakeBombMapTree(int pictures);
// A tileset of one group of `tiles` tiles, each of four 4096 × 4096 black
// pictures.
std::unique_ptr<TStorage> MakeBombTilesetTree(int tiles);
