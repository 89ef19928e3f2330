// print: the pages a printer would get for a map, at real scale, written to
// a PDF file for a paper, orientation and resolution, or sent to a printer
// queue of the system.
#include "Command.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"
#include "print/PdfPrinter.h"
#include "print/PrintJob.h"
#include "print/ui/SystemPrinter.h"

#include <cstdio>
#include <memory>

namespace {

const char* const kUsage =
    "MAP (--pdf OUT.pdf [--dpi N] [--paper letter|a4|legal|a3|tabloid] [--landscape] | "
    "--printer QUEUE) [--page N]";

int ParseNumber(const QString& option, const QString& value, int low, int high) {
  bool ok = false;
  const int number = value.toInt(&ok);
  if (!ok || number < low || number > high)
    throw TError(
        QStringLiteral("%1 takes a whole number from %2 to %3.").arg(option).arg(low).arg(high));
  return number;
}

int Print(const QStringList& args) {
  QStringList positional;
  QString pdf;
  QString queue;
  QString paper = QStringLiteral("letter");
  int dpi = 300;
  int page = -1;
  bool landscape = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--pdf") || arg == QLatin1String("--printer") ||
        arg == QLatin1String("--dpi") || arg == QLatin1String("--paper") ||
        arg == QLatin1String("--page")) {
      if (i + 1 >= args.size()) throw TError(arg + QStringLiteral(" needs a value."));
      const QString value = args[++i];
      if (arg == QLatin1String("--pdf"))
        pdf = value;
      else if (arg == QLatin1String("--printer"))
        queue = value;
      else if (arg == QLatin1String("--dpi"))
        dpi = ParseNumber(arg, value, 1, 4800);
      else if (arg == QLatin1String("--paper"))
        paper = value;
      else
        page = ParseNumber(arg, value, 1, 1000000) - 1;
    } else if (arg == QLatin1String("--landscape")) {
      landscape = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      throw TError(QStringLiteral("Unknown option \"%1\".").arg(arg));
    } else {
      positional.append(arg);
    }
  }
  if (positional.size() != 1 || pdf.isEmpty() == queue.isEmpty())
    throw TError(QStringLiteral("Usage: tessellan-tool print ") + QLatin1String(kUsage));

  // The device is checked before the map loads, and nothing is sent for a
  // map that failed to load.
  std::unique_ptr<TPrinterDevice> device;
  if (!pdf.isEmpty())
    device = std::make_unique<TPdfPrinter>(pdf, TPdfPrinter::PaperByName(paper), landscape, dpi);
  else
    device = std::make_unique<TSystemPrinter>(queue);
  TTileMap map;
  map.LoadFromFile(positional[0]);
  const TPageLayout layout = LayoutForDevice(map, *device);
  if (page >= layout.TotalPages())
    throw TError(QStringLiteral("The map prints on %1 pages; there is no page %2.")
                     .arg(layout.TotalPages())
                     .arg(page + 1));
  const int drawn = PrintMapPages(map, *device, page);
  std::printf("%d of %d pages, %d x %d squares each\n", drawn, layout.TotalPages(), layout.Cols / 2,
              layout.Rows / 2);
  return 0;
}

TCommandRegistration reg({QStringLiteral("print"), QLatin1String(kUsage),
                          QStringLiteral("Print a map at real scale to a PDF file (300 dpi, Letter "
                                         "by default) or a printer queue; all pages or page N."),
                          Print});

}  // namespace
