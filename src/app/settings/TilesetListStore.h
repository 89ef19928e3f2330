#pragma once

class TTilesetList;

// Replaces the saved tileset list in the settings store by "TS1" … with the
// file names of the list's items 1 onward (the wall tileset, item 0, is not
// listed). Raises TError "Unable to save list of tilesets." when the store
// cannot be written.
void SaveTilesetList(const TTilesetList& list);
