#pragma once

#include <QSize>
#include <QString>

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
