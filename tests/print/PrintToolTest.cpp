// tessellan-tool print, run as a user runs it: the PDF it writes is read
// back with poppler.
#include "PdfCheck.h"
#include "PrintTestSupport.h"
#include "support/RunProgram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class PrintToolTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    mapPath = dir.filePath(QStringLiteral("checker.tqm"));
    // 20 x 25 one-inch squares.
    ASSERT_TRUE(CheckerMap(20, 25, 1.0f)->SaveToFile(mapPath));
  }
  QString Pdf() const { return dir.filePath(QStringLiteral("out.pdf")); }

  QTemporaryDir dir;
  QString mapPath;
};

TEST_F(PrintToolTest, WritesThePagesThePrinterWouldGet) {
  struct {
    QStringList options;
    int pages;
    QSizeF size;  // points
  } cases[] = {
      // 8 x 10 squares a page at 300 dpi on Letter: 3 x 3 pages.
      {{}, 9, {612, 792}},
      // Landscape holds 10 x 8: 2 x 4 pages.
      {{QStringLiteral("--landscape")}, 8, {792, 612}},
      {{QStringLiteral("--paper"), QStringLiteral("A3"), QStringLiteral("--dpi"),
        QStringLiteral("150")},
       4,
       {842, 1191}},
      {{QStringLiteral("--page"), QStringLiteral("5")}, 1, {612, 792}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
    QFile::remove(Pdf());
    const TProgramRun run =
        RunTool(QStringList({QStringLiteral("print"), mapPath, QStringLiteral("--pdf"), Pdf()}) +
                c.options);
    ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
    const TPdfInfo info = ReadPdfInfo(Pdf());
    EXPECT_EQ(info.Pages, c.pages);
    EXPECT_NEAR(info.PageSize.width(), c.size.width(), 1.0);
    EXPECT_NEAR(info.PageSize.height(), c.size.height(), 1.0);
  }
}

TEST_F(PrintToolTest, FailuresExitWithStatusOneAndWriteNothing) {
  const QString missing = dir.filePath(QStringLiteral("missing.tqm"));
  struct {
    QStringList args;
    QString message;
  } cases[] = {
      {{missing, QStringLiteral("--pdf"), Pdf()},
       QStringLiteral("The file ") + missing +
           QStringLiteral(" could not be found or does not exist.")},
      {{mapPath, QStringLiteral("--pdf"), Pdf(), QStringLiteral("--paper"), QStringLiteral("b5")},
       QStringLiteral("Unknown paper \"b5\" (expected letter, a4, legal, a3 or tabloid).")},
      {{mapPath, QStringLiteral("--pdf"), Pdf(), QStringLiteral("--page"), QStringLiteral("10")},
       QStringLiteral("The map prints on 9 pages; there is no page 10.")},
      {{mapPath, QStringLiteral("--pdf"), Pdf(), QStringLiteral("--dpi"), QStringLiteral("0")},
       QStringLiteral("--dpi takes a whole number from 1 to 4800.")},
      {{mapPath, QStringLiteral("--pdf"), Pdf(), QStringLiteral("--printer"), QStringLiteral("q")},
       QStringLiteral("Usage: tessellan-tool print MAP (--pdf OUT.pdf [--dpi N] [--paper "
                      "letter|a4|legal|a3|tabloid] [--landscape] | --printer QUEUE) [--page N] "
                      "[--labels] [--marks] [--calibration] [--skip-blank]")},
  };
  for (const auto& c : cases) {
    const TProgramRun run = RunTool(QStringList(QStringLiteral("print")) + c.args);
    EXPECT_EQ(run.ExitCode, 1) << qPrintable(c.args.join(QLatin1Char(' ')));
    const QStringList lines = QString::fromLocal8Bit(run.Err).trimmed().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.last().toStdString(), c.message.toStdString());
    EXPECT_FALSE(QFile::exists(Pdf()));
  }
}

// 20 x 18 one-inch squares on Letter: 8 x 10 squares a page, with or
// without the label's strip, so 3 x 2 pages. Each label names the page's
// place, number and map; a page left out as blank keeps its name and
// number for itself, and the squares keep their true size.
TEST_F(PrintToolTest, LabelsNameThePagesInOrderAndSkippedPagesKeepTheirNames) {
  const auto print = [&](const QString& map, const QStringList& options) {
    QFile::remove(Pdf());
    const TProgramRun run = RunTool(
        QStringList({QStringLiteral("print"), map, QStringLiteral("--pdf"), Pdf()}) + options);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
    QStringList labels;
    const QRegularExpression label(QStringLiteral("^(\\w+)\\s+page (\\d+) of (\\d+)\\s+Checker$"));
    for (const QString& text : PdfPageTexts(Pdf())) {
      const QRegularExpressionMatch match = label.match(text.trimmed());
      labels << (match.hasMatch() ? match.captured(1) + QLatin1Char(' ') + match.captured(2) +
                                        QLatin1Char('/') + match.captured(3)
                                  : text.trimmed());
    }
    return labels;
  };
  const QString full = dir.filePath(QStringLiteral("full.tqm"));
  auto map = CheckerMap(20, 18, 1.0f);
  ASSERT_TRUE(map->SaveToFile(full));
  EXPECT_EQ(print(full, {QStringLiteral("--labels")}),
            QStringList({"A1 1/6", "B1 2/6", "C1 3/6", "A2 4/6", "B2 5/6", "C2 6/6"}));

  const QImage page = RasterisePage(Pdf(), 1, 100);
  for (const TSquareRun& run : {MeasureRow(page, 75), MeasureColumn(page, 75)}) {
    EXPECT_NEAR(run.Start, 25, 1.0);
    EXPECT_NEAR((run.End - run.Start) / run.Squares, 100, 0.5);
  }
  EXPECT_EQ(MeasureRow(page, 75).Squares, 8);
  EXPECT_EQ(MeasureColumn(page, 75).Squares, 10);

  // B1 and C2 hold no tile.
  for (int y = 0; y < map->Height(); ++y)
    for (int x = 0; x < map->Width(); ++x)
      if ((x >= 16 && x < 32 && y < 20) || (x >= 32 && y >= 20)) map->RemoveTile(mlBase, x, y);
  const QString gaps = dir.filePath(QStringLiteral("gaps.tqm"));
  ASSERT_TRUE(map->SaveToFile(gaps));
  EXPECT_EQ(print(gaps, {QStringLiteral("--labels"), QStringLiteral("--skip-blank")}),
            QStringList({"A1 1/6", "C1 3/6", "A2 4/6", "B2 5/6"}));
  // Without the labels the same pages come out, with no text on them.
  EXPECT_EQ(print(gaps, {QStringLiteral("--skip-blank"), QStringLiteral("--marks")}),
            QStringList({"", "", "", ""}));
  EXPECT_EQ(print(gaps, {}), QStringList({"", "", "", "", "", ""}));
}

// The calibration bars, rasterised at the print's own resolution, measure
// 1 inch and 25 mm, on the first page only.
TEST_F(PrintToolTest, TheCalibrationBarMeasuresOneInchAndTwentyFiveMillimetres) {
  const TProgramRun run = RunTool({QStringLiteral("print"), mapPath, QStringLiteral("--pdf"), Pdf(),
                                   QStringLiteral("--calibration")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  const QStringList texts = PdfPageTexts(Pdf());
  ASSERT_EQ(texts.size(), 9);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("1 inch")) &&
              texts[0].contains(QStringLiteral("25 mm")))
      << qPrintable(texts[0]);
  EXPECT_TRUE(texts[1].trimmed().isEmpty()) << qPrintable(texts[1]);

  // The strip of 0.3 inches ends at the printable area's foot, 10.75 inches
  // down; its bars lie in the middle of its upper half.
  for (const int p : {1, 2}) {
    const QImage strip = RasterisePage(Pdf(), p, 300, QRect(0, 3135, 2550, 60));
    std::vector<int> bars;
    for (int y = 0; y < strip.height() && bars.empty(); ++y) {
      int length = 0;
      for (int x = 0; x <= strip.width(); ++x) {
        if (x < strip.width() && qGray(strip.pixel(x, y)) < 128) {
          ++length;
        } else {
          if (length >= 200) bars.push_back(length);
          length = 0;
        }
      }
    }
    if (p == 1) {
      ASSERT_EQ(bars.size(), 2u);
      EXPECT_NEAR(bars[0], 300, 1.0);
      EXPECT_NEAR(bars[1], 300 * 25 / 25.4, 1.0);
    } else {
      EXPECT_TRUE(bars.empty());
    }
  }
}

// A print killed while it writes leaves the earlier file whole: the pages
// go to a file of another name beside it (which the killed run leaves).
TEST_F(PrintToolTest, APrintKilledMidwayLeavesTheEarlierFile) {
  const QByteArray earlier("the earlier PDF");
  {
    QFile file(Pdf());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(earlier);
  }
  const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  QProcess process;
  process.start(QStringLiteral(TESSELLAN_BINARY_DIR "/tessellan-tool"),
                {QStringLiteral("print"), mapPath, QStringLiteral("--pdf"), Pdf(),
                 QStringLiteral("--dpi"), QStringLiteral("1200")});
  ASSERT_TRUE(process.waitForStarted());
  // Killed as soon as the job has begun writing: a new file beside the
  // target, or the target itself changed.
  QElapsedTimer waited;
  waited.start();
  QStringList now = before;
  while (process.state() == QProcess::Running && now == before && waited.elapsed() < 60000) {
    QThread::msleep(1);
    now = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (QFileInfo(Pdf()).size() != earlier.size()) break;
  }
  ASSERT_EQ(process.state(), QProcess::Running) << "the print ended before it could be killed";
  process.kill();
  process.waitForFinished();

  QFile kept(Pdf());
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), earlier);
  for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
    EXPECT_TRUE(before.contains(name) || name.startsWith(QStringLiteral(".out.pdf.")))
        << qPrintable(name);
}

}  // namespace
