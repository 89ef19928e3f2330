#include "DialogRunner.h"

#include <QDialog>

#include <utility>

namespace {

TDialogRunner& Runner() {
  static TDialogRunner runner;
  return runner;
}

}  // namespace

int RunDialog(QDialog& dialog) {
  return Runner() ? Runner()(dialog) : dialog.exec();
}

TDialogRunner SetDialogRunner(TDialogRunner runner) {
  return std::exchange(Runner(), std::move(runner));
}
