#pragma once

#include "StringBag.h"
#include "map/GridSizes.h"

#include <QString>

#include <memory>

class QSettings;
struct TGroupDefaults;
struct TMapDefaults;

// The program's settings and its recent-files list. Both bags load from the
// settings store (with the defaults applied to Settings) the first time either
// is used, and are written back by SaveSettings at exit.
TStringBag& Settings();
TStringBag& RecentFiles();

// Loads both bags afresh from the store and applies the defaults. A number
// that does not parse or lies outside the range the program accepts is
// replaced by its default.
void LoadSettings();
// Writes both bags to the store in one change of the settings file; raises
// TError when it fails, the file then staying as it was.
void SaveSettings();

// A numeric setting as a number. A value that does not parse or lies outside
// its range (set during the run) gives the default; a name that is no known
// number is parsed as it stands and raises TConvertError when it is none.
int IntSetting(const QString& name);
// What a new map and a new tile group start with, from the settings.
TMapDefaults NewMapDefaults();
TGroupDefaults NewGroupDefaults();

// The store behind the registry keys: per-user INI file of "Varnholt/Tessellan".
std::unique_ptr<QSettings> OpenSettingsStore();

// The directory of the running program, with a trailing separator.
QString ProgramDir();
// Where the installed tilesets live: the program's directory + "Tilesets"
// when it can be created and written, otherwise "Tilesets" in the user's
// application data directory.
QString DefaultTilesetDir();
