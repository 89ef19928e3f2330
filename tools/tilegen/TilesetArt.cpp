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
  const char* Storage;
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
      group.StorageName = QLatin1String(def.Storage);
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
  // Storage names sort in the container's order (by length, then text), which
  // is the palette's order: floors first, then furniture, then doors.
  const std::vector<TGroupDef> defs = {
      {"Group01", "Flagstones", "Worn grey flagstones laid in dark grout.", kFloors, 0, 0, 6, 1,
       [] { return PaintFlagstones(6); }},
      {"Group02", "Marble", "Polished cream marble slabs set with green diamonds.", kFloors, 0, 0,
       5, 1, [] { return PaintMarble(5); }},
      {"Group03", "Wooden Planks", "Oak floorboards, nailed down.", kFloors, 0, 0, 5, 1,
       [] { return PaintPlanks(5); }},
      {"Group04", "Cobbles", "Rounded cobblestones for streets and yards.", kFloors, 0, 0, 5, 1,
       [] { return PaintCobbles(5); }},
      {"Group05", "Grass", "A meadow of short grass with the odd flower.", kFloors, 0, 0, 5, 1,
       [] { return PaintGrass(5); }},
      {"Group06", "Dirt", "Packed earth strewn with pebbles.", kFloors, 0, 0, 5, 1,
       [] { return PaintDirt(5); }},
      {"Group07", "Water", "Deep water with ripples on its surface.", kFloors, 0, 0, 4, 1,
       [] { return PaintWater(4); }},
      {"Group08", "Mosaic", "A compass star laid in coloured tesserae.", kFloors, 0, 2, 2, 2,
       PaintMosaic},
      {"Group09", "Stairs", "Stone steps leading down.", kFloors, 0, 2, 1, 2, PaintStairs},
      {"Group10", "Barrel", "An oak barrel bound with iron hoops.", kPlaceables, 1, 2, 1, 1,
       PaintBarrel},
      {"Group11", "Crate", "A braced wooden crate.", kPlaceables, 1, 2, 1, 1, PaintCrate},
      {"Group12", "Chest", "A locked chest with iron fittings.", kPlaceables, 1, 2, 1, 1,
       PaintChest},
      {"Group13", "Round Table", "A round table set for a meal, with six stools.", kPlaceables, 1,
       2, 2, 2, PaintRoundTable},
      {"Group14", "Long Table", "A feasting table between two benches.", kPlaceables, 1, 2, 2, 2,
       PaintLongTable},
      {"Group15", "Bookshelf", "A tall shelf of books to stand against a wall.", kPlaceables, 1, 2,
       1, 2, PaintBookshelf},
      {"Group16", "Bed", "A wooden bed with a red blanket.", kPlaceables, 1, 2, 1, 2, PaintBed},
      {"Group17", "Coffin", "A closed coffin with brass handles.", kPlaceables, 1, 2, 2, 1,
       PaintCoffin},
      {"Group18", "Altar", "A stone altar dressed with a cloth and candles.", kPlaceables, 1, 2, 2,
       1, PaintAltar},
      {"Group19", "Statue", "A winged figure on an octagonal plinth.", kPlaceables, 1, 2, 1, 1,
       PaintStatue},
      {"Group20", "Rubble", "A heap of fallen masonry.", kPlaceables, 1, 2, 1, 1, PaintRubble},
      {"Group21", "Banner", "A red banner with a golden sword, hung from a wall.", kPlaceables, 1,
       1, 1, 1, PaintBanner},
      {"Group22", "Door, Closed", "A closed wooden door in a stone frame.", kDoors, 1, 2, 1, 1,
       PaintDoorClosed},
      {"Group23", "Door, Open", "A wooden door standing open.", kDoors, 1, 2, 1, 1, PaintDoorOpen},
      {"Group24", "Portcullis", "An iron portcullis, lowered.", kDoors, 1, 2, 1, 1,
       PaintPortcullis},
      {"Group25", "Secret Door", "A door hidden in the wall, marked for the game master.", kDoors,
       1, 2, 1, 1, PaintSecretDoor},
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
      {"Group01", "Standard", "Walls of dressed grey stone blocks.", "Walls", 1, 0, kWallPieces, 1,
       [] { return PaintWallPieces(TWallStyle::Dressed); }},
      {"Group02", "Stone", "Walls of rough fieldstone.", "Walls", 1, 0, kWallPieces, 1,
       [] { return PaintWallPieces(TWallStyle::Fieldstone); }},
  };
  TTilesetArt set;
  set.Name = QStringLiteral("ExampleWalls");
  set.Author = QStringLiteral("The Tessellan developers");
  set.Information = QStringLiteral("Two wall styles: dressed stone blocks and rough fieldstone.");
  set.Groups = PaintGroups(defs);
  return set;
}
