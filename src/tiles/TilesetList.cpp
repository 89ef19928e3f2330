#include "TilesetList.h"

#include "TileSet.h"
#include "base/Error.h"
#include "base/MessageService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

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

// Writes a resource byte for byte into a newly created file. A failure is
// reported and leaves no partial file behind, so the tileset is then simply
// missing.
void WriteResource(const QString& resource, const QString& path, const QString& what) {
  QString reason;
  QFile source(resource);
  if (!source.open(QIODevice::ReadOnly)) {
    reason = QStringLiteral("the program holds no copy of it");
  } else {
    const QByteArray bytes = source.readAll();
    QFile target(path);
    // NewOnly never writes through whatever link or file is in the way.
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
      reason = target.errorString();
    } else {
      const bool written = target.write(bytes) == bytes.size() && target.flush();
      if (!written) reason = target.errorString();
      target.close();
      if (written && target.error() != QFileDevice::NoError) reason = target.errorString();
      if (!reason.isEmpty()) target.remove();
    }
  }
  if (reason.isEmpty()) return;
  ShowPreparationError(QStringLiteral("The application was unable to write the %1 file %2: %3.  "
                                      "Tessellan will run without it.")
                           .arg(what, path, reason));
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
  fItems.push_back(std::make_unique<TTileSet>());
  return *fItems.back();
}

int TTilesetList::IndexOf(const TTileSet* tileSet) const {
  for (size_t i = 0; i < fItems.size(); ++i)
    if (fItems[i].get() == tileSet) return int(i);
  return -1;
}

bool TTilesetList::Remove(TTileSet* tileSet) {
  if (tileSet && tileSet->ReadOnly()) return false;
  // A tileset that is not ours is never freed, only refused.
  const int index = IndexOf(tileSet);
  if (index < 0) throw TIndexError(index);
  fItems.erase(fItems.begin() + index);
  return true;
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

bool TTilesetList::DeleteOldCopy(const QString& path, const QString& failureText) {
  const QFileInfo info(path);
  if (!info.exists()) return true;
  // Old copies may have been made read-only; make them writable first.
  QFile::setPermissions(
      path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
  if (info.isFile() && QFile::remove(path)) return true;
  ShowPreparationError(failureText);
  fTerminateRequested = true;
  return false;
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

int TTilesetList::IndexOfFile(const QString& path) const {
  const QString wanted = QFileInfo(path).absoluteFilePath();
  for (size_t i = 0; i < fItems.size(); ++i)
    if (fItems[i] && !fItems[i]->FileName().isEmpty() &&
        QFileInfo(fItems[i]->FileName()).absoluteFilePath() == wanted)
      return int(i);
  return -1;
}

void TTilesetList::LoadInstalled(const std::function<void(const QString&)>& progress,
                                 const QString& directory, const QStringList& addedFiles) {
  Clear();
  fTerminateRequested = false;

  fDirectory = directory;
  const QString& dir = fDirectory;
  const QString examplePath = JoinPath(dir, kExampleFile);
  const QString wallPath = JoinPath(dir, kWallFile);

  if (!PrepareDirectory(dir)) return;
  if (!DeleteOldCopy(examplePath,
                     QStringLiteral("The application was unable to prepare the example tileset.  "
                                    "Tessellan is unable to run.")))
    return;
  if (!DeleteOldCopy(wallPath,
                     QStringLiteral("The application was unable to prepare the wall tileset.  "
                                    "Tessellan is unable to run.")))
    return;
  WriteResource(kWallResource, wallPath, QStringLiteral("wall tileset"));
  WriteResource(kExampleResource, examplePath, QStringLiteral("example tileset"));

  TTileSet& walls = Add();
  walls.OnProgress = progress;
  if (!walls.SetFileName(wallPath) || !walls.Load()) {
    Discard(&walls);
    fItems.push_back(nullptr);
    ShowMessage(QStringLiteral("No wall tileset could be found, walls are now disabled."),
                QStringLiteral("No Wall Tileset Found"), TMsgIcon::Warning, mbOK);
  }

  QStringList failures;
  TTileSet& example = Add();
  example.OnProgress = progress;
  if (!example.SetFileName(examplePath)) {
    Discard(&example);
    failures << kExampleFile;
  }
  for (const QString& name : addedFiles) {
    // Only plain names of files in the directory: a stored value never
    // reaches a file elsewhere.
    if (!IsPlainFileName(name) || IsSuppliedFile(name)) {
      failures << name;
      continue;
    }
    const QString path = JoinPath(dir, name);
    if (IndexOfFile(path) >= 0) continue;
    TTileSet& added = Add();
    added.OnProgress = progress;
    if (!added.SetFileName(path)) {
      Discard(&added);
      failures << name;
    }
  }
  if (!failures.isEmpty())
    ShowMessage(QStringLiteral("An error occurred while initializing some tilesets. The following "
                               "tilesets could not be found or did not initialize correctly: "
                               "\r\n\r\n") +
                    failures.join(QStringLiteral("\r\n")) +
                    QStringLiteral("\r\n\r\nTessellan has removed these tilesets from the list "
                                   "of installed tilesets."),
                QStringLiteral("Error Loading Tilesets"), TMsgIcon::Warning, mbOK);
}
