// A real print queue: a private CUPS scheduler with a PDF queue (the
// cups-pdf backend, which writes each job into a PDF folder in the printing
// user's home) receives a map printed through the program's own print path,
// and the PDF it writes is measured like the PDF target's. The queue asks by
// default for two pages on each sheet, which would shrink every square.
// Skipped, with the reason, where CUPS is not installed or cannot start.
#include "PdfCheck.h"
#include "PrintTestSupport.h"
#include "print/ui/PrintCommands.h"
#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "support/RunProgram.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

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

  // Empty when the queue is ready, else why it is not. The queue's default
  // options are given as lpadmin's -o values.
  QString Start(const QStringList& defaults) {
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
        QStringList args = {QStringLiteral("-p"),
                            kQueue,
                            QStringLiteral("-E"),
                            QStringLiteral("-v"),
                            QStringLiteral("cups-pdf:/"),
                            QStringLiteral("-P"),
                            kPpd};
        for (const QString& option : defaults)
          args << QStringLiteral("-o") << option;
        added = RunProgram(kLpadmin, args);
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

// The PDF's first page rasterised, with one painted square from the map's
// top-left corner measured across and down: its size in inches each way.
std::pair<double, double> MeasuredSquare(const QString& pdf) {
  const TPdfInfo info = ReadPdfInfo(pdf);
  EXPECT_EQ(info.Pages, 1);
  constexpr int kRaster = 100;
  const QImage page = RasterisePage(pdf, 1, kRaster);
  if (page.isNull()) return {0, 0};
  // The squares start wherever the queue's printable area does; find the
  // first painted pixel.
  int top = -1, left = -1;
  for (int y = 0; y < page.height() && top < 0; ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGreen(page.pixel(x, y)) < 128) {
        top = y;
        left = x;
        break;
      }
  if (top < 0) return {0, 0};
  // Half a square in at the true size; a shrunken square still has its
  // middle further in than that.
  const TSquareRun across = MeasureRow(page, top + kRaster / 3);
  const TSquareRun down = MeasureColumn(page, left + kRaster / 3);
  if (across.Squares < 2 || down.Squares < 2) return {0, 0};
  return {(across.End - across.Start) / across.Squares / kRaster,
          (down.End - down.Start) / down.Squares / kRaster};
}

// Printed through the progress window, a one-inch square measures an inch
// whatever the queue's defaults or the system's printer dialog ask for: two
// pages on each sheet by the queue, and by the user in the dialog.
TEST(CupsQueue, APrintedSquareMeasuresTheGridSize) {
  TPrivateCups cups;
  const QString reason = cups.Start({QStringLiteral("number-up=2")});
  if (!reason.isEmpty()) GTEST_SKIP() << "CUPS is not available: " << reason.toStdString();

  for (const bool throughDialog : {false, true}) {
    const QString title = QStringLiteral("ScaleCheck%1").arg(QDateTime::currentMSecsSinceEpoch());
    auto map = CheckerMap(12, 12, 1.0f);
    map->SetMapName(title);
    {
      TSystemPrinter printer(kQueue);
      if (throughDialog) {
        // The user opens the printer's properties, picks two pages per
        // sheet and confirms both dialogs.
        QString picked;
        QTimer::singleShot(0, [&picked] {
          QWidget* dialog = QApplication::activeModalWidget();
          if (!dialog) return;
          QTimer::singleShot(0, [&picked] {
            QWidget* properties = QApplication::activeModalWidget();
            auto* perSheet =
                properties ? properties->findChild<QComboBox*>(QStringLiteral("pagesPerSheetCombo"))
                           : nullptr;
            if (perSheet) {
              perSheet->setCurrentIndex(1);
              picked = perSheet->currentText();
            }
            if (properties) QMetaObject::invokeMethod(properties, "accept", Qt::QueuedConnection);
          });
          if (auto* button = dialog->findChild<QPushButton*>(QStringLiteral("properties")))
            button->click();
          QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        ASSERT_TRUE(PrinterSetupDialog(nullptr, printer, TSetupConfirms::Printing));
        ASSERT_TRUE(picked.startsWith(QLatin1Char('2'))) << picked.toStdString();
      }
      PrintMap(nullptr, *map, printer, 0);
    }
    const QString pdf = WaitForPdf(title, 60000);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue in " << PdfFolder().toStdString();
    const auto [across, down] = MeasuredSquare(pdf);
    QFile::remove(pdf);
    EXPECT_NEAR(across, 1.0, 0.005) << (throughDialog ? "through the dialog" : "queue defaults");
    EXPECT_NEAR(down, 1.0, 0.005) << (throughDialog ? "through the dialog" : "queue defaults");
  }
}

}  // namespace
