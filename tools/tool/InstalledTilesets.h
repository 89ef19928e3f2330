#pragma once

#include <QString>

class QTemporaryDir;
class TTilesetList;

// The folder the editor keeps the installed tilesets in: the one the
// settings name (the editor records it at every start) when it exists,
// otherwise the one the editor would make.
QString InstalledTilesetFolder();

// The tileset list as the editor has it: the supplied tilesets written out
// into a private temporary directory (so a running editor is never
// disturbed), then the tilesets and wall tilesets the user installed, read
// from their folder. Added files that have gone are told on stderr.
TTilesetList& LoadInstalledTilesets(const QTemporaryDir& suppliedDir);
