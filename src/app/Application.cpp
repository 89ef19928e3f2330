#include "Application.h"
#include "base/Error.h"
#include "base/MessageService.h"

#include <QCoreApplication>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(ApplicationTitle());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    // The event counts as handled: whatever raised it has said its last word.
    return true;
  }
}

QString ApplicationTitle() {
  return QStringLiteral("Tessellan");
}

void ShowErrorMessage(const QString& message) {
  ShowMessage(ErrorDisplayText(message), ApplicationTitle(), TMsgIcon::Error, mbOK);
}

void ShowCurrentException() {
  // Showing the box runs a nested event loop; a failure inside it must not
  // escape either, or it would leave this catch block unwinding.
  try {
    ShowErrorMessage(CurrentExceptionText());
  } catch (...) {
  }
}
