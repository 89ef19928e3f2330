#pragma once

#include <functional>

class QDialog;

// Runs a modal dialog and returns its result. The program shows it with
// exec(); tests install a runner that fills and answers it instead.
using TDialogRunner = std::function<int(QDialog&)>;

int RunDialog(QDialog& dialog);
// Installs a runner and returns the previous one; an empty runner restores
// exec().
TDialogRunner SetDialogRunner(TDialogRunner runner);
