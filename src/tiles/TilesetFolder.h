#pragma once

#include <QString>

// Copies a tileset file into the tileset folder as Add Tileset does, after
// every check it makes: the file must load as a tileset (the loader's own
// messages otherwise; a map file is named as one), a wall tileset (".wls")
// must hold a wall style, a supplied tileset's name and a folder in the way
// are refused, a read-only installed file is never replaced, and another
// file of that name is replaced only when the user agrees. A file in the
// folder already is taken as it is. The copy is written aside and renamed,
// so a failure raises TError and leaves the folder as it was. Questions and
// refusals go through the message service with caption. Returns the
// installed path, or an empty text when nothing was installed.
QString InstallTilesetFile(const QString& path, const QString& folder, const QString& caption);

// Whether the file has the read-only attribute (the owner-write bit clear).
bool IsReadOnlyTilesetFile(const QString& path);
