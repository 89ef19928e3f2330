#pragma once

#include "support/RunProgram.h"

#include "storage/Storage.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Access to the supplied tilesets as the build wrote them, for the
// generator's tests.

constexpr qint32 kKey = 0x02FF00FF;  // magenta, red in the lowest byte

// The generator's program and the folder the build had it write to.
QString GeneratorPath();
QString GeneratedFile(const QString& name);  // "ExampleTileset.tls", "Walls.wls"

QByteArray ReadWholeFile(const QString& path);
// The parsed file; a file that does not parse fails the calling test.
std::unique_ptr<TStorage> LoadTree(const QString& path);

// The group storages of a tileset root, in the container's order.
std::vector<const TStorage*> GroupStorages(const TStorage& root);

// One tile stream decoded: its four sub-tile records.
struct TDecodedTile {
  QImage SubTiles[4];
  QString Guids[4];
  qint32 Colours[4] = {0, 0, 0, 0};
  qsizetype LeftOver = 0;  // bytes after the fourth record
};
TDecodedTile DecodeTile(const QByteArray& stream);

// The whole picture of tile (x, y) of a group, its quadrants put together.
QImage TilePicture(const TStorage& group, int x, int y);

// Runs the independent reader olefile on a file ("list": every storage and
// stream as ListTree prints them; "meta": the summary) and returns its lines.
QStringList Olefile(const char* mode, const QString& path);
