// TEMPORARY - never commit
#include "support/TilesetFiles.h"
#include "storage/Storage.h"
#include <gtest/gtest.h>
TEST(ZZFake, Make) {
  if (qEnvironmentVariableIsEmpty("MAKE_FAKE")) return;
  std::vector<TGroupSpec> walls;
  for (const char* n : {"Standard", "Stone"}) {
    TGroupSpec g{QString::fromLatin1(n), 12, 1, 1, 0, QStringLiteral("Walls"), {}};
    for (int x = 0; x < 12; ++x) g.Tiles.push_back(QPoint(x, 0));
    walls.push_back(g);
  }
  WriteTilesetFile(QStringLiteral("/tmp/fake/Walls.wls"), *MakeTilesetTree(QStringLiteral("ExampleWalls"), walls));
  std::vector<TGroupSpec> ex;
  for (int i = 0; i < 25; ++i) ex.push_back(TGroupSpec{QStringLiteral("G%1").arg(i), 2, 1, i % 2, 2, QStringLiteral("Floors"), {QPoint(0,0), QPoint(1,0)}});
  WriteTilesetFile(QStringLiteral("/tmp/fake/ExampleTileset.tls"), *MakeTilesetTree(QStringLiteral("ExampleTileset"), ex));
}
