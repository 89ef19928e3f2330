// print: the pages a printer would get for a map, at real scale, written to
// a PDF file for a paper, orientation and resolution, or sent to a printer
// queue of the system.
#include "Command.h"
#include "CommandLine.h"
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

int Print(const TCommandLine& line) {
  const QString pdf = line.Value(QStringLiteral("pdf"));
  const QString queue = line.Value(QStringLiteral("printer"));
  const QString paper = line.Value(QStringLiteral("paper"), QStringLiteral("letter"));
  const int dpi = line.Number(QStringLiteral("dpi"), 300);
  const int page = line.Number(QStringLiteral("page"), 0) - 1;
  const bool landscape = line.IsSet(QStringLiteral("landscape"));
  if (pdf.isEmpty() == queue.isEmpty()) line.FailUsage();

  // The device is checked before the map loads, and nothing is sent for a
  // map that failed to load.
  std::unique_ptr<TPrinterDevice> device;
  if (!pdf.isEmpty())
    device = std::make_unique<TPdfPrinter>(pdf, TPdfPrinter::PaperByName(paper), landscape, dpi);
  else
    device = std::make_unique<TSystemPrinter>(queue);
  TTileMap map;
  map.LoadFromFile(line.Argument(0));
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

TCommandRegistration reg(
    {QStringLiteral("print"),
     QLatin1String(kUsage),
     QStringLiteral("Print a map at real scale to a PDF file (300 dpi, Letter by default) or a "
                    "printer queue; all pages or page N."),
     1,
     {{QStringLiteral("pdf"), QStringLiteral("OUT.pdf"),
       QStringLiteral("Write the pages to this PDF file.")},
      {QStringLiteral("dpi"), QStringLiteral("N"),
       QStringLiteral("The PDF's resolution, 1 to 4800 dots per inch (300)."), 1, 4800},
      {QStringLiteral("paper"), QStringLiteral("NAME"),
       QStringLiteral("The PDF's paper: letter, a4, legal, a3 or tabloid (letter).")},
      {QStringLiteral("landscape"), QString(), QStringLiteral("Lay the PDF's pages sideways.")},
      {QStringLiteral("printer"), QStringLiteral("QUEUE"),
       QStringLiteral("Send the pages to this printer queue of the system.")},
      {QStringLiteral("page"), QStringLiteral("N"),
       QStringLiteral("Print only page N, 1 to 1000000 (all pages)."), 1, 1000000}},
     Print});

}  // namespace
