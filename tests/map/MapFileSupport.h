#pragma once

#include "map/TileMapObjects.h"
#include "storage/Storage.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The tree of a map file as written to disk.
std::unique_ptr<TStorage> ReadTree(const QString& path);
// A property stream's bytes (with its NUL).
QByteArray StreamBytes(const TStorage& root, const QString& name);
// A new map filled from a tree.
std::unique_ptr<TTileMap> LoadTree(const TStorage& root);
// The message of the error loading the tree raises; empty when it loads.
QString LoadTreeError(const TStorage& root);
// The whole content of a file.
QByteArray FileBytes(const QString& path);
