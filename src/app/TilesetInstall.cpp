#include "TilesetInstall.h"

#include "Application.h"
#include "FileDialogs.h"
#include "app/settings/TilesetListStore.h"
#include "base/Busy.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "editor/Palette.h"
#include "editor/PlacementEngine.h"
#include "map/MapList.h"
#include "storage/WriteAsideFile.h"
#include "tiles/TileSet.h"
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

// The owner-write bit stands for the read-only attribute, as when loading.
bool IsReadOnlyFile(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
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
  // The bytes that loaded are the ones installed, so the file read once is
  // both checked and copied, whatever happens to it while the user is asked.
  QByteArray bytes;
  if (!TTileSet().Open(path, &bytes)) return nullptr;
  const QString fileName = QFileInfo(path).fileName();
  if (TTilesetList::IsSuppliedFile(fileName)) {
    ShowMessage(QStringLiteral("%1 is the name of a tileset supplied with Tessellan, which cannot "
                               "be replaced. Rename the file to add it.")
                    .arg(fileName),
                kAddCaption, TMsgIcon::Warning, mbOK);
    return nullptr;
  }
  const QString target = Native(QDir(fList.Directory()).filePath(fileName));
  // A file already in the tileset folder is listed as it is.
  if (SameFileCanonical(path, target)) return List(target);

  const QFileInfo existing(target);
  if (existing.isDir()) {
    ShowMessage(QStringLiteral("The tileset folder holds a folder named %1, so the tileset cannot "
                               "be added under that name.")
                    .arg(fileName),
                kAddCaption, TMsgIcon::Warning, mbOK);
    return nullptr;
  }
  if (existing.exists()) {
    if (IsReadOnlyFile(target)) {
      ShowMessage(QStringLiteral("The installed tileset file %1 is read-only and cannot be "
                                 "replaced.")
                      .arg(Native(target)),
                  kAddCaption, TMsgIcon::Warning, mbOK);
      return nullptr;
    }
    if (ShowMessage(QStringLiteral("A tileset file named %1 is already installed. Do you want to "
                                   "replace it?")
                        .arg(fileName),
                    kAddCaption, TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes)
      return nullptr;
  }

  TBusyCursor busy;
  // Written aside and renamed over the name, so a failure leaves the folder
  // as it was. The copy is the program's own: a read-only source gives a
  // normal file that can later be replaced or removed, and a link in the
  // folder is replaced, never written through.
  WriteFileAside(target, bytes, TWriteAsideFile::TTarget::ReplaceName);
  return List(target);
}

TTileSet* TTilesetInstaller::List(const QString& installedPath) {
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
  SaveAddedTilesets(fList.AddedFileNames());
  return tileSet;
}

bool TTilesetInstaller::FileSaved(const QString& path) {
  const QString saved = QFileInfo(path).absoluteFilePath();
  bool listed = false;
  for (int i = 1; i < fList.Count(); ++i) {
    TTileSet* tileSet = fList.Items(i);
    if (!tileSet || QFileInfo(tileSet->FileName()).absoluteFilePath() != saved) continue;
    listed = true;
    const bool current = tileSet == fPalette.Engine().CurrentTileset();
    tileSet->Unload();
    if (!current) continue;
    fPalette.Engine().SetCurrentTileset(nullptr);
    fPalette.cbxTilesetChange(i - 1);
  }
  return listed;
}

TTileSet* TTilesetInstaller::ShownTileset() const {
  return fPalette.ShownTileset();
}

bool TTilesetInstaller::IsAdded(const TTileSet* tileSet) const {
  return tileSet && fList.IndexOf(tileSet) >= 1 &&
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
  if (tileSet->ReadOnly() || IsReadOnlyFile(file)) {
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
  if (!fPalette.RemoveTileset(tileSet)) return false;
  SaveAddedTilesets(fList.AddedFileNames());
  QFile copy(file);
  if (copy.exists() && !copy.remove())
    ShowMessage(QStringLiteral("The tileset %1 was removed from the list, but its file %2 could "
                               "not be deleted: %3.")
                    .arg(name, Native(file), copy.errorString()),
                kRemoveCaption, TMsgIcon::Warning, mbOK);
  return true;
}

void LoadInstalledTilesets(TTilesetList& list, const QString& directory) {
  const QStringList stored = LoadAddedTilesets();
  list.LoadInstalled(directory, stored);
  if (list.TerminateRequested()) return;
  const QStringList kept = list.AddedFileNames();
  if (kept == stored) return;
  // Start-up goes on whether or not the store takes the shorter list.
  try {
    SaveAddedTilesets(kept);
  } catch (...) {
    ShowCurrentException();
  }
}
