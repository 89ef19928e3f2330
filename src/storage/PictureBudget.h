#pragma once

#include "Storage.h"

#include <QString>

// The memory that the pictures of a map or tileset file may take once
// decoded is bounded by the file's own size: a fixed allowance plus a
// multiple of the size. The pictures are sized up from their PNG headers
// before any of them is decoded, so a file of a few kilobytes that declares
// gigabytes of pictures is refused at once.

// The decoded bytes a file of fileSize bytes may declare.
qint64 PictureBudget(qint64 fileSize);

// The decoded bytes the pictures in the streams of root declare (every
// stream is read as sub-tile records from its start, DeclaredPictures).
// Each picture counts at least as much as a 64 × 64 one.
qint64 DeclaredPictureBytes(const TStorage& root);

// Raises TStorageError naming the file at path when the pictures in root
// declare more than PictureBudget(fileSize).
void CheckPictureBudget(const TStorage& root, qint64 fileSize, const QString& path);
