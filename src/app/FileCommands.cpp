#include "FileCommands.h"

#include "FileDialogs.h"
#include "app/settings/SettingsStore.h"
#include "base/Busy.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "base/MessageService.h"
#include "frmMapPropsU.h"
#include "map/MapDocument.h"
#include "map/TileMapObjects.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

const QString TFileCommands::kMapFilter =
    QStringLiteral("Tessellan Map (*.tqm)|*.tqm|All Files (*.*)|*.*");

namespace {

constexpr int kRecentFileSlots = 9;

QString RecentName(int number) {
  return QStringLiteral("MRU") + QString::number(number);
}

TFileDialogRequest MapFileRequest(TFileDialogRequest::TKind kind, const QString& title,
                                  QWidget* owner) {
  TFileDialogRequest request;
  request.Kind = kind;
  request.Title = title;
  request.Directory = TFileCommands::LastDir();
  request.Filter = TFileCommands::kMapFilter;
  request.DefaultExt = QStringLiteral("tqm");
  request.Owner = owner;
  return request;
}

}  // namespace

TFileCommands::TFileCommands() = default;
TFileCommands::~TFileCommands() = default;

// ---------------------------------------------------------------------------
// The current map

void TFileCommands::SetCurrentIndex(int index) {
  MakeCurrent(index >= 0 && index < fMaps.Count() ? fMaps.Maps(index) : nullptr);
}

void TFileCommands::MakeCurrent(TTileMap* map) {
  fCurrent = map;
  emit CurrentMapChanged(map);
}

void TFileCommands::StartMap(TTileMap* map) {
  // The connection ends with the map.
  connect(&map->Document(), &TMapDocument::Renamed, this,
          [this, map](const QString& name) { emit MapRenamed(fMaps.IndexOf(map), name); });
  emit MapOpened(fMaps.IndexOf(map), map);
  MakeCurrent(map);
}

void TFileCommands::RemoveMapAt(int index) {
  if (fMaps.Maps(index) == fCurrent) fCurrent = nullptr;
  fMaps.Delete(index);
  emit MapClosed(index);
}

void TFileCommands::OpenStartFile(const QString& startFile) {
  if (!startFile.isEmpty() && startFile.compare(QStringLiteral("/P"), Qt::CaseInsensitive) != 0) {
    try {
      if (OpenMapFile(startFile)) return;
    } catch (...) {
      ShowMessage(CurrentExceptionText(), QStringLiteral("Error Loading File"), TMsgIcon::Warning,
                  mbOK, fOwner);
    }
  }
  // Without a file the window starts with one map named by the settings.
  StartMap(fMaps.NewMap(NewMapDefaults()));
}

// ---------------------------------------------------------------------------
// New and open

void TFileCommands::faNewMapExecute() {
  // The name is numbered before the map joins the list, so that it never
  // counts itself.
  const QString name = fMaps.NewMapName(Settings().Value(QStringLiteral("DefMapName")));
  TTileMap* map = fMaps.NewMap(NewMapDefaults());
  map->SetMapName(name);
  bool confirmed = false;
  try {
    confirmed = EditMapProperties(fOwner, *map, true);
  } catch (...) {
    fMaps.RemoveMap(map);
    throw;
  }
  if (!confirmed) {
    fMaps.RemoveMap(map);
    return;
  }
  StartMap(map);
}

TTileMap* TFileCommands::NewMapFilledBy(const std::function<void(TTileMap&)>& fill) {
  const QString name = fMaps.NewMapName(Settings().Value(QStringLiteral("DefMapName")));
  TTileMap* map = fMaps.NewMap(NewMapDefaults());
  map->SetMapName(name);
  try {
    fill(*map);
  } catch (...) {
    fMaps.RemoveMap(map);
    throw;
  }
  map->SetModified(true);
  StartMap(map);
  return map;
}

void TFileCommands::faOpenExecute() {
  const QString path =
      RunFileDialog(MapFileRequest(TFileDialogRequest::Open, QStringLiteral("Open File"), fOwner));
  if (path.isEmpty()) return;
  SetLastDir(path);
  OpenMapFile(path);
}

bool TFileCommands::OpenMapFile(const QString& path) {
  // A map-list file is not a map.
  if (QFileInfo(path).suffix().compare(QStringLiteral("tql"), Qt::CaseInsensitive) == 0)
    return false;
  int removed = -1;
  bool currentRemoved = false;
  for (int i = 0; i < fMaps.Count(); ++i) {
    if (!SameFile(fMaps.Maps(i)->FileName(), path)) continue;
    if (fMaps.Maps(i)->Modified() && !QuerySaveMap(i)) return false;
    // Reopening reloads the file as a new last map.
    removed = i;
    currentRemoved = fMaps.Maps(i) == fCurrent;
    RemoveMapAt(i);
    break;
  }
  TTileMap* map = nullptr;
  try {
    TBusyCursor busy;
    map = fMaps.OpenMap(path, IntSetting(QStringLiteral("DefUndoNum")));
  } catch (...) {
    // The list has dropped the new map. When the reopened map was the
    // current one, the map that took its place becomes current.
    if (currentRemoved) SetCurrentIndex(std::min(removed, fMaps.Count() - 1));
    throw;
  }
  StartMap(map);
  AddToRecentFiles(path);
  return true;
}

// ---------------------------------------------------------------------------
// Saving

bool TFileCommands::QuerySaveMap(int index) {
  TTileMap* map = fMaps.Maps(index);
  if (!map->Modified()) return true;
  bool result = true;
  switch (ShowMessage(map->MapName() + QStringLiteral(" has changed since the last save. Do you "
                                                      "wish to save your changes?"),
                      QStringLiteral("Save Map Changes"), TMsgIcon::Warning,
                      mbYes | mbNo | mbCancel, fOwner)) {
    case TMsgAnswer::Cancel:
      result = false;
      break;
    case TMsgAnswer::Yes:
      result = SaveMap(*map);
      break;
    default:
      break;
  }
  emit UpdateControlsRequested();
  return result;
}

bool TFileCommands::QuerySaveAll() {
  bool result = true;
  for (int i = 0; i < fMaps.Count() && result; ++i)
    result = QuerySaveMap(i);
  emit UpdateControlsRequested();
  return result;
}

bool TFileCommands::SaveMap(TTileMap& map) {
  if (!map.Modified()) return true;
  // Qt writes files under names it can decode: a map read from a name with
  // other bytes is saved under a name the user picks.
  if (map.FileName().isEmpty() || HasRawBytes(map.FileName())) return SaveMapAs(map);
  {
    TBusyCursor busy;
    map.SaveToFile(map.FileName());
  }
  emit UpdateControlsRequested();
  return true;
}

bool TFileCommands::SaveMapAs(TTileMap& map) {
  TFileDialogRequest request =
      MapFileRequest(TFileDialogRequest::Save, QStringLiteral("Save Map"), fOwner);
  request.FileName = map.FileName().isEmpty() || HasRawBytes(map.FileName())
                         ? map.MapName() + QStringLiteral(".tqm")
                         : map.FileName();
  const QString path = RunFileDialog(request);
  if (path.isEmpty()) return false;
  if (fMaps.FindMapByFile(path))
    throw TError(QStringLiteral("The map ") + path +
                 QStringLiteral(" already exists in the current map list."));
  SetLastDir(path);
  // The file carries the map's name, so the name changes before the save;
  // a failed save gives the old name back.
  const QString oldName = map.MapName();
  map.SetMapName(QFileInfo(path).completeBaseName());
  try {
    TBusyCursor busy;
    map.SaveToFile(path);
  } catch (...) {
    map.SetMapName(oldName);
    throw;
  }
  AddToRecentFiles(path);
  emit UpdateControlsRequested();
  return true;
}

void TFileCommands::SaveAllMaps() {
  for (int i = 0; i < fMaps.Count(); ++i)
    if (!SaveMap(*fMaps.Maps(i))) break;
}

void TFileCommands::faSaveExecute() {
  if (!fCurrent) return;
  if (fCurrent->ReadOnly())
    SaveMapAs(*fCurrent);
  else
    SaveMap(*fCurrent);
}

void TFileCommands::faSaveAsExecute() {
  if (fCurrent) SaveMapAs(*fCurrent);
}

// ---------------------------------------------------------------------------
// Closing

void TFileCommands::CloseMapAt(int index) {
  RemoveMapAt(index);
  SetCurrentIndex(std::min(index, fMaps.Count() - 1));
}

void TFileCommands::faCloseExecute() {
  const int index = fMaps.IndexOf(fCurrent);
  if (index < 0 || !QuerySaveMap(index)) return;
  CloseMapAt(index);
}

void TFileCommands::faCloseAllExecute() {
  while (fMaps.Count() > 0 && QuerySaveMap(0))
    CloseMapAt(0);
  emit UpdateControlsRequested();
}

void TFileCommands::ApplyUndoLimit() {
  const int depth = IntSetting(QStringLiteral("DefUndoNum"));
  for (int i = 0; i < fMaps.Count(); ++i)
    fMaps.Maps(i)->SetMaxUndo(depth);
}

QString TFileCommands::LastDir() {
  return Settings().Value(QStringLiteral("LastDir"));
}

void TFileCommands::SetLastDir(const QString& path) {
  Settings().SetValue(QStringLiteral("LastDir"),
                      QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/')));
}

// ---------------------------------------------------------------------------
// Recent files

void TFileCommands::AddToRecentFiles(const QString& path) {
  // The settings file holds text: a name with bytes that are not text would
  // come back as another name.
  if (HasRawBytes(path)) return;
  TStringBag& recent = RecentFiles();
  int found = kRecentFileSlots;
  for (int n = kRecentFileSlots; n >= 1; --n)
    if (recent.Value(RecentName(n)) == path) {
      found = n;
      break;
    }
  for (int n = found; n >= 2; --n)
    recent.SetValue(RecentName(n), recent.Value(RecentName(n - 1)));
  recent.SetValue(RecentName(1), path);
  emit RecentFilesChanged();
}

bool TFileCommands::HasRecentFiles() const {
  return RecentFiles().Count() > 0;
}

std::vector<TRecentFile> TFileCommands::ShownRecentFiles() const {
  std::vector<TRecentFile> shown;
  const int count = IntSetting(QStringLiteral("MRULen"));
  for (int n = 1; n <= count; ++n) {
    const QString path = RecentFiles().Value(RecentName(n));
    if (!path.isEmpty()) shown.push_back({n, path});
  }
  return shown;
}

void TFileCommands::RecentFileClick(int number) {
  OpenMapFile(RecentFiles().Value(RecentName(number)));
  emit UpdateControlsRequested();
}
