#include "SystemPrinter.h"

#include "base/Error.h"
#include "print/PdfPrinter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

TSystemPrinter::TSystemPrinter(const QString& queue)
    : fPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  if (!queue.isEmpty()) {
    if (!QPrinterInfo::availablePrinterNames().contains(queue))
      throw TError(QStringLiteral("There is no printer named \"%1\".").arg(queue));
    fPrinter->setPrinterName(queue);
  }
}

TSystemPrinter::~TSystemPrinter() {
  if (fPainter && fPainter->isActive()) fPainter->end();
}

int TSystemPrinter::ResolutionX() const {
  return fPrinter->resolution();
}

int TSystemPrinter::ResolutionY() const {
  return fPrinter->resolution();
}

QSize TSystemPrinter::PrintableSize() const {
  return PrintableSizeOf(fPrinter->pageLayout(), fPrinter->resolution());
}

QSize TSystemPrinter::PhysicalSize() const {
  return PhysicalSizeOf(fPrinter->pageLayout(), fPrinter->resolution());
}

QPoint TSystemPrinter::PhysicalOffset() const {
  return PhysicalOffsetOf(fPrinter->pageLayout(), fPrinter->resolution());
}

bool TSystemPrinter::Landscape() const {
  return fPrinter->pageLayout().orientation() == QPageLayout::Landscape;
}

void TSystemPrinter::BeginJob(const QString& title) {
  fPrinter->setDocName(title);
  fPainter = std::make_unique<QPainter>();
  if (!fPainter->begin(fPrinter.get())) {
    fPainter.reset();
    throw TError(QStringLiteral("The print job could not be started on the printer \"%1\".")
                     .arg(fPrinter->printerName()));
  }
  PreparePrintPainter(*fPainter);
}

void TSystemPrinter::NewPage() {
  if (!fPrinter->newPage())
    throw TError(QStringLiteral("The printer \"%1\" did not accept a new page.")
                     .arg(fPrinter->printerName()));
}

void TSystemPrinter::EndJob() {
  if (!fPainter) return;
  const bool ended = fPainter->end();
  fPainter.reset();
  if (!ended)
    throw TError(QStringLiteral("The print job could not be sent to the printer \"%1\".")
                     .arg(fPrinter->printerName()));
}

void TSystemPrinter::AbortJob() {
  // What a queue has taken cannot be called back: the pages drawn so far go.
  try {
    EndJob();
  } catch (const TError&) {
  }
}

bool PrintersInstalled() {
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void CheckPrinters() {
  if (!PrintersInstalled())
    throw TError(
        QStringLiteral("Tessellan could not detect any printers installed on the system."));
}
