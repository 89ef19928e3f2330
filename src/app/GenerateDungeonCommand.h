#pragma once

class QWidget;
class TFileCommands;
class TTileMap;
class TTilesetList;

// Map > Generate Dungeon...: the Generate Dungeon dialog, then, on OK, a
// new map named as New Map names it, sized and built by the generator as
// one undo step, shown as the current map. When fewer rooms fit than were
// asked for, a message says so once the map is there. Returns the new map,
// or none when the user cancelled; raises TError when the dungeon cannot be
// built (no map is left behind then).
TTileMap* GenerateDungeonWithDialog(QWidget* owner, TFileCommands& files, TTilesetList& tilesets);
