// The tileset writer: what it writes loads back as the same tileset, and the
// group storages are named so that loading keeps the groups' order.
#include "base/Error.h"
#include "storage/CompoundFile.h"
#include "storage/Storage.h"
#include "tiles/PictureCutter.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A floor of two squares and a keyed object one square wide, two high.
std::unique_ptr<TTileSet> PictureTileset() {
  auto tileSet = std::make_unique<TTileSet>();
  tileSet->SetTilesetName(QStringLiteral("Pictures"));
  tileSet->SetAuthorName(QStringLiteral("A Tester"));
  tileSet->SetInformation(QStringLiteral("Cut from pictures."));
  tileSet->SetURL(QStringLiteral("https://example.org/tiles"));

  QImage floor(140, 70, QImage::Format_RGB32);
  floor.fill(QColor(90, 120, 40));
  {
    QPainter painter(&floor);
    painter.fillRect(70, 0, 70, 35, QColor(200, 10, 10));
  }
  TTileGroup& grass = tileSet->AddGroup();
  grass.SetGroupName(QStringLiteral("Meadow"));
  grass.SetCategory(QStringLiteral("Floor tiles"));
  CutPictureIntoGroup(floor, {2, 1, 20, std::nullopt}, grass);

  QImage object(50, 100, QImage::Format_ARGB32);
  object.fill(Qt::transparent);
  {
    QPainter painter(&object);
    painter.fillRect(10, 10, 30, 80, QColor(120, 80, 30));
  }
  TGroupDefaults objects;
  objects.FType = gtObjects;
  objects.PlaceType = ptPattern;
  TTileGroup& shelf = tileSet->AddGroup(objects);
  shelf.SetGroupName(QStringLiteral("Bookshelf"));
  shelf.SetGroupDescr(QStringLiteral("Tall."));
  shelf.SetCategory(QStringLiteral("Placeables"));
  CutPictureIntoGroup(object, {1, 2, 20, std::nullopt}, shelf);
  return tileSet;
}

TEST(TilesetWriter, WhatItWritesLoadsBackTheSame) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("pictures.tls"));
  const std::unique_ptr<TTileSet> written = PictureTileset();
  SaveTilesetFile(*written, path);

  TTileSet read;
  ASSERT_TRUE(read.SetFileName(path));
  ASSERT_TRUE(read.Load());
  EXPECT_EQ(read.TilesetName(), written->TilesetName());
  EXPECT_EQ(read.AuthorName(), written->AuthorName());
  EXPECT_EQ(read.Information(), written->Information());
  EXPECT_EQ(read.URL(), written->URL());
  ASSERT_EQ(read.GroupCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const TTileGroup& a = *written->Groups()[size_t(i)];
    const TTileGroup& b = *read.GroupAt(i);
    EXPECT_EQ(b.GroupName(), a.GroupName());
    EXPECT_EQ(b.GroupDescr(), a.GroupDescr());
    EXPECT_EQ(b.Category(), a.Category());
    EXPECT_EQ(b.FType(), a.FType());
    EXPECT_EQ(b.PlaceType(), a.PlaceType());
    ASSERT_EQ(b.PatWidth(), a.PatWidth());
    ASSERT_EQ(b.PatHeight(), a.PatHeight());
    for (int x = 0; x < a.PatWidth(); ++x)
      for (int y = 0; y < a.PatHeight(); ++y) {
        ASSERT_NE(b.StoredTile(x, y), nullptr) << i << ' ' << x << ' ' << y;
        for (int q = 0; q < 4; ++q) {
          const TSubTile& sa = a.StoredTile(x, y)->SubTile(q);
          const TSubTile& sb = b.StoredTile(x, y)->SubTile(q);
          EXPECT_EQ(sb.Guid(), sa.Guid());
          EXPECT_EQ(sb.TransparentColor(), sa.TransparentColor());
          EXPECT_EQ(sb.Image(), sa.Image());
        }
      }
  }
  // The file's root: the date of the save, and the groups under their names.
  const std::unique_ptr<TStorage> root = ReadCompoundFile(path, TOpenMode::Read);
  EXPECT_NE(root->FindStream(QStringLiteral("LastMod")), nullptr);
  EXPECT_NE(root->FindStorage(QStringLiteral("Meadow")), nullptr);
  EXPECT_NE(root->FindStorage(QStringLiteral("Bookshelf")), nullptr);
}

TEST(TilesetWriter, RefusesSubTilesWithoutImageOrIdentity) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("bad.tls"));
  for (const bool image : {false, true}) {
    TTileSet tileSet;
    TTileGroup& group = tileSet.AddGroup();
    group.SetGroupName(QStringLiteral("Broken"));
    TSubTile& subTile = group.GetOrCreateTile(1, 0).SubTile(2);
    if (image) subTile.SetImage(QImage(4, 4, QImage::Format_RGB888));
    try {
      SaveTilesetFile(tileSet, path);
      ADD_FAILURE() << "saved";
    } catch (const TError& e) {
      EXPECT_TRUE(e.Message().contains(QStringLiteral("tile 1.0 of group \"Broken\"")))
          << qPrintable(e.Message());
    }
    EXPECT_FALSE(QFile::exists(path));
  }
}

// Readers take group storages in the container's order of names (shorter
// first, then by upper-cased text); a name the container cannot hold or
// that clashes numbers all groups instead.
TEST(TilesetWriter, NamesGroupStoragesSoTheyLoadInOrder) {
  const QStringList numbered2 = {QStringLiteral("Group01"), QStringLiteral("Group02")};
  const struct {
    QStringList Groups;
    QStringList Storages;
  } rows[] = {
      {{QStringLiteral("Bed"), QStringLiteral("Barrel")},
       {QStringLiteral("Bed"), QStringLiteral("Barrel")}},
      {{QStringLiteral("Flagstones"), QStringLiteral("Marble")}, numbered2},
      {{QStringLiteral("Bed"), QStringLiteral("bed")}, numbered2},
      {{QStringLiteral("Bed"), QStringLiteral("Version")}, numbered2},
      {{QStringLiteral("A/B"), QStringLiteral("Crate")}, numbered2},
      {{QStringLiteral("Bed"), QString(40, QLatin1Char('x'))}, numbered2},
      {{QStringLiteral("Bed"), QString()}, numbered2},
  };
  for (const auto& row : rows)
    EXPECT_EQ(GroupStorageNames(row.Groups), row.Storages) << qPrintable(row.Groups.join(','));
  QStringList many;
  for (int i = 0; i < 120; ++i)
    many.append(QStringLiteral("Group"));
  const QStringList names = GroupStorageNames(many);
  EXPECT_EQ(names.front(), QStringLiteral("Group001"));
  EXPECT_EQ(names.back(), QStringLiteral("Group120"));
}

}  // namespace
