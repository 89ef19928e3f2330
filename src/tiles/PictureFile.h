#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Pictures read from files to be cut into tile groups, by the Tileset Editor
// and the command-line tool alike.

// The largest picture taken, either way, in pixels.
constexpr int kMaxPictureSide = 4096;

// Raises TError when a picture of this size is too large to use.
void CheckPictureSize(const QSize& size);

// Reads a picture file whole, turned as the file says it is to be shown
// (a photo's orientation tag). A picture larger than kMaxPictureSide either
// way is refused before its pixels are decoded, when the file's header
// gives the size. Raises TError when the file cannot be read or decoded.
QImage ReadPicture(const QString& path);
