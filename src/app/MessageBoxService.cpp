#include "MessageBoxService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

QMessageBox::Icon IconOf(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::Information:
      return QMessageBox::Information;
    case TMsgIcon::Warning:
      return QMessageBox::Warning;
    case TMsgIcon::Error:
      return QMessageBox::Critical;
    case TMsgIcon::Question:
      return QMessageBox::Question;
    case TMsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

TMsgAnswer TMessageBoxService::Show(const TMessage& message) {
  QWidget* owner = qobject_cast<QWidget*>(message.Owner);
  if (owner) owner = owner->window();
  QMessageBox box(IconOf(message.Icon), message.Caption, message.Text, QMessageBox::NoButton,
                  owner);
  // Boxes without an owner (start-up, tileset loading) still come to the
  // front of the program's windows.
  if (!owner) box.setWindowModality(Qt::ApplicationModal);
  const struct {
    unsigned Flag;
    QMessageBox::StandardButton Button;
  } kButtons[] = {{mbOK, QMessageBox::Ok},
                  {mbYes, QMessageBox::Yes},
                  {mbNo, QMessageBox::No},
                  {mbCancel, QMessageBox::Cancel}};
  QPushButton* first = nullptr;
  for (const auto& b : kButtons) {
    if (!(message.Buttons & b.Flag)) continue;
    QPushButton* button = box.addButton(b.Button);
    if (!first) first = button;
  }
  if (!first) first = box.addButton(QMessageBox::Ok);
  box.setDefaultButton(first);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return TMsgAnswer::Yes;
    case QMessageBox::No:
      return TMsgAnswer::No;
    case QMessageBox::Cancel:
      return TMsgAnswer::Cancel;
    case QMessageBox::Ok:
      return TMsgAnswer::OK;
    default:
      // Closed with Escape or the title bar: the gentlest answer offered.
      if (message.Buttons & mbCancel) return TMsgAnswer::Cancel;
      if (message.Buttons & mbNo) return TMsgAnswer::No;
      return FirstAnswer(message.Buttons);
  }
}
