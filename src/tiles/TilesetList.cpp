#include "TilesetList.h"

#include "TileSet.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "storage/WriteAsideFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kExampleFile = QStringLiteral("ExampleTileset.tls");
const QString kWallFile = QStringLiteral("Walls.wls");
const QString kExampleResource = QStringLiteral(":/TILESET/xTileset");
const QString kWallResource = QStringLiteral(":/TILESET/xWalls");
const QString kPreparationCaption = QStringLiteral("Tileset Preparation Error");

// Constant-initialised, so it is already true when the dynamic
// initialisation below makes the instance; cleared right after that.
bool gCreationOpen = true;

struct TInstance {
  TTilesetList List;
  TInstance() { gCreationOpen = false; }
};

TInstance& Instance() {
  static TInstance instance;
  return instance;
}

// Makes the instance while the program initialises, before main runs.
[[maybe_unused]] const bool gInstanceMade = (Instance(), true);

void ShowPreparationError(const QString& text) {
  ShowMessage(text, kPreparationCaption, TMsgIcon::Warning, mbOK);
}

QString JoinPath(const QString& directory, const QString& fileName) {
  return QDir::toNativeSeparators(QDir(directory).filePath(fileName));
}

// Writes a resource byte for byte over the supplied tileset's name: whatever
// is there, an old copy (read-only or not) or a symbolic link, is replaced
// by the rename, never written through or followed. A failure is reported
// and removes the name, so the tileset is then simply missing rather than
// an old copy. False, reporting nothing, when the name cannot be removed
// either: the old copy would be loaded in its place.
bool WriteResource(const QString& resource, const QString& path, const QString& what) {
  QString reason;
  QFile source(resource);
  if (!source.open(QIODevice::ReadOnly)) {
    reason = QStringLiteral("the program holds no copy of it");
  } else {
    try {
      WriteFileAside(path, source.readAll(), TWriteAsideFile::TTarget::ReplaceName);
    } catch (const TFileWriteError& error) {
      reason = error.Reason();
    }
  }
  if (reason.isEmpty()) return true;
  // A name still there after the removal (a dangling link counts) could not
  // be removed.
  if (!QFile::remove(path) && (QFileInfo(path).isSymLink() || QFileInfo::exists(path)))
    return false;
  ShowPreparationError(QStringLiteral("The application was unable to write the %1 file %2: %3.  "
                                      "Tessellan will run without it.")
                           .arg(what, path, reason));
  return true;
}

bool IsPlainFileName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
         !name.contains(QLatin1Char(':')) && !name.contains(QChar(0));
}

}  // namespace

TTilesetList::TTilesetList() {
  if (!gCreationOpen)
    throw TError(QStringLiteral(
        "TilesetList Object is implemented as a singleton, and should never be explicitly "
        "created."));
}

TTilesetList::~TTilesetList() {
  Clear();
}

TTilesetList& TilesetList() {
  return Instance().List;
}

TTileSet* TTilesetList::Items(int index) const {
  if (index < 0 || size_t(index) >= fItems.size()) throw TIndexError(index);
  return fItems[size_t(index)].get();
}

QStringList TTilesetList::SuppliedFiles() const {
  if (fDirectory.isEmpty()) return {};
  return {JoinPath(fDirectory, kExampleFile), JoinPath(fDirectory, kWallFile)};
}

TTileSet& TTilesetList::Add() {
  fItems.push_back(std::make_unique<TTileSet>(this));
  return *fItems.back();
}

int TTilesetList::IndexOf(const TTileSet* tileSet) const {
  for (size_t i = 0; i < fItems.size(); ++i)
    if (fItems[i].get() == tileSet) return int(i);
  return -1;
}

bool TTilesetList::Remove(TTileSet* tileSet) {
  if (tileSet && tileSet->ReadOnly()) return false;
  for (auto it = fWallSets.begin(); it != fWallSets.end(); ++it)
    if (tileSet && it->get() == tileSet) {
      fWallSets.erase(it);
      return true;
    }
  // A tileset that is not ours is never freed, only refused.
  const int index = IndexOf(tileSet);
  if (index < 0) throw TIndexError(index);
  fItems.erase(fItems.begin() + index);
  return true;
}

TTileSet* TTilesetList::WallTileset(int index) const {
  if (index < 0 || size_t(index) >= fWallSets.size()) throw TIndexError(index);
  return fWallSets[size_t(index)].get();
}

TTileSet& TTilesetList::AddWallTileset() {
  fWallSets.push_back(std::make_unique<TTileSet>(this));
  return *fWallSets.back();
}

std::vector<TTileSet*> TTilesetList::WallTilesets() const {
  std::vector<TTileSet*> sets;
  if (!fItems.empty() && fItems[0]) sets.push_back(fItems[0].get());
  for (const auto& set : fWallSets)
    sets.push_back(set.get());
  return sets;
}

bool TTilesetList::IsWallTileset(const TTileSet* tileSet) const {
  if (!tileSet) return false;
  const std::vector<TTileSet*> sets = WallTilesets();
  return std::find(sets.begin(), sets.end(), tileSet) != sets.end();
}

bool TTilesetList::IsWallFileName(const QString& fileName) {
  return fileName.endsWith(QLatin1String(".wls"), Qt::CaseInsensitive);
}

// Removes a tileset of our own making whatever its read-only flag says: a
// failed load may have found the file read-only, and leaving the tileset in
// place would push the wall tileset's place away from item 0.
void TTilesetList::Discard(TTileSet* tileSet) {
  const int index = IndexOf(tileSet);
  if (index >= 0) fItems.erase(fItems.begin() + index);
}

void TTilesetList::Clear() {
  // Last first, mirroring the order in which they were made.
  while (!fWallSets.empty())
    fWallSets.pop_back();
  while (!fItems.empty())
    fItems.pop_back();
}

bool TTilesetList::PrepareDirectory(const QString& directory) {
  if (QDir().mkpath(directory)) return true;
  ShowPreparationError(
      QStringLiteral("The application was unable to prepare the example tilesets directory.  "
                     "Tessellan is unable to run."));
  fTerminateRequested = true;
  return false;
}

bool TTilesetList::CheckOldCopy(const QString& path, const QString& failureText) {
  // Only a folder in the way stops the start; a file or a link there is
  // replaced. Nothing is followed or changed outside the folder.
  const QFileInfo info(path);
  if (info.isSymLink() || !info.isDir()) return true;
  Terminate(failureText);
  return false;
}

void TTilesetList::Terminate(const QString& text) {
  ShowPreparationError(text);
  fTerminateRequested = true;
}

QStringList TTilesetList::ListAdded(const QString& directory, const QStringList& fileNames) {
  QStringList failures;
  for (const QString& name : fileNames) {
    // Only plain names of files in the directory: a stored value never
    // reaches a file elsewhere.
    if (!IsPlainFileName(name) || IsSuppliedFile(name)) {
      failures << name;
      continue;
    }
    const QString path = JoinPath(directory, name);
    const bool walls = IsWallFileName(name);
    if (walls ? WallTilesetOfFile(path) != nullptr : IndexOfFile(path) >= 0) continue;
    TTileSet& added = walls ? AddWallTileset() : Add();
    if (!added.SetFileName(path)) {
      Remove(&added);
      failures << name;
    } else if (!walls) {
      added.ReadName();
    }
  }
  return failures;
}

bool TTilesetList::IsSuppliedFile(const QString& fileName) {
  return fileName.compare(kExampleFile, Qt::CaseInsensitive) == 0 ||
         fileName.compare(kWallFile, Qt::CaseInsensitive) == 0;
}

QStringList TTilesetList::AddedFileNames() const {
  QStringList names;
  for (size_t i = 1; i < fItems.size(); ++i) {
    if (!fItems[i]) continue;
    const QString name = QFileInfo(fItems[i]->FileName()).fileName();
    if (!name.isEmpty() && !IsSuppliedFile(name)) names << name;
  }
  return names;
}

QStringList TTilesetList::AddedWallFileNames() const {
  QStringList names;
  for (const auto& set : fWallSets)
    names << QFileInfo(set->FileName()).fileName();
  return names;
}

TTileSet* TTilesetList::WallTilesetOfFile(const QString& path) const {
  const QString wanted = QFileInfo(path).absoluteFilePath();
  for (const auto& set : fWallSets)
    if (QFileInfo(set->FileName()).absoluteFilePath() == wanted) return set.get();
  return nullptr;
}

int TTilesetList::IndexOfFile(const QString& path) const {
  const QString wanted = QFileInfo(path).absoluteFilePath();
  for (size_t i = 0; i < fItems.size(); ++i)
    if (fItems[i] && !fItems[i]->FileName().isEmpty() &&
        QFileInfo(fItems[i]->FileName()).absoluteFilePath() == wanted)
      return int(i);
  return -1;
}

void TTilesetList::LoadInstalled(const QString& directory, const QStringList& addedFiles) {
  Clear();
  fTerminateRequested = false;

  fDirectory = directory;
  const QString& dir = fDirectory;
  const QString examplePath = JoinPath(dir, kExampleFile);
  const QString wallPath = JoinPath(dir, kWallFile);

  const QString examplePrepare = QStringLiteral(
      "The application was unable to prepare the example tileset.  Tessellan is unable to run.");
  const QString wallPrepare = QStringLiteral(
      "The application was unable to prepare the wall tileset.  Tessellan is unable to run.");
  if (!PrepareDirectory(dir)) return;
  if (!CheckOldCopy(examplePath, examplePrepare)) return;
  if (!CheckOldCopy(wallPath, wallPrepare)) return;
  if (!WriteResource(kWallResource, wallPath, QStringLiteral("wall tileset")))
    return Terminate(wallPrepare);
  if (!WriteResource(kExampleResource, examplePath, QStringLiteral("example tileset")))
    return Terminate(examplePrepare);

  TTileSet& walls = Add();
  if (!walls.SetFileName(wallPath) || !walls.Load()) {
    Discard(&walls);
    fItems.push_back(nullptr);
    ShowMessage(QStringLiteral("No wall tileset could be found, walls are now disabled."),
                QStringLiteral("No Wall Tileset Found"), TMsgIcon::Warning, mbOK);
  }

  QStringList failures;
  TTileSet& example = Add();
  if (!example.SetFileName(examplePath)) {
    Discard(&example);
    failures << kExampleFile;
  } else {
    example.ReadName();
  }
  failures << ListAdded(dir, addedFiles);
  if (!failures.isEmpty())
    ShowMessage(QStringLiteral("An error occurred while initializing some tilesets. The following "
                               "tilesets could not be found or did not initialize correctly: "
                               "\r\n\r\n") +
                    failures.join(QStringLiteral("\r\n")) +
                    QStringLiteral("\r\n\r\nTessellan has removed these tilesets from the list "
                                   "of installed tilesets."),
                QStringLiteral("Error Loading Tilesets"), TMsgIcon::Warning, mbOK);
}
