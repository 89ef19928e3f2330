#include "MapList.h"

#include "TileMapObjects.h"
#include "base/FileName.h"

TMapList::TMapList() = default;

TMapList::~TMapList() {
  Clear();
}

TTileMap* TMapList::NewMap(const TMapDefaults& defaults) {
  fMaps.push_back(std::make_unique<TTileMap>(defaults));
  return fMaps.back().get();
}

TTileMap* TMapList::OpenMap(const QString& path, int maxUndo) {
  TMapDefaults defaults;
  defaults.MaxUndo = maxUndo;
  TTileMap* map = NewMap(defaults);
  try {
    map->LoadFromFile(path);
  } catch (...) {
    RemoveMap(map);
    throw;
  }
  return map;
}

void TMapList::RemoveMap(TTileMap* map) {
  const int index = IndexOf(map);
  if (index >= 0) Delete(index);
}

int TMapList::IndexOf(const TTileMap* map) const {
  for (size_t i = 0; i < fMaps.size(); ++i)
    if (fMaps[i].get() == map) return int(i);
  return -1;
}

void TMapList::Delete(int index) {
  fMaps.at(size_t(index));  // an index outside the list raises instead of corrupting it
  fMaps.erase(fMaps.begin() + index);
}

void TMapList::Clear() {
  for (auto& map : fMaps)
    map.reset();
  fMaps.clear();
}

TTileMap* TMapList::FindMapByFile(const QString& path) const {
  for (const auto& map : fMaps)
    if (SameFile(map->FileName(), path)) return map.get();
  return nullptr;
}

QString TMapList::NewMapName(const QString& base) const {
  for (int n = 1;; ++n) {
    const QString name = base + QString::number(n);
    bool taken = false;
    for (const auto& map : fMaps)
      taken = taken || map->MapName() == name;
    if (!taken) return name;
  }
}

bool SameFileIgnoringAsciiCase(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty() || a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    char16_t ca = a[i].unicode();
    char16_t cb = b[i].unicode();
    if (ca >= 'a' && ca <= 'z') ca = char16_t(ca - 'a' + 'A');
    if (cb >= 'a' && cb <= 'z') cb = char16_t(cb - 'a' + 'A');
    if (ca != cb) return false;
  }
  return true;
}

bool SameFileCanonical(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  return CanonicalFileName(a) == CanonicalFileName(b);
}

bool SameFile(const QString& a, const QString& b) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return SameFileIgnoringAsciiCase(a, b);
#else
  return SameFileCanonical(a, b);
#endif
}
