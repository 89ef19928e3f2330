// The map on the screen and the map in a picture file are one picture: the
// grid widget's off-screen picture of a map painted with the supplied
// tilesets equals RenderMap of the same map, grid lines included, pixel for
// pixel.
#include "editor/MapPainter.h"
#include "editor/controls/MapGrid.h"
#include "map/TileMapObjects.h"
#include "render/MapRender.h"
#include "support/SuppliedMap.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Where two pictures first differ, or "" when they are the same.
std::string FirstDifference(const QImage& expected, const QImage& actual) {
  if (expected.size() != actual.size()) return "the sizes differ";
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x)
      if (expected.pixel(x, y) != actual.pixel(x, y))
        return QStringLiteral("pixel (%1, %2): file #%3, screen #%4")
            .arg(x)
            .arg(y)
            .arg(expected.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
            .arg(actual.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
            .toStdString();
  return std::string();
}

class GridPicture : public testing::Test {
 protected:
  TSuppliedMap supplied;
};

TEST_F(GridPicture, ScreenShowsWhatRenderMapWrites) {
  struct TCase {
    int CellSize;
    quint8 Layers;
  };
  const TCase cases[] = {
      {TMapPainter::kMinCellSize, lfAll},
      {TMapPainter::kDefaultCellSize, lfObjects | lfWalls},
      {TMapPainter::kMaxCellSize, lfAll},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.CellSize);
    // A control larger than the whole map at this size, so nothing scrolls;
    // the grid's background is RenderMap's white.
    TMapGrid grid;
    grid.resize(8 * c.CellSize + 40, 5 * c.CellSize + 40);
    grid.SetColor(Qt::white);
    grid.OutlineTimer()->stop();
    TMapPainter painter(grid.Model());
    grid.SetOnDrawSubCell(&painter);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    painter.SetCellSize(c.CellSize);
    const std::unique_ptr<TTileMap> map = supplied.Paint();
    painter.ActivateMap(map.get());
    if (!(c.Layers & lfBase)) painter.ToggleLayer(lfBase);
    painter.ApplyZoom();
    ASSERT_EQ(painter.LayerFlags(), c.Layers);

    const QImage file = RenderMap(*map, c.CellSize, c.Layers, true);
    // The map really shows tiles, not only the background and the lines.
    int tilePixels = 0;
    for (int y = 0; y < file.height(); ++y)
      for (int x = 0; x < file.width(); ++x)
        if (file.pixel(x, y) != qRgb(255, 255, 255) && file.pixel(x, y) != qRgb(128, 128, 128))
          ++tilePixels;
    EXPECT_GT(tilePixels, file.width() * file.height() / 8);
    ASSERT_LE(file.width(), grid.Picture().width());
    ASSERT_LE(file.height(), grid.Picture().height());
    // The screen closes the grid one pixel beyond the last square; the file
    // is exactly the squares' size, its closing lines on its last column and
    // row. Everything before them is the same pixel for pixel.
    const int w = file.width() - 1;
    const int h = file.height() - 1;
    const QImage screen = grid.Picture().copy(0, 0, w, h).convertToFormat(file.format());
    EXPECT_EQ(FirstDifference(file.copy(0, 0, w, h), screen), "");
    for (int y = 0; y <= h; ++y)
      ASSERT_EQ(file.pixel(w, y), qRgb(128, 128, 128)) << y;
    for (int x = 0; x <= w; ++x)
      ASSERT_EQ(file.pixel(x, h), qRgb(128, 128, 128)) << x;
  }
}

}  // namespace
