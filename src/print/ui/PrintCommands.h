#pragma once

#include "print/PrintAids.h"

#include <functional>
#include <memory>

class QPrintDialog;
class QPrinter;
class QWidget;
class TSystemPrinter;
class TTileMap;

// The printing commands of the main window, on the program's current
// printer (the system's default until the printer setup dialog picks
// another; the choice lasts while the program runs). Each raises TError for
// the default error display: the printer check's error when the system
// lists no printer, or what ended printing.

// The current printer.
TSystemPrinter& CurrentPrinter();
// What confirming the printer setup dialog does: print, or only keep the
// settings (from the preview), which its button then says: "Print" or "OK".
enum class TSetupConfirms { Printing, Settings };
// The system's printer setup dialog for a printer, not yet shown.
std::unique_ptr<QPrintDialog> NewPrinterSetupDialog(QWidget* owner, QPrinter& printer,
                                                    TSetupConfirms confirms);
// Runs that dialog for a printer; true when confirmed.
bool PrinterSetupDialog(QWidget* owner, TSystemPrinter& printer, TSetupConfirms confirms);

// Print: the printer check, then every page of the map, with the aids,
// through the progress window.
void PrintCurrentMap(QWidget* owner, const TTileMap& map, const TPrintAids& aids);
// Print...: the printer check, the printer setup dialog, and when the user
// confirms it, PrintCurrentMap.
void PrintCurrentMapWithSetup(QWidget* owner, const TTileMap& map, const TPrintAids& aids);
// Print Preview: the printer check, the preview starting with the aids,
// then `chosen` with the aids the user left it with, and PrintCurrentMap
// with them when the user chose Print in it.
void PreviewCurrentMap(QWidget* owner, const TTileMap& map, const TPrintAids& aids,
                       const std::function<void(const TPrintAids&)>& chosen);
// The preview alone on the current printer, starting with the aids and
// leaving in them the ones the user chose; true when the user chose Print.
bool ShowPrintPreview(QWidget* owner, const TTileMap& map, TPrintAids& aids);

// Print mode: every page of a loaded map, with the aids, to the default
// printer through the progress window.
void PrintMapToDefaultPrinter(QWidget* owner, const TTileMap& map, const TPrintAids& aids);
