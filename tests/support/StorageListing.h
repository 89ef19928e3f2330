#pragma once

#include <QStringList>

class TStorage;

// Every stream and storage of a tree as "path" lines: "D a/b" for storages
// and "F a/b/c <size> <md5>" for streams, sorted. Paths use '/'. The checker
// scripts print the same lines for what other readers see in a file.
QStringList ListTree(const TStorage& root);
