// The print preview on a screen of twice the pixels: its picture has the
// screen's pixels, the sheet where it is on an ordinary screen.
#include "print/PrintTestSupport.h"
#include "print/ui/frmPrintPreviewU.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(PrintPreviewAtTwiceThePixels, ThePageHasTheScreensPixels) {
  const std::unique_ptr<TTileMap> map = CheckerMap(20, 25, 1.0f);
  struct {
    bool turn;
    QRect sheet;  // where white paper or the map shows, in the window's pixels
  } cases[] = {
      {false, QRect(300 - 182 + 10, 10, 364 - 20, 480)},
      {true, QRect(50, 250 - 182, 500, 364)},
  };
  for (const auto& c : cases) {
    TImagePrinter device = SmallPrinter();
    if (c.turn) device.Turn();
    TfrmPrintPreview preview(nullptr, *map, device);
    preview.findChild<QWidget*>(QStringLiteral("imgPreview"))->setFixedSize(600, 500);
    preview.show();
    QApplication::processEvents();
    const QImage& image = preview.PreviewImage();
    ASSERT_EQ(image.devicePixelRatio(), 2) << "QT_SCALE_FACTOR=2 did not take effect";
    ASSERT_EQ(image.size(), QSize(1200, 1000));
    const QRgb grey = qRgb(128, 128, 128);
    const auto at = [&image](int x, int y) { return image.pixel(2 * x, 2 * y); };
    EXPECT_EQ(at(2, 2), grey);
    EXPECT_NE(at(c.sheet.center().x(), c.sheet.center().y()), grey);
    EXPECT_EQ(at(c.sheet.left() - 3, c.sheet.center().y()), grey);
    EXPECT_NE(at(c.sheet.left() + 3, c.sheet.top() + 3), grey);
    // The map's red squares show on the sheet.
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        red += image.pixel(x, y) == kRed;
    EXPECT_GT(red, 4 * 1000);
  }
}

}  // namespace
