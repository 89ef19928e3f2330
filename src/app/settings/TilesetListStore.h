#pragma once

#include <QStringList>

class TTilesetList;

// Replaces the saved tileset list in the settings store by "TS1" … with the
// file names of the list's items 1 onward (the wall tileset, item 0, is not
// listed). Raises TError "Unable to save list of tilesets." when the store
// cannot be written, followed by the reason when a write failed.
void SaveTilesetList(const TTilesetList& list);

// The file names of the tilesets the user added, kept beside the saved list
// under "AddedTilesets" as "TS1" … in the order they were added. Start-up
// lists them after the supplied tilesets; the saved list above is rewritten
// at every exit and read by nothing.
QStringList LoadAddedTilesets();
// Replaces the stored names. Raises TError "Unable to save list of added
// tilesets." when the store cannot be written, followed by the reason when a
// write failed.
void SaveAddedTilesets(const QStringList& fileNames);

// The file names of the wall tilesets the user added, kept in a group of
// their own, "AddedWallTilesets", as "TS1" … in the order they were added.
QStringList LoadAddedWallTilesets();
// Replaces them. Raises TError "Unable to save list of added wall
// tilesets." when the store cannot be written.
void SaveAddedWallTilesets(const QStringList& fileNames);
// Stores the names of the list's added tilesets and added wall tilesets.
void SaveAddedTilesets(const TTilesetList& list);
