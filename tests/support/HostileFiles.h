#pragma once

#include <memory>

class TStorage;

// Files made to attack the readers: storages nested far deeper than any map
// or tileset nests them.

// A root with the texts every map and tileset root starts with (Version
// "1.0") and a chain of depth storages, each holding the next.
std::unique_ptr<TStorage> MakeDeepTree(int depth);
