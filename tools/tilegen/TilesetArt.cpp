#include "TilesetArt.h"

#include "Art.h"
#include "FloorArt.h"
#include "ObjectArt.h"
#include "WallArt.h"

qint32 TGroupArt::TransparentColour() const {
  return FType == 1 ? kKeyColour : -1;
}

QImage TGroupArt::SubTile(int x, int y, int quadrant) const {
  return Picture.copy(x * kCell + (quadrant % 2) * kSub, y * kCell + (quadrant / 2) * kSub, kSub,
                      kSub);
}

namespace {

TGroupArt Floor(QString storage, QString name, QString description, int variants, QImage picture) {
  TGroupArt group;
  group.StorageName = storage;
  group.Name = name;
  group.Description = description;
  group.Category = QStringLiteral("Floors");
  group.PatWidth = variants;
  group.Picture = picture.convertToFormat(QImage::Format_RGB888);
  return group;
}

TGroupArt Object(QString storage, QString name, QString description, QString category, int place,
                 int width, int height, QImage picture) {
  TGroupArt group;
  group.StorageName = storage;
  group.Name = name;
  group.Description = description;
  group.Category = category;
  group.FType = 1;
  group.PlaceType = place;
  group.PatWidth = width;
  group.PatHeight = height;
  group.Picture = picture.convertToFormat(QImage::Format_RGB888);
  return group;
}

}  // namespace

TTilesetArt PaintExampleTileset() {
  TTilesetArt set;
  set.Name = QStringLiteral("ExampleTileset");
  set.Author = QStringLiteral("The Tessellan developers");
  set.Information = QStringLiteral("Floors, furniture and doors for dungeons, halls and taverns.");
  auto& g = set.Groups;
  g.push_back(Floor(QStringLiteral("Group01"), QStringLiteral("Flagstones"),
                    QStringLiteral("Worn grey flagstones laid in dark grout."), 6,
                    PaintFlagstones(6)));
  g.push_back(Floor(QStringLiteral("Group02"), QStringLiteral("Marble"),
                    QStringLiteral("Polished slabs of white and green marble."), 5,
                    PaintMarble(5)));
  g.push_back(Floor(QStringLiteral("Group03"), QStringLiteral("Wooden Planks"),
                    QStringLiteral("Oak floorboards, nailed down."), 5, PaintPlanks(5)));
  g.push_back(Floor(QStringLiteral("Group04"), QStringLiteral("Cobbles"),
                    QStringLiteral("Rounded cobblestones for streets and yards."), 5,
                    PaintCobbles(5)));
  g.push_back(Floor(QStringLiteral("Group05"), QStringLiteral("Grass"),
                    QStringLiteral("A meadow of short grass with the odd flower."), 5,
                    PaintGrass(5)));
  g.push_back(Floor(QStringLiteral("Group06"), QStringLiteral("Dirt"),
                    QStringLiteral("Packed earth strewn with pebbles."), 5, PaintDirt(5)));
  g.push_back(Floor(QStringLiteral("Group07"), QStringLiteral("Water"),
                    QStringLiteral("Still, deep water with gentle ripples."), 4, PaintWater(4)));
  TGroupArt mosaic =
      Floor(QStringLiteral("Group08"), QStringLiteral("Mosaic"),
            QStringLiteral("A compass star laid in coloured tesserae."), 2, PaintMosaic());
  mosaic.PatHeight = 2;
  mosaic.PlaceType = 2;
  g.push_back(mosaic);
  TGroupArt stairs = Floor(QStringLiteral("Group09"), QStringLiteral("Stairs"),
                           QStringLiteral("Stone steps leading down."), 1, PaintStairs());
  stairs.PatHeight = 2;
  stairs.PlaceType = 2;
  g.push_back(stairs);
  const QString placeables = QStringLiteral("Placeables");
  g.push_back(Object(QStringLiteral("Group10"), QStringLiteral("Barrel"),
                     QStringLiteral("An oak barrel bound with iron hoops."), placeables, 2, 1, 1,
                     PaintBarrel()));
  g.push_back(Object(QStringLiteral("Group11"), QStringLiteral("Crate"),
                     QStringLiteral("A braced wooden crate."), placeables, 2, 1, 1, PaintCrate()));
  g.push_back(Object(QStringLiteral("Group12"), QStringLiteral("Chest"),
                     QStringLiteral("A locked chest with iron fittings."), placeables, 2, 1, 1,
                     PaintChest()));
  g.push_back(Object(QStringLiteral("Group13"), QStringLiteral("Round Table"),
                     QStringLiteral("A round table set for a meal, with six stools."), placeables,
                     2, 2, 2, PaintRoundTable()));
  g.push_back(Object(QStringLiteral("Group14"), QStringLiteral("Long Table"),
                     QStringLiteral("A feasting table between two benches."), placeables, 2, 2, 2,
                     PaintLongTable()));
  g.push_back(Object(QStringLiteral("Group15"), QStringLiteral("Bookshelf"),
                     QStringLiteral("A tall shelf of books to stand against a wall."), placeables,
                     2, 1, 2, PaintBookshelf()));
  g.push_back(Object(QStringLiteral("Group16"), QStringLiteral("Bed"),
                     QStringLiteral("A wooden bed with a red blanket."), placeables, 2, 1, 2,
                     PaintBed()));
  g.push_back(Object(QStringLiteral("Group17"), QStringLiteral("Coffin"),
                     QStringLiteral("A closed coffin with brass handles."), placeables, 2, 2, 1,
                     PaintCoffin()));
  g.push_back(Object(QStringLiteral("Group18"), QStringLiteral("Altar"),
                     QStringLiteral("A stone altar dressed with a cloth and candles."), placeables,
                     2, 2, 1, PaintAltar()));
  g.push_back(Object(QStringLiteral("Group19"), QStringLiteral("Statue"),
                     QStringLiteral("A winged figure on an octagonal plinth."), placeables, 2, 1, 1,
                     PaintStatue()));
  g.push_back(Object(QStringLiteral("Group20"), QStringLiteral("Rubble"),
                     QStringLiteral("A heap of fallen masonry."), placeables, 2, 1, 1,
                     PaintRubble()));
  g.push_back(Object(QStringLiteral("Group21"), QStringLiteral("Banner"),
                     QStringLiteral("A red banner with a golden sword, hung from a wall."),
                     placeables, 1, 1, 1, PaintBanner()));
  const QString doors = QStringLiteral("Doors");
  g.push_back(Object(QStringLiteral("Group22"), QStringLiteral("Door, Closed"),
                     QStringLiteral("A closed wooden door in a stone frame."), doors, 2, 1, 1,
                     PaintDoorClosed()));
  g.push_back(Object(QStringLiteral("Group23"), QStringLiteral("Door, Open"),
                     QStringLiteral("A wooden door standing open."), doors, 2, 1, 1,
                     PaintDoorOpen()));
  g.push_back(Object(QStringLiteral("Group24"), QStringLiteral("Portcullis"),
                     QStringLiteral("An iron portcullis, lowered."), doors, 2, 1, 1,
                     PaintPortcullis()));
  g.push_back(Object(QStringLiteral("Group25"), QStringLiteral("Secret Door"),
                     QStringLiteral("A door hidden in the wall, marked for the game master."),
                     doors, 2, 1, 1, PaintSecretDoor()));
  return set;
}

TTilesetArt PaintWallTileset() {
  TTilesetArt set;
  set.Name = QStringLiteral("ExampleWalls");
  set.Author = QStringLiteral("The Tessellan developers");
  set.Information = QStringLiteral("Two wall styles: dressed stone blocks and rough fieldstone.");
  const QString walls = QStringLiteral("Walls");
  set.Groups.push_back(Object(QStringLiteral("Group01"), QStringLiteral("Standard"),
                              QStringLiteral("Walls of dressed grey stone blocks."), walls, 0,
                              kWallPieces, 1, PaintWallPieces(TWallStyle::Dressed)));
  set.Groups.push_back(Object(QStringLiteral("Group02"), QStringLiteral("Stone"),
                              QStringLiteral("Walls of rough fieldstone."), walls, 0, kWallPieces,
                              1, PaintWallPieces(TWallStyle::Fieldstone)));
  return set;
}
