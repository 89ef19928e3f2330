#pragma once

#include <QString>

#include <vector>

class TTileGroup;
class TTileSet;
class TTilesetList;

// A wall style as the wall tool offers it: a group of category "Walls" of a
// wall tileset, and the name it is shown by.
struct TWallStyle {
  TTileGroup* Group = nullptr;
  TTileSet* TileSet = nullptr;
  // The group's name; where another style has the same name (regardless of
  // case), followed by the file it comes from: "Brick (Brick.wls)".
  QString Name;
};

// The wall styles of every wall tileset (WallTilesets order: the supplied
// styles first), each tileset's in its own order. Tilesets not loaded yet
// are loaded; one that fails is left out.
std::vector<TWallStyle> WallStyles(const TTilesetList& tilesets);

// Whether a group is a wall style: its category is "Walls" (any case).
bool IsWallStyle(const TTileGroup& group);

// The index of the style shown by name (case counts first, then not), or of
// the one style whose group has that name; -1 when none or, for a group
// name that several styles share, more than one is meant.
int FindWallStyle(const std::vector<TWallStyle>& styles, const QString& name);
