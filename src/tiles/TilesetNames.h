#pragma once

#include <QStringList>

class TTilesetList;

// The names the tileset box shows for list items 1 onward, in list order:
// each tileset's name, followed by its file name where another listed
// tileset has the same name (regardless of case): "Garden (Garden2.tls)".
// A none entry shows an empty name.
QStringList TilesetNames(const TTilesetList& list);
