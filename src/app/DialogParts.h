#pragma once

#include <QString>

class QComboBox;
class QDialog;
class QDialogButtonBox;
class QPushButton;
class QSpinBox;
class QWidget;

// Pieces both settings dialogs are made of.

// A spin box over a range; values set beyond it become the nearest bound.
QSpinBox* MakeSpinBox(QWidget* parent, int minimum, int maximum, int value);
// The drop-down list of the seven printed grid sizes, by name.
QComboBox* MakeGridSizeList(QWidget* parent);
// OK (default) and Cancel (also Esc) wired to the dialog's accept and reject.
QDialogButtonBox* MakeOKCancel(QDialog* dialog, QPushButton** ok);
// Fixed size, centred on the owner's window when it has one.
void FixAndCentre(QDialog* dialog, QWidget* owner);
