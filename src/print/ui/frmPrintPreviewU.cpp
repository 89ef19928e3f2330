#include "frmPrintPreviewU.h"

#include "base/Busy.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "map/GridSizes.h"
#include "map/TileMapObjects.h"
#include "print/MapAreaRenderer.h"
#include "print/PrinterDevice.h"
#include "print/ui/PrintCommands.h"
#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
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

TfrmPrintPreview::TfrmPrintPreview(QWidget* owner, TTileMap& map, TPrinterDevice& device)
    : QDialog(owner), fMap(map), fDevice(device) {
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
  toolbar->addAction(ppPrint);
  toolbar->addAction(ppPrintPage);
  toolbar->addAction(ppPrintSetup);
  toolbar->addSeparator();
  toolbar->addAction(ppPrevPage);
  toolbar->addAction(ppNextPage);

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
  fImage = new TPreviewImage(client);
  auto* pageLayout = new QVBoxLayout(client);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  pageLayout->addWidget(fImage);
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
  layout->addLayout(middle, 1);
  layout->addWidget(fStatus);

  ComputeLayout();
  fImage->OnResize = [this] { Guarded(this, [this] { DrawPreviewPage(); }); };
  DrawPreviewPage();
  UpdateNavigation();
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

QString TfrmPrintPreview::StatusText(int index) const {
  return fStatus->PanelText(index);
}

const QImage& TfrmPrintPreview::PreviewImage() const {
  return fImage->Picture;
}

void TfrmPrintPreview::ComputeLayout() {
  const QSize area = fDevice.PrintableSize();
  fLayout = ComputePageLayout(fMap.Width(), fMap.Height(), fMap.TileSize(), fDevice.ResolutionX(),
                              fDevice.ResolutionY(), area.width(), area.height());
}

void TfrmPrintPreview::DrawPreviewPage() {
  TBusyCursor busy;
  ProcessPendingMessages();
  const int dx = fDevice.ResolutionX();
  const int dy = fDevice.ResolutionY();

  // The page at 72 pixels per inch.
  const int s = int(fMap.TileSize() * kPreviewDpi / 2);
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
  const int paperWidth = int(double(sheet.width()) / dx * kPreviewDpi) + kShadow;
  const int paperHeight = int(double(sheet.height()) / dy * kPreviewDpi) + kShadow;
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
    painter.drawImage(int(double(offset.x()) / dx * kPreviewDpi),
                      int(double(offset.y()) / dy * kPreviewDpi), page);
  }

  // The paper fitted into the preview: as high as the image in portrait
  // (less 10 pixels all round), as wide as the image is high in landscape.
  const QSize size = fImage->size();
  QImage& image = fImage->Picture;
  if (image.size() != size) image = QImage(size, QImage::Format_RGB32);
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
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, paper);
  }

  fStatus->SetPanelText(0,
                        QStringLiteral("Page %1 of %2").arg(fPage + 1).arg(fLayout.TotalPages()));
  fStatus->SetPanelText(1, QString::fromLatin1(GridSizeNames[GridSizeIndex(fMap.TileSize())]));
  fStatus->SetPanelText(
      2, fDevice.Landscape() ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
  fImage->update();
}

void TfrmPrintPreview::UpdateNavigation() {
  ppNextPage->setEnabled(fPage < fLayout.TotalPages() - 1);
  ppPrevPage->setEnabled(fPage > 0);
  ppPrint->setEnabled(true);
  ppPrintPage->setEnabled(true);
}

void TfrmPrintPreview::ppPrintExecute() {
  accept();
}

void TfrmPrintPreview::ppPrintPageExecute() {
  PrintMap(this, fMap, fDevice, fPage);
}

void TfrmPrintPreview::ppPrintSetupExecute() {
  if (!PrinterSetup || !PrinterSetup(this)) return;
  fPage = 0;
  ComputeLayout();
  DrawPreviewPage();
  UpdateNavigation();
}

void TfrmPrintPreview::ppNextPageExecute() {
  if (fPage >= fLayout.TotalPages() - 1) return;
  ++fPage;
  DrawPreviewPage();
  UpdateNavigation();
}

void TfrmPrintPreview::ppPrevPageExecute() {
  if (fPage <= 0) return;
  --fPage;
  DrawPreviewPage();
  UpdateNavigation();
}

void TfrmPrintPreview::ppCloseExecute() {
  reject();
}

bool ShowPrintPreview(QWidget* owner, TTileMap& map, TPrinterDevice& device) {
  TfrmPrintPreview window(owner, map, device);
  if (auto* printer = dynamic_cast<TSystemPrinter*>(&device))
    window.PrinterSetup = [printer](QWidget* parent) {
      return PrinterSetupDialog(parent, *printer);
    };
  return window.exec() == QDialog::Accepted;
}
