#pragma once

#include <QImage>
#include <QString>

#include <vector>

// The painted content of a tileset, before it is written: its root texts and
// its groups in palette order, each group one picture covering all its cells.

struct TGroupArt {
  QString Name;
  QString Description;
  QString Category;
  int FType = 0;      // 0 floor, 1 objects
  int PlaceType = 0;  // 0 random, 1 fixed, 2 pattern
  int PatWidth = 1;
  int PatHeight = 1;
  // PatWidth × PatHeight cells of kCell pixels, Format_RGB888. Cell (x, y) is
  // tile "x.y"; objects are keyed with kKeyColour.
  QImage Picture;

  qint32 TransparentColour() const;
  // Sub-tile q (0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right) of
  // tile (x, y).
  QImage SubTile(int x, int y, int quadrant) const;
};

struct TTilesetArt {
  QString Name;
  QString Author;
  QString Information;
  std::vector<TGroupArt> Groups;
};

TTilesetArt PaintExampleTileset();
TTilesetArt PaintWallTileset();
