#include "CaptionPanel.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace {

constexpr int kCaptionHeight = 20;

}  // namespace

TCaptionPanel::TCaptionPanel(const QString& caption, QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);

  fCaption = new QLabel(caption, this);
  fCaption->setObjectName(QStringLiteral("lblCaption"));
  fCaption->setFixedHeight(kCaptionHeight);
  fCaption->setIndent(8);
  fCaption->setAutoFillBackground(true);
  QPalette strip = fCaption->palette();
  strip.setColor(QPalette::Window, palette().color(QPalette::Highlight));
  strip.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
  fCaption->setPalette(strip);
  QFont font = fCaption->font();
  font.setBold(true);
  fCaption->setFont(font);
  layout->addWidget(fCaption);

  fClient = new QWidget(this);
  fClient->setObjectName(QStringLiteral("pnlClient"));
  layout->addWidget(fClient, 1);
}

QString TCaptionPanel::Caption() const {
  return fCaption->text();
}

void TCaptionPanel::SetCaption(const QString& caption) {
  fCaption->setText(caption);
}
