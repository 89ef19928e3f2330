// A real print queue: a private CUPS scheduler with a PDF queue (the
// cups-pdf backend, which writes each job into a PDF folder in the printing
// user's home) receives a map printed through the program's own print path,
// and the PDF it writes is measured like the PDF target's. Skipped, with the
// reason, where CUPS is not installed or cannot start.
#include "PdfCheck.h"
#include "PrintTestSupport.h"
#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "support/RunProgram.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kCupsd = QStringLiteral("/usr/sbin/cupsd");
const QString kLpadmin = QStringLiteral("/usr/sbin/lpadmin");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");
const QString kQueue = QStringLiteral("TessellanPDF");

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.toUtf8());
  return true;
}

// A scheduler of its own, listening on a socket in a temporary folder, with
// one PDF queue; stopped with the test.
class TPrivateCups {
 public:
  ~TPrivateCups() {
    if (fProcess.state() != QProcess::NotRunning) {
      fProcess.terminate();
      if (!fProcess.waitForFinished(5000)) fProcess.kill();
      fProcess.waitForFinished();
    }
  }

  // Empty when the queue is ready, else why it is not.
  QString Start() {
    for (const QString& file : {kCupsd, kLpadmin, kBackend, kPpd})
      if (!QFile::exists(file)) return file + QStringLiteral(" is not installed");
    if (geteuid() != 0) return QStringLiteral("a private scheduler needs to run as root");
    if (!fDir.isValid()) return QStringLiteral("no temporary folder");
    const QString root = fDir.path();
    for (const char* sub : {"spool", "cache", "state", "log", "tmp"})
      QDir(root).mkpath(QLatin1String(sub));
    QFile::setPermissions(root + QStringLiteral("/tmp"), QFileDevice::Permissions(0x7777));
    fSocket = root + QStringLiteral("/cups.sock");
    const QString conf = QStringLiteral(
                             "Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                             "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                             "  Allow all\n</Location>\n<Location /admin>\n  Order allow,deny\n"
                             "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                             "    Order deny,allow\n  </Limit>\n</Policy>\n")
                             .arg(fSocket);
    const QString files =
        QStringLiteral(
            "ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
            "TempDir %1/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
            "PageLog %1/log/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
            "SystemGroup root\n")
            .arg(root);
    if (!WriteText(root + QStringLiteral("/cupsd.conf"), conf) ||
        !WriteText(root + QStringLiteral("/cups-files.conf"), files))
      return QStringLiteral("the scheduler's configuration could not be written");
    fProcess.setProcessChannelMode(QProcess::MergedChannels);
    fProcess.start(
        kCupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                 QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    if (!fProcess.waitForStarted(5000)) return QStringLiteral("cupsd did not start");
    qputenv("CUPS_SERVER", fSocket.toLocal8Bit());
    // The scheduler answers once it has read its configuration.
    QElapsedTimer clock;
    clock.start();
    TProgramRun added;
    while (clock.elapsed() < 15000) {
      if (fProcess.state() == QProcess::NotRunning)
        return QStringLiteral("cupsd stopped: ") + QString::fromLocal8Bit(fProcess.readAll());
      if (QFile::exists(fSocket)) {
        added = RunProgram(
            kLpadmin, {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                       QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd});
        if (added.ExitCode == 0) return QString();
      }
      QThread::msleep(200);
    }
    return QStringLiteral("the queue could not be added: ") + QString::fromLocal8Bit(added.Err);
  }

 private:
  QTemporaryDir fDir;
  QString fSocket;
  QProcess fProcess;
};

// The PDF folder cups-pdf writes into: in the home of the user who prints.
QString PdfFolder() {
  const passwd* user = getpwuid(getuid());
  return QString::fromLocal8Bit(user ? user->pw_dir : "") + QStringLiteral("/PDF");
}

// The first PDF in the folder whose name holds the job's title.
QString WaitForPdf(const QString& title, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < timeoutMs) {
    const QStringList found = QDir(PdfFolder()).entryList({QStringLiteral("*%1*.pdf").arg(title)});
    if (!found.isEmpty()) {
      const QString path = PdfFolder() + QLatin1Char('/') + found.first();
      // Written once its size stops growing.
      const qint64 size = QFileInfo(path).size();
      QThread::msleep(500);
      if (size > 0 && QFileInfo(path).size() == size) return path;
    }
    QThread::msleep(200);
  }
  return QString();
}

TEST(CupsQueue, APrintedSquareMeasuresTheGridSize) {
  TPrivateCups cups;
  const QString reason = cups.Start();
  if (!reason.isEmpty()) GTEST_SKIP() << "CUPS is not available: " << reason.toStdString();

  const QString title = QStringLiteral("ScaleCheck%1").arg(QDateTime::currentMSecsSinceEpoch());
  auto map = CheckerMap(12, 12, 1.0f);
  map->SetMapName(title);
  {
    TSystemPrinter printer(kQueue);
    PrintMap(nullptr, *map, printer, 0);
  }
  const QString pdf = WaitForPdf(title, 60000);
  ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue in " << PdfFolder().toStdString();

  const TPdfInfo info = ReadPdfInfo(pdf);
  EXPECT_EQ(info.Pages, 1);
  constexpr int kRaster = 100;
  const QImage page = RasterisePage(pdf, 1, kRaster);
  QFile::remove(pdf);
  ASSERT_FALSE(page.isNull());
  // The squares start wherever the queue's printable area does; find the
  // first painted pixel down the page's diagonal band.
  int top = -1, left = -1;
  for (int y = 0; y < page.height() && top < 0; ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGreen(page.pixel(x, y)) < 128) {
        top = y;
        left = x;
        break;
      }
  ASSERT_GE(top, 0) << "nothing printed";
  const double square = kRaster * 1.0;
  const TSquareRun across = MeasureRow(page, int(top + square / 2));
  const TSquareRun down = MeasureColumn(page, int(left + square / 2));
  for (const TSquareRun& run : {across, down}) {
    ASSERT_GT(run.Squares, 1);
    const double measured = (run.End - run.Start) / run.Squares;
    EXPECT_NEAR(measured / square, 1.0, 0.005)
        << run.Squares << " squares of " << measured << " pixels, expected " << square;
  }
}

}  // namespace
