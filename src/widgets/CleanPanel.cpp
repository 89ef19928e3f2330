#include "CleanPanel.h"

#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

TCleanPanel::TCleanPanel(const QString& caption, QWidget* parent)
    : QWidget(parent), fCaption(caption) {
  fLayout = new QVBoxLayout(this);
  fLayout->setSpacing(0);
  fClient = new QWidget(this);
  fClient->setObjectName(QStringLiteral("pnlClient"));
  fLayout->addWidget(fClient, 1);
  UpdateMargins();
}

void TCleanPanel::SetCaption(const QString& caption) {
  if (caption == fCaption) return;
  fCaption = caption;
  update(CaptionRect());
}

QColor TCleanPanel::CaptionColor() const {
  return fCaptionColor.isValid() ? fCaptionColor : palette().color(QPalette::Highlight);
}

void TCleanPanel::SetCaptionColor(const QColor& color) {
  fCaptionColor = color;
  update();
}

QColor TCleanPanel::CaptionTextColor() const {
  return fCaptionTextColor.isValid() ? fCaptionTextColor
                                     : palette().color(QPalette::HighlightedText);
}

void TCleanPanel::SetCaptionTextColor(const QColor& color) {
  fCaptionTextColor = color;
  update(CaptionRect());
}

void TCleanPanel::SetBorderWidth(int width) {
  fBorderWidth = std::max(0, width);
  UpdateMargins();
}

void TCleanPanel::UpdateMargins() {
  const int side = kBevelWidth + fBorderWidth;
  fLayout->setContentsMargins(side, kCaptionHeight + side, side, side);
}

QRect TCleanPanel::CaptionRect() const {
  return QRect(0, 0, width(), kCaptionHeight);
}

void TCleanPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  const QColor caption = CaptionColor();
  painter.fillRect(CaptionRect(), caption);
  // The bevel lies wholly inside the frame: a 2-pixel pen centred on a line
  // one pixel in.
  QPen bevel(caption, kBevelWidth);
  bevel.setJoinStyle(Qt::MiterJoin);
  painter.setPen(bevel);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(1, kCaptionHeight + 1, width() - 2, height() - kCaptionHeight - 2));
  painter.setPen(CaptionTextColor());
  painter.drawText(CaptionRect().adjusted(kCaptionIndent, 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fCaption);
}
