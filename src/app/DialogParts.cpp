#include "DialogParts.h"

#include "app/settings/SettingsStore.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>

QSpinBox* MakeSpinBox(QWidget* parent, int minimum, int maximum, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  return spin;
}

QComboBox* MakeGridSizeList(QWidget* parent) {
  auto* list = new QComboBox(parent);
  for (const char* name : GridSizeNames)
    list->addItem(QString::fromUtf8(name));
  return list;
}

QDialogButtonBox* MakeOKCancel(QDialog* dialog, QPushButton** ok) {
  auto* buttons = new QDialogButtonBox(dialog);
  *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  (*ok)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

void FixAndCentre(QDialog* dialog, QWidget* owner) {
  dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
  dialog->adjustSize();
  if (QWidget* window = owner ? owner->window() : nullptr) {
    const QRect frame = window->frameGeometry();
    dialog->move(frame.center() - dialog->rect().center());
  }
}
