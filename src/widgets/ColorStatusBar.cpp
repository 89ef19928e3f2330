#include "ColorStatusBar.h"

#include "ImageList.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kImageSize = 16;
// Text after a left or centred picture starts this far from the picture's
// left edge; before a right-aligned picture it ends this far from the edge.
constexpr int kTextAfterImage = 20;
constexpr int kTextBeforeRightImage = 18;
// Space between a panel's text and its bevel.
constexpr int kTextMargin = 3;

QColor Or(const QColor& colour, const QColor& fallback) {
  return colour.isValid() ? colour : fallback;
}

}  // namespace

// --- TColorStatusPanel ---

TColorStatusPanel::TColorStatusPanel(TColorStatusBar* bar) : QObject(bar), fBar(bar) {}

void TColorStatusPanel::Changed() {
  fBar->PanelChanged();
}

void TColorStatusPanel::SetAlignment(TStatusPanelAlignment alignment) {
  fAlignment = alignment;
  Changed();
}

void TColorStatusPanel::SetBevel(TStatusPanelBevel bevel) {
  fBevel = bevel;
  Changed();
}

void TColorStatusPanel::SetColors(const TStatusPanelColors& colors) {
  fColors = colors;
  Changed();
}

void TColorStatusPanel::SetFitToContent(bool fit) {
  fFitToContent = fit;
  Changed();
}

void TColorStatusPanel::SetImageIndex(int index) {
  if (index == fImageIndex) return;
  fImageIndex = index;
  Changed();
}

void TColorStatusPanel::SetText(const QString& text) {
  if (text == fText) return;
  fText = text;
  Changed();
}

void TColorStatusPanel::SetSpring(bool spring) {
  fSpring = spring;
  Changed();
}

void TColorStatusPanel::SetStyle(TStatusPanelStyle style) {
  fStyle = style;
  Changed();
}

void TColorStatusPanel::SetVisible(bool visible) {
  fVisible = visible;
  Changed();
}

void TColorStatusPanel::SetWidth(int width) {
  fWidth = std::max(0, width);
  Changed();
}

bool TColorStatusPanel::HasImage() const {
  const TImageList* images = fBar->Images();
  return images && fImageIndex >= 0 && fImageIndex < images->Count();
}

int TColorStatusPanel::ContentWidth(const QFontMetrics& metrics) const {
  int width = 2 * kTextMargin;
  if (!fText.isEmpty()) width += metrics.horizontalAdvance(fText);
  if (HasImage()) width += fText.isEmpty() ? kImageSize : kTextAfterImage;
  return width;
}

// --- TColorStatusBar ---

TColorStatusBar::TColorStatusBar(QWidget* parent) : QStatusBar(parent) {
  // The grip is painted and handled here, not by a child widget.
  setSizeGripEnabled(false);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateHeight();
}

TColorStatusBar::~TColorStatusBar() = default;

TColorStatusPanel* TColorStatusBar::AddPanel() {
  fPanels.push_back(new TColorStatusPanel(this));
  PanelChanged();
  return fPanels.back();
}

void TColorStatusBar::AddPanels(const std::vector<int>& widths) {
  for (const int width : widths)
    AddPanel()->SetWidth(width);
}

TColorStatusPanel* TColorStatusBar::Panel(int index) const {
  if (index < 0 || index >= PanelCount()) return nullptr;
  return fPanels[index];
}

void TColorStatusBar::ClearPanels() {
  for (TColorStatusPanel* panel : fPanels)
    delete panel;
  fPanels.clear();
  PanelChanged();
}

void TColorStatusBar::SetImages(const TImageList* images) {
  fImages = images;
  update();
}

void TColorStatusBar::SetSimplePanel(bool simple) {
  if (simple == fSimplePanel) return;
  fSimplePanel = simple;
  repaint();
}

void TColorStatusBar::SetSimpleText(const QString& text) {
  fSimpleText = text;
  if (fSimplePanel) repaint();
}

void TColorStatusBar::SetSizeGrip(bool grip) {
  fSizeGrip = grip;
  update();
}

void TColorStatusBar::SetUseSystemFont(bool use) {
  fUseSystemFont = use;
  update();
}

void TColorStatusBar::SetColor(const QColor& color) {
  fColor = color;
  update();
}

QString TColorStatusBar::PanelText(int panel) const {
  return fPanels.at(panel)->Text();
}

void TColorStatusBar::SetPanelText(int panel, const QString& text) {
  fPanels.at(panel)->SetText(text);
}

void TColorStatusBar::SetPanelImage(int panel, int imageIndex) {
  fPanels.at(panel)->SetImageIndex(imageIndex);
}

bool TColorStatusBar::PanelHasImage(int panel) const {
  return fPanels.at(panel)->HasImage();
}

QString TColorStatusBar::PanelHint(int panel) const {
  return fPanels.at(panel)->Hint();
}

void TColorStatusBar::SetPanelHint(int panel, const QString& hint) {
  fPanels.at(panel)->SetHint(hint);
}

void TColorStatusBar::PanelChanged() {
  update();
}

QFont TColorStatusBar::TextFont() const {
  return fUseSystemFont ? QApplication::font("QMenu") : font();
}

int TColorStatusBar::GripWidth() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

bool TColorStatusBar::ShowsGrip() const {
  if (!fSizeGrip) return false;
  const QWidget* top = window();
  return !(top->isMaximized() || top->isFullScreen());
}

QRect TColorStatusBar::GripRect() const {
  if (!ShowsGrip()) return QRect();
  const int extent = GripWidth();
  return QRect(width() - extent, height() - extent, extent, extent);
}

void TColorStatusBar::UpdatePanelRects() {
  const QFontMetrics metrics(TextFont());
  const int count = PanelCount();
  std::vector<int> edges(count);
  int right = 0;
  int spring = -1;
  for (int i = 0; i < count; ++i) {
    const TColorStatusPanel& panel = *fPanels[i];
    if (panel.Visible()) {
      right += panel.FitToContent() ? panel.ContentWidth(metrics) : panel.Width();
      if (i == count - 1) right += GripWidth();
      if (panel.Spring()) spring = i;
    }
    edges[i] = right;
  }
  if (count > 0 && right <= width()) {
    const int taker = spring >= 0 ? spring : count - 1;
    for (int i = taker; i < count; ++i)
      edges[i] += width() - right;
  }
  int left = 0;
  for (int i = 0; i < count; ++i) {
    const int edge = i == count - 1 ? edges[i] : edges[i] - kPanelGap;
    fPanels[i]->fRect = QRect(QPoint(left, kPanelGap), QPoint(edge - 1, height() - 1));
    left = edges[i];
  }
}

int TColorStatusBar::PanelWidthFor(const QStringList& texts) const {
  const QFontMetrics metrics(TextFont());
  int width = 0;
  for (const QString& text : texts)
    width = std::max(width, 2 * kTextMargin + metrics.horizontalAdvance(text));
  // The gap to the next panel comes out of the panel's width.
  return width + kPanelGap;
}

int TColorStatusBar::PanelAt(const QPoint& pos) const {
  for (int i = 0; i < PanelCount(); ++i) {
    if (fPanels[i]->Visible() && fPanels[i]->Rect().contains(pos)) return i;
  }
  return -1;
}

void TColorStatusBar::UpdateHeight() {
  setFixedHeight(qRound(kBaseHeight * logicalDpiY() / 96.0));
}

QSize TColorStatusBar::sizeHint() const {
  return QSize(200, qRound(kBaseHeight * logicalDpiY() / 96.0));
}

QSize TColorStatusBar::minimumSizeHint() const {
  return QSize(0, sizeHint().height());
}

bool TColorStatusBar::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::StatusTip:
      // A status tip would replace the panels; the panels stay.
      event->accept();
      return true;
    case QEvent::ToolTip: {
      auto* help = static_cast<QHelpEvent*>(event);
      ShowHint(help->pos(), help->globalPos());
      return true;
    }
    case QEvent::ScreenChangeInternal:
    case QEvent::Show:
      UpdateHeight();
      break;
    default:
      break;
  }
  return QStatusBar::event(event);
}

void TColorStatusBar::ShowHint(const QPoint& pos, const QPoint& globalPos) {
  QString hint;
  QRect area;
  if (fSimplePanel) {
    emit HintShow();
    hint = fHint;
    area = rect();
  } else {
    UpdatePanelRects();
    const int index = PanelAt(pos);
    if (index >= 0) {
      TColorStatusPanel* panel = fPanels[index];
      emit panel->HintShow();
      hint = panel->Hint();
      area = panel->Rect();
    }
  }
  // Limiting the hint to the panel's rectangle makes moving onto the next
  // panel ask for that panel's hint.
  if (hint.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(globalPos, hint, this, area);
}

void TColorStatusBar::paintEvent(QPaintEvent*) {
  UpdatePanelRects();
  const qreal ratio = devicePixelRatioF();
  QPixmap buffer(size() * ratio);
  buffer.setDevicePixelRatio(ratio);
  {
    QPainter painter(&buffer);
    painter.setFont(TextFont());
    painter.fillRect(rect(), Or(fColor, palette().color(QPalette::Button)));
    painter.setPen(palette().color(QPalette::ButtonText));
    if (fSimplePanel) {
      painter.drawText(rect().adjusted(kTextMargin, 0, 0, 0),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fSimpleText);
    } else {
      for (int i = 0; i < PanelCount(); ++i) {
        TColorStatusPanel& panel = *fPanels[i];
        if (!panel.Visible()) continue;
        QRect area = panel.Rect();
        const bool clipped = area.right() >= width();
        if (clipped) area.setRight(width() - 1);
        PaintPanel(painter, panel, area, i == PanelCount() - 1);
        if (clipped) break;
      }
    }
    const QRect grip = GripRect();
    if (!grip.isEmpty()) {
      QStyleOptionSizeGrip option;
      option.initFrom(this);
      option.rect = grip;
      option.corner =
          layoutDirection() == Qt::RightToLeft ? Qt::BottomLeftCorner : Qt::BottomRightCorner;
      style()->drawControl(QStyle::CE_SizeGrip, &option, &painter, this);
    }
  }
  QPainter(this).drawPixmap(0, 0, buffer);
}

void TColorStatusBar::PaintPanel(QPainter& painter, TColorStatusPanel& panel, QRect area,
                                 bool last) {
  if (last && ShowsGrip()) area.setRight(std::max(area.left(), area.right() - GripWidth()));
  if (area.width() <= 0 || area.height() <= 0) return;
  painter.save();
  painter.setClipRect(area);
  const TStatusPanelColors& colors = panel.Colors();
  const QColor light = Or(colors.BorderHighLightColor, palette().color(QPalette::Light));
  const QColor shadow = Or(colors.BorderShadowColor, palette().color(QPalette::Dark));
  const QColor flat = Or(colors.FlatBorderColor, palette().color(QPalette::Dark));
  const QColor back = Or(colors.BackColor, Or(fColor, palette().color(QPalette::Button)));
  const QPoint topLeft = area.topLeft();
  const QPoint topRight = area.topRight();
  const QPoint bottomLeft = area.bottomLeft();
  const QPoint bottomRight = area.bottomRight();
  switch (panel.Bevel()) {
    case TStatusPanelBevel::Lowered:
    case TStatusPanelBevel::Raised: {
      const bool lowered = panel.Bevel() == TStatusPanelBevel::Lowered;
      painter.setPen(lowered ? shadow : light);
      painter.drawLine(bottomLeft, topLeft);
      painter.drawLine(topLeft, topRight);
      painter.setPen(lowered ? light : shadow);
      painter.drawLine(topRight, bottomRight);
      painter.drawLine(bottomRight, bottomLeft);
      break;
    }
    case TStatusPanelBevel::Flat:
      painter.setPen(flat);
      painter.drawRect(area.adjusted(0, 0, -1, -1));
      break;
    case TStatusPanelBevel::None:
      break;
  }
  const QRect inside = area.adjusted(1, 1, -1, -1);
  painter.fillRect(inside, back);

  if (panel.Style() == TStatusPanelStyle::OwnerDraw) {
    emit DrawPanel(painter, &panel, inside);
    painter.restore();
    return;
  }
  painter.setPen(palette().color(QPalette::ButtonText));
  const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
  const QString& text = panel.Text();
  if (panel.HasImage()) {
    const int top = inside.top() + (inside.height() - kImageSize) / 2;
    const int textWidth = painter.fontMetrics().horizontalAdvance(text);
    switch (panel.Alignment()) {
      case TStatusPanelAlignment::Left:
        fImages->Draw(painter, QPoint(inside.left() + 1, top), panel.ImageIndex());
        painter.drawText(inside.adjusted(1 + kTextAfterImage, 0, 0, 0), flags | Qt::AlignLeft,
                         text);
        break;
      case TStatusPanelAlignment::Right:
        fImages->Draw(painter, QPoint(inside.right() + 1 - kImageSize, top), panel.ImageIndex());
        painter.drawText(inside.adjusted(0, 0, -kTextBeforeRightImage, 0), flags | Qt::AlignRight,
                         text);
        break;
      case TStatusPanelAlignment::Center: {
        const int total = text.isEmpty() ? kImageSize : kTextAfterImage + textWidth;
        const int left = inside.left() + (inside.width() - total) / 2;
        fImages->Draw(painter, QPoint(left, top), panel.ImageIndex());
        painter.drawText(
            QRect(left + kTextAfterImage, inside.top(), textWidth + 1, inside.height()),
            flags | Qt::AlignLeft, text);
        break;
      }
    }
  } else {
    int align = Qt::AlignLeft;
    if (panel.Alignment() == TStatusPanelAlignment::Right) align = Qt::AlignRight;
    if (panel.Alignment() == TStatusPanelAlignment::Center) align = Qt::AlignHCenter;
    painter.drawText(inside.adjusted(kTextMargin - 1, 0, 1 - kTextMargin, 0), flags | align, text);
  }
  painter.restore();
}

void TColorStatusBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && GripRect().contains(event->position().toPoint())) {
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemResize(Qt::RightEdge | Qt::BottomEdge)) return;
    fSizing = true;
    fSizingStart = event->globalPosition().toPoint();
    fSizingStartSize = window()->size();
    return;
  }
  QStatusBar::mousePressEvent(event);
}

void TColorStatusBar::mouseMoveEvent(QMouseEvent* event) {
  if (fSizing) {
    const QPoint moved = event->globalPosition().toPoint() - fSizingStart;
    QWidget* top = window();
    top->resize(fSizingStartSize.expandedTo(top->minimumSizeHint()) + QSize(moved.x(), moved.y()));
    return;
  }
  if (GripRect().contains(event->position().toPoint()))
    setCursor(layoutDirection() == Qt::RightToLeft ? Qt::SizeBDiagCursor : Qt::SizeFDiagCursor);
  else
    unsetCursor();
  QStatusBar::mouseMoveEvent(event);
}

void TColorStatusBar::mouseReleaseEvent(QMouseEvent* event) {
  if (fSizing) {
    fSizing = false;
    return;
  }
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && rect().contains(pos) && !GripRect().contains(pos)) {
    if (fSimplePanel) {
      emit Click();
    } else {
      UpdatePanelRects();
      const int index = PanelAt(pos);
      if (index >= 0) emit fPanels[index]->Click();
    }
  }
  QStatusBar::mouseReleaseEvent(event);
}

void TColorStatusBar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (fSimplePanel) {
      emit DblClick();
    } else {
      UpdatePanelRects();
      const int index = PanelAt(event->position().toPoint());
      if (index >= 0) emit fPanels[index]->DblClick();
    }
  }
  QStatusBar::mouseDoubleClickEvent(event);
}
