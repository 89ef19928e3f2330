#pragma once

#include "FileCommands.h"
#include "export/MapExport.h"

#include <QMainWindow>
#include <QString>

#include <memory>

enum class TActionId;
class QMenu;
class QTabBar;
class QToolBar;
class TCleanPanel;
class TEditSession;
class TMainActions;
class TColorStatusBar;
class TMapGrid;
class TMapPainter;
class TOverviewDock;
class TPalette;
class TPaletteColumn;
class TfrmTilesetEditor;
class TPlacementEngine;
class TTileMap;
class TTilesetInstaller;

// What the main window edits: the open maps with their file commands, and
// the editing session. The window holds them in a base class, so they are
// made before its controls and outlive them; the controls connected to them
// go first, in whatever order, and nothing needs unbinding by hand.
class TMainWindowModel {
 protected:
  TMainWindowModel();
  ~TMainWindowModel();

  TFileCommands fFiles;
  std::unique_ptr<TEditSession> fSession;
};

// The program's document window. It lays out the palette column, the map
// panel (map toolbar, map grid, tabs of the open maps) and the status bar,
// builds its menus and toolbars from the action table, and binds the
// controls to the file commands and the editing session: every handler
// forwards to the file commands, the placement engine, the palette logic or
// map painting; the tabs follow the file commands' signals, and
// UpdateControls recomputes what the user sees.
class TfrmMain : private TMainWindowModel, public QMainWindow {
 public:
  // Opens startFile, or starts with one new map when it is empty.
  explicit TfrmMain(const QString& startFile = QString(), QWidget* parent = nullptr);
  ~TfrmMain() override;

  // --- Parts ---
  TFileCommands& Files() { return fFiles; }
  // The map shown in the grid, or none.
  TTileMap* CurrentMap() const { return fFiles.CurrentMap(); }
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
  TOverviewDock* OverviewDock() const { return fOverviewDock; }
  QMenu* FileMenu() const { return fFileMenu; }
  QMenu* TilesetMenu() const { return fTilesetMenu; }

  // --- Commands (the file commands are in Files()) ---
  void faExportExecute();
  void faPropertiesExecute();
  // A new map tab with a dungeon made in the Generate Dungeon dialog.
  void maGenerateDungeonExecute();
  void taOptionsExecute();
  // Shows the Tileset Editor, made at first use.
  void taTilesetEditorExecute();
  // Shows or hides the overview as its command is checked.
  void vwOverviewExecute();
  TfrmTilesetEditor* TilesetEditor() const { return fTilesetEditor; }
  // A tileset file was saved: an installed tileset read from it is read
  // again, and the palette shows the new groups when it shows that tileset.
  void TilesetFileSaved(const QString& path);
  // Installs a tileset file the user picks, and removes the added tileset
  // the palette's tileset box shows.
  void faAddTilesetExecute();
  void faRemoveTilesetExecute();
  TTilesetInstaller& Installer() const { return *fInstaller; }
  // A path handed over by a later start: opened as File > Open opens it,
  // then the window comes forward.
  void WMCopyData(const QString& path);
  // The File menu's entries after Exit: the recent files it shows.
  void BuildRecentFilesMenu();

  // Puts the window where it was when it last closed (before it is shown).
  void RestorePlacement();

  // --- State shown ---
  // Status bar, map panel caption and every enabled state.
  void UpdateControls();
  // The modified indicator for the current map.
  void MapChanged();
  // Undo and Redo enabled as the current map's history allows.
  void UpdateUndoRedoActions();
  // A tileset's loading progress, in the status bar's single text.
  void ShowLoadingProgress(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void BindSession();
  void BindFiles();
  // The tabs follow the open maps.
  void AddTab(int index, TTileMap* map);
  void RemoveTab(int index);
  // The current map is shown: its tab selected, the grid painting it.
  void ShowCurrentMap(TTileMap* map);
  void UpdateModifiedIndicator();
  void SetEnabled(TActionId action, bool enabled);

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
  TOverviewDock* fOverviewDock = nullptr;
  TfrmTilesetEditor* fTilesetEditor = nullptr;
};
