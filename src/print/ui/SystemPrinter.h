#pragma once

#include "print/PrinterDevice.h"

#include <memory>

class QPainter;
class QPdfWriter;
class QPrinter;
class TWriteAsideFile;

// One of the system's printers (a CUPS queue on Linux) as a print device.
// Its geometry is read from the printer's page layout at the resolution set
// on it (not the physical resolution Qt reports, which is the screen's).
// When the printer dialog chose to print to a file, the pages go to that
// PDF file written aside, with the printer's page layout and resolution: an
// earlier file stays as it was until the job ends complete.
class TSystemPrinter : public TPrinterDevice {
 public:
  // The default printer, or the queue of that name.
  explicit TSystemPrinter(const QString& queue = QString());
  ~TSystemPrinter() override;

  // The printer to configure through the printer setup dialog.
  QPrinter& Printer() { return *fPrinter; }

  int ResolutionX() const override;
  int ResolutionY() const override;
  QSize PrintableSize() const override;
  QSize PhysicalSize() const override;
  QPoint PhysicalOffset() const override;
  bool Landscape() const override;

  // Asks the queue for one page per sheet and no fitting or scaling, over
  // what the printer dialog chose and what the queue has as its defaults.
  QString KeepTrueScale() override;

  void BeginJob(const QString& title) override;
  void NewPage() override;
  void EndJob() override;
  void AbortJob() override;
  QPainter& Painter() override { return *fPainter; }

 private:
  bool PrintsToFile() const;

  std::unique_ptr<QPrinter> fPrinter;
  // The job's file and its writer while printing to a file.
  std::unique_ptr<TWriteAsideFile> fFile;
  std::unique_ptr<QPdfWriter> fPdf;
  std::unique_ptr<QPainter> fPainter;
};

// True when the system lists at least one printer.
bool PrintersInstalled();
// Raises the printer check's error when the system lists no printer.
void CheckPrinters();
