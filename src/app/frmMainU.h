#pragma once

#include "export/MapExport.h"
#include "map/MapList.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QMenu;
class QTabBar;
class QToolBar;
class TCleanPanel;
class TEditSession;
class TMainActions;
class TColorStatusBar;
class TMapGrid;
class TMapPainter;
class TPalette;
class TPaletteColumn;
class TfrmTilesetEditor;
class TPlacementEngine;
class TTileMap;
class TTilesetInstaller;

// What the main window edits: the open maps and the editing session. The
// window holds them in a base class, so they are made before its controls
// and outlive them; the controls connected to the session go first, in
// whatever order, and nothing needs unbinding by hand.
class TMainWindowModel {
 protected:
  TMainWindowModel();
  ~TMainWindowModel();

  TMapList fMaps;
  std::unique_ptr<TEditSession> fSession;
};

// The program's document window. It lays out the palette column, the map
// panel (map toolbar, map grid, tabs of the open maps) and the status bar,
// builds its menus and toolbars from the action table, owns the open maps,
// and binds the controls to the editing session: every handler forwards to
// the placement engine, the palette logic, map painting or the file
// commands below, then UpdateControls recomputes what the user sees.
class TfrmMain : private TMainWindowModel, public QMainWindow {
 public:
  // Opens startFile, or starts with one new map when it is empty.
  explicit TfrmMain(const QString& startFile = QString(), QWidget* parent = nullptr);
  ~TfrmMain() override;

  // --- Parts ---
  TMapList& Maps() { return fMaps; }
  // The map shown in the grid, or none.
  TTileMap* CurrentMap() const;
  TEditSession& Session() const { return *fSession; }
  TPlacementEngine& Engine() const;
  TMapPainter& Painter() const;
  TPalette& Palette() const;
  TMainActions& Actions() const { return *fActions; }
  TMapGrid* MapGrid() const { return fMapGrid; }
  QTabBar* MapTabs() const { return fMapTabs; }
  TCleanPanel* MapPanel() const { return fMapPanel; }
  TPaletteColumn* PaletteColumn() const { return fPaletteColumn; }
  TColorStatusBar* Status() const { return fStatus; }
  QMenu* GridMenu() const { return fGridMenu; }

  // --- File commands ---
  void faNewMapExecute();
  void faOpenExecute();
  void faSaveExecute();
  void faSaveAsExecute();
  void faCloseExecute();
  void faCloseAllExecute();
  void faExportExecute();
  void faPropertiesExecute();
  void taOptionsExecute();
  // Shows the Tileset Editor, made at first use.
  void taTilesetEditorExecute();
  TfrmTilesetEditor* TilesetEditor() const { return fTilesetEditor; }
  // A tileset file was saved: an installed tileset read from it is read
  // again, and the palette shows the new groups when it shows that tileset.
  void TilesetFileSaved(const QString& path);
  // Installs a tileset file the user picks, and removes the added tileset
  // the palette's tileset box shows.
  void faAddTilesetExecute();
  void faRemoveTilesetExecute();
  TTilesetInstaller& Installer() const { return *fInstaller; }
  QMenu* TilesetMenu() const { return fTilesetMenu; }
  // Opens a map file as the last tab, first closing (and offering to save)
  // a map already open from that file. False when nothing was opened.
  bool OpenMapFile(const QString& path);
  // Offers to save a modified map: false when the user cancelled.
  bool QuerySaveMap(int index);
  bool QuerySaveAll();
  // False when a needed Save As was cancelled.
  bool SaveMap(TTileMap& map);
  bool SaveMapAs(TTileMap& map);
  // Saves every map in list order, stopping at one whose Save As was
  // cancelled.
  void SaveAllMaps();
  // Frees the map at index with its tab; the map now at that index, or the
  // last one, becomes current.
  void CloseMapAt(int index);
  // A path handed over by a later start: opened as File > Open opens it,
  // then the window comes forward.
  void WMCopyData(const QString& path);

  // --- Recent files ---
  // Puts a path at the top of the recent files (once) and rebuilds the menu.
  void AddToRecentFiles(const QString& path);
  // The File menu's entries after Exit: the first MRULen recent files.
  void BuildRecentFilesMenu();
  // Opens the recent file with that number (1 the newest).
  void RecentFileClick(int number);
  // Gives every open map's history the DefUndoNum setting's depth.
  void ApplyUndoLimit();
  QMenu* FileMenu() const { return fFileMenu; }

  // Puts the window where it was when it last closed (before it is shown).
  void RestorePlacement();

  // --- State shown ---
  // Status bar, map panel caption and every enabled state.
  void UpdateControls();
  // The modified indicator for the current map.
  void MapChanged();
  // A tileset's loading progress, in the status bar's single text.
  void ShowLoadingProgress(const QString& text);

  static const QString kMapFilter;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void BindSession();
  void OpenStartFile(const QString& startFile);
  void StartMap(TTileMap* map);
  void AddTab(TTileMap* map);
  // Frees the map at index and removes its tab, selecting no other.
  void RemoveMap(int index);
  // Selects a tab (none for -1) and makes its map current.
  void SelectTab(int index);
  void tabMapListChange();
  void UpdateModifiedIndicator();
  void SetEnabled(const char* action, bool enabled);
  QString LastDir() const;
  void SetLastDir(const QString& path);

  TMapGrid* fMapGrid = nullptr;
  // What the last export used, offered again by the next.
  TExportOptions fExportOptions;
  std::unique_ptr<TMainActions> fActions;
  TPaletteColumn* fPaletteColumn = nullptr;
  TCleanPanel* fMapPanel = nullptr;
  QTabBar* fMapTabs = nullptr;
  QToolBar* fMainToolBar = nullptr;
  QToolBar* fMapToolBar = nullptr;
  QMenu* fGridMenu = nullptr;
  QMenu* fTilesetMenu = nullptr;
  std::unique_ptr<TTilesetInstaller> fInstaller;
  QMenu* fFileMenu = nullptr;
  TColorStatusBar* fStatus = nullptr;
  TfrmTilesetEditor* fTilesetEditor = nullptr;
};
