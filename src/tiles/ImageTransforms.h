#pragma once

#include <QImage>

// Exact pixel permutations of 24-bit images; pixels are copied whole and
// never blended. Each returns a new image.
QImage RotateClockwise(const QImage& image);
QImage Rotate180(const QImage& image);
QImage RotateCounterClockwise(const QImage& image);
QImage MirrorLeftRight(const QImage& image);
QImage MirrorTopBottom(const QImage& image);

// The image in an orientation code 0 to 7 (6 and 7 compose a rotation with a
// left-right mirror).
QImage OrientImage(const QImage& image, int orientation);

// An ARGB copy in which every pixel whose low three bytes equal the colour
// (red lowest) is fully transparent.
QImage ColourKeyed(const QImage& image, qint32 transparentColor);

// The image smoothly stretched to width × height as QImage::Format_RGB888.
// With a transparent colour (not -1) the stretch is key-aware: keyed pixels
// count as fully transparent, so they never blend into the object's edge;
// every result pixel is then either exactly the key colour (where less than
// half covered) or an object colour that differs from the key.
QImage ScaleImage(const QImage& image, int width, int height, qint32 transparentColor);
