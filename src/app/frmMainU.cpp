#include "frmMainU.h"
#include "Application.h"
#include "ExportCommand.h"
#include "FileDialogs.h"
#include "GenerateDungeonCommand.h"
#include "HelpWindow.h"
#include "MainActions.h"
#include "MainWindowParts.h"
#include "OverviewDock.h"
#include "PaletteColumn.h"
#include "TilesetInstall.h"
#include "WindowPlacement.h"
#include "app/settings/SettingsFile.h"
#include "app/tileseteditor/frmTilesetEditor.h"
#include "base/Busy.h"
#include "editor/EditSession.h"
#include "editor/controls/ArrangeGrid.h"
#include "editor/controls/MapGrid.h"
#include "editor/controls/MapOverview.h"
#include "frmMapPropsU.h"
#include "frmOptionsU.h"
#include "map/GridSizes.h"
#include "map/MapDocument.h"
#include "map/TileMapObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 480;
constexpr int kPaletteMinimumWidth = 150;
constexpr int kPaletteInitialWidth = 168;

const QString kModifiedHint = QStringLiteral(
    "This map has changed since the last save, click Save from the File menu to save changes.");

}  // namespace

TMainWindowModel::TMainWindowModel() = default;
TMainWindowModel::~TMainWindowModel() = default;

TfrmMain::TfrmMain(const QString& startFile, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(ApplicationTitle());
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(kMinimumWidth, kMinimumHeight);

  fFiles.SetOwner(this);
  fMapGrid = new TMapGrid;
  fMapGrid->setObjectName(QStringLiteral("grdMap"));
  fSession = std::make_unique<TEditSession>(fMapGrid->Model(), TilesetList());
  fActions = std::make_unique<TMainActions>(*this);
  fInstaller = std::make_unique<TTilesetInstaller>(TilesetList(), Palette());
  BuildLayout();
  BindSession();
  BindFiles();
  InstallHelpKey(this);

  // The palette: the first tileset, its "Floors", the first group.
  Palette().Start();
  fFiles.OpenStartFile(startFile);
  Painter().SetCellSize(TMapPainter::kDefaultCellSize);
  Painter().ApplyZoom();
  Painter().SyncGridToMap();
  BuildRecentFilesMenu();
  UpdateControls();
}

TfrmMain::~TfrmMain() = default;

TPlacementEngine& TfrmMain::Engine() const {
  return fSession->Engine();
}
TMapPainter& TfrmMain::Painter() const {
  return fSession->Painter();
}
TPalette& TfrmMain::Palette() const {
  return fSession->Palette();
}

// ---------------------------------------------------------------------------
// Creation

void TfrmMain::BuildLayout() {
  TMainActions& actions = *fActions;
  fFileMenu = actions.BuildMenu(QStringLiteral("&File"), kFileMenu, this);
  fFileMenu->setObjectName(QStringLiteral("mnuFile"));
  menuBar()->addMenu(fFileMenu);
  menuBar()->addMenu(actions.BuildMenu(QStringLiteral("&Edit"), kEditMenu, this));
  menuBar()->addMenu(actions.BuildMenu(QStringLiteral("&View"), kViewMenu, this));
  menuBar()->addMenu(actions.BuildMenu(QStringLiteral("&Map"), kMapMenu, this));
  menuBar()->addMenu(actions.BuildMenu(QStringLiteral("&Tile"), kTileMenu, this));
  menuBar()->addMenu(actions.BuildMenu(QStringLiteral("&Help"), kHelpMenu, this));

  fMainToolBar = new QToolBar(QStringLiteral("Main"), this);
  fMainToolBar->setObjectName(QStringLiteral("tbMain"));
  fMainToolBar->setIconSize(QSize(32, 32));
  fMainToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  fMainToolBar->setMovable(false);
  actions.FillToolBar(fMainToolBar, kMainToolBar);
  addToolBar(Qt::TopToolBarArea, fMainToolBar);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName(QStringLiteral("spltMain"));
  splitter->setChildrenCollapsible(false);
  fPaletteColumn = new TPaletteColumn(Palette(), Engine(), splitter);
  fPaletteColumn->setMinimumWidth(kPaletteMinimumWidth);
  fPaletteColumn->SetPreviewActions(
      actions.Get(TActionId::vwFlipHorizontal), actions.Get(TActionId::vwRotateCClockwise),
      actions.Get(TActionId::vwFlipVertical), actions.Get(TActionId::vwRotateClockwise));

  fMapPanel = new TCleanPanel(QStringLiteral("Map"), splitter);
  fMapPanel->setObjectName(QStringLiteral("pnlMap"));
  auto* mapLayout = new QVBoxLayout(fMapPanel->Client());
  mapLayout->setContentsMargins(0, 0, 0, 0);
  mapLayout->setSpacing(0);
  fMapToolBar = new QToolBar(QStringLiteral("Map"), fMapPanel->Client());
  fMapToolBar->setObjectName(QStringLiteral("tbMap"));
  fMapToolBar->setIconSize(QSize(16, 16));
  actions.FillToolBar(fMapToolBar, kMapToolBar);
  mapLayout->addWidget(fMapToolBar);
  fMapGrid->setParent(fMapPanel->Client());
  mapLayout->addWidget(fMapGrid, 1);
  fMapTabs = new QTabBar(fMapPanel->Client());
  fMapTabs->setObjectName(QStringLiteral("tabMapList"));
  fMapTabs->setShape(QTabBar::RoundedSouth);
  fMapTabs->setExpanding(false);
  fMapTabs->setDocumentMode(true);
  mapLayout->addWidget(fMapTabs);

  splitter->addWidget(fPaletteColumn);
  splitter->addWidget(fMapPanel);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({kPaletteInitialWidth, kMinimumWidth - kPaletteInitialWidth});
  setCentralWidget(splitter);

  // Shown at the right until the settings say otherwise (RestorePlacement).
  fOverviewDock = new TOverviewDock(fMapGrid->Model(), this);
  addDockWidget(Qt::RightDockWidgetArea, fOverviewDock);
  QAction* overview = actions.Get(TActionId::vwOverview);
  // The dock, not the window, is captured: the window's members are gone by
  // the time its base class hides the dock on destruction.
  connect(fOverviewDock, &QDockWidget::visibilityChanged, overview,
          [dock = fOverviewDock, overview] { overview->setChecked(!dock->isHidden()); });

  fGridMenu = actions.BuildMenu(QString(), kGridContextMenu, this);
  fGridMenu->setObjectName(QStringLiteral("popMapGrid"));
  fMapGrid->SetPopupMenu(fGridMenu);
  fTilesetMenu = actions.BuildMenu(QString(), kTilesetContextMenu, this);
  fTilesetMenu->setObjectName(QStringLiteral("popTileset"));
  OfferContextMenu(*fPaletteColumn->TilesetBox(), *fTilesetMenu);
  // While the wall styles show, the palette itself offers the menu: it acts
  // on the selected style's wall tileset.
  OfferContextMenu(*fPaletteColumn->Grid(), *fTilesetMenu, [this] { UpdateControls(); });

  fStatus = NewMainStatusBar(this);
  setStatusBar(fStatus);
}

void TfrmMain::BindSession() {
  // The grid's Selected reaches the engine through the session; the map
  // painter paints the grid's sub-cells.
  fMapGrid->SetOnDrawSubCell(&Painter());
  connect(&Engine(), &TPlacementEngine::UpdateControlsRequested, this,
          [this] { UpdateControls(); });
  // Ctrl + wheel zooms where the zoom commands may.
  connect(fMapGrid, &TMapGrid::ZoomRequested, this, Guarded([this](bool zoomIn, const QPoint& at) {
            if (!fActions->Get(zoomIn ? TActionId::vwZoomIn : TActionId::vwZoomOut)->isEnabled())
              return;
            Painter().ZoomAt(zoomIn, at.x(), at.y());
            UpdateControls();
          }));

  connect(fPaletteColumn, &TPaletteColumn::StatusText, this,
          [this](const QString& text) { fStatus->SetPanelText(kGroupPanel, text); });
  // A tool that cannot act says why where the group's name shows.
  connect(&Engine(), &TPlacementEngine::StatusMessage, this,
          [this](const QString& text) { fStatus->SetPanelText(kGroupPanel, text); });
  // While a tileset loads, its progress takes the whole status bar.
  connect(fPaletteColumn, &TPaletteColumn::TilesetLoadStarted, this, [this] {
    fStatus->SetSimplePanel(true);
    ProcessPendingMessages();
  });
  connect(fPaletteColumn, &TPaletteColumn::TilesetLoadFinished, this,
          [this] { fStatus->SetSimplePanel(false); });
  connect(&TilesetList(), &TTilesetList::Progress, this, &TfrmMain::ShowLoadingProgress);
}

// The tabs, the modified indicator and Undo and Redo follow the open maps.
void TfrmMain::BindFiles() {
  connect(&fFiles, &TFileCommands::MapOpened, this, [this](int index, TTileMap* map) {
    AddTab(index, map);
    connect(&map->Document(), &TMapDocument::ModifiedChanged, this, [this] { MapChanged(); });
    connect(&map->Document(), &TMapDocument::UndoStateChanged, this,
            [this] { UpdateUndoRedoActions(); });
  });
  connect(&fFiles, &TFileCommands::MapClosed, this, [this](int index) { RemoveTab(index); });
  connect(&fFiles, &TFileCommands::MapRenamed, this,
          [this](int index, const QString& name) { fMapTabs->setTabText(index, name); });
  connect(&fFiles, &TFileCommands::CurrentMapChanged, this,
          [this](TTileMap* map) { ShowCurrentMap(map); });
  connect(&fFiles, &TFileCommands::RecentFilesChanged, this, [this] { BuildRecentFilesMenu(); });
  connect(&fFiles, &TFileCommands::UpdateControlsRequested, this, [this] { UpdateControls(); });
  connect(fMapTabs, &QTabBar::currentChanged, this,
          Guarded([this](int index) { fFiles.SetCurrentIndex(index); }));
}

void TfrmMain::WMCopyData(const QString& path) {
  fFiles.OpenMapFile(path);
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

// ---------------------------------------------------------------------------
// Tabs: tab i shows map i. Changing them programmatically selects nothing on
// the way; the file commands say which map is current.

void TfrmMain::AddTab(int index, TTileMap* map) {
  const QSignalBlocker blocker(fMapTabs);
  fMapTabs->insertTab(index, map->MapName());
  // A hidden tab bar does not report its new height itself.
  fMapTabs->updateGeometry();
}

void TfrmMain::RemoveTab(int index) {
  const QSignalBlocker blocker(fMapTabs);
  fMapTabs->removeTab(index);
}

void TfrmMain::ShowCurrentMap(TTileMap* map) {
  {
    const QSignalBlocker blocker(fMapTabs);
    fMapTabs->setCurrentIndex(fFiles.Maps().IndexOf(map));
  }
  Painter().ActivateMap(map);
  fOverviewDock->Overview()->SetMap(map);
  UpdateControls();
}

// ---------------------------------------------------------------------------
// Dialogs

void TfrmMain::faExportExecute() {
  TTileMap* map = CurrentMap();
  if (!map) return;
  const QString path =
      ExportMapWithDialogs(this, *map, &TilesetList(), TFileCommands::LastDir(), fExportOptions);
  if (!path.isEmpty()) TFileCommands::SetLastDir(path);
}

void TfrmMain::faPropertiesExecute() {
  TTileMap* map = CurrentMap();
  if (!map) return;
  EditMapProperties(this, *map, false);
  // A new name reaches the tab, and a new size the grid, through the map's
  // document.
  UpdateControls();
}

void TfrmMain::maGenerateDungeonExecute() {
  GenerateDungeonWithDialog(this, fFiles, TilesetList());
}

void TfrmMain::taOptionsExecute() {
  ShowOptions(this);
  BuildRecentFilesMenu();
  fFiles.ApplyUndoLimit();
}

void TfrmMain::vwOverviewExecute() {
  fOverviewDock->setVisible(fActions->Get(TActionId::vwOverview)->isChecked());
}

void TfrmMain::taTilesetEditorExecute() {
  if (!fTilesetEditor) {
    fTilesetEditor = new TfrmTilesetEditor(TilesetList().SuppliedFiles(), this);
    connect(fTilesetEditor, &TfrmTilesetEditor::TilesetSaved, this,
            Guarded([this](const QString& path) { TilesetFileSaved(path); }));
  }
  fTilesetEditor->show();
  fTilesetEditor->raise();
  fTilesetEditor->activateWindow();
}

void TfrmMain::TilesetFileSaved(const QString& path) {
  fInstaller->FileSaved(path);
  fPaletteColumn->Refresh();
  UpdateControls();
}

// ---------------------------------------------------------------------------
// Recent files

void TfrmMain::BuildRecentFilesMenu() {
  FillRecentFilesMenu(*fFileMenu, fActions->Get(TActionId::faExit), fFiles);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // A failed save must keep the window and its maps, not close them unsaved.
  bool close = false;
  try {
    close = (!fTilesetEditor || fTilesetEditor->close()) && fFiles.QuerySaveAll();
    if (close)
      SaveAtExit([this] {
        SaveWindowPlacement(this, kMainPlacementKey);
        fOverviewDock->Save();
      });
  } catch (...) {
    ShowCurrentException();
  }
  event->setAccepted(close);
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  fMapGrid->Model().EndUpdate();
}

void TfrmMain::RestorePlacement() {
  RestoreWindowPlacement(this, kMainPlacementKey);
  fOverviewDock->Restore();
}

// ---------------------------------------------------------------------------
// Control state

void TfrmMain::SetEnabled(TActionId action, bool enabled) {
  fActions->Get(action)->setEnabled(enabled);
}

// Follows the current map, whichever map reported.
void TfrmMain::MapChanged() {
  const TTileMap* map = CurrentMap();
  const bool modified = map && map->Modified();
  fStatus->SetPanelImage(kModifiedPanel, modified ? TdmSharedBmpResources::kModifiedImage : -1);
  fStatus->SetPanelHint(kModifiedPanel, modified ? kModifiedHint : QString());
}

void TfrmMain::UpdateUndoRedoActions() {
  SetEnabled(TActionId::eaUndo, Engine().UndoEnabled());
  SetEnabled(TActionId::eaRedo, Engine().RedoEnabled());
}

void TfrmMain::faAddTilesetExecute() {
  const QString path = RunFileDialog(AddTilesetDialogRequest(this, TFileCommands::LastDir()));
  if (!path.isEmpty()) fInstaller->Add(path);
  UpdateControls();
}

void TfrmMain::faRemoveTilesetExecute() {
  fInstaller->Remove(fInstaller->ShownTileset());
  UpdateControls();
}

void TfrmMain::ShowLoadingProgress(const QString& text) {
  fStatus->SetSimpleText(QStringLiteral("  ") + text);
  fStatus->repaint();
  ProcessPendingMessages();
}

void TfrmMain::UpdateControls() {
  using A = TActionId;
  TTileMap* map = CurrentMap();
  const bool hasMap = map != nullptr;
  const bool readOnly = hasMap && map->ReadOnly();
  const int maps = fFiles.Maps().Count();
  const int tilesets = TilesetList().Count();
  const TTileSet* tileSet = Engine().CurrentTileset();
  const bool loaded = tileSet && tileSet->Loaded();
  const bool editable = maps >= 1 && tilesets >= 2 && loaded && !readOnly;
  const int cellSize = Painter().CellSize();
  const TMapGridModel& grid = fMapGrid->Model();

  fStatus->SetPanelText(
      kGridSizePanel,
      hasMap ? QString::fromUtf8(GridSizeNames[GridSizeIndex(map->TileSize())]) : QString());
  MapChanged();
  QString caption = QStringLiteral("Map");
  if (hasMap) {
    caption += QStringLiteral(" - ") + map->MapName();
    if (readOnly) caption += QStringLiteral(" (READ-ONLY)");
  }
  fMapPanel->SetCaption(caption);

  SetEnabled(A::faSave, hasMap && !readOnly);
  SetEnabled(A::faProperties, hasMap && !readOnly);
  for (A action : {A::faSaveAs, A::faSaveAll, A::faClose, A::faCloseAll, A::faExport, A::faPrint,
                   A::faPrintWithSetup, A::faPrintPreview})
    SetEnabled(action, hasMap);
  fPaletteColumn->SetEnabledStates(tilesets > 1, tilesets > 1 && loaded);
  const bool gridEnabled = maps >= 1 && tilesets > 1 && loaded && !readOnly;
  SetEnabled(A::gaDelCol, gridEnabled && grid.CellColCount() > 1);
  SetEnabled(A::gaDelRow, gridEnabled && grid.CellRowCount() > 1);
  SetEnabled(A::gaAddCol, editable && hasMap && map->Width() < TPlacementEngine::kMaxExtent);
  SetEnabled(A::gaAddRow, editable && hasMap && map->Height() < TPlacementEngine::kMaxExtent);
  const bool zoom = maps >= 1 && tilesets >= 2 && loaded;
  SetEnabled(A::vwZoomIn, zoom && cellSize != TMapPainter::kMaxCellSize);
  SetEnabled(A::vwZoomOut, zoom && cellSize != TMapPainter::kMinCellSize);
  const bool orientation = Engine().OrientationCommandsEnabled();
  for (A action :
       {A::vwFlipHorizontal, A::vwFlipVertical, A::vwRotateClockwise, A::vwRotateCClockwise})
    SetEnabled(action, orientation);
  for (A action : {A::gaRoom, A::gaEraser, A::gaDoors, A::gaFill, A::gaNudgeLeft, A::gaNudgeRight,
                   A::gaNudgeDown, A::gaNudgeUp})
    SetEnabled(action, editable);
  const bool walls = tilesets > 0 && TilesetList().Items(0) != nullptr;
  SetEnabled(A::gaWall, editable && walls);
  SetEnabled(A::gaRooms, editable && walls);
  SetEnabled(A::maGenerateDungeon, tilesets > 1 && walls);
  fPaletteColumn->UpdateWallStyleBox();
  SetEnabled(A::faRemoveTileset, fInstaller && fInstaller->IsAdded(fInstaller->ShownTileset()));

  // The checked tool and erase layer always show the engine's.
  static const A kToolActions[] = {A::gaRoom,  A::gaWall,  A::gaSelect, A::gaEraser,
                                   A::gaRooms, A::gaDoors, A::gaFill};
  fActions->Get(kToolActions[Engine().Tool()])->setChecked(true);
  fActions->EraseItem(Engine().CheckedEraseTag())->setChecked(true);

  fMapGrid->setEnabled(gridEnabled);
  // A new colour repaints the grid; map changes repaint themselves.
  fMapGrid->SetColor(palette().color(gridEnabled ? QPalette::Base : QPalette::Button));
  UpdateUndoRedoActions();
}
