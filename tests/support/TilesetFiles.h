#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>

#include <memory>
#include <vector>

class TStorage;

// Builds small tileset files for the tests, with our own storage writer.

struct TGroupDef {
  QString Name;
  int PatWidth = 1;
  int PatHeight = 1;
  int FType = 0;
  int PlaceType = 2;
  QString Category = QStringLiteral("Placeables");
  // Tile positions; each gets a stream "X.Y" of four 8 × 8 records.
  std::vector<QPoint> Tiles = {QPoint(0, 0)};
};

// A root with the five root texts (Version "1.0"), the two summary streams
// and one storage per group, named "Group01", "Group02", …. With records,
// every tile stream holds those bytes instead.
std::unique_ptr<TStorage> MakeTilesetTree(const QString& tilesetName,
                                          const std::vector<TGroupDef>& groups,
                                          const QByteArray& records = QByteArray());
void WriteTilesetFile(const QString& path, const TStorage& root);

// The text a failed load shows inside the "Error Loading Tileset" box.
QString LoadFailureText(const QString& path, const QString& error);

// Sets or clears the owner-, group- and other-write permission bits.
void SetWritable(const QString& path, bool writable);

// Copies a resource (":/TILESET/xTileset", ":/TILESET/xWalls") into a file.
// Fails the test when the resource is missing or the file cannot be written.
void CopyResource(const QString& resource, const QString& path);
