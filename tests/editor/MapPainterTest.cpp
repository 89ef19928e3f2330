#include "EditorTestSupport.h"
#include "storage/Guid.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QRgb kFloor = qRgb(10, 20, 30);
const QRgb kKey = qRgb(0x73, 0x73, 0x73);
const QRgb kRed = qRgb(200, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// A sub-tile whose size × size image is painted by a function of the pixel.
TSubTile MakeSubTile(int size, const std::function<QRgb(int x, int y)>& pixel,
                     qint32 transparent = -1) {
  QImage image(size, size, QImage::Format_RGB888);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      image.setPixel(x, y, pixel(x, y));
  TSubTile subTile;
  subTile.SetImage(image);
  subTile.SetGuid(NewGuidText());
  subTile.SetTransparentColor(transparent);
  return subTile;
}

// Left half the grey key colour, right half red; the key is transparent.
TSubTile HalfKeyed(int size) {
  return MakeSubTile(
      size, [size](int x, int) { return x < size / 2 ? kKey : kRed; }, 0x02737373);
}

QImage Canvas(int size) {
  QImage canvas(size, size, QImage::Format_RGB32);
  canvas.fill(kWhite);
  return canvas;
}

// Draws sub-cell (x, y) of the map into a fresh white canvas.
QImage Draw(const TTileMap& map, quint8 flags, bool stretch, int size, int x = 0, int y = 0,
            bool* occupied = nullptr) {
  QImage canvas = Canvas(size);
  QPainter painter(&canvas);
  const bool result = DrawMapSubCell(map, painter, QRect(0, 0, size, size), flags, stretch, x, y);
  painter.end();
  if (occupied) *occupied = result;
  return canvas;
}

// The layers a sub-cell holds, the flags it is drawn with, and what shows in
// the left (keyed) and right halves of an 8-pixel sub-cell.
TEST(MapPainting, LayersDrawBottomToTopWithKeyedObjectsAndWalls) {
  struct TCase {
    const char* what;
    bool floor;
    int keyedLayer;  // layer of the half-keyed picture, -1 for none
    quint8 flags;
    QRgb left, right;
    bool occupied;
  };
  const TCase cases[] = {
      {"object over floor", true, mlOverlay, lfAll, kFloor, kRed, true},
      {"wall over floor", true, mlWall, lfAll, kFloor, kRed, true},
      {"keyed picture on the base layer is opaque", false, mlBase, lfAll, kKey, kRed, true},
      {"object over nothing shows the background", false, mlOverlay, lfAll, kWhite, kRed, true},
      {"floor hidden", true, mlOverlay, lfObjects | lfWalls, kWhite, kRed, true},
      {"objects hidden", true, mlOverlay, lfBase | lfWalls, kFloor, kFloor, true},
      {"hidden wall alone still counts", false, mlWall, lfBase | lfObjects, kWhite, kWhite, true},
      {"empty sub-cell", false, -1, lfAll, kWhite, kWhite, false},
  };
  const TSubTile floor = MakeSubTile(8, [](int, int) { return kFloor; });
  const TSubTile keyed = HalfKeyed(8);
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.what);
    TTileMap map;
    if (test.floor) map.PlaceTile(mlBase, 0, 0, floor, 0, 8);
    if (test.keyedLayer >= 0) map.PlaceTile(test.keyedLayer, 0, 0, keyed, 0, 8);
    bool occupied = false;
    const QImage canvas = Draw(map, test.flags, false, 8, 0, 0, &occupied);
    EXPECT_EQ(occupied, test.occupied);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(canvas.pixel(x, y), x < 4 ? test.left : test.right) << x << "," << y;
  }
}

// Orientation 6 mirrors about the main diagonal: canvas (x, y) shows picture
// (y, x). Without stretch the cached copy at the drawing size is drawn; with
// stretch the full-resolution picture fills the rectangle.
TEST(MapPainting, OrientationSixMirrorsAboutTheMainDiagonal) {
  const auto pixel = [](int x, int y) { return qRgb(30 * x, 30 * y, 5); };
  const TSubTile subTile = MakeSubTile(8, pixel);
  TTileMap map;
  map.PlaceTile(mlBase, 1, 0, subTile, 6, 8);

  const QImage cached = Draw(map, lfAll, false, 8, 1, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(cached.pixel(x, y), pixel(y, x)) << x << "," << y;

  // The cache now holds a 4-pixel copy; a stretched drawing still comes from
  // the 8-pixel picture.
  map.ScaleEmbeddedTiles(4, 4);
  EXPECT_EQ(map.EmbeddedTiles().At(0)->Scaled().size(), QSize(4, 4));
  const QImage stretched = Draw(map, lfAll, true, 8, 1, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(stretched.pixel(x, y), pixel(y, x)) << x << "," << y;
  // Without stretch the 4-pixel copy covers only the rectangle's top-left.
  const QImage small = Draw(map, lfAll, false, 8, 1, 0);
  EXPECT_NE(small.pixel(3, 3), kWhite);
  EXPECT_EQ(small.pixel(4, 4), kWhite);
}

TEST(MapPainting, GridHandlerDrawsTheSubCellOfTheCurrentMap) {
  TTestTiles tiles;
  TEngineRig rig(4, 3);
  const TSubTile red = MakeSubTile(8, [](int, int) { return kRed; });
  rig.map->PlaceTile(mlBase, 3, 2, red, 0, rig.painter.SubCellSize());

  const auto draw = [&](int col, int row, int subCol, int subRow) {
    QImage canvas = Canvas(24);
    QPainter painter(&canvas);
    rig.painter.grdMapDrawSubCell(col, row, subCol, subRow, QRect(0, 0, 24, 24), painter, false);
    painter.end();
    return canvas.pixel(12, 12);
  };
  EXPECT_EQ(draw(1, 1, 1, 0), kRed);
  EXPECT_EQ(draw(1, 1, 0, 0), kWhite);
  EXPECT_EQ(draw(0, 1, 1, 0), kWhite);
  rig.painter.SetCurrentMap(nullptr);
  EXPECT_EQ(draw(1, 1, 1, 0), kWhite);
}

// Counts the grid's repaints.
class TPaintCounter : public TMapGridView {
 public:
  void PaintRegion(const TRedrawRange&) override { ++Paints; }
  int Paints = 0;
};

// Only the current map's changes repaint the grid; a current map that is
// freed leaves the painter with none instead of a dangling map.
TEST(MapPainting, ThePainterFollowsTheCurrentMapOnly) {
  TMapGridModel grid;
  grid.SetControlSize(2000, 2000);
  TPaintCounter view;
  grid.SetView(&view);
  TMapPainter painter(grid);
  auto first = std::make_unique<TTileMap>();
  TTileMap second;
  const TSubTile red = MakeSubTile(16, [](int, int) { return kRed; });
  painter.ActivateMap(first.get());
  painter.ActivateMap(&second);
  view.Paints = 0;
  first->PlaceTile(mlBase, 0, 0, red, 0, 24);
  EXPECT_EQ(view.Paints, 0);
  second.PlaceTile(mlBase, 0, 0, red, 0, 24);
  EXPECT_EQ(view.Paints, 1);

  painter.ActivateMap(first.get());
  first.reset();
  EXPECT_EQ(painter.CurrentMap(), nullptr);
  view.Paints = 0;
  second.PlaceTile(mlBase, 1, 0, red, 0, 24);
  EXPECT_EQ(view.Paints, 0);
  grid.SetView(nullptr);
}

TEST(MapPainting, LayerTogglesFlipOneFlagEach) {
  TMapGridModel grid;
  TMapPainter painter(grid);
  EXPECT_EQ(painter.LayerFlags(), lfAll);
  painter.vwWallLayerExecute();
  EXPECT_EQ(painter.LayerFlags(), lfBase | lfObjects);
  painter.vwBaseLayerExecute();
  EXPECT_EQ(painter.LayerFlags(), lfObjects);
  painter.vwWallLayerExecute();
  painter.vwObjectsLayerExecute();
  EXPECT_EQ(painter.LayerFlags(), lfWalls);
}

// Zoom steps from 48: in to 96 and no further, out to 32 and no further; the
// grid and the map's cached pictures follow every step.
TEST(Zoom, StepsStopAtTheLimits) {
  TTestTiles tiles;
  TEngineRig rig(2, 2);
  const TSubTile red = MakeSubTile(16, [](int, int) { return kRed; });
  rig.map->PlaceTile(mlBase, 0, 0, red, 0, rig.painter.SubCellSize());
  EXPECT_EQ(rig.painter.CellSize(), 48);

  struct TStep {
    bool in;
    int size;
    bool inEnabled, outEnabled;
  };
  const TStep steps[] = {
      {true, 64, true, true},  {true, 80, true, true},   {true, 96, false, true},
      {true, 96, false, true}, {false, 80, true, true},  {false, 64, true, true},
      {false, 48, true, true}, {false, 32, true, false}, {false, 32, true, false},
  };
  for (const TStep& step : steps) {
    rig.painter.vwZoomInExecute(step.in);
    EXPECT_EQ(rig.painter.CellSize(), step.size);
    EXPECT_EQ(rig.painter.ZoomInEnabled(), step.inEnabled);
    EXPECT_EQ(rig.painter.ZoomOutEnabled(), step.outEnabled);
    EXPECT_EQ(rig.grid.CellWidth(), step.size);
    EXPECT_EQ(rig.grid.CellHeight(), step.size);
    EXPECT_EQ(rig.map->EmbeddedTiles().At(0)->Scaled().width(), step.size / 2);
  }
}

TEST(Zoom, AMapMadeCurrentAfterZoomingIsShownAtTheNewSize) {
  TMapGridModel grid;
  TMapPainter painter(grid);
  TTileMap first;
  TTileMap second;
  second.SetWidth(10);
  const TSubTile red = MakeSubTile(16, [](int, int) { return kRed; });
  second.PlaceTile(mlBase, 0, 0, red, 0, 24);
  painter.ActivateMap(&first);
  painter.vwZoomInExecute(true);
  EXPECT_EQ(second.EmbeddedTiles().At(0)->Scaled().width(), 24);

  painter.ActivateMap(&second);
  EXPECT_EQ(second.EmbeddedTiles().At(0)->Scaled().width(), 32);
  EXPECT_EQ(grid.CellColCount(), 5);
  EXPECT_EQ(grid.CellRowCount(), 10);
}

}  // namespace
