#include "EditorTestSupport.h"
#include "TilesetFixture.h"
#include "map/UndoRedoU.h"
#include "support/ScriptedMessages.h"
#include "tiles/TileSet.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Records what the palette tells its window and answers a selection the way
// the palette grid does: by calling grdTileGroupsSelect.
class TPaletteRecorder : public QObject {
 public:
  explicit TPaletteRecorder(TPalette& palette) {
    connect(&palette, &TPalette::ItemsChanged, this,
            [this](int numItems) { Log += "items " + std::to_string(numItems) + ";"; });
    connect(&palette, &TPalette::SelectItemRequested, this, [this, &palette](int index) {
      Log += "select " + std::to_string(index) + ";";
      palette.grdTileGroupsSelect(index);
    });
    connect(&palette, &TPalette::TilesetLoadStarted, this, [this] { Log += "begin;"; });
    connect(&palette, &TPalette::TilesetLoadFinished, this, [this] { Log += "end;"; });
  }

  std::string Log;
};

class PaletteTest : public TilesetFixture {};

TEST_F(PaletteTest, CategoriesDifferingOnlyInCaseAreOneEntryListingBoth) {
  AddTileset(QStringLiteral("a.tls"), QStringLiteral("Mixed"),
             {Group("Slate", "Floors"), Group("Barrel", "Placeables"), Group("Sand", "floors"),
              Group("Door", "Doors"), Group("Crate", "PLACEABLES")});
  Start();
  EXPECT_EQ(Palette().Categories(),
            QStringList(
                {QStringLiteral("Floors"), QStringLiteral("Placeables"), QStringLiteral("Doors")}));
  EXPECT_EQ(Palette().CategoryIndex(), 0);
  EXPECT_EQ(GroupNames(), QStringList({QStringLiteral("Slate"), QStringLiteral("Sand")}));
  EXPECT_EQ(Palette().NumItems(), 2);

  Palette().cbxCategoryChange(1);
  EXPECT_EQ(GroupNames(), QStringList({QStringLiteral("Barrel"), QStringLiteral("Crate")}));
  EXPECT_EQ(Palette().Selected(), 0);
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Barrel"));
}

// Which category the start-up shows, for categories in order of appearance.
TEST_F(PaletteTest, StartUpShowsFloorsWhereverItIs) {
  struct TCase {
    std::vector<const char*> categories;
    int shown;
  };
  const TCase cases[] = {
      {{"Placeables", "Floors"}, 1},
      {{"Doors", "Placeables", "floors"}, 2},
      {{"Floors", "Doors"}, 0},
      {{"Doors", "Placeables"}, 0},
  };
  int file = 0;
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.categories.size());
    TearDown();
    SetUp();
    std::vector<TGroupDef> groups;
    for (const char* category : test.categories)
      groups.push_back(Group(category, category));  // each group named after its category
    AddTileset(QStringLiteral("t%1.tls").arg(++file), QStringLiteral("T"), groups);
    Start();
    EXPECT_EQ(Palette().CategoryIndex(), test.shown);
    EXPECT_EQ(CurrentGroupName(), QString::fromLatin1(test.categories[size_t(test.shown)]));
    EXPECT_EQ(Engine().Tool(), etPlaceTiles);
    EXPECT_EQ(Palette().TilesetHint(),
              QStringLiteral("Author: Test Author\r\nDescription: Made by a test."));
  }
}

// Palette pictures: a group without a tile at (0, 0) shows "Empty"; one whose
// preview fails shows "Corrupt" and is marked so that it cannot be placed;
// others show their preview in the 4-pixel margin.
TEST_F(PaletteTest, EmptyAndCorruptItems) {
  TGroupDef hollow = Group("Hollow", "Floors", 2, 1);
  hollow.Tiles = {QPoint(1, 0)};
  AddTileset(QStringLiteral("a.tls"), QStringLiteral("T"),
             {Group("Fine", "Floors"), hollow, Group("Broken", "Floors")});
  session = std::make_unique<TEditSession>(grid, TilesetList());
  map = std::make_unique<TTileMap>();
  session->Painter().ActivateMap(map.get());
  static const struct TFailingPainter : TGroupPainter {
    void DrawGroup(const TTileGroup& group, QPainter& canvas, const QRect& rect,
                   int orientation) const override {
      if (group.GroupName() == QLatin1String("Broken"))
        throw std::runtime_error("the picture cannot be drawn");
      group.DrawPreview(canvas, rect, orientation);
    }
  } failing;
  Palette().SetGroupPainter(&failing);
  Palette().Start();
  ASSERT_EQ(Palette().NumItems(), 3);

  const QColor buttonFace = QGuiApplication::palette().color(QPalette::Button);
  const QColor window = QGuiApplication::palette().color(QPalette::Base);
  const auto darkPixels = [](const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        count += qGray(picture.pixel(x, y)) < 64;
    return count;
  };

  const QImage fine = Palette().Pictures().At(0);
  QImage expected(60, 60, QImage::Format_RGB888);
  expected.fill(Qt::white);
  {
    QPainter painter(&expected);
    Palette().Groups().At(0)->DrawPreview(painter, QRect(4, 4, 53, 53), 0);
  }
  EXPECT_EQ(fine, expected);
  EXPECT_EQ(fine.format(), QImage::Format_RGB888);

  const QImage empty = Palette().Pictures().At(1);
  EXPECT_EQ(QColor(empty.pixel(4, 4)), buttonFace);
  EXPECT_EQ(QColor(empty.pixel(56, 56)), buttonFace);
  EXPECT_EQ(QColor(empty.pixel(5, 5)), QColor(Qt::white));
  EXPECT_GT(darkPixels(empty), 10);
  EXPECT_FALSE(Palette().Groups().At(1)->Corrupt());

  const QImage corrupt = Palette().Pictures().At(2);
  EXPECT_EQ(QColor(corrupt.pixel(4, 4)), buttonFace);
  EXPECT_EQ(QColor(corrupt.pixel(5, 5)), window);
  EXPECT_GT(darkPixels(corrupt), 10);
  EXPECT_TRUE(Palette().Groups().At(2)->Corrupt());
  EXPECT_NE(corrupt, empty);

  // The Corrupt group can be selected but not placed; the Empty one places
  // nothing where its tiles are missing.
  Palette().grdTileGroupsSelect(2);
  emit grid.Selected(grid.MapSelection());
  EXPECT_EQ(map->UndoList().Count(), 0);
  Palette().grdTileGroupsSelect(1);
  DragOnGrid(grid, {0, 0}, {0, 0});
  EXPECT_EQ(map->UndoList().Count(), 1);
  EXPECT_EQ(map->GetTile(mlBase, 0, 0), nullptr);
  EXPECT_NE(map->GetTile(mlBase, 2, 0), nullptr);
}

// On a screen of twice the pixels the palette's pictures and the preview
// have twice the pixels, drawn from the full-resolution tiles at that size.
TEST_F(PaletteTest, PicturesHaveTheScreensPixels) {
  AddTileset(QStringLiteral("a.tls"), QStringLiteral("T"), {Group("Fine", "Floors")});
  Start();
  Palette().SetDevicePixelRatio(2);
  const QImage& picture = Palette().Pictures().At(0);
  EXPECT_EQ(picture.size(), QSize(120, 120));
  EXPECT_EQ(picture.devicePixelRatio(), 2);
  QImage expected(120, 120, QImage::Format_RGB888);
  expected.setDevicePixelRatio(2);
  expected.fill(Qt::white);
  {
    QPainter painter(&expected);
    Palette().Groups().At(0)->DrawPreview(painter, QRect(4, 4, 53, 53), 0);
  }
  EXPECT_EQ(picture, expected);
  EXPECT_EQ(Palette().Preview().size(), QSize(164, 164));
  EXPECT_EQ(Palette().Preview().devicePixelRatio(), 2);
}

TEST_F(PaletteTest, SelectingSetsGroupOrientationStatusPreviewAndGrid) {
  AddTileset(QStringLiteral("a.tls"), QStringLiteral("T"),
             {Group("Table", "Placeables", 2, 1, 1, 2), Group("Stairs", "Placeables", 1, 2, 0, 1)});
  Start();
  Engine().vwRotateClockwiseExecute();
  EXPECT_EQ(Engine().Orientation(), 1);
  const auto previewOf = [&](int orientation) {
    QImage image(82, 82, QImage::Format_RGB888);
    QPainter painter(&image);
    Engine().CurrentGroup()->DrawPreview(painter, image.rect(), orientation);
    return image;
  };
  EXPECT_EQ(Palette().Preview(), previewOf(1));

  // Selecting the item that is already selected starts again at orientation 0.
  Palette().grdTileGroupsSelect(0);
  EXPECT_EQ(Engine().Orientation(), 0);
  EXPECT_EQ(Palette().Preview(), previewOf(0));
  EXPECT_EQ(Palette().StatusText(), QStringLiteral("Table - Table for tests."));
  EXPECT_EQ(grid.SelectType(), TSelectType::SubCell);
  EXPECT_EQ(grid.CursorRectWidth(), 2);

  Palette().grdTileGroupsSelect(1);
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Stairs"));
  EXPECT_EQ(grid.SelectType(), TSelectType::FullCell);
  EXPECT_FALSE(grid.SelectRange());
  EXPECT_EQ(grid.CursorRectHeight(), 2);
}

TEST_F(PaletteTest, StatusTextIsTheNameAloneWithoutADescription) {
  TTileSet& tileSet = TilesetList().Add();
  ASSERT_TRUE(tileSet.EnsureLoaded());
  TTileGroup& group = tileSet.AddGroup();
  group.SetGroupName(QStringLiteral("Plain"));
  group.SetCategory(QStringLiteral("Floors"));
  Start();
  EXPECT_EQ(Palette().StatusText(), QStringLiteral("Plain"));
}

// A tileset that fails to load leaves an empty palette with no group: the
// previous tileset has been unloaded, so its groups must not be listed.
// Switching back loads it again.
TEST_F(PaletteTest, SwitchingToATilesetThatFailsLeavesAnEmptyPalette) {
  TTileSet& good = AddTileset(QStringLiteral("good.tls"), QStringLiteral("Good"),
                              {Group("Slate", "Floors"), Group("Barrel", "Placeables")});
  AddBrokenTileset(QStringLiteral("bad.tls"));
  Start();
  TPaletteRecorder view(Palette());
  EXPECT_EQ(Palette().TilesetNames(), QStringList({QStringLiteral("Good"), QStringLiteral("bad")}));
  Engine().gaEraserExecute();
  int updates = 0;
  QObject listener;
  QObject::connect(&Engine(), &TPlacementEngine::UpdateControlsRequested, &listener,
                   [&] { ++updates; });

  Palette().cbxTilesetChange(1);
  EXPECT_FALSE(good.Loaded());
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, QStringLiteral("Invalid or Corrupt Tileset"));
  EXPECT_EQ(Palette().TilesetIndex(), 1);
  EXPECT_EQ(Palette().NumItems(), 0);
  EXPECT_TRUE(Palette().Categories().isEmpty());
  EXPECT_EQ(Palette().Selected(), -1);
  EXPECT_EQ(Engine().CurrentGroup(), nullptr);
  EXPECT_TRUE(Palette().TilesetHint().isEmpty());
  EXPECT_EQ(Engine().Tool(), etPlaceTiles);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(view.Log, "begin;items 0;end;");
  // Nothing to place: the tool records an empty step and changes nothing.
  DragOnGrid(grid, {0, 0}, {2, 2});
  EXPECT_EQ(map->UndoList().Count(), 1);

  view.Log.clear();
  Palette().cbxTilesetChange(0);
  EXPECT_TRUE(good.Loaded());
  EXPECT_EQ(Palette().Categories(),
            QStringList({QStringLiteral("Floors"), QStringLiteral("Placeables")}));
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Slate"));
  EXPECT_EQ(view.Log, "begin;items 1;select 0;end;");
  // Choosing the tileset shown already does nothing.
  view.Log.clear();
  Palette().cbxTilesetChange(0);
  EXPECT_EQ(view.Log, "");
  EXPECT_EQ(ScriptedMessages().Shown.size(), 1u);
}

// The wall tool lists the wall tileset's "Walls" groups with the tileset
// controls hidden; leaving it restores the palette from the boxes.
TEST_F(PaletteTest, WallToolShowsTheWallStylesAndLeavingRestoresThePalette) {
  TTileSet& tiles = AddTileset(QStringLiteral("a.tls"), QStringLiteral("T"),
                               {Group("Slate", "Floors"), Group("Barrel", "Placeables", 1, 1, 1),
                                Group("Crate", "Placeables", 1, 1, 1)});
  Start();
  Palette().cbxCategoryChange(1);
  Palette().grdTileGroupsSelect(1);
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Crate"));

  Engine().gaWallExecute();
  EXPECT_FALSE(Palette().TilesetControlsVisible());
  EXPECT_EQ(Engine().CurrentTileset(), TilesetList().Items(0));
  EXPECT_EQ(GroupNames(), QStringList({QStringLiteral("Standard"), QStringLiteral("Stone")}));
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Standard"));
  EXPECT_EQ(grid.SelectType(), TSelectType::Edge);
  EXPECT_FALSE(Engine().OrientationCommandsEnabled());
  Palette().grdTileGroupsSelect(1);
  EXPECT_EQ(grid.SelectType(), TSelectType::Edge);
  EXPECT_TRUE(tiles.Loaded());

  Engine().gaEraserExecute();
  EXPECT_TRUE(Palette().TilesetControlsVisible());
  EXPECT_EQ(Engine().CurrentTileset(), &tiles);
  EXPECT_EQ(Palette().CategoryIndex(), 1);
  EXPECT_EQ(GroupNames(), QStringList({QStringLiteral("Barrel"), QStringLiteral("Crate")}));
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Barrel"));
  EXPECT_EQ(grid.SelectType(), TSelectType::FullCell);
  EXPECT_EQ(grid.CursorRectWidth(), 1);

  Engine().gaWallExecute();
  Engine().gaRoomExecute();
  EXPECT_TRUE(Palette().TilesetControlsVisible());
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Barrel"));
  EXPECT_EQ(grid.SelectType(), TSelectType::SubCell);
}

TEST_F(PaletteTest, WithoutAnyOrdinaryTilesetThePaletteIsEmpty) {
  Start();
  EXPECT_TRUE(Palette().TilesetNames().isEmpty());
  EXPECT_EQ(Palette().TilesetIndex(), -1);
  EXPECT_EQ(Palette().NumItems(), 0);
  EXPECT_EQ(Engine().CurrentGroup(), nullptr);
  Engine().gaWallExecute();
  EXPECT_EQ(CurrentGroupName(), QStringLiteral("Standard"));
  Engine().gaRoomExecute();
  EXPECT_EQ(Engine().CurrentGroup(), nullptr);
}

// The supplied wall styles join into corners like the test's own.
TEST_F(PaletteTest, SuppliedWallStylesDrawARoom) {
  TilesetList().Clear();
  QTemporaryDir installed;
  ASSERT_TRUE(installed.isValid());
  TilesetList().LoadInstalled(installed.path());
  ASSERT_NE(TilesetList().Items(0), nullptr);
  Start();
  Engine().gaWallExecute();
  ASSERT_EQ(Palette().Groups().Count(), 2);
  for (int style = 0; style < 2; ++style) {
    SCOPED_TRACE(style);
    map = std::make_unique<TTileMap>();
    map->SetWidth(8);
    map->SetHeight(8);
    session->Painter().ActivateMap(map.get());
    Palette().grdTileGroupsSelect(style);
    TTestTiles names;
    names.NameWallStyle(*Engine().CurrentGroup());
    DragOnGrid(grid, {1, 1, 0, 0, TCellEdge::Top}, {2, 1, 0, 0, TCellEdge::Top});
    DragOnGrid(grid, {2, 1, 0, 0, TCellEdge::Right}, {2, 2, 0, 0, TCellEdge::Right});
    DragOnGrid(grid, {1, 2, 0, 0, TCellEdge::Bottom}, {2, 2, 0, 0, TCellEdge::Bottom});
    DragOnGrid(grid, {1, 1, 0, 0, TCellEdge::Left}, {1, 2, 0, 0, TCellEdge::Left});
    EXPECT_EQ(names.SubCellPicture(*map, mlWall), Lines(R"(
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. 00 41 40 11 .. ..
.. .. 72 .. .. 53 .. ..
.. .. 70 .. .. 51 .. ..
.. .. 32 63 62 23 .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)"));
  }
}

}  // namespace
