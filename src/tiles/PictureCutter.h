#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

#include <optional>
#include <vector>

class TTileGroup;

// Cuts pictures (any format the image readers know) into tile groups: the
// picture covers Across × Down map squares; each square becomes one tile of
// the group, scaled to the tile size and split into its four sub-tiles.

// The pixel sizes of a map square that pictures are commonly drawn at.
extern const int kCommonSquareSizes[5];  // 70, 100, 140, 200, 256

// The most squares a picture may cover either way, and in all: the scaled
// picture is held whole while it is cut (256 squares of 300 pixels take
// about 90 MB).
constexpr int kMaxSquares = 64;
constexpr int kMaxSquaresInAll = 256;

// A way to read a picture's size as squares.
struct TSquareCount {
  int Across = 1;
  int Down = 1;
  int SquareSize = 0;  // pixels per square the count assumes
};

// One count per common square size, the nearest whole number of squares
// (at least one) each way, without repeats: the closest fit first, equal fits
// the largest square first. Empty for an empty size.
std::vector<TSquareCount> ProposeSquareCounts(const QSize& pictureSize);

struct TCutOptions {
  int Across = 1;
  int Down = 1;
  // Pixels per sub-tile; a tile is twice that each way.
  int SubTileSize = 150;
  // Pixels of this colour (alpha ignored) are transparent, as are pixels the
  // picture's own alpha leaves less than half covered.
  std::optional<QRgb> KeyColor;
};

// Replaces the group's tiles with the picture cut as the options say:
// PatWidth and PatHeight become Across and Down, every cell gets a tile, and
// every sub-tile an RGB888 image and a fresh identity. Where the picture has
// transparent pixels every sub-tile carries one transparent colour: the key
// colour, or else one that no opaque pixel uses. Opaque pixels that would
// match it are moved by one step of blue. Raises TError for a null picture,
// a count outside 1 to kMaxSquares, more than kMaxSquaresInAll squares, or
// more squares than pixels.
void CutPictureIntoGroup(const QImage& picture, const TCutOptions& options, TTileGroup& group);

// The sub-tile record's value of a colour: red in the lowest byte, and 0x02
// in the highest as in the supplied files.
qint32 TransparentColorValue(QRgb color);

// Splits a sheet into columns × rows pictures of (nearly) equal size, row by
// row from the top left. Raises TError for a null sheet, counts below one or
// more pieces than pixels.
std::vector<QImage> SplitSheet(const QImage& sheet, int columns, int rows);
