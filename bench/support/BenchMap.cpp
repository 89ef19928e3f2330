#include "BenchMap.h"

#include "editor/GridDrag.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

TBenchMap::TBenchMap() {
  TilesetList().LoadInstalled(fTilesets.path());
  fMap.SetWidth(100);
  fMap.SetHeight(100);
  fGrid.SetControlSize(5000, 5000);
  fSession = std::make_unique<TEditSession>(fGrid, TilesetList());
  fSession->Painter().ActivateMap(&fMap);
  fSession->Painter().ApplyZoom();
  fSession->Palette().Start();
  fSession->Engine().SetSeed(1);
}

void TBenchMap::SelectGroup(const QString& name) {
  TPlacementEngine& engine = fSession->Engine();
  TTileSet* tileSet = engine.CurrentTileset();
  for (int i = 0; i < tileSet->GroupCount(); ++i) {
    TTileGroup* group = tileSet->GroupAt(i);
    if (group->GroupName() != name) continue;
    engine.SetCurrentGroup(group);
    engine.SetOrientation(0);
    engine.SetupPlacement();
  }
}

QString TBenchMap::Save(const QString& fileName) {
  const QString path = BenchWorkDir().filePath(fileName);
  fMap.SaveToFile(path);
  return path;
}

QTemporaryDir& BenchWorkDir() {
  static QTemporaryDir dir;
  return dir;
}

QString FiftySquareMapPath() {
  static QString path;
  if (!path.isEmpty()) return path;
  TBenchMap bench;
  TMapGridModel& grid = bench.Grid();
  bench.SelectGroup(QStringLiteral("Flagstones"));
  DragOnGrid(grid, {0, 0}, {49, 49});
  bench.SelectGroup(QStringLiteral("Barrel"));
  for (int r = 0; r < 50; ++r)
    for (int c = 0; c < 50; ++c)
      DragOnGrid(grid, {c, r, 1, 0}, {c, r, 1, 0});
  bench.Session().Engine().gaWallExecute();
  for (int r = 0; r < 50; ++r)
    DragOnGrid(grid, {0, r, 0, 0, TCellEdge::Top}, {49, r, 0, 0, TCellEdge::Top});
  for (int c = 0; c < 50; ++c)
    DragOnGrid(grid, {c, 0, 0, 0, TCellEdge::Left}, {c, 49, 0, 0, TCellEdge::Left});
  path = bench.Save(QStringLiteral("fifty.tqm"));
  return path;
}
