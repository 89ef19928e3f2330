#pragma once

#include <QImage>

// The wall pieces of a wall style, painted side by side: piece n is cell n of
// a 12 × 1 picture. Walls are bands of kWallThickness pixels inside the cell
// along its edges; corners join two bands, posts fill the square where bands
// of neighbouring cells meet. Everything else is the key colour.

constexpr int kWallThickness = 44;
constexpr int kWallPieces = 12;

enum class TWallStyle { Dressed, Fieldstone };

QImage PaintWallPieces(TWallStyle style);
