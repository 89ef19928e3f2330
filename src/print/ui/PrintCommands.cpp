#include "PrintCommands.h"

#include "print/ui/SystemPrinter.h"
#include "print/ui/frmPrintMapU.h"
#include "print/ui/frmPrintPreviewU.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <memory>

TSystemPrinter& CurrentPrinter() {
  static std::unique_ptr<TSystemPrinter> printer;
  if (!printer) printer = std::make_unique<TSystemPrinter>();
  return *printer;
}

std::unique_ptr<QPrintDialog> NewPrinterSetupDialog(QWidget* owner, QPrinter& printer,
                                                    TSetupConfirms confirms) {
  auto dialog = std::make_unique<QPrintDialog>(&printer, owner);
  dialog->setWindowTitle(QStringLiteral("Printer Setup"));
  // Pages are chosen in the preview; the dialog sets printer, paper and
  // orientation.
  dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  // The dialog's own confirming button says "Print"; where confirming only
  // keeps the settings, it must not promise a print.
  if (confirms == TSetupConfirms::Settings)
    for (auto* box : dialog->findChildren<QDialogButtonBox*>())
      if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  return dialog;
}

bool PrinterSetupDialog(QWidget* owner, TSystemPrinter& printer, TSetupConfirms confirms) {
  return NewPrinterSetupDialog(owner, printer.Printer(), confirms)->exec() == QDialog::Accepted;
}

void PrintCurrentMap(QWidget* owner, const TTileMap& map, const TPrintAids& aids) {
  CheckPrinters();
  PrintMap(owner, map, CurrentPrinter(), -1, aids);
}

void PrintCurrentMapWithSetup(QWidget* owner, const TTileMap& map, const TPrintAids& aids) {
  CheckPrinters();
  if (PrinterSetupDialog(owner, CurrentPrinter(), TSetupConfirms::Printing))
    PrintCurrentMap(owner, map, aids);
}

void PreviewCurrentMap(QWidget* owner, const TTileMap& map, const TPrintAids& aids,
                       const std::function<void(const TPrintAids&)>& chosen) {
  CheckPrinters();
  TPrintAids shown = aids;
  const bool print = ShowPrintPreview(owner, map, shown);
  if (chosen) chosen(shown);
  if (print) PrintCurrentMap(owner, map, shown);
}

bool ShowPrintPreview(QWidget* owner, const TTileMap& map, TPrintAids& aids) {
  return ShowPrintPreview(owner, map, CurrentPrinter(), aids);
}

void PrintMapToDefaultPrinter(QWidget* owner, const TTileMap& map, const TPrintAids& aids) {
  CheckPrinters();
  TSystemPrinter printer;
  PrintMap(owner, map, printer, -1, aids);
}
