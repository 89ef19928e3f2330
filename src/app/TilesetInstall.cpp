#include "TilesetInstall.h"

#include "Application.h"
#include "FileDialogs.h"
#include "app/settings/TilesetListStore.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "base/MessageService.h"
#include "editor/Palette.h"
#include "editor/PlacementEngine.h"
#include "map/MapList.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetFolder.h"
#include "tiles/TilesetList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kAddCaption = QStringLiteral("Add Tileset");
const QString kRemoveCaption = QStringLiteral("Remove Tileset");

QString Native(const QString& path) {
  return QDir::toNativeSeparators(path);
}

}  // namespace

TFileDialogRequest AddTilesetDialogRequest(QWidget* owner, const QString& directory) {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Open;
  request.Title = kAddCaption;
  request.Directory = directory;
  request.Filter = QStringLiteral("Tessellan Tilesets (*.tls)|*.tls|All Files (*.*)|*.*");
  request.DefaultExt = QStringLiteral("TLS");
  request.Owner = owner;
  return request;
}

TTilesetInstaller::TTilesetInstaller(TTilesetList& list, TPalette& palette)
    : fList(list), fPalette(palette) {}

TTileSet* TTilesetInstaller::Add(const QString& path) {
  const QString target = InstallTilesetFile(path, fList.Directory(), kAddCaption);
  return target.isEmpty() ? nullptr : List(target);
}

TTileSet* TTilesetInstaller::List(const QString& installedPath) {
  if (TTilesetList::IsWallFileName(installedPath)) return ListWalls(installedPath);
  int index = fList.IndexOfFile(installedPath);
  TTileSet* tileSet = nullptr;
  if (index >= 1) {
    // A replaced file: the entry stays, its groups are read afresh.
    tileSet = fList.Items(index);
    fPalette.ReleaseTileset(tileSet);
    tileSet->SetFileName(installedPath);
  } else {
    tileSet = &fList.Add();
    tileSet->SetFileName(installedPath);
    index = fList.Count() - 1;
  }
  fPalette.SelectTileset(index);
  SaveAddedTilesets(fList);
  return tileSet;
}

TTileSet* TTilesetInstaller::ListWalls(const QString& installedPath) {
  TTileSet* tileSet = fList.WallTilesetOfFile(installedPath);
  if (!tileSet) tileSet = &fList.AddWallTileset();
  // A replaced file is read afresh when the wall styles are next listed.
  tileSet->Unload();
  tileSet->SetFileName(installedPath);
  fPalette.RefreshWallStyles();
  SaveAddedTilesets(fList);
  return tileSet;
}

TTileSet* TTilesetInstaller::FileSaved(const QString& path) {
  // A listed tileset read from the file is read again: at once when it is
  // the one being placed from (as choosing it in the box does), otherwise
  // when next chosen; a wall tileset's styles are listed again.
  if (TTileSet* walls = fList.WallTilesetOfFile(path)) {
    walls->Unload();
    fPalette.RefreshWallStyles();
    return walls;
  }
  const int index = fList.IndexOfFile(path);
  if (index >= 1) {
    TTileSet* tileSet = fList.Items(index);
    const bool current = tileSet == fPalette.Engine().CurrentTileset();
    tileSet->Unload();
    if (current) {
      fPalette.Engine().SetCurrentTileset(nullptr);
      fPalette.cbxTilesetChange(index - 1);
    }
    return tileSet;
  }
  // A new file in the tileset folder is listed at once; one elsewhere is
  // offered, and copied in through the checks of Add.
  const QString folder = CanonicalFileName(fList.Directory());
  if (CanonicalFileName(QFileInfo(path).absolutePath()) == folder &&
      !TTilesetList::IsSuppliedFile(QFileInfo(path).fileName()))
    return List(
        QDir::toNativeSeparators(QDir(fList.Directory()).filePath(QFileInfo(path).fileName())));
  if (ShowMessage(QStringLiteral("The tileset was saved as %1, outside the tileset folder.\r\n\r\n"
                                 "Add this tileset to the tileset list?")
                      .arg(Native(path)),
                  kAddCaption, TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes)
    return nullptr;
  return Add(path);
}

TTileSet* TTilesetInstaller::ShownTileset() const {
  if (fPalette.TilesetControlsVisible()) return fPalette.ShownTileset();
  const TTileGroup* style = fPalette.Engine().CurrentGroup();
  return style ? style->TileSet() : nullptr;
}

bool TTilesetInstaller::IsAdded(const TTileSet* tileSet) const {
  if (!tileSet) return false;
  if (fList.IsWallTileset(tileSet)) return tileSet != fList.Items(0);
  return fList.IndexOf(tileSet) >= 1 &&
         !TTilesetList::IsSuppliedFile(QFileInfo(tileSet->FileName()).fileName());
}

bool TTilesetInstaller::Remove(TTileSet* tileSet) {
  if (!tileSet) return false;
  const QString name = tileSet->TilesetName();
  if (!IsAdded(tileSet)) {
    ShowMessage(QStringLiteral("The tileset %1 is supplied with Tessellan and cannot be removed.")
                    .arg(name),
                kRemoveCaption, TMsgIcon::Warning, mbOK);
    return false;
  }
  const QString file = tileSet->FileName();
  if (tileSet->ReadOnly() || IsReadOnlyTilesetFile(file)) {
    ShowMessage(QStringLiteral("The tileset %1 is read-only and cannot be removed.").arg(name),
                kRemoveCaption, TMsgIcon::Warning, mbOK);
    return false;
  }
  if (ShowMessage(QStringLiteral("Remove the tileset %1 from the tileset list and delete its file "
                                 "%2 from the tileset folder?\r\n\r\nMaps keep the tiles they "
                                 "use from it.")
                      .arg(name, Native(file)),
                  kRemoveCaption, TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes)
    return false;
  if (fList.IsWallTileset(tileSet)) {
    // The wall styles are listed again without it before its groups go.
    if (!fList.Remove(tileSet)) return false;
    fPalette.RefreshWallStyles();
  } else if (!fPalette.RemoveTileset(tileSet)) {
    return false;
  }
  SaveAddedTilesets(fList);
  QFile copy(file);
  if (copy.exists() && !copy.remove())
    ShowMessage(QStringLiteral("The tileset %1 was removed from the list, but its file %2 could "
                               "not be deleted: %3.")
                    .arg(name, Native(file), copy.errorString()),
                kRemoveCaption, TMsgIcon::Warning, mbOK);
  return true;
}

void LoadInstalledTilesets(TTilesetList& list, const QString& directory) {
  list.LoadInstalled(directory, LoadAddedTilesets() + LoadAddedWallTilesets());
  if (list.TerminateRequested()) return;
  // Names whose files have gone are dropped, and wall tilesets kept among
  // the ordinary ones by earlier versions move to their own group. Start-up
  // goes on whether or not the store takes the change.
  try {
    SaveAddedTilesets(list);
  } catch (...) {
    ShowCurrentException();
  }
}
