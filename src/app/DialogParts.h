#pragma once

class QDialog;
class QSpinBox;
class QWidget;

// Pieces the program's dialogs are made of.

// A spin box over a range; values set beyond it become the nearest bound.
QSpinBox* MakeSpinBox(QWidget* parent, int minimum, int maximum, int value);
// Fixed size, centred on the owner's window when it has one.
void FixAndCentre(QDialog* dialog, QWidget* owner);
