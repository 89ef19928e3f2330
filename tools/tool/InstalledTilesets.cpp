#include "InstalledTilesets.h"

#include "app/settings/SettingsStore.h"
#include "app/settings/TilesetListStore.h"
#include "base/Error.h"
#include "tiles/TilesetList.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

QString InstalledTilesetFolder() {
  const QString recorded = Settings().Value(QStringLiteral("TilesetDir"));
  if (!recorded.isEmpty() && QFileInfo(recorded).isDir()) return recorded;
  // The per-user fallback folder is named after the editor, not the tool.
  QCoreApplication::setApplicationName(QStringLiteral("Tessellan"));
  return DefaultTilesetDir();
}

TTilesetList& LoadInstalledTilesets(const QTemporaryDir& suppliedDir) {
  if (!suppliedDir.isValid())
    throw TError(QStringLiteral("No temporary directory for the tilesets could be made."));
  TTilesetList& tilesets = TilesetList();
  tilesets.LoadInstalled(suppliedDir.path());
  if (tilesets.TerminateRequested())
    throw TError(QStringLiteral("The installed tilesets could not be prepared."));
  const QStringList gone =
      tilesets.ListAdded(InstalledTilesetFolder(), LoadAddedTilesets() + LoadAddedWallTilesets());
  for (const QString& name : gone)
    QTextStream(stderr)
        << QStringLiteral("The installed tileset %1 could not be found.\n").arg(name);
  return tilesets;
}
