#pragma once

#include <QString>
#include <QStringList>

// The program after its application object exists, given its arguments
// (without the program's name); returns the exit code. Three ways to run:
// "/P" (any case) and a file prints that map and ends; a start while a
// primary runs hands its file to it and ends; otherwise this start is the
// primary: splash, tilesets, main window, event loop, settings written back.
int RunTessellan(const QStringList& arguments);

// Print mode: loads the map with the defaults and prints every page; any
// failure ends in the "Unable to Print Map" box. Returns the exit code.
int PrintMapFile(const QString& path);

// Whether a command-line argument is the print switch.
bool IsPrintSwitch(const QString& argument);
