#pragma once

#include "map/SubCells.h"

class TTileGroup;
class TTileMap;

// Draws the wall piece of one edge of cell (c, r) in a wall style (a group
// whose first row holds the twelve pieces) on the map's wall layer, with the
// joints it makes with the walls already there: it turns a perpendicular
// wall in its own sub-cells into a corner, and sets a post into an empty
// neighbouring sub-cell where another wall ends against it. Nothing happens
// when the style lacks the edge's straight piece; a joint whose piece the
// style lacks is skipped alone. Drawing an edge twice equals drawing it once.
// Every change goes through the map, so a caller's undo step records it.
void PlaceWallEdge(TTileMap& map, const TTileGroup& style, int c, int r, TCellEdge edge);
