// tessellan-tool print, run as a user runs it: the PDF it writes is read
// back with poppler.
#include "PdfCheck.h"
#include "PrintTestSupport.h"
#include "support/RunProgram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
                      "letter|a4|legal|a3|tabloid] [--landscape] | --printer QUEUE) [--page N]")},
  };
  for (const auto& c : cases) {
    const TProgramRun run = RunTool(QStringList(QStringLiteral("print")) + c.args);
    EXPECT_EQ(run.ExitCode, 1) << qPrintable(c.args.join(QLatin1Char(' ')));
    const QStringList lines = QString::fromLocal8Bit(run.Err).trimmed().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.last().toStdString(), c.message.toStdString());
    EXPECT_FALSE(QFile::exists(Pdf()));
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
