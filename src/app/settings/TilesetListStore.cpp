#include "TilesetListStore.h"

#include "SettingsFile.h"
#include "SettingsStore.h"
#include "base/Error.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kListKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\Tilesets");
const QString kAddedKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\AddedTilesets");
const QString kAddedWallsKey =
    QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\AddedWallTilesets");
// More names than anyone adds by hand; a damaged store cannot make start-up
// try millions of files.
constexpr int kMaxAddedTilesets = 1000;

// A store that cannot be written at all gives the failure text alone; a
// write that fails adds its reason.
void ChangeStore(const QString& failure, const std::function<void(QSettings&)>& change) {
  if (!OpenSettingsStore()->isWritable()) throw TError(failure);
  try {
    ChangeSettingsFile(change);
  } catch (const TError& error) {
    throw TError(failure + QLatin1Char(' ') + error.Message());
  }
}

QStringList LoadNames(const QString& key) {
  const auto store = OpenSettingsStore();
  store->beginGroup(RegistryGroup(key));
  QStringList names;
  // "TS1", "TS2", … up to the first gap, so stray values are never read.
  for (int i = 1; i <= kMaxAddedTilesets; ++i) {
    const QString name = QStringLiteral("TS%1").arg(i);
    if (!store->contains(name)) break;
    const QString value = store->value(name).toString();
    if (!value.isEmpty()) names << value;
  }
  store->endGroup();
  return names;
}

void SaveNames(const QString& key, const QString& failure, const QStringList& fileNames) {
  const QString group = RegistryGroup(key);
  ChangeStore(failure, [&](QSettings& store) {
    store.remove(group);
    store.beginGroup(group);
    for (int i = 0; i < fileNames.size(); ++i)
      store.setValue(QStringLiteral("TS%1").arg(i + 1), fileNames[i]);
    store.endGroup();
  });
}

}  // namespace

void SaveTilesetList(const TTilesetList& list) {
  const QString group = RegistryGroup(kListKey);
  ChangeStore(QStringLiteral("Unable to save list of tilesets."), [&](QSettings& store) {
    // Deleting the group first drops entries of earlier runs ("TS2" when
    // there is only one ordinary tileset now).
    store.remove(group);
    store.beginGroup(group);
    for (int i = 1; i < list.Count(); ++i)
      if (const TTileSet* tileSet = list.Items(i))
        store.setValue(QStringLiteral("TS%1").arg(i), QFileInfo(tileSet->FileName()).fileName());
    store.endGroup();
  });
}

QStringList LoadAddedTilesets() {
  return LoadNames(kAddedKey);
}

void SaveAddedTilesets(const QStringList& fileNames) {
  SaveNames(kAddedKey, QStringLiteral("Unable to save list of added tilesets."), fileNames);
}

QStringList LoadAddedWallTilesets() {
  return LoadNames(kAddedWallsKey);
}

void SaveAddedWallTilesets(const QStringList& fileNames) {
  SaveNames(kAddedWallsKey, QStringLiteral("Unable to save list of added wall tilesets."),
            fileNames);
}

void SaveAddedTilesets(const TTilesetList& list) {
  const QStringList tilesets = list.AddedFileNames();
  const QStringList walls = list.AddedWallFileNames();
  if (tilesets != LoadAddedTilesets()) SaveAddedTilesets(tilesets);
  if (walls != LoadAddedWallTilesets()) SaveAddedWallTilesets(walls);
}
