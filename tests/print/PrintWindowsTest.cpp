// The progress window and the preview, driven as a user drives them.
#include "PrintTestSupport.h"
#include "base/Error.h"
#include "print/PrintJob.h"
#include "print/ui/frmPrintMapU.h"
#include "print/ui/frmPrintPreviewU.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TfrmPrintMap* ProgressWindow() {
  return qobject_cast<TfrmPrintMap*>(QApplication::activeModalWidget());
}

// The window shows each page's status as it starts; a click on Cancel while
// page 3 is drawn stops the job after page 4, and the window closes.
TEST(PrintWindows, CancelWhilePageThreeOfNineIsDrawnPrintsPagesOneToFour) {
  const auto map = CheckerMap(20, 25, 1.0f);
  TImagePrinter printer = SmallPrinter();
  QString caption;
  QStringList statuses;
  printer.OnNewPage = [&](int drawn) {
    TfrmPrintMap* window = ProgressWindow();
    ASSERT_NE(window, nullptr);
    caption = window->windowTitle();
    statuses << window->StatusLabel()->text();
    // A click that arrives while page 3 is drawn waits for the loop to
    // look at input, just before page 4.
    if (drawn == 3)
      QMetaObject::invokeMethod(window->CancelButton(), "click", Qt::QueuedConnection);
  };
  PrintMap(nullptr, *map, printer, -1);
  EXPECT_EQ(printer.Pages.size(), 4u);
  EXPECT_EQ(printer.Ended, 1);
  EXPECT_EQ(caption, QStringLiteral("Printing Checker"));
  // No page after the fourth: no new page once page 4 is drawn.
  EXPECT_EQ(statuses,
            QStringList({"Printing page 1 of 9", "Printing page 2 of 9", "Printing page 3 of 9"}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PrintWindows, AnErrorWhilePrintingClosesTheWindowAndIsRaised) {
  const auto map = CheckerMap(20, 25, 1.0f);
  TImagePrinter printer = SmallPrinter();
  printer.OnNewPage = [](int drawn) {
    if (drawn == 2) throw TError(QStringLiteral("The printer is out of paper."));
  };
  try {
    PrintMap(nullptr, *map, printer, -1);
    ADD_FAILURE() << "no error";
  } catch (const TError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("The printer is out of paper."));
  }
  EXPECT_EQ(printer.Ended, 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

class PreviewTest : public testing::Test {
 protected:
  std::unique_ptr<TTileMap> map = CheckerMap(20, 25, 1.0f);
  TImagePrinter printer = SmallPrinter();
};

TEST_F(PreviewTest, NavigationFollowsThePage) {
  TfrmPrintPreview preview(nullptr, *map, printer);
  struct {
    QAction* step;
    int page;
    bool previous, next;
    const char* status;
  } steps[] = {
      {nullptr, 0, false, true, "Page 1 of 9"},
      {preview.ppPrevPage, 0, false, true, "Page 1 of 9"},
      {preview.ppNextPage, 1, true, true, "Page 2 of 9"},
      {preview.ppNextPage, 2, true, true, "Page 3 of 9"},
  };
  for (const auto& s : steps) {
    if (s.step) s.step->trigger();
    EXPECT_EQ(preview.CurrentPage(), s.page);
    EXPECT_EQ(preview.ppPrevPage->isEnabled(), s.previous);
    EXPECT_EQ(preview.ppNextPage->isEnabled(), s.next);
    EXPECT_EQ(preview.StatusText(0), QLatin1String(s.status));
  }
  for (int i = 0; i < 10; ++i)
    preview.ppNextPage->trigger();
  EXPECT_EQ(preview.CurrentPage(), 8);
  EXPECT_FALSE(preview.ppNextPage->isEnabled());
  EXPECT_TRUE(preview.ppPrevPage->isEnabled());
  EXPECT_TRUE(preview.ppPrint->isEnabled());
  EXPECT_TRUE(preview.ppPrintPage->isEnabled());
  EXPECT_EQ(preview.StatusText(1), QStringLiteral("1 inch grid - 25 mm Miniatures"));
  EXPECT_EQ(preview.StatusText(2), QStringLiteral("Portrait"));
}

TEST_F(PreviewTest, PrinterSetupReturnsToPageOneWithTheNewLayout) {
  TfrmPrintPreview preview(nullptr, *map, printer);
  preview.PrinterSetup = [this](QWidget*) {
    printer.Turn();
    return true;
  };
  preview.ppNextPage->trigger();
  preview.ppNextPage->trigger();
  preview.ppPrintSetup->trigger();
  EXPECT_EQ(preview.CurrentPage(), 0);
  EXPECT_FALSE(preview.ppPrevPage->isEnabled());
  // 11 x 8 squares a page in landscape: 2 x 4 pages.
  EXPECT_EQ(preview.StatusText(0), QStringLiteral("Page 1 of 8"));
  EXPECT_EQ(preview.StatusText(2), QStringLiteral("Landscape"));
  // A cancelled setup changes nothing.
  preview.ppNextPage->trigger();
  preview.PrinterSetup = [](QWidget*) { return false; };
  preview.ppPrintSetup->trigger();
  EXPECT_EQ(preview.CurrentPage(), 1);
}

TEST_F(PreviewTest, PrintPagePrintsExactlyThePreviewedPage) {
  TImagePrinter all = SmallPrinter();
  PrintMapPages(*map, all, -1);
  TfrmPrintPreview preview(nullptr, *map, printer);
  for (int i = 0; i < 4; ++i)
    preview.ppNextPage->trigger();
  preview.ppPrintPage->trigger();
  ASSERT_EQ(printer.Pages.size(), 1u);
  EXPECT_EQ(printer.Pages[0], all.Pages[4]);
  EXPECT_EQ(preview.CurrentPage(), 4);
  EXPECT_EQ(preview.result(), 0);  // still open, not closed through Print
}

TEST_F(PreviewTest, PaperFitsThePreviewInBothOrientations) {
  struct {
    bool turn;
    QSize image;
    QRect sheet;  // where white paper shows
  } cases[] = {
      // Portrait: as high as the image less 10 pixels all round, centred.
      {false, QSize(600, 500), QRect(300 - 182 + 10, 10, 364 - 20, 480)},
      // Landscape: as wide as the image is high, centred both ways.
      {true, QSize(600, 500), QRect(50, 250 - 182, 500, 364)},
  };
  for (const auto& c : cases) {
    TImagePrinter device = SmallPrinter();
    if (c.turn) device.Turn();
    TfrmPrintPreview preview(nullptr, *map, device);
    preview.findChild<QWidget*>(QStringLiteral("imgPreview"))->setFixedSize(c.image);
    preview.show();
    QApplication::processEvents();
    const QImage& image = preview.PreviewImage();
    ASSERT_EQ(image.size(), c.image);
    const QRgb grey = qRgb(128, 128, 128);
    EXPECT_EQ(image.pixel(2, 2), grey);
    EXPECT_NE(image.pixel(c.sheet.center()), grey);
    EXPECT_EQ(image.pixel(c.sheet.left() - 3, c.sheet.center().y()), grey);
    EXPECT_NE(image.pixel(c.sheet.left() + 3, c.sheet.top() + 3), grey);
  }
}

}  // namespace
