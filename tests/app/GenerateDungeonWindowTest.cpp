// Map > Generate Dungeon... as a game master uses it: the dialog's
// defaults, a preview that follows the options, OK making a new map tab
// that Undo takes back in one step, and the message when fewer rooms fit.
#include "WindowTestSupport.h"
#include "app/HelpWindow.h"
#include "app/frmGenerateDungeonU.h"
#include "map/TileMapObjects.h"
#include "support/ScriptedMessages.h"
#include "tiles/SubTileIndex.h"
#include "tiles/TileObjects.h"
#include "tiles/TilesetList.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

namespace {

// How many sub-cells of a layer hold a tile, and how many of those show a
// piece of the index's groups.
struct TLayerCount {
  int Tiles = 0;
  int Known = 0;
};

TLayerCount CountLayer(const TTileMap& map, int layer, const TSubTileIndex& known) {
  TLayerCount count;
  for (int x = 0; x < map.Width(); ++x)
    for (int y = 0; y < map.Height(); ++y)
      if (const TMapTile* tile = map.GetTile(layer, x, y)) {
        ++count.Tiles;
        if (known.Find(tile->SubTile()->Guid())) ++count.Known;
      }
  return count;
}

std::vector<std::string> TabTexts(const QTabBar* tabs) {
  std::vector<std::string> texts;
  for (int i = 0; i < tabs->count(); ++i)
    texts.push_back(tabs->tabText(i).toStdString());
  return texts;
}

// Waits until the dialog's preview shows its options.
bool PreviewSettled(const TfrmGenerateDungeon& dialog) {
  return QTest::qWaitFor([&] { return !dialog.PreviewPending(); }, 2000);
}

}  // namespace

using TGenerateDungeonWindowTest = TWindowTest;

TEST_F(TGenerateDungeonWindowTest, PreviewFollowsTheOptionsAndOKOpensADungeonUndoneInOneStep) {
  ScriptedMessages().Shown.clear();
  // Cancel makes nothing.
  dialogAnswers.push_back([](QDialog& dialog) { dialog.reject(); });
  Run("maGenerateDungeon");
  EXPECT_EQ(window->MapTabs()->count(), 1);

  dialogAnswers.push_back([](QDialog& dialog) {
    auto& d = static_cast<TfrmGenerateDungeon&>(dialog);
    // The usual dungeon, and the choices each box offers.
    EXPECT_EQ(d.TilesetBox()->currentText(), "ExampleTileset");
    EXPECT_EQ(d.FloorBox()->currentText(), "Flagstones");
    EXPECT_EQ(d.CorridorFloorBox()->currentText(), "Same as the rooms");
    EXPECT_EQ(d.CorridorFloorBox()->count(), d.FloorBox()->count() + 1);
    EXPECT_EQ(d.WallStyleBox()->currentText(), "Stone");
    EXPECT_EQ(d.WallStyleBox()->count(), 2);
    EXPECT_EQ(d.DoorBox()->currentText(), "Door, Closed");
    EXPECT_EQ(d.DoorBox()->itemText(0), "None (open doorways)");
    EXPECT_EQ(d.DoorBox()->count(), 5);
    EXPECT_FALSE(d.FurnishBox()->isChecked());
    EXPECT_FALSE(d.LoopsBox()->isChecked());
    EXPECT_EQ(d.SeedSpin()->value(), 1);
    EXPECT_EQ(d.SeedSpin()->maximum(), 2147483647);
    EXPECT_EQ(d.ColsSpin()->maximum(), 200);
    EXPECT_EQ(d.RoomsSpin()->maximum(), TDungeonOptions::kMaxRooms);
    EXPECT_FALSE(d.PreviewImage().isNull());

    // A change shows a moment later; the picture fills the preview's width.
    d.ColsSpin()->setValue(30);
    d.RowsSpin()->setValue(20);
    d.RoomsSpin()->setValue(5);
    EXPECT_TRUE(d.PreviewPending());
    EXPECT_TRUE(PreviewSettled(d));
    const QImage seed1 = d.PreviewImage();
    EXPECT_EQ(seed1.size(), QSize(TfrmGenerateDungeon::kPreviewSide,
                                  TfrmGenerateDungeon::kPreviewSide * 20 / 30));
    d.SeedSpin()->setValue(7);
    EXPECT_TRUE(PreviewSettled(d));
    const QImage seed7 = d.PreviewImage();
    EXPECT_NE(seed7, seed1);
    // A new seed is another number; the old one gives the same picture again.
    QTest::mouseClick(d.NewSeedButton(), Qt::LeftButton);
    EXPECT_NE(d.SeedSpin()->value(), 7);
    d.SeedSpin()->setValue(7);
    EXPECT_TRUE(PreviewSettled(d));
    EXPECT_EQ(d.PreviewImage(), seed7);
    EXPECT_EQ(d.Note(), "");
    EXPECT_TRUE(d.OKButton()->isEnabled());

    // Help opens the dialog's page.
    QTest::mouseClick(d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help),
                      Qt::LeftButton);
    EXPECT_EQ(HelpWindow()->CurrentPage(), "GeneratingDungeons.html");
    HelpWindow()->close();
    d.accept();
  });
  Run("maGenerateDungeon");
  EXPECT_EQ(shownDialogs, (std::vector<std::string>{"Generate Dungeon", "Generate Dungeon"}));
  EXPECT_TRUE(ScriptedMessages().Shown.empty());

  // A new tab named as New Map names it, current, holding the dungeon.
  EXPECT_EQ(TabTexts(window->MapTabs()), (std::vector<std::string>{"BattleMap", "BattleMap1"}));
  EXPECT_EQ(window->MapTabs()->currentIndex(), 1);
  TTileMap& map = *window->CurrentMap();
  EXPECT_EQ(map.MapName(), "BattleMap1");
  EXPECT_EQ(map.Width(), 60);
  EXPECT_EQ(map.Height(), 40);
  EXPECT_TRUE(map.Modified());
  TTileSet& tileset = *TilesetList().Items(1);
  TSubTileIndex floors, walls, doors;
  floors.AddTileset(tileset, QStringLiteral("Floors"));
  walls.AddTileset(*TilesetList().Items(0));
  doors.AddTileset(tileset, QStringLiteral("Doors"));
  const TLayerCount floor = CountLayer(map, mlBase, floors);
  const TLayerCount wall = CountLayer(map, mlWall, walls);
  const TLayerCount door = CountLayer(map, mlOverlay, doors);
  EXPECT_GT(floor.Tiles, 0);
  EXPECT_EQ(floor.Known, floor.Tiles);
  EXPECT_GT(wall.Tiles, 0);
  EXPECT_EQ(wall.Known, wall.Tiles);
  // Unfurnished: the objects are the doors, and there is at least one.
  EXPECT_GT(door.Tiles, 0);
  EXPECT_EQ(door.Known, door.Tiles);

  // One Undo takes the whole dungeon back.
  ASSERT_TRUE(Action("eaUndo")->isEnabled());
  Run("eaUndo");
  for (int layer : {mlBase, mlOverlay, mlWall})
    EXPECT_EQ(CountLayer(map, layer, walls).Tiles, 0) << layer;
  EXPECT_FALSE(Action("eaUndo")->isEnabled());

  // Fewer rooms fit than asked: said under the preview, and again once the
  // map is made.
  QString note;
  dialogAnswers.push_back([&note](QDialog& dialog) {
    auto& d = static_cast<TfrmGenerateDungeon&>(dialog);
    d.ColsSpin()->setValue(10);
    d.RowsSpin()->setValue(10);
    d.RoomsSpin()->setValue(20);
    EXPECT_TRUE(PreviewSettled(d));
    note = d.Note();
    EXPECT_TRUE(d.OKButton()->isEnabled());
    d.accept();
  });
  Run("maGenerateDungeon");
  EXPECT_TRUE(note.startsWith("Only ")) << note.toStdString();
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  const TMessage& message = ScriptedMessages().Shown[0];
  EXPECT_EQ(message.Text, note);
  EXPECT_EQ(message.Caption, "Generate Dungeon");
  EXPECT_EQ(message.Icon, TMsgIcon::Information);
  // The map is there all the same.
  EXPECT_EQ(window->MapTabs()->count(), 3);
  EXPECT_EQ(window->CurrentMap()->Width(), 20);
}
