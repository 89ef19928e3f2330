#pragma once

#include "TilesetArt.h"

#include <QImage>

// Review renderings of the artwork, drawn the way the editor draws tiles:
// each sub-tile scaled on its own, objects keyed transparent.

// Every group at several cell sizes (32 pixels per cell among them) with its
// name; random floors also as a random arrangement of their variants.
QImage RenderContactSheet(const std::vector<const TTilesetArt*>& tilesets);

// A small room as a user would paint it: floors, walls placed by the wall
// rules with their corners and posts, doors across cell edges, and objects.
QImage RenderDemoRoom(const TTilesetArt& tileset, const TTilesetArt& walls, int cellSize);

// A sub-tile scaled to size × size the way the editor scales it: keyed
// pictures are scaled premultiplied and thresholded, so no key colour bleeds
// into the edges. Returns an ARGB image, transparent where keyed.
QImage ScaleSubTile(const QImage& subTile, qint32 transparentColour, int size);

// A wall strip (the twelve pieces side by side, keyed with kKeyRgb) as the
// help shows it: each piece on a plain floor with its number and name, in
// two rows of six.
QImage RenderWallOrder(const QImage& strip);
