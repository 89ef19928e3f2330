#pragma once

#include "map/MapList.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QWidget;
class TTileMap;

// One entry of the recent files as the File menu lists it.
struct TRecentFile {
  int Number = 0;  // 1 the newest
  QString Path;
};

// The file commands over the open maps: New, Open, Save, Save As, Save All,
// the save-changes question, Close and Close All, the recent files and the
// current map. It has no widgets of its own: it asks its questions through
// the message service, shows file dialogs through the file-dialog service
// and the Map Properties dialog through the dialog runner, so it runs
// without a window. What changes goes out as signals; the window keeps its
// tabs and controls in step with them.
//
// Errors (a file that fails to load or save, a Save As onto a file already
// open) are raised to the caller, as every command's are; the maps, the
// current map and the recent files stay consistent.
class TFileCommands : public QObject {
  Q_OBJECT

 public:
  TFileCommands();
  ~TFileCommands() override;

  // The window that owns the questions and dialogs, or none.
  void SetOwner(QWidget* owner) { fOwner = owner; }

  TMapList& Maps() { return fMaps; }
  const TMapList& Maps() const { return fMaps; }
  // One of the open maps, or none (only when none is open).
  TTileMap* CurrentMap() const { return fCurrent; }
  // Makes the map at index current, or none for -1, as choosing its tab
  // does.
  void SetCurrentIndex(int index);

  // Opens the start-up file; without one (or "/P"), or when it fails to
  // load (shown as "Error Loading File"), starts a new map named by the
  // settings, without a dialog.
  void OpenStartFile(const QString& startFile);

  // --- Commands ---
  void faNewMapExecute();
  void faOpenExecute();
  void faSaveExecute();
  void faSaveAsExecute();
  void faCloseExecute();
  void faCloseAllExecute();

  // A new map named as New Map names it, made without the dialog: fill
  // gives it its size and content. It joins the list as the current map,
  // marked modified. When fill raises, no map is left behind and the error
  // is raised.
  TTileMap* NewMapFilledBy(const std::function<void(TTileMap&)>& fill);

  // Opens a map file as the last map, first closing (and offering to save)
  // a map already open from that file. False when nothing was opened (a
  // map-list file, or the question was cancelled).
  bool OpenMapFile(const QString& path);
  // Offers to save a modified map: false when the user cancelled.
  bool QuerySaveMap(int index);
  // Offers every open map in turn, stopping at a Cancel.
  bool QuerySaveAll();
  // False when a needed Save As was cancelled.
  bool SaveMap(TTileMap& map);
  bool SaveMapAs(TTileMap& map);
  // Saves every map in list order, stopping at one whose Save As was
  // cancelled.
  void SaveAllMaps();
  // Frees the map at index; the map now at that index, or the last one,
  // becomes current.
  void CloseMapAt(int index);

  // --- Recent files ---
  // Puts a path at the top of the recent files, once.
  void AddToRecentFiles(const QString& path);
  // Whether the recent files hold any path at all.
  bool HasRecentFiles() const;
  // The recent files numbered 1 to the MRULen setting that are set.
  std::vector<TRecentFile> ShownRecentFiles() const;
  // Opens the recent file with that number.
  void RecentFileClick(int number);

  // Gives every open map's history the DefUndoNum setting's depth.
  void ApplyUndoLimit();
  // The folder the file dialogs start in (the LastDir setting).
  static QString LastDir();
  // Remembers the folder of a chosen file as LastDir.
  static void SetLastDir(const QString& path);

  static const QString kMapFilter;

 signals:
  // A map joined the list at index (always the last).
  void MapOpened(int index, TTileMap* map);
  // The map at index left the list and is freed.
  void MapClosed(int index);
  void MapRenamed(int index, const QString& name);
  // The current map changed, or was made current again; none when no map
  // is open.
  void CurrentMapChanged(TTileMap* map);
  void RecentFilesChanged();
  // A command ended that may have changed what the window shows (a save
  // clears the modified flag and read-only state, a question was answered).
  void UpdateControlsRequested();

 private:
  // A map that joined the list: announced and made current.
  void StartMap(TTileMap* map);
  // Frees the map at index without choosing another current map.
  void RemoveMapAt(int index);
  void MakeCurrent(TTileMap* map);

  TMapList fMaps;
  TTileMap* fCurrent = nullptr;
  QWidget* fOwner = nullptr;
};
