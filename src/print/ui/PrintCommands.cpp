#include "PrintCommands.h"

#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "print/ui/frmPrintPreviewU.h"

#include <QPrintDialog>
#include <QPrinter>

#include <memory>

TSystemPrinter& CurrentPrinter() {
  static std::unique_ptr<TSystemPrinter> printer;
  if (!printer) printer = std::make_unique<TSystemPrinter>();
  return *printer;
}

bool PrinterSetupDialog(QWidget* owner, TSystemPrinter& printer) {
  QPrintDialog dialog(&printer.Printer(), owner);
  dialog.setWindowTitle(QStringLiteral("Printer Setup"));
  // Pages are chosen in the preview; the dialog sets printer, paper and
  // orientation.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

void PrintCurrentMap(QWidget* owner, const TTileMap& map) {
  CheckPrinters();
  PrintMap(owner, map, CurrentPrinter(), -1);
}

void PrintCurrentMapWithSetup(QWidget* owner, const TTileMap& map) {
  CheckPrinters();
  if (PrinterSetupDialog(owner, CurrentPrinter())) PrintCurrentMap(owner, map);
}

void PreviewCurrentMap(QWidget* owner, TTileMap& map) {
  CheckPrinters();
  if (ShowPrintPreview(owner, map)) PrintCurrentMap(owner, map);
}

bool ShowPrintPreview(QWidget* owner, TTileMap& map) {
  return ShowPrintPreview(owner, map, CurrentPrinter());
}

void PrintMapToDefaultPrinter(QWidget* owner, const TTileMap& map) {
  CheckPrinters();
  TSystemPrinter printer;
  PrintMap(owner, map, printer, -1);
}
