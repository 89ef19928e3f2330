#pragma once

class QLocale;
class QString;
class TStorage;
class TTileMap;

// Map files: one compound file holding the map's texts and sizes as property
// streams, one sub-tile record per embedded tile in the storage "Tiles", and
// the three layers as layer texts. The map itself knows nothing of the
// format; TTileMap::SaveToFile and LoadFromFile forward here.

// Writes the map to path and then renumbers its embedded tiles as the file
// holds them (first-use order, equal identities merged, unused ones dropped),
// which ends the undo history. A failure leaves the previous file, the map
// and its history as they were. Raises TError.
void SaveMapFile(TTileMap& map, const QString& path);
// Fills a freshly created map from a map file. Raises TError, also for a
// file whose pictures would take more memory than its size allows
// (CheckPictureBudget).
void LoadMapFile(TTileMap& map, const QString& path);
// Fills a freshly created map from the root storage of a map file. Everything
// is read and checked first: a damaged tree raises TError and leaves the map
// untouched.
void LoadMapStorage(TTileMap& map, const TStorage& root);

// The text of a tile size in inches as map files hold it: general decimal
// form with at most 15 significant digits and the locale's decimal separator
// (1.0 gives "1", 0.25 gives "0.25").
QString FormatTileSize(float size, const QLocale& locale);
