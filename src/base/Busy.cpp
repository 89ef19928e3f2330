#include "Busy.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

bool HasGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

TBusyCursor::TBusyCursor() : fActive(HasGui()) {
  if (fActive) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

TBusyCursor::~TBusyCursor() {
  if (fActive) QGuiApplication::restoreOverrideCursor();
}

void ProcessPendingMessages() {
  if (HasGui()) QCoreApplication::processEvents();
}
