#pragma once

#include "PrinterDevice.h"

#include <QPageSize>

#include <memory>

class QPainter;
class QPdfWriter;
class TWriteAsideFile;

// A PDF file laid out as a printer would be: a paper size, an orientation,
// a resolution and an unprintable margin of a quarter inch on every side,
// like an office laser printer. Images go into the file losslessly. The file
// is written aside and put in place only when the job ends complete, so a
// failed or killed job leaves an earlier file as it was.
class TPdfPrinter : public TPrinterDevice {
 public:
  static constexpr double kMarginInches = 0.25;

  TPdfPrinter(const QString& fileName, QPageSize::PageSizeId paper, bool landscape, int resolution);
  ~TPdfPrinter() override;

  int ResolutionX() const override { return fResolution; }
  int ResolutionY() const override { return fResolution; }
  QSize PrintableSize() const override;
  QSize PhysicalSize() const override;
  QPoint PhysicalOffset() const override;
  bool Landscape() const override { return fLandscape; }

  void BeginJob(const QString& title) override;
  void NewPage() override;
  void EndJob() override;
  void AbortJob() override;
  QPainter& Painter() override { return *fPainter; }

  // The paper for a name: letter, a4, legal, a3 or tabloid (any case);
  // raises TError for another.
  static QPageSize::PageSizeId PaperByName(const QString& name);

 private:
  QString fFileName;
  QPageSize::PageSizeId fPaper;
  bool fLandscape;
  int fResolution;
  std::unique_ptr<TWriteAsideFile> fFile;
  std::unique_ptr<QPdfWriter> fWriter;
  std::unique_ptr<QPainter> fPainter;
};

// Sets what every print painter needs: images stored losslessly (a PDF
// would otherwise hold every tile image as JPEG) and drawn without
// smoothing, since each image already has its target size.
void PreparePrintPainter(QPainter& painter);
