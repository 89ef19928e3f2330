#pragma once

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
// The system's printer setup dialog for a printer; true when confirmed.
bool PrinterSetupDialog(QWidget* owner, TSystemPrinter& printer);

// Print: the printer check, then every page of the map through the
// progress window.
void PrintCurrentMap(QWidget* owner, const TTileMap& map);
// Print...: the printer check, the printer setup dialog, and when the user
// confirms it, PrintCurrentMap.
void PrintCurrentMapWithSetup(QWidget* owner, const TTileMap& map);
// Print Preview: the printer check, the preview, and PrintCurrentMap when
// the user chose Print in it.
void PreviewCurrentMap(QWidget* owner, TTileMap& map);
// The preview alone on the current printer; true when the user chose
// Print.
bool ShowPrintPreview(QWidget* owner, TTileMap& map);

// Print mode: every page of a loaded map to the default printer through
// the progress window.
void PrintMapToDefaultPrinter(QWidget* owner, const TTileMap& map);
