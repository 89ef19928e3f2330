#pragma once

#include "EditorTestSupport.h"
#include "editor/EditSession.h"
#include "storage/Storage.h"
#include "support/TilesetFiles.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A group of a test tileset file covering its whole grid with tiles.
inline TGroupDef Group(const char* name, const char* category, int width = 1, int height = 1,
                       int type = 0, int place = 2) {
  TGroupDef def;
  def.Name = QString::fromLatin1(name);
  def.Category = QString::fromLatin1(category);
  def.PatWidth = width;
  def.PatHeight = height;
  def.FType = type;
  def.PlaceType = place;
  def.Tiles.clear();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      def.Tiles.emplace_back(x, y);
  return def;
}

inline TGroupDef WallStyle(const char* name) {
  TGroupDef def = Group(name, "Walls", 12, 1, 1, 0);
  return def;
}

// The installed list made of tileset files in a temporary folder: a wall
// tileset first (entry 0), then the tilesets a test adds.
class TilesetFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    TilesetList().Clear();
    AddTileset(QStringLiteral("Walls.wls"), QStringLiteral("TestWalls"),
               {WallStyle("Standard"), WallStyle("Stone"), Group("Odd", "Placeables")});
    grid.SetControlSize(2000, 2000);
  }
  void TearDown() override {
    session.reset();
    TilesetList().Clear();
  }

  TTileSet& AddTileset(const QString& file, const QString& name,
                       const std::vector<TGroupDef>& groups) {
    const QString path = dir.filePath(file);
    WriteTilesetFile(path, *MakeTilesetTree(name, groups));
    TTileSet& tileSet = TilesetList().Add();
    EXPECT_TRUE(tileSet.SetFileName(path));
    return tileSet;
  }
  // A file that is no tileset at all.
  TTileSet& AddBrokenTileset(const QString& file) {
    const QString path = dir.filePath(file);
    QFile junk(path);
    EXPECT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a compound file");
    junk.close();
    TTileSet& tileSet = TilesetList().Add();
    EXPECT_TRUE(tileSet.SetFileName(path));
    return tileSet;
  }

  // The session over a map of 8 x 5 cells, started as the window starts it.
  void Start() {
    session = std::make_unique<TEditSession>(grid, TilesetList());
    map = std::make_unique<TTileMap>();
    map->SetWidth(16);
    map->SetHeight(10);
    session->Painter().ActivateMap(map.get());
    session->Painter().ApplyZoom();
    session->Palette().Start();
  }
  TPalette& Palette() { return session->Palette(); }
  TPlacementEngine& Engine() { return session->Engine(); }
  QStringList GroupNames() {
    QStringList names;
    for (int i = 0; i < Palette().Groups().Count(); ++i)
      names.append(Palette().Groups().At(i)->GroupName());
    return names;
  }
  QString CurrentGroupName() {
    return Engine().CurrentGroup() ? Engine().CurrentGroup()->GroupName() : QStringLiteral("none");
  }

  QTemporaryDir dir;
  TMapGridModel grid;
  std::unique_ptr<TEditSession> session;
  std::unique_ptr<TTileMap> map;
};
