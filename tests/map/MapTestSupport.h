#pragma once

#include "map/TileMapObjects.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// A sub-tile with a small image of its own (a colour and a pattern derived
// from seed), a fresh identity and, for odd seeds, a transparent colour.
std::unique_ptr<TSubTile> MakeSubTile(int seed, int side = 6);

// A set of sub-tiles standing in for a tileset, with letters for pictures:
// sub-tile i is drawn as 'a' + i.
class TTilePalette {
 public:
  explicit TTilePalette(int count, int side = 6);
  const TSubTile& operator[](int index) const { return *fTiles[size_t(index)]; }
  int Count() const { return int(fTiles.size()); }
  // The index of the sub-tile with that identity, -1 for an unknown one.
  int IndexOf(const TSubTile& subTile) const;
  // Its letter, '?' for an unknown one.
  char LetterOf(const TSubTile& subTile) const;

 private:
  std::vector<std::unique_ptr<TSubTile>> fTiles;
};

// A layer drawn row by row, one character per sub-cell ('.' empty, the
// palette letter otherwise), rows separated by '\n'.
std::string Picture(const TTileMap& map, int layer, const TTilePalette& palette);
// Places the letters of a picture (whitespace between rows; '.' keeps the
// cell as it is) with orientation 0.
void Paint(TTileMap& map, int layer, const TTilePalette& palette, const std::string& picture);

// Everything a cell shows, in a form that compares across maps.
struct TCellState {
  QString Guid;  // empty for an empty cell
  int Orientation = 0;
  bool operator==(const TCellState& other) const {
    return Guid == other.Guid && Orientation == other.Orientation;
  }
};

struct TMapState {
  int Width = 0;
  int Height = 0;
  std::vector<TCellState> Cells[kLayerCount];
  bool operator==(const TMapState& other) const;
};

TMapState Snapshot(const TTileMap& map);

// Every placed tile's index is valid and its stored position is its cell.
void ExpectConsistent(const TTileMap& map);

// Raw pixel bytes of an RGB888 image without row padding.
QByteArray PixelBytes(const QImage& image);
