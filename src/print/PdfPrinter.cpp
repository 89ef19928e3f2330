#include "PdfPrinter.h"

#include "base/Error.h"
#include "storage/WriteAsideFile.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace {

QPageLayout LayoutOf(QPageSize::PageSizeId paper, bool landscape) {
  const double margin = TPdfPrinter::kMarginInches * 25.4;
  return QPageLayout(QPageSize(paper), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

}  // namespace

void PreparePrintPainter(QPainter& painter) {
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

TPdfPrinter::TPdfPrinter(const QString& fileName, QPageSize::PageSizeId paper, bool landscape,
                         int resolution)
    : fFileName(fileName), fPaper(paper), fLandscape(landscape), fResolution(resolution) {
  if (resolution < 1 || resolution > 4800)
    throw TError(QStringLiteral("A resolution of %1 dots per inch is not supported; use 1 to "
                                "4800.")
                     .arg(resolution));
}

TPdfPrinter::~TPdfPrinter() {
  AbortJob();
}

QSize TPdfPrinter::PrintableSize() const {
  return PrintableSizeOf(LayoutOf(fPaper, fLandscape), fResolution);
}

QSize TPdfPrinter::PhysicalSize() const {
  return PhysicalSizeOf(LayoutOf(fPaper, fLandscape), fResolution);
}

QPoint TPdfPrinter::PhysicalOffset() const {
  return PhysicalOffsetOf(LayoutOf(fPaper, fLandscape), fResolution);
}

void TPdfPrinter::BeginJob(const QString& title) {
  fFile = std::make_unique<TWriteAsideFile>(fFileName);
  fWriter = std::make_unique<QPdfWriter>(fFile.get());
  fWriter->setResolution(fResolution);
  fWriter->setPageLayout(LayoutOf(fPaper, fLandscape));
  fWriter->setTitle(title);
  fWriter->setCreator(QStringLiteral("Tessellan"));
  fPainter = std::make_unique<QPainter>();
  if (!fPainter->begin(fWriter.get())) {
    AbortJob();
    throw TError(QStringLiteral("The PDF file %1 could not be written.").arg(fFileName));
  }
  PreparePrintPainter(*fPainter);
}

void TPdfPrinter::NewPage() {
  if (!fWriter->newPage()) {
    // A failed write stops the job with the system's reason.
    if (fFile->Failed()) fFile->RaiseFailure();
    throw TError(QStringLiteral("The PDF file %1 could not be written.").arg(fFileName));
  }
}

void TPdfPrinter::EndJob() {
  if (!fPainter) return;
  const bool ended = fPainter->end();
  fPainter.reset();
  fWriter.reset();
  // The file goes whether or not it is committed: a failed job leaves none.
  const std::unique_ptr<TWriteAsideFile> file = std::move(fFile);
  if (!ended) {
    if (file->Failed()) file->RaiseFailure();
    throw TError(QStringLiteral("The PDF file %1 could not be written.").arg(fFileName));
  }
  file->Commit();
}

void TPdfPrinter::AbortJob() {
  if (fPainter && fPainter->isActive()) fPainter->end();
  fPainter.reset();
  fWriter.reset();
  fFile.reset();
}

QPageSize::PageSizeId TPdfPrinter::PaperByName(const QString& name) {
  const QString key = name.toLower();
  if (key == QLatin1String("letter")) return QPageSize::Letter;
  if (key == QLatin1String("a4")) return QPageSize::A4;
  if (key == QLatin1String("legal")) return QPageSize::Legal;
  if (key == QLatin1String("a3")) return QPageSize::A3;
  if (key == QLatin1String("tabloid")) return QPageSize::Tabloid;
  throw TError(QStringLiteral("Unknown paper \"%1\" (expected letter, a4, legal, a3 or tabloid).")
                   .arg(name));
}
