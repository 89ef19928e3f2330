#include "TileSet.h"

#include "TileObjects.h"
#include "TilesetList.h"
#include "base/Busy.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "base/MessageService.h"
#include "storage/CompoundFile.h"
#include "storage/PictureBudget.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"

#include <QFileInfo>

namespace {

const QString kVersion = QStringLiteral("1.0");

}  // namespace

TTileSet::TTileSet(TTilesetList* list) : fList(list) {}

TTileSet::~TTileSet() {
  Unload();
}

bool TTileSet::SetFileName(const QString& path) {
  if (path.isEmpty() || !FileStatus(path).IsFile) return false;
  fFileName = path;
  fTilesetName = QFileInfo(path).completeBaseName();
  return true;
}

void TTileSet::ShowInvalidFileMessage(const QString& fileName) {
  ShowMessage(QStringLiteral("The file ") + fileName +
                  QStringLiteral(" is not a valid tileset file or is corrupt."),
              QStringLiteral("Invalid or Corrupt Tileset"), TMsgIcon::Warning, mbOK);
}

bool TTileSet::ReadName() {
  try {
    const QByteArray read = ReadFileBytes(fFileName, TOpenMode::Read);
    const std::unique_ptr<TStorage> root = ParseCompoundFile(read);
    if (ReadProperty(*root, QStringLiteral("Version")) != kVersion) return false;
    fTilesetName = ReadProperty(*root, QStringLiteral("TilesetName"));
    return true;
  } catch (...) {
    return false;
  }
}

bool TTileSet::Load(QByteArray* bytes) {
  TBusyCursor busy;
  if (fList)
    emit fList->Progress(QStringLiteral("Loading Tileset: ") + QFileInfo(fFileName).fileName());

  if (!IsStorageFile(fFileName)) {
    ShowInvalidFileMessage(fFileName);
    return false;
  }

  QString error;
  try {
    // The owner-write bit stands for the read-only attribute: asking the
    // system whether we may write would always say yes to root.
    fReadOnly = !FileStatus(fFileName).OwnerWritable;
    // The file is read whole and released before parsing goes on, so nothing
    // of it stays open whatever happens below.
    QByteArray read = ReadFileBytes(fFileName, fReadOnly ? TOpenMode::Read : TOpenMode::ReadWrite);
    const std::unique_ptr<TStorage> root = ParseCompoundFile(read);
    CheckPictureBudget(*root, read.size(), fFileName);
    // Each load re-reads the file: groups of an earlier load must not stay
    // in front of the new ones.
    DiscardGroupsFrom(0);
    LoadFromStorage(*root);
    fLoaded = true;
    if (bytes) *bytes = std::move(read);
    return true;
  } catch (...) {
    error = CurrentExceptionText();
  }
  fLoaded = false;
  DiscardGroupsFrom(0);
  ShowMessage(QStringLiteral("Loading the tileset file ") + fFileName +
                  QStringLiteral(" failed, and generated the following error message:\n\r\n\r") +
                  error,
              QStringLiteral("Error Loading Tileset"), TMsgIcon::Warning, mbOK);
  return false;
}

bool TTileSet::Open(const QString& path, QByteArray* bytes) {
  if (!SetFileName(path)) {
    ShowInvalidFileMessage(path);
    return false;
  }
  return Load(bytes);
}

void TTileSet::LoadFromStorage(const TStorage& root) {
  // A map file is a compound file too; say so rather than name the first
  // stream a tileset would have.
  if (!root.FindStream(QStringLiteral("TilesetName")) && root.FindStream(QStringLiteral("MapName")))
    throw TError(QStringLiteral("This file is a map, not a tileset. Open it with File > Open."));
  if (ReadProperty(root, QStringLiteral("Version")) != kVersion)
    throw TError(QStringLiteral("Invalid tileset version detected, unable to load tileset."));
  fTilesetName = ReadProperty(root, QStringLiteral("TilesetName"));
  fAuthorName = ReadProperty(root, QStringLiteral("AuthorName"));
  fInformation = ReadProperty(root, QStringLiteral("Information"));
  fURL = ReadProperty(root, QStringLiteral("URL"));

  // Groups added before a failing one would otherwise stay behind, and a
  // retry would add them a second time.
  const size_t before = fGroups.size();
  try {
    for (int i = 0; i < root.ElementCount(); ++i) {
      if (root.TypeAt(i) != TElementType::Storage) continue;
      AddGroup().LoadFromStorage(root.StorageAt(i));
    }
  } catch (...) {
    DiscardGroupsFrom(before);
    throw;
  }
}

bool TTileSet::EnsureLoaded() {
  if (fLoaded) return true;
  if (fFileName.isEmpty()) {
    fLoaded = true;
    return true;
  }
  fLoaded = Load();
  return fLoaded;
}

// Both go through EnsureLoaded rather than Load: a tileset without a file
// holds the groups added to it, and trying to load an empty path would only
// report a corrupt file.
int TTileSet::GroupCount() {
  if (!EnsureLoaded()) return 0;
  return int(fGroups.size());
}

TTileGroup* TTileSet::GroupAt(int index) {
  if (!EnsureLoaded()) return nullptr;
  if (index < 0 || size_t(index) >= fGroups.size()) throw TIndexError(index);
  return fGroups[size_t(index)].get();
}

TTileGroup& TTileSet::AddGroup(const TGroupDefaults& defaults) {
  auto group = std::make_unique<TTileGroup>(this, defaults);
  group->SetTileSet(this);
  fGroups.push_back(std::move(group));
  return *fGroups.back();
}

TTileGroup& TTileSet::InsertGroup(int index, std::unique_ptr<TTileGroup> group) {
  if (index < 0 || size_t(index) > fGroups.size()) throw TIndexError(index);
  group->SetTileSet(this);
  return **fGroups.insert(fGroups.begin() + index, std::move(group));
}

std::unique_ptr<TTileGroup> TTileSet::TakeGroup(int index) {
  if (index < 0 || size_t(index) >= fGroups.size()) throw TIndexError(index);
  std::unique_ptr<TTileGroup> group = std::move(fGroups[size_t(index)]);
  fGroups.erase(fGroups.begin() + index);
  group->SetTileSet(nullptr);
  return group;
}

void TTileSet::Unload() {
  DiscardGroupsFrom(0);
  fLoaded = false;
}

void TTileSet::DiscardGroupsFrom(size_t count) {
  // Last first, so a group never outlives one created after it.
  while (fGroups.size() > count)
    fGroups.pop_back();
}
