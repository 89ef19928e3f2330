#pragma once

#include "StringBag.h"

#include <QString>

#include <memory>

class QSettings;

// The program's settings and its recent-files list. Both bags load from the
// settings store (with the defaults applied to Settings) the first time either
// is used, and are written back by SaveSettings at exit.
TStringBag& Settings();
TStringBag& RecentFiles();

// Loads both bags afresh from the store and applies the defaults.
void LoadSettings();
// Writes both bags to the store.
void SaveSettings();

// The store behind the registry keys: per-user INI file of "Varnholt/Tessellan".
std::unique_ptr<QSettings> OpenSettingsStore();

// The directory of the running program, with a trailing separator.
QString ProgramDir();

// Printed grid sizes in inches, with their names.
constexpr int kGridSizeCount = 7;
constexpr int kDefaultGridSizeIndex = 2;
extern const float GridSizes[kGridSizeCount];
extern const char* const GridSizeNames[kGridSizeCount];
// Index of the first size exactly equal to size, or 2 when none is.
int GridSizeIndex(float size);
