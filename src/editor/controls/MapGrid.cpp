#include "MapGrid.h"
#include "editor/OutlinePattern.h"
#include "editor/SubCellPainter.h"
#include "render/MapGeometry.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <cstdlib>

namespace {

TMouseButton ButtonOf(const QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
      return TMouseButton::Left;
    case Qt::RightButton:
      return TMouseButton::Right;
    default:
      return TMouseButton::Middle;
  }
}

QPoint PointOf(const QMouseEvent* event) {
  return event->position().toPoint();
}

}  // namespace

TMapGrid::TMapGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  // The viewport must sit at the control's origin: the model's coordinates
  // are control pixels and the picture covers the whole control.
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  // The picture always covers the viewport: no background erasing.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  fColor = palette().color(QPalette::Base);

  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setSingleStep(1);
    const auto kind =
        bar == horizontalScrollBar() ? TScrollBarKind::Horizontal : TScrollBarKind::Vertical;
    connect(bar, &QScrollBar::valueChanged, this, [this, kind](int value) {
      if (!fSyncingBars) fModel.ScrollTo(kind, value);
    });
  }

  fModel.SetView(this);
  // What a user's pointer places sits centred under it.
  fModel.SetCentreFootprint(true);
  fModel.SetScrollBarThickness(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
  ResizeToControl();

  fTimer = new QTimer(this);
  fTimer->setInterval(100);
  connect(fTimer, &QTimer::timeout, this, [this] { fModel.Tick(); });
  fTimer->start();
}

TMapGrid::~TMapGrid() {
  fModel.SetView(nullptr);
}

void TMapGrid::SetOnDrawSubCell(TSubCellPainter* painter) {
  fDrawSubCell = painter;
  fModel.RedrawAll();
  Show();
}

void TMapGrid::SetColor(const QColor& color) {
  if (color == fColor) return;
  fColor = color;
  fModel.RedrawAll();
  Show();
}

void TMapGrid::ResizeToControl() {
  // As many pixels as the screen shows for the control, so that tiles are
  // drawn from their full-resolution pictures at the screen's own pixels.
  const qreal ratio = devicePixelRatioF();
  QImage picture(std::max(1, qRound(width() * ratio)), std::max(1, qRound(height() * ratio)),
                 QImage::Format_RGB32);
  picture.setDevicePixelRatio(ratio);
  picture.fill(fColor);
  fPicture = std::move(picture);
  fModel.SetControlSize(width(), height());
}

QImage TMapGrid::ShownPicture() const {
  QImage shown = fPicture.copy();
  QPainter painter(&shown);
  PaintOutlines(painter);
  return shown;
}

void TMapGrid::PaintOutlines(QPainter& painter) const {
  PaintOutline(painter, fSelectionOutline.Rect, fSelectionOutline.Phase);
  PaintOutline(painter, fHoverOutline.Rect, fHoverOutline.Phase);
}

// ---------------------------------------------------------------------------
// Events

bool TMapGrid::event(QEvent* event) {
  const bool result = QAbstractScrollArea::event(event);
  switch (event->type()) {
    case QEvent::Resize:
      ResizeToControl();
      break;
    case QEvent::StyleChange:
      fModel.SetScrollBarThickness(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
      break;
    default:
      break;
  }
  return result;
}

bool TMapGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) fModel.MouseLeave();
  return QAbstractScrollArea::viewportEvent(event);
}

void TMapGrid::paintEvent(QPaintEvent* event) {
  // On a screen of another pixel ratio the picture is drawn afresh.
  if (fPicture.devicePixelRatio() != devicePixelRatioF()) ResizeToControl();
  QPainter painter(viewport());
  const QRect area = event->rect();
  const qreal ratio = fPicture.devicePixelRatio();
  painter.drawImage(
      area.topLeft(), fPicture,
      QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
  PaintOutlines(painter);
}

// The middle button drags the view like a hand moving the paper; it never
// selects.
void TMapGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint p = PointOf(event);
  if (event->button() == Qt::MiddleButton) {
    fPanning = true;
    fPanStart = p;
    fPanScroll = QPoint(fModel.ScrollX(), fModel.ScrollY());
    viewport()->setCursor(Qt::ClosedHandCursor);
    return;
  }
  fModel.MousePress(p.x(), p.y(), ButtonOf(event));
}

void TMapGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = PointOf(event);
  if (fPanning) {
    const QPoint target = fPanScroll - (p - fPanStart);
    fModel.ScrollTo(TScrollBarKind::Horizontal, target.x());
    fModel.ScrollTo(TScrollBarKind::Vertical, target.y());
    return;
  }
  fModel.MouseMove(p.x(), p.y());
}

void TMapGrid::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = PointOf(event);
  if (event->button() == Qt::MiddleButton) {
    if (fPanning) viewport()->unsetCursor();
    fPanning = false;
    return;
  }
  fModel.MouseRelease(p.x(), p.y(), ButtonOf(event));
}

void TMapGrid::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  // One step per notch (120 eighths of a degree); finer wheels add up.
  fWheelAngle += event->angleDelta().y();
  // The scroll area hands on the viewport's events in viewport coordinates.
  const QPoint at = event->position().toPoint();
  while (std::abs(fWheelAngle) >= QWheelEvent::DefaultDeltasPerStep) {
    const bool zoomIn = fWheelAngle > 0;
    fWheelAngle -= zoomIn ? QWheelEvent::DefaultDeltasPerStep : -QWheelEvent::DefaultDeltasPerStep;
    emit ZoomRequested(zoomIn, at);
  }
  event->accept();
}

// The toolkit delivers the second press of a double click as this event
// instead of a press; the model swallows that press and its release.
void TMapGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = PointOf(event);
  fModel.DoubleClick();
  fModel.MousePress(p.x(), p.y(), ButtonOf(event));
}

void TMapGrid::contextMenuEvent(QContextMenuEvent* event) {
  fModel.ContextMenu();
  if (fPopupMenu)
    fPopupMenu->exec(event->globalPos());
  else
    event->ignore();
}

// The grid has no keys of its own; in particular the arrows do not scroll.
void TMapGrid::keyPressEvent(QKeyEvent* event) {
  if (isSignalConnected(QMetaMethod::fromSignal(&TMapGrid::KeyPressed)))
    emit KeyPressed(event);
  else
    event->ignore();
}

void TMapGrid::keyReleaseEvent(QKeyEvent* event) {
  if (isSignalConnected(QMetaMethod::fromSignal(&TMapGrid::KeyReleased)))
    emit KeyReleased(event);
  else
    event->ignore();
}

void TMapGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) fModel.SetEnabled(isEnabled());
  QAbstractScrollArea::changeEvent(event);
}

// Scrolling repaints through the model; the picture is never shifted.
void TMapGrid::scrollContentsBy(int, int) {}

// ---------------------------------------------------------------------------
// The view the model drives

void TMapGrid::PaintRegion(const TRedrawRange& range) {
  const TPixelRect bounds{0, 0, width(), height()};
  const TPixelRect clip = range.Region.Intersected(bounds);
  if (clip.IsEmpty()) return;
  QPainter painter(&fPicture);
  painter.fillRect(clip.ToQRect(), fColor);
  painter.setFont(font());
  fModel.ForEachSubCell(range, [&](const TSubCellPaint& cell) {
    if (fDrawSubCell && !cell.Rect.Intersected(bounds).IsEmpty()) {
      painter.save();
      fDrawSubCell->DrawSubCell(cell.Col, cell.Row, cell.SubCol, cell.SubRow, cell.Rect.ToQRect(),
                                painter, cell.Selected);
      painter.restore();
    }
    DrawCellLines(painter, cell.LineRect.ToQRect(), cell.Lines);
  });
  painter.end();
  // The closing lines lie one pixel right of and below the region.
  fDirty = fDirty.United({clip.Left, clip.Top, clip.Right + 1, clip.Bottom + 1});
}

void TMapGrid::EraseArea(const TPixelRect& area) {
  const TPixelRect clip = area.Intersected({0, 0, width(), height()});
  if (clip.IsEmpty()) return;
  QPainter painter(&fPicture);
  painter.fillRect(clip.ToQRect(), palette().color(QPalette::Base));
  painter.end();
  fDirty = fDirty.United(clip);
}

void TMapGrid::ShowOutlines(const TGridOutline& selection, const TGridOutline& hover) {
  if (selection != fSelectionOutline)
    fDirty = fDirty.United(fSelectionOutline.Rect).United(selection.Rect);
  if (hover != fHoverOutline) fDirty = fDirty.United(fHoverOutline.Rect).United(hover.Rect);
  fSelectionOutline = selection;
  fHoverOutline = hover;
}

void TMapGrid::Show() {
  if (fDirty.IsEmpty()) return;
  viewport()->update(fDirty.ToQRect());
  fDirty = {};
}

void TMapGrid::SetScrollRanges(int maxX, int maxY) {
  fSyncingBars = true;
  horizontalScrollBar()->setRange(0, maxX);
  horizontalScrollBar()->setPageStep(maxX / 10);
  verticalScrollBar()->setRange(0, maxY);
  verticalScrollBar()->setPageStep(maxY / 10);
  fSyncingBars = false;
}

void TMapGrid::SetScrollPositions(int x, int y) {
  fSyncingBars = true;
  horizontalScrollBar()->setValue(x);
  verticalScrollBar()->setValue(y);
  fSyncingBars = false;
}

void TMapGrid::TakeFocus() {
  setFocus(Qt::MouseFocusReason);
}
