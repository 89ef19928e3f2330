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
    "--printer QUEUE) [--page N] [--labels] [--marks] [--calibration] [--skip-blank]";

int Print(const TCommandLine& line) {
  const QString pdf = line.Value(QStringLiteral("pdf"));
  const QString queue = line.Value(QStringLiteral("printer"));
  const QString paper = line.Value(QStringLiteral("paper"), QStringLiteral("letter"));
  const int dpi = line.Number(QStringLiteral("dpi"), 300);
  const int page = line.Number(QStringLiteral("page"), 0) - 1;
  const bool landscape = line.IsSet(QStringLiteral("landscape"));
  if (pdf.isEmpty() == queue.isEmpty()) line.FailUsage();
  TPrintAids aids;
  aids.Labels = line.IsSet(QStringLiteral("labels"));
  aids.Marks = line.IsSet(QStringLiteral("marks"));
  aids.Calibration = line.IsSet(QStringLiteral("calibration"));
  aids.SkipBlank = line.IsSet(QStringLiteral("skip-blank"));

  // The device is checked before the map loads, and nothing is sent for a
  // map that failed to load.
  std::unique_ptr<TPrinterDevice> device;
  if (!pdf.isEmpty())
    device = std::make_unique<TPdfPrinter>(pdf, TPdfPrinter::PaperByName(paper), landscape, dpi);
  else
    device = std::make_unique<TSystemPrinter>(queue);
  TTileMap map;
  map.LoadFromFile(line.Argument(0));
  const TPageLayout layout = LayoutForDevice(map, *device, aids);
  if (page >= layout.TotalPages())
    throw TError(QStringLiteral("The map prints on %1 pages; there is no page %2.")
                     .arg(layout.TotalPages())
                     .arg(page + 1));
  const int drawn = PrintMapPages(map, *device, page, nullptr, aids);
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
       QStringLiteral("Print only page N, 1 to 1000000 (all pages)."), 1, 1000000},
      {QStringLiteral("labels"), QString(),
       QStringLiteral("Name each page's place (\"B3\"), number and map in a strip at its foot.")},
      {QStringLiteral("marks"), QString(),
       QStringLiteral("Add trim marks where the map's area on each page ends.")},
      {QStringLiteral("calibration"), QString(),
       QStringLiteral("Add bars of 1 inch and 25 mm to the first page, to check the scale.")},
      {QStringLiteral("skip-blank"), QString(),
       QStringLiteral("Leave out pages without a tile; the others keep their names.")}},
     Print});

}  // namespace
