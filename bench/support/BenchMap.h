#pragma once

#include "editor/EditSession.h"
#include "editor/MapGridModel.h"
#include "map/TileMapObjects.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A map of 50 × 50 squares painted through the editing engine with the
// supplied tilesets, as the benchmarks that need a full map make it: drag
// on Grid() after picking a group, then save it.
class TBenchMap {
 public:
  TBenchMap();

  TMapGridModel& Grid() { return fGrid; }
  TEditSession& Session() { return *fSession; }
  // Picks a group of the current tileset by name, unturned.
  void SelectGroup(const QString& name);
  // Saves the map into the benchmark's work folder and returns the path.
  QString Save(const QString& fileName);

 private:
  QTemporaryDir fTilesets;
  TTileMap fMap;
  TMapGridModel fGrid;
  std::unique_ptr<TEditSession> fSession;
};

// A folder that lasts as long as the benchmark program.
QTemporaryDir& BenchWorkDir();

// 50 x 50 squares: a random floor everywhere, barrels in every square and a
// wall along every grid line, saved once into the work folder.
QString FiftySquareMapPath();
