#include "ArrangeGrid.h"
#include "editor/OutlinePattern.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

TArrangeGrid::TArrangeGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  fColor = palette().color(QPalette::Base);

  QScrollBar* bar = verticalScrollBar();
  bar->setSingleStep(1);
  bar->setPageStep(10);
  connect(bar, &QScrollBar::valueChanged, this, [this](int value) {
    if (fSyncingBar) return;
    fScroll = std::clamp(value, 0, fScrollLimit);
    RedrawAll();
    Show();
  });

  fTimer = new QTimer(this);
  fTimer->setInterval(100);
  connect(fTimer, &QTimer::timeout, this, &TArrangeGrid::TickOutline);
  fTimer->start();

  resize(50, 50);
  fPicture = NewPicture();
  UpdateScrollLimit();
}

// ---------------------------------------------------------------------------
// Properties

void TArrangeGrid::SetNumItems(int value) {
  if (value < 0) return;
  fNumItems = value;
  if (fSelected > fNumItems - 1) fSelected = -1;
  UpdateScrollLimit();
  Show();
}

// A new cell size changes the layout and the scroll range, so both are
// recomputed and the items drawn again.
void TArrangeGrid::SetCellWidth(int value) {
  if (value <= 0 || value == fCellWidth) return;
  fCellWidth = value;
  UpdateScrollLimit();
  Show();
}

void TArrangeGrid::SetCellHeight(int value) {
  if (value <= 0 || value == fCellHeight) return;
  fCellHeight = value;
  UpdateScrollLimit();
  Show();
}

void TArrangeGrid::SetSelected(int index) {
  if (index < 0 || index > fNumItems - 1) return;
  if (fSelected >= 0) RedrawItem(fSelected, false);
  fSelected = index;
  emit ItemSelected(index);
  // The receiver may have changed the items; draw whatever is selected now.
  if (fSelected >= 0) RedrawItem(fSelected, true);
  Show();
}

void TArrangeGrid::SetColor(const QColor& color) {
  if (color == fColor) return;
  fColor = color;
  RedrawAll();
  Show();
}

// ---------------------------------------------------------------------------
// Layout

int TArrangeGrid::Columns() const {
  return std::max(1, viewport()->width() / fCellWidth);
}

int TArrangeGrid::ItemAt(int x, int y) const {
  // Points outside the client area (a release after the mouse left it) and
  // right of the last whole column name no item.
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return -1;
  const int column = x / fCellWidth;
  if (column >= Columns()) return -1;
  const int index = Columns() * ((y + fScroll) / fCellHeight) + column;
  return index < fNumItems ? index : -1;
}

QRect TArrangeGrid::ItemRect(int index) const {
  const int columns = Columns();
  return QRect((index % columns) * fCellWidth, (index / columns) * fCellHeight - fScroll,
               fCellWidth, fCellHeight);
}

void TArrangeGrid::UpdateScrollLimit() {
  // Showing or hiding the scroll bar resizes the client area, which calls
  // back here; the outer call repeats until the layout is stable.
  if (fInLayout) {
    fLayoutAgain = true;
    return;
  }
  fInLayout = true;
  for (int pass = 0; pass < 4; ++pass) {
    fLayoutAgain = false;
    const int columns = Columns();
    const int rows = (fNumItems + columns - 1) / columns;
    fScrollLimit = std::max(0, rows * fCellHeight - (viewport()->height() - 1));
    fScroll = std::min(fScroll, fScrollLimit);
    fSyncingBar = true;
    verticalScrollBar()->setRange(0, fScrollLimit);
    verticalScrollBar()->setValue(fScroll);
    fSyncingBar = false;
    if (!fLayoutAgain) break;
  }
  fInLayout = false;
  RedrawAll();
}

// ---------------------------------------------------------------------------
// Drawing

QImage TArrangeGrid::NewPicture() const {
  // The screen's own pixels, so that the items' pictures are copied, not
  // stretched.
  const qreal ratio = devicePixelRatioF();
  QImage picture(std::max(1, qRound(viewport()->width() * ratio)),
                 std::max(1, qRound(viewport()->height() * ratio)), QImage::Format_RGB32);
  picture.setDevicePixelRatio(ratio);
  return picture;
}

QRect TArrangeGrid::PictureBounds() const {
  return QRect(QPoint(0, 0), fPicture.deviceIndependentSize().toSize());
}

void TArrangeGrid::RedrawAll() {
  if (fPicture.isNull()) return;
  QPainter painter(&fPicture);
  const QRect bounds = PictureBounds();
  painter.fillRect(bounds, fColor);
  if (!isEnabled() || !ItemsDrawn()) return;
  for (int i = 0; i < fNumItems; ++i) {
    const QRect rect = ItemRect(i);
    if (!rect.intersects(bounds)) continue;
    painter.save();
    emit DrawItem(i, i == fSelected, rect, painter);
    painter.restore();
  }
}

bool TArrangeGrid::ItemsDrawn() const {
  return isSignalConnected(QMetaMethod::fromSignal(&TArrangeGrid::DrawItem));
}

void TArrangeGrid::RedrawItem(int index, bool selected) {
  if (fPicture.isNull() || index < 0 || index >= fNumItems) return;
  const QRect rect = ItemRect(index);
  if (!rect.intersects(PictureBounds())) return;
  QPainter painter(&fPicture);
  painter.fillRect(rect, fColor);
  if (isEnabled() && ItemsDrawn()) emit DrawItem(index, selected, rect, painter);
}

void TArrangeGrid::TickOutline() {
  if (!isEnabled()) return;
  fPhase = NextOutlinePhase(fPhase);
  if (fSelected < 0 || fSelected >= fNumItems) return;
  const QRect r = ItemRect(fSelected);
  DrawOutline(fPicture, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, fPhase);
  Show();
}

// ---------------------------------------------------------------------------
// Events

void TArrangeGrid::resizeEvent(QResizeEvent*) {
  fPicture = NewPicture();
  UpdateScrollLimit();
  Show();
}

void TArrangeGrid::paintEvent(QPaintEvent* event) {
  // On a screen of another pixel ratio the picture is drawn afresh.
  if (fPicture.devicePixelRatio() != devicePixelRatioF()) {
    fPicture = NewPicture();
    RedrawAll();
  }
  QPainter painter(viewport());
  const QRect area = event->rect();
  const qreal ratio = fPicture.devicePixelRatio();
  painter.drawImage(
      area.topLeft(), fPicture,
      QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
}

void TArrangeGrid::mousePressEvent(QMouseEvent* event) {
  fPressNoted = true;
  emit MousePressed(event->button(), event->position().toPoint());
  setFocus(Qt::MouseFocusReason);
}

void TArrangeGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (!fPressNoted) return;
  fPressNoted = false;
  const QPoint p = event->position().toPoint();
  emit MouseReleased(event->button(), p);
  if (event->button() != Qt::LeftButton) return;
  const int index = ItemAt(p.x(), p.y());
  if (index >= 0) SetSelected(index);
}

void TArrangeGrid::keyPressEvent(QKeyEvent* event) {
  emit KeyPressed(event);
  const int columns = Columns();
  switch (event->key()) {
    case Qt::Key_Left:
      if (fSelected >= 1) SetSelected(fSelected - 1);
      break;
    case Qt::Key_Right:
      if (fSelected < fNumItems - 1) SetSelected(fSelected + 1);
      break;
    case Qt::Key_Up:
      if (fSelected >= columns) SetSelected(fSelected - columns);
      break;
    case Qt::Key_Down:
      if (fSelected <= fNumItems - columns - 1) SetSelected(fSelected + columns);
      break;
    default:
      event->ignore();
      return;
  }
  event->accept();
}

void TArrangeGrid::changeEvent(QEvent* event) {
  // Items are drawn only while enabled; the picture follows the state.
  if (event->type() == QEvent::EnabledChange) {
    RedrawAll();
    Show();
  }
  QAbstractScrollArea::changeEvent(event);
}

void TArrangeGrid::scrollContentsBy(int, int) {}
