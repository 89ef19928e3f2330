// The progress window and the preview, driven as a user drives them.
#include "PdfCheck.h"
#include "PrintTestSupport.h"
#include "base/Error.h"
#include "print/PrintJob.h"
#include "print/ui/PrintCommands.h"
#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "print/ui/frmPrintPreviewU.h"
#include "support/FileSizeLimit.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

// A printer on which every picture takes 10 ms to arrive, so a page of 6 x
// 6 sub-cells takes over a third of a second. It keeps nothing.
class TSlowEngine : public QPaintEngine {
 public:
  TSlowEngine() : QPaintEngine(AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { QThread::msleep(10); }
  void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    QThread::msleep(10);
  }
  Type type() const override { return User; }
};

class TSlowPrinter : public TPrinterDevice, public QPaintDevice {
 public:
  // 20 dpi, 3 x 3 one-inch squares a page.
  int ResolutionX() const override { return 20; }
  int ResolutionY() const override { return 20; }
  QSize PrintableSize() const override { return QSize(60, 60); }
  QSize PhysicalSize() const override { return QSize(70, 70); }
  QPoint PhysicalOffset() const override { return QPoint(5, 5); }
  bool Landscape() const override { return false; }
  void BeginJob(const QString&) override {
    fPainter.begin(this);
    ++PagesStarted;
  }
  void NewPage() override { ++PagesStarted; }
  void EndJob() override { fPainter.end(); }
  void AbortJob() override { EndJob(); }
  QPainter& Painter() override { return fPainter; }
  QPaintEngine* paintEngine() const override { return &fEngine; }

  std::atomic<int> PagesStarted{0};

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
      case PdmHeight:
        return 60;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 20;
      case PdmWidthMM:
      case PdmHeightMM:
        return 76;
      case PdmDepth:
        return 32;
      case PdmNumColors:
        return 1 << 24;
      default:
        return QPaintDevice::metric(metric);
    }
  }

 private:
  mutable TSlowEngine fEngine;
  QPainter fPainter;
};

// A click on Cancel while page 3 of 9 is drawn shows "Cancelling print" and
// the disabled button at once, before page 3 is done; page 4 is still
// printed and is the last.
TEST(PrintWindows, ACancelClickShowsAtOnceWhileThePageIsStillDrawn) {
  const auto map = CheckerMap(9, 9, 1.0f);
  TSlowPrinter printer;
  QElapsedTimer clock;
  clock.start();
  std::atomic<qint64> clickedAt{-1};
  qint64 shownAfter = -1;
  int pageInHand = 0;
  QString status;
  bool enabled = true;
  std::thread user([&] {
    while (printer.PagesStarted < 3 && clock.elapsed() < 20000)
      QThread::msleep(1);
    QThread::msleep(60);
    clickedAt = clock.elapsed();
    QMetaObject::invokeMethod(
        qApp,
        [&] {
          TfrmPrintMap* window = ProgressWindow();
          if (!window) return;
          window->CancelButton()->click();
          shownAfter = clock.elapsed() - clickedAt;
          pageInHand = printer.PagesStarted;
          status = window->StatusLabel()->text();
          enabled = window->CancelButton()->isEnabled();
        },
        Qt::QueuedConnection);
  });
  PrintMap(nullptr, *map, printer, -1);
  user.join();
  EXPECT_EQ(pageInHand, 3);
  EXPECT_GE(shownAfter, 0);
  EXPECT_LT(shownAfter, 100);
  EXPECT_EQ(status, QStringLiteral("Cancelling print"));
  EXPECT_FALSE(enabled);
  EXPECT_EQ(printer.PagesStarted, 4);
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

// The keys turn pages as the buttons do; with blank pages skipped, paging
// steps over them, and the aids chosen go back to the caller.
TEST_F(PreviewTest, KeysTurnPagesAndSkippedPagesArePassedOver) {
  // Pages 1 and 9 of 3 x 3 hold no tile.
  for (int y = 0; y < map->Height(); ++y)
    for (int x = 0; x < map->Width(); ++x)
      if ((x < 16 && y < 22) || (x >= 32 && y >= 44)) map->RemoveTile(mlBase, x, y);
  TfrmPrintPreview preview(nullptr, *map, printer);
  preview.show();
  preview.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
  struct {
    QAction* toggle;
    Qt::Key key;
    int page;
    bool previous, next;
  } steps[] = {
      {nullptr, Qt::Key_PageDown, 1, true, true},
      {nullptr, Qt::Key_End, 8, true, false},
      {nullptr, Qt::Key_PageUp, 7, true, true},
      {nullptr, Qt::Key_Home, 0, false, true},
      {nullptr, Qt::Key_PageUp, 0, false, true},
      // Skipping blank pages moves off the blank first page.
      {preview.ppSkipBlank, Qt::Key_unknown, 1, false, true},
      {nullptr, Qt::Key_End, 7, true, false},
      {nullptr, Qt::Key_Home, 1, false, true},
  };
  for (const auto& s : steps) {
    if (s.toggle) s.toggle->trigger();
    if (s.key != Qt::Key_unknown) QTest::keyClick(&preview, s.key);
    EXPECT_EQ(preview.CurrentPage(), s.page) << s.key;
    EXPECT_EQ(preview.ppPrevPage->isEnabled(), s.previous) << s.key;
    EXPECT_EQ(preview.ppNextPage->isEnabled(), s.next) << s.key;
  }
  EXPECT_EQ(preview.StatusText(0), QStringLiteral("Page 2 of 9"));

  // The label's strip costs the last row of squares here: 10 squares down
  // a page instead of 11.
  preview.ppLabels->trigger();
  EXPECT_EQ(preview.Layout().Rows, 20);
  EXPECT_TRUE(preview.Aids().Labels && preview.Aids().SkipBlank);
  EXPECT_FALSE(preview.Aids().Marks || preview.Aids().Calibration);
  TPrintAids chosen;
  chosen.Marks = true;
  TfrmPrintPreview again(nullptr, *map, printer, chosen);
  EXPECT_TRUE(again.ppMarks->isChecked());
  EXPECT_FALSE(again.ppLabels->isChecked());
}

// Fitted, the sheet fills the window; at 100% and 200% the drawing of 72
// pixels per inch keeps its size (the 8.5 x 11.5 inch sheet, its shadow and
// the grey around it) and scrolls.
TEST_F(PreviewTest, ZoomShowsTheDrawingAtItsSizeInAScrolledPage) {
  TfrmPrintPreview preview(nullptr, *map, printer);
  preview.resize(500, 500);
  preview.show();
  QApplication::processEvents();
  auto* image = preview.findChild<QWidget*>(QStringLiteral("imgPreview"));
  const QSize fitted = image->size();
  struct {
    QAction* zoom;
    QSize size;
  } steps[] = {
      {preview.ppZoom100, QSize(612 + 5 + 20, 828 + 5 + 20)},
      {preview.ppZoom200, QSize(1224 + 5 + 20, 1656 + 5 + 20)},
      {preview.ppZoomFit, fitted},
  };
  for (const auto& s : steps) {
    s.zoom->trigger();
    QApplication::processEvents();
    EXPECT_EQ(image->size(), s.size);
    EXPECT_EQ(preview.PreviewImage().size(), s.size);
  }
}

// From the preview the printer setup only changes settings, so its button
// says OK; before a print it says Print.
TEST(PrinterSetup, TheButtonSaysWhatConfirmingDoes) {
  QPrinter printer;
  for (const auto& [confirms, caption] :
       {std::pair(TSetupConfirms::Settings, "OK"), std::pair(TSetupConfirms::Printing, "&Print")}) {
    auto dialog = NewPrinterSetupDialog(nullptr, printer, confirms);
    dialog->show();
    QApplication::processEvents();
    auto* box = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->button(QDialogButtonBox::Ok)->text(), QLatin1String(caption));
    dialog->reject();
  }
}

}  // namespace

namespace {

// Print to File, as the printer dialog offers it, writes the PDF aside: a
// job whose writes fail leaves the earlier file byte for byte and nothing
// beside it, and names the system's reason; a complete job replaces it.
TEST(PrintToFile, AFailedWriteKeepsTheEarlierFileAndACompleteJobReplacesIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("map.pdf"));
  QFile earlier(path);
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
  earlier.write("the earlier print");
  earlier.close();
  const std::unique_ptr<TTileMap> map = CheckerMap(12, 12, 1.0f);
  TSystemPrinter printer;
  printer.Printer().setOutputFormat(QPrinter::PdfFormat);
  printer.Printer().setOutputFileName(path);
  printer.Printer().setResolution(150);
  try {
    const TFileSizeLimit limit(2000);
    PrintMapPages(*map, printer, -1);
    ADD_FAILURE() << "the job did not fail";
  } catch (const TError& error) {
    EXPECT_TRUE(error.Message().contains(QLatin1String(kFileTooLarge)))
        << qPrintable(error.Message());
  }
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), "the earlier print");
  earlier.close();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  const int pages = PrintMapPages(*map, printer, -1);
  EXPECT_GT(pages, 1);
  EXPECT_EQ(ReadPdfInfo(path).Pages, pages);
}

}  // namespace
