#pragma once

#include <QRgb>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class QImage;
class TTileGroup;

// A wall style is drawn as one picture strip of its twelve pieces side by
// side, each a square, in the order the wall tool takes them: the four
// corners, the four straight walls, the four posts, each four in the order
// top-left (or top), top-right (or right), bottom-right (or bottom),
// bottom-left (or left).

constexpr int kWallStripPieces = 12;

// The piece names, in strip order.
extern const char* const kWallPieceNames[kWallStripPieces];

// Raises TError unless the strip is twelve squares side by side.
void CheckWallStrip(const QSize& size);

// A strip size for the given piece size, for messages and templates.
inline QSize WallStripSize(int pieceSize) {
  return QSize(kWallStripPieces * pieceSize, pieceSize);
}

// A wall style cut from a strip (checked as above): a group of category
// "Walls" with the twelve pieces as its first row, objects placed as stored,
// each piece's sub-tiles subTileSize pixels square; no tileset owns it yet.
// Pixels of the key colour are transparent, else those the strip's alpha
// leaves. Raises TError for a strip that is no wall strip or cannot be cut.
std::unique_ptr<TTileGroup> CutWallStyle(const QImage& strip, const QString& name,
                                         std::optional<QRgb> keyColor, int subTileSize = 150);

// Whether wall piece n (0 to 11), drawn in quadrant q of its cell, runs
// along the cell side `side` (0 top, 1 right, 2 bottom, 3 left) within that
// quadrant: a corner runs along two sides, a straight wall along one, a post
// along none, and each only in the quadrants that touch the side.
bool WallPieceRunsAlong(int n, int q, int side);
