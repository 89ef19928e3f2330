#pragma once

#include "storage/Storage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Trees, byte patterns and helpers shared by the compound-file tests.

// Deterministic bytes that differ from stream to stream (seeded by seed).
QByteArray PatternBytes(int size, int seed);

// Stream sizes around every boundary of the format: empty, mini sectors,
// the mini stream cutoff and several regular sectors.
const QList<int>& BoundarySizes();

// Shaped like a tileset file: the two property sets, property streams at the
// root and 25 storages, twelve of them groups with their properties and a
// nested "Tiles" storage of tile streams in every boundary size.
std::unique_ptr<TStorage> MakeTilesetTree();

// Shaped like a map file: property streams and a "Tiles" storage of small
// streams, so most data lives in the mini stream.
std::unique_ptr<TStorage> MakeMapTree();

// Expects the same names, types and order at every level, and the same bytes.
void ExpectSameTree(const TStorage& expected, const TStorage& actual);

// Every stream and storage as "path" lines: "D a/b" for storages and
// "F a/b/c <size> <md5>" for streams, sorted. Paths use '/'.
QStringList ListTree(const TStorage& root);

struct TProcessResult {
  int ExitCode = -1;
  QByteArray Out;
  QByteArray Err;
};

// Runs a program to its end (at most a minute); a program that cannot start
// gives exit code -1.
TProcessResult RunProgram(const QString& program, const QStringList& arguments);

// The folder holding the test scripts.
QString TestScriptDir();
