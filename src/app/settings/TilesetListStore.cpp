#include "TilesetListStore.h"

#include "SettingsStore.h"
#include "base/Error.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kListKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\Tilesets");

}  // namespace

void SaveTilesetList(const TTilesetList& list) {
  const auto store = OpenSettingsStore();
  const QString group = RegistryGroup(kListKey);
  if (store->isWritable()) {
    // Deleting the group first drops entries of earlier runs ("TS2" when
    // there is only one ordinary tileset now).
    store->remove(group);
    store->beginGroup(group);
    for (int i = 1; i < list.Count(); ++i)
      if (const TTileSet* tileSet = list.Items(i))
        store->setValue(QStringLiteral("TS%1").arg(i), QFileInfo(tileSet->FileName()).fileName());
    store->endGroup();
    store->sync();
  }
  if (!store->isWritable() || store->status() != QSettings::NoError)
    throw TError(QStringLiteral("Unable to save list of tilesets."));
}
