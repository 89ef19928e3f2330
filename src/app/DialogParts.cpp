#include "DialogParts.h"

#include <QDialog>
#include <QLayout>
#include <QSpinBox>

QSpinBox* MakeSpinBox(QWidget* parent, int minimum, int maximum, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  return spin;
}

void FixAndCentre(QDialog* dialog, QWidget* owner) {
  dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
  dialog->adjustSize();
  if (QWidget* window = owner ? owner->window() : nullptr)
    dialog->move(window->frameGeometry().center() - dialog->rect().center());
}
