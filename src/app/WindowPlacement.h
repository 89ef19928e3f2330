#pragma once

#include <QString>

class QWidget;

// A window's position, size and show state kept in the settings store, below
// a key path such as "Software\Varnholt\Tessellan\1.00.000\Main". The path
// gets a backslash when it lacks one, then the window's object name; the
// group holds the integers "XPos", "YPos" (left and top of the window's
// normal geometry), "Width" and "Height" (its right and bottom edges,
// exclusive, not its size) and "State" (1 normal, 2 minimised, 3 maximised).

// The main window's key path (with its object name "frmMain" the group is
// "1.00.000/Main/frmMain").
extern const QString kMainPlacementKey;

// The settings group for a window below a key path: "1.00.000/Main/frmMain".
QString PlacementGroup(const QString& keyPath, const QWidget* window);

// False when the store cannot be written at all; raises TError when the
// write fails, the settings file then staying as it was.
bool SaveWindowPlacement(QWidget* window, const QString& keyPath);

// False, changing nothing, when nothing usable was saved for the window:
// nothing at all, a value that is not a number, or a placement that lies on
// no screen or is larger than the screen it lies on. The window then keeps
// its default placement.
bool RestoreWindowPlacement(QWidget* window, const QString& keyPath);
