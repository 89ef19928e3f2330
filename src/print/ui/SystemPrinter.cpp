#include "SystemPrinter.h"

#include "base/Error.h"
#include "print/PdfPrinter.h"
#include "storage/WriteAsideFile.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The print engine property that holds a CUPS job's options, as name,
// value, name, value...; the system's printer dialog keeps its pages per
// sheet there. Qt names it (PPK_CupsOptions) only in a private header.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The job options that would print a page at another size, with the values
// that keep it true: one page per sheet, never fitted to the paper.
const char* const kTrueScaleOptions[][2] = {
    {"number-up", "1"},
    {"fit-to-page", "false"},
    {"fitplot", "false"},
    {"print-scaling", "none"},
};

// options with every true-scale option set to its value: earlier settings
// of the same names go, the rest stay in their order.
QStringList WithTrueScale(const QStringList& options) {
  QStringList result;
  for (int i = 0; i + 1 < options.size(); i += 2) {
    bool replaced = false;
    for (const auto& option : kTrueScaleOptions)
      replaced = replaced || options[i] == QLatin1String(option[0]);
    if (!replaced) result << options[i] << options[i + 1];
  }
  for (const auto& option : kTrueScaleOptions)
    result << QLatin1String(option[0]) << QLatin1String(option[1]);
  return result;
}

}  // namespace

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

bool TSystemPrinter::PrintsToFile() const {
  return fPrinter->outputFormat() != QPrinter::NativeFormat ||
         !fPrinter->outputFileName().isEmpty();
}

QString TSystemPrinter::KeepTrueScale() {
  // A file is written as drawn; only a queue fits or gathers pages.
  if (PrintsToFile()) return QString();
  QPrintEngine* engine = fPrinter->printEngine();
  const QStringList wanted = WithTrueScale(engine->property(kCupsOptions).toStringList());
  engine->setProperty(kCupsOptions, wanted);
  if (engine->property(kCupsOptions).toStringList() == wanted) return QString();
  return QStringLiteral(
             "Tessellan cannot ask the printer \"%1\" for one page per sheet without "
             "scaling. Unless its own settings print one page per sheet at 100%, the "
             "grid squares will not have their true size.")
      .arg(fPrinter->printerName());
}

void TSystemPrinter::BeginJob(const QString& title) {
  KeepTrueScale();
  fPrinter->setDocName(title);
  QPaintDevice* device = fPrinter.get();
  if (PrintsToFile()) {
    // Qt's own file output writes straight into the target, so a full disk
    // would leave a truncated file where an earlier one was.
    const QString path = fPrinter->outputFileName();
    if (path.isEmpty()) throw TError(QStringLiteral("Choose a file to print to."));
    fFile = std::make_unique<TWriteAsideFile>(path);
    fPdf = std::make_unique<QPdfWriter>(fFile.get());
    fPdf->setResolution(fPrinter->resolution());
    fPdf->setPageLayout(fPrinter->pageLayout());
    fPdf->setTitle(title);
    fPdf->setCreator(QStringLiteral("Tessellan"));
    device = fPdf.get();
  }
  fPainter = std::make_unique<QPainter>();
  if (!fPainter->begin(device)) {
    AbortJob();
    throw TError(QStringLiteral("The print job could not be started on the printer \"%1\".")
                     .arg(fPrinter->printerName()));
  }
  PreparePrintPainter(*fPainter);
}

void TSystemPrinter::NewPage() {
  if (fPdf ? fPdf->newPage() : fPrinter->newPage()) return;
  if (fFile && fFile->Failed()) fFile->RaiseFailure();
  throw TError(
      QStringLiteral("The printer \"%1\" did not accept a new page.").arg(fPrinter->printerName()));
}

void TSystemPrinter::EndJob() {
  if (!fPainter) return;
  const bool ended = fPainter->end();
  fPainter.reset();
  fPdf.reset();
  // The file goes whether or not it is committed: a failed job leaves none.
  const std::unique_ptr<TWriteAsideFile> file = std::move(fFile);
  if (file && file->Failed()) file->RaiseFailure();
  if (!ended)
    throw TError(QStringLiteral("The print job could not be sent to the printer \"%1\".")
                     .arg(fPrinter->printerName()));
  if (file) file->Commit();
}

void TSystemPrinter::AbortJob() {
  // A file half written is dropped and an earlier one stays.
  if (fFile) {
    if (fPainter && fPainter->isActive()) fPainter->end();
    fPainter.reset();
    fPdf.reset();
    fFile.reset();
    return;
  }
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
