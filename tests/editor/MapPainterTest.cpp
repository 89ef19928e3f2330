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

// Draws sub-cell (x, y) of the map into a fresh white canvas of a device
// pixel ratio, the sub-cell covering size x size of its coordinates.
QImage Draw(const TTileMap& map, quint8 flags, int size, int x = 0, int y = 0,
            bool* occupied = nullptr, int ratio = 1) {
  QImage canvas = Canvas(size * ratio);
  canvas.setDevicePixelRatio(ratio);
  TScaledTileCache tiles;
  QPainter painter(&canvas);
  const bool result = DrawMapSubCell(map, tiles, painter, QRect(0, 0, size, size), flags, x, y);
  painter.end();
  if (occupied) *occupied = result;
  canvas.setDevicePixelRatio(1);
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
    if (test.floor) map.PlaceTile(mlBase, 0, 0, floor, 0);
    if (test.keyedLayer >= 0) map.PlaceTile(test.keyedLayer, 0, 0, keyed, 0);
    bool occupied = false;
    const QImage canvas = Draw(map, test.flags, 8, 0, 0, &occupied);
    EXPECT_EQ(occupied, test.occupied);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(canvas.pixel(x, y), x < 4 ? test.left : test.right) << x << "," << y;
  }
}

// Orientation 6 mirrors about the main diagonal: canvas (x, y) shows picture
// (y, x). The picture is drawn at the device pixels the rectangle covers: a
// 4-pixel rectangle on a canvas of ratio 2 gets all 8 pixels of the picture.
TEST(MapPainting, OrientationSixMirrorsAboutTheMainDiagonalAtTheDevicePixels) {
  const auto pixel = [](int x, int y) { return qRgb(30 * x, 30 * y, 5); };
  const TSubTile subTile = MakeSubTile(8, pixel);
  TTileMap map;
  map.PlaceTile(mlBase, 1, 0, subTile, 6);

  for (const int ratio : {1, 2}) {
    const QImage canvas = Draw(map, lfAll, 8 / ratio, 1, 0, nullptr, ratio);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(canvas.pixel(x, y), pixel(y, x)) << ratio << ": " << x << "," << y;
  }
  // Drawing reads the map only.
  EXPECT_EQ(map.EmbeddedTiles().At(0)->PictureId(), subTile.PictureId());
}

TEST(MapPainting, GridHandlerDrawsTheSubCellOfTheCurrentMap) {
  TTestTiles tiles;
  TEngineRig rig(4, 3);
  const TSubTile red = MakeSubTile(8, [](int, int) { return kRed; });
  rig.map->PlaceTile(mlBase, 3, 2, red, 0);

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
  first->PlaceTile(mlBase, 0, 0, red, 0);
  EXPECT_EQ(view.Paints, 0);
  second.PlaceTile(mlBase, 0, 0, red, 0);
  EXPECT_EQ(view.Paints, 1);

  painter.ActivateMap(first.get());
  first.reset();
  EXPECT_EQ(painter.CurrentMap(), nullptr);
  view.Paints = 0;
  second.PlaceTile(mlBase, 1, 0, red, 0);
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
// grid follows every step, and the painter keeps pictures of the new size
// only.
TEST(Zoom, StepsStopAtTheLimits) {
  TTestTiles tiles;
  TEngineRig rig(2, 2);
  const TSubTile red = MakeSubTile(16, [](int, int) { return kRed; });
  rig.map->PlaceTile(mlBase, 0, 0, red, 0);
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
    const int sub = step.size / 2;
    QImage canvas = Canvas(sub);
    QPainter painter(&canvas);
    rig.painter.grdMapDrawSubCell(0, 0, 0, 0, QRect(0, 0, sub, sub), painter, false);
    painter.end();
    EXPECT_EQ(canvas.pixel(sub - 1, sub - 1), kRed);
    EXPECT_EQ(rig.painter.ScaledTiles().Count(), 1);
  }
}

TEST(Zoom, AMapMadeCurrentAfterZoomingIsShownAtTheNewSize) {
  TMapGridModel grid;
  TMapPainter painter(grid);
  TTileMap first;
  TTileMap second;
  second.SetWidth(10);
  const TSubTile red = MakeSubTile(16, [](int, int) { return kRed; });
  const TSubTile green = MakeSubTile(16, [](int, int) { return qRgb(0, 200, 0); });
  first.PlaceTile(mlBase, 0, 0, green, 0);
  second.PlaceTile(mlBase, 0, 0, red, 0);
  const auto subCell = [&painter] {
    QImage canvas = Canvas(40);
    QPainter canvasPainter(&canvas);
    painter.grdMapDrawSubCell(0, 0, 0, 0, QRect(0, 0, painter.SubCellSize(), painter.SubCellSize()),
                              canvasPainter, false);
    canvasPainter.end();
    return canvas;
  };
  painter.ActivateMap(&first);
  EXPECT_EQ(subCell().pixel(23, 23), qRgb(0, 200, 0));
  painter.vwZoomInExecute(true);

  painter.ActivateMap(&second);
  const QImage shown = subCell();
  EXPECT_EQ(shown.pixel(31, 31), kRed);
  EXPECT_EQ(shown.pixel(32, 32), kWhite);
  // The first map's pictures went with it.
  EXPECT_EQ(painter.ScaledTiles().Count(), 1);
  EXPECT_EQ(grid.CellColCount(), 5);
  EXPECT_EQ(grid.CellRowCount(), 10);
}

}  // namespace
