#include "TilesetArt.h"

#include "Art.h"
#include "FloorArt.h"
#include "ObjectArt.h"
#include "WallArt.h"

#include <algorithm>
#include <atomic>
#include <thread>

qint32 TGroupArt::TransparentColour() const {
  return FType == 1 ? kKeyColour : -1;
}

QImage TGroupArt::SubTile(int x, int y, int quadrant) const {
  return Picture.copy(x * kCell + (quadrant % 2) * kSub, y * kCell + (quadrant / 2) * kSub, kSub,
                      kSub);
}

namespace {

// One group of a supplied tileset: what the file says about it and the
// painter of its picture.
struct TGroupDef {
  const char* Name;
  const char* Description;
  const char* Category;
  int FType;
  int PlaceType;
  int PatWidth;
  int PatHeight;
  QImage (*Paint)();
};

// Paints the groups on a few threads: every painter is a pure function of
// fixed seeds, so the order they run in changes nothing.
std::vector<TGroupArt> PaintGroups(const std::vector<TGroupDef>& defs) {
  std::vector<TGroupArt> groups(defs.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < defs.size(); i = next++) {
      const TGroupDef& def = defs[i];
      TGroupArt& group = groups[i];
      group.Name = QLatin1String(def.Name);
      group.Description = QLatin1String(def.Description);
      group.Category = QLatin1String(def.Category);
      group.FType = def.FType;
      group.PlaceType = def.PlaceType;
      group.PatWidth = def.PatWidth;
      group.PatHeight = def.PatHeight;
      group.Picture = def.Paint().convertToFormat(QImage::Format_RGB888);
    }
  };
  const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < count; ++i)
    threads.emplace_back(work);
  work();
  for (std::thread& thread : threads)
    thread.join();
  return groups;
}

const char* const kFloors = "Floors";
const char* const kPlaceables = "Placeables";
const char* const kDoors = "Doors";

}  // namespace

TTilesetArt PaintExampleTileset() {
  // The palette's order: floors first, then furniture, then doors. The
  // names do not sort that way, so the writer numbers the group storages.
  const std::vector<TGroupDef> defs = {
      {"Flagstones", "Worn grey flagstones laid in dark grout.", kFloors, 0, 0, 6, 1,
       [] { return PaintFlagstones(6); }},
      {"Marble", "Polished cream marble slabs set with green diamonds.", kFloors, 0, 0, 5, 1,
       [] { return PaintMarble(5); }},
      {"Wooden Planks", "Oak floorboards, nailed down.", kFloors, 0, 0, 5, 1,
       [] { return PaintPlanks(5); }},
      {"Cobbles", "Rounded cobblestones for streets and yards.", kFloors, 0, 0, 5, 1,
       [] { return PaintCobbles(5); }},
      {"Grass", "A meadow of short grass with the odd flower.", kFloors, 0, 0, 5, 1,
       [] { return PaintGrass(5); }},
      {"Dirt", "Packed earth strewn with pebbles.", kFloors, 0, 0, 5, 1,
       [] { return PaintDirt(5); }},
      {"Water", "Deep water with ripples on its surface.", kFloors, 0, 0, 4, 1,
       [] { return PaintWater(4); }},
      {"Mosaic", "A compass star laid in coloured tesserae.", kFloors, 0, 2, 2, 2, PaintMosaic},
      {"Stairs", "Stone steps leading down.", kFloors, 0, 2, 1, 2, PaintStairs},
      {"Barrel", "An oak barrel bound with iron hoops.", kPlaceables, 1, 2, 1, 1, PaintBarrel},
      {"Crate", "A braced wooden crate.", kPlaceables, 1, 2, 1, 1, PaintCrate},
      {"Chest", "A locked chest with iron fittings.", kPlaceables, 1, 2, 1, 1, PaintChest},
      {"Round Table", "A round table set for a meal, with six stools.", kPlaceables, 1, 2, 2, 2,
       PaintRoundTable},
      {"Long Table", "A feasting table between two benches.", kPlaceables, 1, 2, 2, 2,
       PaintLongTable},
      {"Bookshelf", "A tall shelf of books to stand against a wall.", kPlaceables, 1, 2, 1, 2,
       PaintBookshelf},
      {"Bed", "A wooden bed with a red blanket.", kPlaceables, 1, 2, 1, 2, PaintBed},
      {"Coffin", "A closed coffin with brass handles.", kPlaceables, 1, 2, 2, 1, PaintCoffin},
      {"Altar", "A stone altar dressed with a cloth and candles.", kPlaceables, 1, 2, 2, 1,
       PaintAltar},
      {"Statue", "A winged figure on an octagonal plinth.", kPlaceables, 1, 2, 1, 1, PaintStatue},
      {"Rubble", "A heap of fallen masonry.", kPlaceables, 1, 2, 1, 1, PaintRubble},
      {"Banner", "A red banner with a golden sword, hung from a wall.", kPlaceables, 1, 1, 1, 1,
       PaintBanner},
      {"Door, Closed", "A closed wooden door in a stone frame.", kDoors, 1, 2, 1, 1,
       PaintDoorClosed},
      {"Door, Open", "A wooden door standing open.", kDoors, 1, 2, 1, 1, PaintDoorOpen},
      {"Portcullis", "An iron portcullis, lowered.", kDoors, 1, 2, 1, 1, PaintPortcullis},
      {"Secret Door", "A door hidden in the wall, marked for the game master.", kDoors, 1, 2, 1, 1,
       PaintSecretDoor},
  };
  TTilesetArt set;
  set.Name = QStringLiteral("ExampleTileset");
  set.Author = QStringLiteral("The Tessellan developers");
  set.Information = QStringLiteral("Floors, furniture and doors for dungeons, halls and taverns.");
  set.Groups = PaintGroups(defs);
  return set;
}

TTilesetArt PaintWallTileset() {
  const std::vector<TGroupDef> defs = {
      {"Standard", "Walls of dressed grey stone blocks.", "Walls", 1, 0, kWallPieces, 1,
       [] { return PaintWallPieces(TWallStyle::Dressed); }},
      {"Stone", "Walls of rough fieldstone.", "Walls", 1, 0, kWallPieces, 1,
       [] { return PaintWallPieces(TWallStyle::Fieldstone); }},
  };
  TTilesetArt set;
  set.Name = QStringLiteral("ExampleWalls");
  set.Author = QStringLiteral("The Tessellan developers");
  set.Information = QStringLiteral("Two wall styles: dressed stone blocks and rough fieldstone.");
  set.Groups = PaintGroups(defs);
  return set;
}
