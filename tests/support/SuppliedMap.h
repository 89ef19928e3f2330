#pragma once

#include "tiles/TileSet.h"

#include <QTemporaryDir>

#include <memory>

class TTileMap;

// The supplied example and wall tilesets, loaded from copies in a folder of
// their own, and a map of 8 x 5 cells painted with them: floors in every
// orientation with a few sub-cells left empty, objects with their keyed-out
// colour over some of them and walls over others, so that every layer and
// the background show. A tileset that does not load fails the test.
class TSuppliedMap {
 public:
  TSuppliedMap();

  std::unique_ptr<TTileMap> Paint();

 private:
  QTemporaryDir fDir;
  TTileSet fExample;
  TTileSet fWalls;
};
