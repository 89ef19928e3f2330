// On a screen of twice the pixels (this program runs with QT_SCALE_FACTOR=2)
// the map grid draws its tiles from their full-resolution pictures at the
// screen's own pixels: a screenshot of the grid at Z pixels per square is
// the picture `tessellan-tool render --cell 2Z` writes of the same map,
// except where the grid draws its lines, one screen pixel (two picture
// pixels) wide.
#include "editor/MapPainter.h"
#include "editor/controls/MapGrid.h"
#include "map/TileMapObjects.h"
#include "support/RunProgram.h"
#include "support/SuppliedMap.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);

// The map grid showing a map at a cell size, larger than the whole map, on
// white, with the outline timer stopped.
class TShownGrid {
 public:
  TShownGrid(TTileMap& map, int cellSize) {
    grid.resize(8 * cellSize + 40, 5 * cellSize + 40);
    grid.SetColor(Qt::white);
    grid.OutlineTimer()->stop();
    grid.SetOnDrawSubCell(&painter);
    grid.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
    painter.SetCellSize(cellSize);
    painter.ActivateMap(&map);
    painter.ApplyZoom();
  }

  // What the screen shows, in its own pixels.
  QImage Screenshot() {
    return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  TMapGrid grid;
  TMapPainter painter{grid.Model()};
};

class GridAtTwiceThePixels : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    map = supplied.Paint();
    mapPath = dir.filePath(QStringLiteral("map.tqm"));
    ASSERT_TRUE(map->SaveToFile(mapPath));
  }

  QImage Render(int cellSize) {
    const QString out = dir.filePath(QStringLiteral("render.png"));
    QFile::remove(out);
    const TProgramRun run = RunTool({QStringLiteral("render"), mapPath, out,
                                     QStringLiteral("--cell"), QString::number(cellSize)});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
    return QImage(out).convertToFormat(QImage::Format_RGB32);
  }

  TSuppliedMap supplied;
  std::unique_ptr<TTileMap> map;
  QTemporaryDir dir;
  QString mapPath;
};

TEST_F(GridAtTwiceThePixels, ScreenshotIsTheRenderAtTwiceTheCellSize) {
  for (const int zoom :
       {TMapPainter::kMinCellSize, TMapPainter::kDefaultCellSize, TMapPainter::kMaxCellSize}) {
    SCOPED_TRACE(zoom);
    TShownGrid shown(*map, zoom);
    ASSERT_EQ(shown.grid.devicePixelRatioF(), 2) << "QT_SCALE_FACTOR=2 did not take effect";
    const QImage screen = shown.Screenshot();
    const QImage file = Render(2 * zoom);
    ASSERT_EQ(file.size(), QSize(8 * 2 * zoom, 5 * 2 * zoom));
    ASSERT_GE(screen.width(), file.width() + 2);
    ASSERT_GE(screen.height(), file.height() + 2);

    // The grid's lines lie along every cell's top and left edge, two
    // picture pixels wide, and close the grid right of and below the map.
    const auto onLine = [zoom](int p) { return p % (2 * zoom) < 2; };
    std::string difference;
    int tilePixels = 0;
    for (int y = 0; y < file.height() && difference.empty(); ++y)
      for (int x = 0; x < file.width(); ++x) {
        const QRgb expected = onLine(x) || onLine(y) ? kGrey : file.pixel(x, y);
        if (screen.pixel(x, y) != expected) {
          difference = QStringLiteral("pixel (%1, %2): file #%3, screen #%4")
                           .arg(x)
                           .arg(y)
                           .arg(expected & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                           .arg(screen.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                           .toStdString();
          break;
        }
        tilePixels += expected != kGrey && expected != kWhite;
      }
    EXPECT_EQ(difference, "");
    EXPECT_GT(tilePixels, file.width() * file.height() / 2);
    for (int y = 0; y < file.height() + 2; ++y)
      ASSERT_EQ(screen.pixel(file.width() + 1, y), kGrey) << y;
    EXPECT_EQ(screen.pixel(file.width() + 2, 10), kWhite);
  }
}

// The outlines keep their look: the dashes of five black and three white
// screen pixels, each screen pixel two picture pixels wide and high.
TEST_F(GridAtTwiceThePixels, OutlinesKeepTheirLook) {
  TShownGrid shown(*map, TMapPainter::kDefaultCellSize);
  shown.grid.Model().SetCursorRectWidth(1);
  shown.grid.Model().SetCursorRectHeight(1);
  QTest::mouseMove(shown.grid.viewport(), QPoint(60, 60));  // cell (1, 1) at 48 pixels
  ASSERT_EQ(shown.grid.Model().HoverRect(), (TPixelRect{49, 49, 96, 96}));
  const QImage screen = shown.Screenshot();
  std::string dashes;
  for (int x = 2 * 49; x < 2 * 49 + 32; ++x) {
    const QRgb top = screen.pixel(x, 2 * 49);
    ASSERT_EQ(screen.pixel(x, 2 * 49 + 1), top) << x;
    dashes += top == qRgb(0, 0, 0) ? 'B' : top == kWhite ? 'W' : '.';
  }
  EXPECT_EQ(dashes, "BBBBBBBBBBWWWWWWBBBBBBBBBBWWWWWW");
  // Inside the outline the tiles show as drawn.
  EXPECT_EQ(screen.copy(2 * 50, 2 * 50, 60, 60), shown.grid.Picture().copy(2 * 50, 2 * 50, 60, 60));
}

}  // namespace
