#include "frmPrintPreviewU.h"

#include "base/Busy.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "map/GridSizes.h"
#include "map/TileMapObjects.h"
#include "print/MapAreaRenderer.h"
#include "print/PrintJob.h"
#include "print/PrinterDevice.h"
#include "print/ui/PrintCommands.h"
#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

// The picture the preview draws, shown unscaled; a resize asks the window
// to draw it again at the new size.
class TPreviewImage : public QWidget {
 public:
  explicit TPreviewImage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("imgPreview"));
    setMinimumSize(120, 120);
  }
  QImage Picture;
  std::function<void()> OnResize;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
  }
  void resizeEvent(QResizeEvent*) override {
    if (OnResize) OnResize();
  }
};

namespace {
// Grey around the sheet when the drawing is zoomed, in pixels.
constexpr int kZoomMargin = 10;
}  // namespace

namespace {

constexpr int kPreviewDpi = 72;

// The toolbar's pictures come from the shared large button images.
QIcon Picture(const char* name) {
  return dmSharedBmpResources().Icon(QLatin1String(name));
}
constexpr int kShadow = 5;
const QColor kGround(128, 128, 128);

// Shows an error as the program's default error display does.
void ShowError(QWidget* owner, const QString& message) {
  ShowMessage(ErrorDisplayText(message), QStringLiteral("Tessellan"), TMsgIcon::Error, mbOK, owner);
}

template <class F>
void Guarded(QWidget* owner, F handler) {
  try {
    handler();
  } catch (const TError& error) {
    ShowError(owner, error.Message());
  }
}

}  // namespace

TfrmPrintPreview::TfrmPrintPreview(QWidget* owner, const TTileMap& map, TPrinterDevice& device,
                                   const TPrintAids& aids)
    : QDialog(owner), fMap(map), fDevice(device), fAids(aids) {
  setObjectName(QStringLiteral("frmPrintPreview"));
  setWindowTitle(QStringLiteral("Print Preview"));
  setProperty("HelpContext", 5);
  resize(620, 720);

  auto* toolbar = new QToolBar(this);
  toolbar->setObjectName(QStringLiteral("tbPreview"));
  toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolbar->setIconSize(QSize(32, 32));
  ppPrint = AddAction("ppPrint", QStringLiteral("&Print"), QStringLiteral("Print"),
                      &TfrmPrintPreview::ppPrintExecute);
  ppPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  ppPrint->setIcon(Picture("print"));
  ppPrintPage = AddAction("ppPrintPage", QStringLiteral("Print P&age"),
                          QStringLiteral("Print this page"), &TfrmPrintPreview::ppPrintPageExecute);
  ppPrintPage->setIcon(Picture("printpage"));
  ppPrintSetup = AddAction("ppPrintSetup", QStringLiteral("Printer &Setup"),
                           QStringLiteral("Choose and set up the printer"),
                           &TfrmPrintPreview::ppPrintSetupExecute);
  ppPrintSetup->setIcon(Picture("printersetup"));
  ppPrevPage = AddAction("ppPrevPage", QStringLiteral("&Previous Page"),
                         QStringLiteral("Previous page"), &TfrmPrintPreview::ppPrevPageExecute);
  ppPrevPage->setIcon(Picture("prevpage"));
  ppNextPage = AddAction("ppNextPage", QStringLiteral("&Next Page"), QStringLiteral("Next page"),
                         &TfrmPrintPreview::ppNextPageExecute);
  ppNextPage->setIcon(Picture("nextpage"));
  ppClose = AddAction("ppClose", QStringLiteral("&Close"), QStringLiteral("Close the preview"),
                      &TfrmPrintPreview::ppCloseExecute);
  // The keys that turn pages; a scrolled page does not take them.
  ppPrevPage->setShortcut(QKeySequence(Qt::Key_PageUp));
  ppNextPage->setShortcut(QKeySequence(Qt::Key_PageDown));
  ppFirstPage = AddAction("ppFirstPage", QStringLiteral("First Page"), QStringLiteral("First page"),
                          &TfrmPrintPreview::ppFirstPageExecute);
  ppFirstPage->setShortcut(QKeySequence(Qt::Key_Home));
  ppLastPage = AddAction("ppLastPage", QStringLiteral("Last Page"), QStringLiteral("Last page"),
                         &TfrmPrintPreview::ppLastPageExecute);
  ppLastPage->setShortcut(QKeySequence(Qt::Key_End));
  toolbar->addAction(ppPrint);
  toolbar->addAction(ppPrintPage);
  toolbar->addAction(ppPrintSetup);
  toolbar->addSeparator();
  toolbar->addAction(ppPrevPage);
  toolbar->addAction(ppNextPage);

  // The assembly aids and the zoom, in a second row of text buttons.
  auto* aidsBar = new QToolBar(this);
  aidsBar->setObjectName(QStringLiteral("tbAids"));
  aidsBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  ppLabels = AddToggle("ppLabels", QStringLiteral("Page &Labels"),
                       QStringLiteral("Name each page's place, number and map at its foot"),
                       &TfrmPrintPreview::ppAidsExecute);
  ppLabels->setChecked(fAids.Labels);
  ppMarks = AddToggle("ppMarks", QStringLiteral("Trim &Marks"),
                      QStringLiteral("Mark where each page is trimmed to meet the next"),
                      &TfrmPrintPreview::ppAidsExecute);
  ppMarks->setChecked(fAids.Marks);
  ppCalibration = AddToggle("ppCalibration", QStringLiteral("Cali&bration Bar"),
                            QStringLiteral("Bars of 1 inch and 25 mm on the first page"),
                            &TfrmPrintPreview::ppAidsExecute);
  ppCalibration->setChecked(fAids.Calibration);
  ppSkipBlank =
      AddToggle("ppSkipBlank", QStringLiteral("S&kip Blank Pages"),
                QStringLiteral("Leave out pages without a tile"), &TfrmPrintPreview::ppAidsExecute);
  ppSkipBlank->setChecked(fAids.SkipBlank);
  ppZoomFit = AddToggle("ppZoomFit", QStringLiteral("&Fit Page"),
                        QStringLiteral("Fit the whole sheet into the window"),
                        &TfrmPrintPreview::ppZoomExecute);
  ppZoom100 = AddToggle("ppZoom100", QStringLiteral("&100%"), QStringLiteral("Actual size"),
                        &TfrmPrintPreview::ppZoomExecute);
  ppZoom200 = AddToggle("ppZoom200", QStringLiteral("&200%"), QStringLiteral("Twice the size"),
                        &TfrmPrintPreview::ppZoomExecute);
  auto* zoom = new QActionGroup(this);
  for (QAction* action : {ppZoomFit, ppZoom100, ppZoom200})
    zoom->addAction(action);
  ppZoomFit->setChecked(true);
  for (QAction* action : {ppLabels, ppMarks, ppCalibration, ppSkipBlank})
    aidsBar->addAction(action);
  aidsBar->addSeparator();
  for (QAction* action : {ppZoomFit, ppZoom100, ppZoom200})
    aidsBar->addAction(action);

  // The grey page panel between two narrow empty panels.
  // The page panel "Page Preview": a captioned panel whose grey client holds
  // the preview image.
  auto* pagePanel = new TCleanPanel(QStringLiteral("Page Preview"), this);
  pagePanel->setObjectName(QStringLiteral("pnlPagePreview"));
  pagePanel->SetBorderWidth(0);
  QWidget* client = pagePanel->Client();
  client->setAutoFillBackground(true);
  QPalette grey = client->palette();
  grey.setColor(QPalette::Window, kGround);
  client->setPalette(grey);
  // Fitted, the image fills the panel; zoomed, it has the drawing's size
  // and scrolls.
  fScroll = new QScrollArea(client);
  fScroll->setObjectName(QStringLiteral("sbxPreview"));
  fScroll->setFrameShape(QFrame::NoFrame);
  fScroll->setAlignment(Qt::AlignCenter);
  fScroll->setWidgetResizable(true);
  fScroll->viewport()->setAutoFillBackground(true);
  fScroll->viewport()->setPalette(grey);
  fImage = new TPreviewImage(fScroll);
  fScroll->setWidget(fImage);
  auto* pageLayout = new QVBoxLayout(client);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  pageLayout->addWidget(fScroll);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(6, 0, 6, 0);
  middle->addWidget(pagePanel);

  fStatus = new TColorStatusBar(this);
  fStatus->setObjectName(QStringLiteral("sbPreview"));
  fStatus->AddPanels({120, 220, 100});
  fStatus->Panel(1)->SetSpring(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar);
  layout->addWidget(aidsBar);
  layout->addLayout(middle, 1);
  layout->addWidget(fStatus);

  ComputeLayout();
  fImage->OnResize = [this] {
    if (!fDrawing) Guarded(this, [this] { DrawPreviewPage(); });
  };
  ShowPage(PrintedPage(0, 1));
}

TfrmPrintPreview::~TfrmPrintPreview() {
  fImage->OnResize = nullptr;
}

QAction* TfrmPrintPreview::AddAction(const char* name, const QString& caption, const QString& hint,
                                     void (TfrmPrintPreview::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QLatin1String(name));
  action->setToolTip(hint);
  addAction(action);
  connect(action, &QAction::triggered, this,
          [this, handler] { Guarded(this, [&] { (this->*handler)(); }); });
  return action;
}

QAction* TfrmPrintPreview::AddToggle(const char* name, const QString& caption, const QString& hint,
                                     void (TfrmPrintPreview::*handler)()) {
  QAction* action = AddAction(name, caption, hint, handler);
  action->setCheckable(true);
  return action;
}

QString TfrmPrintPreview::StatusText(int index) const {
  return fStatus->PanelText(index);
}

const QImage& TfrmPrintPreview::PreviewImage() const {
  return fImage->Picture;
}

void TfrmPrintPreview::ComputeLayout() {
  fLayout = LayoutForDevice(fMap, fDevice, fAids);
}

int TfrmPrintPreview::PrintedPage(int from, int step) const {
  for (int page = from; page >= 0 && page < fLayout.TotalPages(); page += step)
    if (!PageSkipped(fMap, fLayout, page, fAids)) return page;
  return -1;
}

void TfrmPrintPreview::ShowPage(int page) {
  // With every page skipped the preview stays where it is.
  if (page >= 0) fPage = page;
  fPage = qBound(0, fPage, qMax(0, fLayout.TotalPages() - 1));
  DrawPreviewPage();
  UpdateNavigation();
}

QImage TfrmPrintPreview::DrawPaper(int dpi) const {
  const int dx = fDevice.ResolutionX();
  const int dy = fDevice.ResolutionY();

  // The page at dpi pixels per inch.
  const int s = int(fMap.TileSize() * dpi / 2);
  QImage page(qMax(1, s * fLayout.Cols), qMax(1, s * fLayout.Rows), QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    TSubCellCache cache;
    const QPoint origin = fLayout.PageOrigin(fPage);
    RenderMapArea(fMap, painter, fLayout.Rows, s, s, origin.x(), origin.y(), fLayout.Cols, cache);
  }

  // The sheet with its shadow on grey, the page at the printable offset.
  const QSize sheet = fDevice.PhysicalSize();
  const int paperWidth = int(double(sheet.width()) / dx * dpi) + kShadow;
  const int paperHeight = int(double(sheet.height()) / dy * dpi) + kShadow;
  QImage paper(paperWidth, paperHeight, QImage::Format_RGB32);
  paper.fill(kGround);
  {
    QPainter painter(&paper);
    painter.fillRect(QRect(kShadow, kShadow, paperWidth - kShadow, paperHeight - kShadow),
                     Qt::black);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(0, 0, paperWidth - kShadow - 1, paperHeight - kShadow - 1));
    const QPoint offset = fDevice.PhysicalOffset();
    painter.translate(int(double(offset.x()) / dx * dpi), int(double(offset.y()) / dy * dpi));
    painter.drawImage(0, 0, page);
    const QSize printable = fDevice.PrintableSize();
    const QSize area(int(double(printable.width()) / dx * dpi),
                     int(double(printable.height()) / dy * dpi));
    DrawPageAids(painter, fAids,
                 AidPageOf(fLayout, fPage, s, s, area, dpi, dpi, fMap.MapName(),
                           fPage == FirstPrintedPage(fMap, fLayout, fAids)));
  }
  return paper;
}

void TfrmPrintPreview::DrawPreviewPage() {
  TBusyCursor busy;
  ProcessPendingMessages();
  // Resizing the image while drawing must not start another drawing.
  const QScopedValueRollback<bool> drawing(fDrawing, true);
  QImage& image = fImage->Picture;
  if (fZoom == 0) {
    fScroll->setWidgetResizable(true);
    const QSize size = fImage->size();
    // Drawn with the screen's own pixels: at a device pixel ratio of 2 the
    // paper has twice the pixels each way, from the full-resolution tiles.
    const qreal ratio = fImage->devicePixelRatioF();
    QImage paper = DrawPaper(int(std::lround(kPreviewDpi * ratio)));
    paper.setDevicePixelRatio(ratio);

    // The paper fitted into the preview: as high as the image in portrait
    // (less 10 pixels all round), as wide as the image is high in landscape.
    if (image.deviceIndependentSize() != QSizeF(size) || image.devicePixelRatio() != ratio) {
      image = QImage(size * ratio, QImage::Format_RGB32);
      image.setDevicePixelRatio(ratio);
    }
    image.fill(kGround);
    const QSize area = fDevice.PrintableSize();
    const double a = double(area.width()) / area.height();
    const int W = size.width();
    const int H = size.height();
    QRect target;
    if (area.width() < area.height()) {
      const int w = int(std::ceil(H * a));
      target = QRect(W / 2 - w / 2, 0, w, H).adjusted(10, 10, -10, -10);
    } else {
      const int v = int(std::ceil(H / a));
      target = QRect(W / 2 - H / 2, H / 2 - v / 2, H, v);
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, paper);
  } else {
    // Zoomed: the drawing unscaled on grey, drawn at the screen's own
    // pixels so that it stays sharp on a high-density screen.
    const qreal ratio = fImage->devicePixelRatioF();
    QImage paper = DrawPaper(int(std::lround(kPreviewDpi * fZoom / 100.0 * ratio)));
    paper.setDevicePixelRatio(ratio);
    const QSize shown = (QSizeF(paper.size()) / ratio).toSize() + QSize(2, 2) * kZoomMargin;
    image = QImage(shown * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(kGround);
    {
      QPainter painter(&image);
      painter.drawImage(QPoint(kZoomMargin, kZoomMargin), paper);
    }
    fScroll->setWidgetResizable(false);
    fImage->resize(shown);
  }

  fStatus->SetPanelText(0,
                        QStringLiteral("Page %1 of %2").arg(fPage + 1).arg(fLayout.TotalPages()));
  fStatus->SetPanelText(1, QString::fromLatin1(GridSizeNames[GridSizeIndex(fMap.TileSize())]));
  fStatus->SetPanelText(
      2, fDevice.Landscape() ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
  fImage->update();
}

void TfrmPrintPreview::UpdateNavigation() {
  ppNextPage->setEnabled(PrintedPage(fPage + 1, 1) >= 0);
  ppPrevPage->setEnabled(PrintedPage(fPage - 1, -1) >= 0);
  ppPrint->setEnabled(true);
  ppPrintPage->setEnabled(true);
}

void TfrmPrintPreview::ppPrintExecute() {
  accept();
}

void TfrmPrintPreview::ppPrintPageExecute() {
  PrintMap(this, fMap, fDevice, fPage, fAids);
}

void TfrmPrintPreview::ppPrintSetupExecute() {
  if (!PrinterSetup || !PrinterSetup(this)) return;
  ComputeLayout();
  ShowPage(PrintedPage(0, 1));
}

void TfrmPrintPreview::ppNextPageExecute() {
  const int next = PrintedPage(fPage + 1, 1);
  if (next >= 0) ShowPage(next);
}

void TfrmPrintPreview::ppPrevPageExecute() {
  const int previous = PrintedPage(fPage - 1, -1);
  if (previous >= 0) ShowPage(previous);
}

void TfrmPrintPreview::ppFirstPageExecute() {
  const int first = PrintedPage(0, 1);
  if (first >= 0) ShowPage(first);
}

void TfrmPrintPreview::ppLastPageExecute() {
  const int last = PrintedPage(fLayout.TotalPages() - 1, -1);
  if (last >= 0) ShowPage(last);
}

void TfrmPrintPreview::ppAidsExecute() {
  TPrintAids aids;
  aids.Labels = ppLabels->isChecked();
  aids.Marks = ppMarks->isChecked();
  aids.Calibration = ppCalibration->isChecked();
  aids.SkipBlank = ppSkipBlank->isChecked();
  // The strip may cost a row of squares, so the page count can change; a
  // page the job no longer prints gives way to the next printed one.
  const TPrintAids before = fAids;
  fAids = aids;
  try {
    ComputeLayout();
  } catch (...) {
    fAids = before;
    ppLabels->setChecked(before.Labels);
    ppCalibration->setChecked(before.Calibration);
    ComputeLayout();
    throw;
  }
  int page = PrintedPage(qMin(fPage, fLayout.TotalPages() - 1), 1);
  if (page < 0) page = PrintedPage(fLayout.TotalPages() - 1, -1);
  ShowPage(page);
}

void TfrmPrintPreview::ppZoomExecute() {
  fZoom = ppZoom200->isChecked() ? 200 : ppZoom100->isChecked() ? 100 : 0;
  DrawPreviewPage();
}

void TfrmPrintPreview::ppCloseExecute() {
  reject();
}

bool ShowPrintPreview(QWidget* owner, const TTileMap& map, TPrinterDevice& device,
                      TPrintAids& aids) {
  TfrmPrintPreview window(owner, map, device, aids);
  if (auto* printer = dynamic_cast<TSystemPrinter*>(&device))
    window.PrinterSetup = [printer](QWidget* parent) {
      return PrinterSetupDialog(parent, *printer, TSetupConfirms::Settings);
    };
  const bool print = window.exec() == QDialog::Accepted;
  aids = window.Aids();
  return print;
}
