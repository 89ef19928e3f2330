#pragma once

#include "TileMapObjects.h"

#include <QString>

#include <memory>
#include <vector>

// The maps open in the main window, in tab order, owned by the list. A map
// whose file fails to load never stays in the list.
class TMapList {
 public:
  TMapList();
  ~TMapList();
  TMapList(const TMapList&) = delete;
  TMapList& operator=(const TMapList&) = delete;

  // Appends a new map with the given starting values.
  TTileMap* NewMap(const TMapDefaults& defaults = TMapDefaults());
  // Appends a map loaded from a file, keeping at most maxUndo undo steps. On
  // failure the map is removed again and the load's error raised unchanged.
  // Everything else the map holds comes from the file.
  TTileMap* OpenMap(const QString& path, int maxUndo = TMapDefaults().MaxUndo);
  // Frees the map and removes its entry; a map not in the list is left alone.
  void RemoveMap(TTileMap* map);

  TTileMap* Maps(int index) const { return fMaps.at(size_t(index)).get(); }
  int Count() const { return int(fMaps.size()); }
  int IndexOf(const TTileMap* map) const;
  // Frees the map at an index and removes its entry.
  void Delete(int index);
  // Frees every map in index order and empties the list.
  void Clear();

  // The first map whose FileName is the same file as path, or none.
  TTileMap* FindMapByFile(const QString& path) const;
  // The base name followed by the first number 1, 2, … that no open map's
  // name equals exactly.
  QString NewMapName(const QString& base = TMapDefaults().MapName) const;

 private:
  std::vector<std::unique_ptr<TTileMap>> fMaps;
};

// Whether two paths name the same file. Where the file system ignores case
// (Windows, macOS) the paths are compared with the letters a to z upper-cased
// and every other character exact; elsewhere their canonical absolute paths
// are compared exactly. An empty path names no file.
bool SameFile(const QString& a, const QString& b);
// The two rules, each on its own.
bool SameFileIgnoringAsciiCase(const QString& a, const QString& b);
bool SameFileCanonical(const QString& a, const QString& b);
