#include "MainStatusBar.h"

#include <QLabel>

const int TMainStatusBar::kPanelWidths[kPanelCount] = {24, 200, 50};

TMainStatusBar::TMainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  for (int i = 0; i < kPanelCount; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("stbPanel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(kPanelWidths[i]);
    // The last panel takes whatever width the bar has left.
    if (i < kPanelCount - 1) label->setFixedWidth(kPanelWidths[i]);
    if (i == 0) label->setAlignment(Qt::AlignCenter);
    fPanels[i] = label;
    addWidget(label, i == kPanelCount - 1 ? 1 : 0);
  }
  fSimpleLabel = new QLabel(this);
  fSimpleLabel->setObjectName(QStringLiteral("stbSimpleText"));
  fSimpleLabel->hide();
  addWidget(fSimpleLabel, 1);
}

QString TMainStatusBar::PanelText(int panel) const {
  return fPanels[panel]->text();
}

void TMainStatusBar::SetPanelText(int panel, const QString& text) {
  fPanels[panel]->setText(text);
}

void TMainStatusBar::SetPanelImage(int panel, const QPixmap& image) {
  if (image.isNull())
    fPanels[panel]->clear();
  else
    fPanels[panel]->setPixmap(image);
}

bool TMainStatusBar::PanelHasImage(int panel) const {
  return !fPanels[panel]->pixmap().isNull();
}

void TMainStatusBar::SetPanelHint(int panel, const QString& hint) {
  fPanels[panel]->setToolTip(hint);
}

QString TMainStatusBar::PanelHint(int panel) const {
  return fPanels[panel]->toolTip();
}

void TMainStatusBar::SetSimplePanel(bool simple) {
  if (simple == fSimple) return;
  fSimple = simple;
  for (QLabel* panel : fPanels)
    panel->setVisible(!simple);
  fSimpleLabel->setVisible(simple);
  repaint();
}

QString TMainStatusBar::SimpleText() const {
  return fSimpleLabel->text();
}

void TMainStatusBar::SetSimpleText(const QString& text) {
  fSimpleLabel->setText(text);
  if (fSimple) fSimpleLabel->repaint();
}
