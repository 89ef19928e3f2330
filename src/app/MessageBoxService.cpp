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

// A window of the program the user sees, to centre a box over: the active
// one, else any shown (the splash while the program starts).
QWidget* ShownWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (QWidget* window : windows) {
    const Qt::WindowType type = window->windowType();
    if (window->isVisible() &&
        (type == Qt::Window || type == Qt::Dialog || type == Qt::SplashScreen))
      return window;
  }
  return nullptr;
}

}  // namespace

TMsgAnswer TMessageBoxService::Show(const TMessage& message) {
  QWidget* owner = qobject_cast<QWidget*>(message.Owner);
  if (owner) owner = owner->window();
  // A box is centred over its owner's window. An owner not yet on the screen
  // (the main window reporting a failed start-up file under the splash) would
  // put it at the screen's corner: it goes over what is shown instead.
  if (!owner || !owner->isVisible()) owner = ShownWindow();
  QMessageBox box(IconOf(message.Icon), message.Caption, message.Text, QMessageBox::NoButton,
                  owner);
  // Boxes without an owner still come to the front of the program's windows.
  box.setWindowModality(Qt::ApplicationModal);
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
  // The box takes its final size as it shows, after the toolkit has placed
  // it by a smaller one: centred again then, it sits in the middle.
  box.show();
  if (owner) {
    const QRect frame = box.frameGeometry();
    box.move(owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
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
