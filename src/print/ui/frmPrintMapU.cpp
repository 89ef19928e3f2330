#include "frmPrintMapU.h"

#include "base/Busy.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "map/TileMapObjects.h"
#include "print/PrinterDevice.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// How often a page being drawn lets the window handle input and repaint: a
// Cancel click shows well within a tenth of a second.
constexpr int kPumpIntervalMs = 30;

// A printer with a sheet coming out, drawn rather than loaded so the window
// needs no resource.
QPixmap PrinterPicture() {
  QPixmap picture(48, 48);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1.5));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(13.5, 4.5, 21, 18));  // paper in the tray
  painter.setBrush(QColor(170, 170, 175));
  painter.drawRoundedRect(QRectF(4.5, 18.5, 39, 17), 3, 3);  // body
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(12.5, 30.5, 23, 14));  // sheet coming out
  painter.setPen(QPen(QColor(120, 120, 120), 1));
  for (int y = 34; y <= 41; y += 3)
    painter.drawLine(QPointF(15.5, y + 0.5), QPointF(32.5, y + 0.5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 160, 60));
  painter.drawEllipse(QRectF(36, 22, 4, 4));  // power light
  return picture;
}

}  // namespace

TfrmPrintMap::TfrmPrintMap(QWidget* owner, const TTileMap& map, TPrinterDevice& device,
                           int pageIndex, const TPrintAids& aids)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      fMap(map),
      fDevice(device),
      fPageIndex(pageIndex),
      fAids(aids) {
  setObjectName(QStringLiteral("frmPrintMap"));
  setWindowTitle(QStringLiteral("Printing ") + map.MapName());
  setModal(true);

  auto* picture = new QLabel(this);
  picture->setPixmap(PrinterPicture());
  fStatus = new QLabel(QStringLiteral("Printing pages"), this);
  fStatus->setObjectName(QStringLiteral("lblStatus"));
  fStatus->setMinimumWidth(180);
  fCancel = new QPushButton(QStringLiteral("Cancel"), this);
  fCancel->setObjectName(QStringLiteral("btnCancel"));
  connect(fCancel, &QPushButton::clicked, this, &TfrmPrintMap::btnCancelClick);

  auto* row = new QHBoxLayout;
  row->addWidget(picture);
  row->addSpacing(8);
  row->addWidget(fStatus, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(fCancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TfrmPrintMap::~TfrmPrintMap() = default;

void TfrmPrintMap::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (fStarted) return;
  fStarted = true;
  // Printing starts once the window is on screen and the modal loop runs.
  QTimer::singleShot(0, this, &TfrmPrintMap::Print);
}

void TfrmPrintMap::closeEvent(QCloseEvent* event) {
  // The window has no close button; only the end of the job closes it.
  if (fPrinting)
    event->ignore();
  else
    QDialog::closeEvent(event);
}

void TfrmPrintMap::keyPressEvent(QKeyEvent* event) {
  // Escape cancels printing rather than closing the window under it.
  if (event->key() == Qt::Key_Escape) {
    if (fCancel->isEnabled()) fCancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfrmPrintMap::PageStarting(const QString& status) {
  if (!fCancelRequested) fStatus->setText(status);
  ProcessPendingMessages();
  fSincePump.start();
  // A click noticed while the last page was drawn, or just now, lets this
  // page be drawn and ends the job after it.
  fCancelled = fCancelRequested;
}

void TfrmPrintMap::Drawing() {
  if (fSincePump.isValid() && fSincePump.elapsed() < kPumpIntervalMs) return;
  ProcessPendingMessages();
  fSincePump.start();
}

void TfrmPrintMap::btnCancelClick() {
  fCancelRequested = true;
  fCancel->setEnabled(false);
  fStatus->setText(QStringLiteral("Cancelling print"));
  // Shown now, not when the page in hand is done.
  fStatus->repaint();
  fCancel->repaint();
}

void TfrmPrintMap::Print() {
  fCancelRequested = false;
  fCancelled = false;
  repaint();
  ProcessPendingMessages();
  {
    TBusyCursor busy;
    ProcessPendingMessages();
    fPrinting = true;
    try {
      fPagesDrawn = PrintMapPages(fMap, fDevice, fPageIndex, this, fAids);
    } catch (...) {
      fError = CurrentExceptionText();
    }
    fPrinting = false;
  }
  // Closed from the event loop, as a posted close would be.
  QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void PrintMap(QWidget* owner, const TTileMap& map, TPrinterDevice& device, int pageIndex,
              const TPrintAids& aids) {
  const QString scaleProblem = device.KeepTrueScale();
  if (!scaleProblem.isEmpty() &&
      ShowMessage(scaleProblem + QStringLiteral("\n\nPrint anyway?"), QStringLiteral("Tessellan"),
                  TMsgIcon::Warning, mbYes | mbNo, owner) != TMsgAnswer::Yes)
    return;
  TfrmPrintMap window(owner, map, device, pageIndex, aids);
  window.exec();
  if (!window.Error().isEmpty()) throw TError(window.Error());
}
