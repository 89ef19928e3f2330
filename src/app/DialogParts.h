#pragma once

class QDialog;
class QSpinBox;
class QWidget;

// Pieces the program's dialogs are made of.

// A spin box over a range; values set beyond it become the nearest bound,
// and so do values typed beyond it once the box loses the focus.
QSpinBox* MakeSpinBox(QWidget* parent, int minimum, int maximum, int value);
// Fixed size, centred on the owner's window when it has one, and kept on
// that window's screen.
void FixAndCentre(QDialog* dialog, QWidget* owner);
