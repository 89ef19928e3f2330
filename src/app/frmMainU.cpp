#include "frmMainU.h"
#include "Application.h"
#include "ExportCommand.h"
#include "FileDialogs.h"
#include "HelpWindow.h"
#include "MainActions.h"
#include "PaletteColumn.h"
#include "TilesetInstall.h"
#include "WindowPlacement.h"
#include "app/settings/SettingsFile.h"
#include "app/settings/SettingsStore.h"
#include "app/tileseteditor/frmTilesetEditor.h"
#include "base/Busy.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "base/MessageService.h"
#include "editor/EditSession.h"
#include "editor/controls/ArrangeGrid.h"
#include "editor/controls/MapGrid.h"
#include "frmMapPropsU.h"
#include "frmOptionsU.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

const QString TfrmMain::kMapFilter =
    QStringLiteral("Tessellan Map (*.tqm)|*.tqm|All Files (*.*)|*.*");

namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 480;
constexpr int kPaletteMinimumWidth = 150;
constexpr int kPaletteInitialWidth = 168;
constexpr int kModifiedPanel = 0;
constexpr int kGridSizePanel = 1;
constexpr int kGroupPanel = 2;

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

  fMapGrid = new TMapGrid;
  fMapGrid->setObjectName(QStringLiteral("grdMap"));
  fSession = std::make_unique<TEditSession>(fMapGrid->Model(), TilesetList());
  fActions = std::make_unique<TMainActions>(*this);
  fInstaller = std::make_unique<TTilesetInstaller>(
      TilesetList(), Palette(), [this](const QString& text) { ShowLoadingProgress(text); });
  BuildLayout();
  BindSession();
  InstallHelpKey(this);

  // The palette: the first tileset, its "Floors", the first group.
  Palette().Start();
  OpenStartFile(startFile);
  Painter().SetCellSize(TMapPainter::kDefaultCellSize);
  Painter().ApplyZoom();
  Painter().SyncGridToMap();
  BuildRecentFilesMenu();
  UpdateControls();
}

TfrmMain::~TfrmMain() {
  // The tileset list outlives the window.
  for (int i = 1; i < TilesetList().Count(); ++i)
    if (TTileSet* tileSet = TilesetList().Items(i)) tileSet->OnProgress = nullptr;
}

TTileMap* TfrmMain::CurrentMap() const {
  return Painter().CurrentMap();
}
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
  fPaletteColumn->SetPreviewActions(actions.Get(QStringLiteral("vwFlipHorizontal")),
                                    actions.Get(QStringLiteral("vwRotateCClockwise")),
                                    actions.Get(QStringLiteral("vwFlipVertical")),
                                    actions.Get(QStringLiteral("vwRotateClockwise")));

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

  fGridMenu = actions.BuildMenu(QString(), kGridContextMenu, this);
  fGridMenu->setObjectName(QStringLiteral("popMapGrid"));
  fMapGrid->SetPopupMenu(fGridMenu);
  fTilesetMenu = actions.BuildMenu(QString(), kTilesetContextMenu, this);
  fTilesetMenu->setObjectName(QStringLiteral("popTileset"));
  QComboBox* tilesetBox = fPaletteColumn->TilesetBox();
  tilesetBox->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tilesetBox, &QWidget::customContextMenuRequested, this,
          [this, tilesetBox](QPoint at) { fTilesetMenu->popup(tilesetBox->mapToGlobal(at)); });

  fStatus = new TColorStatusBar(this);
  fStatus->setObjectName(QStringLiteral("sbMain"));
  fStatus->AddPanels({24, 200, 50});
  fStatus->SetImages(&dmSharedBmpResources().imgSmallButtons);
  fStatus->Panel(kModifiedPanel)->SetAlignment(TStatusPanelAlignment::Center);
  setStatusBar(fStatus);
}

void TfrmMain::BindSession() {
  // The grid's Selected reaches the engine through the session.
  connect(fMapGrid, &TMapGrid::DrawSubCell, this,
          [this](int col, int row, int subCol, int subRow, const QRect& rect, QPainter& canvas,
                 bool selected) {
            Painter().grdMapDrawSubCell(col, row, subCol, subRow, rect, canvas, selected);
          });
  Engine().OnUpdateControls = [this] { UpdateControls(); };
  Engine().OnUndoRedoActions = [this](bool canUndo, bool canRedo) {
    SetEnabled("eaUndo", canUndo);
    SetEnabled("eaRedo", canRedo);
  };
  connect(fMapTabs, &QTabBar::currentChanged, this, Guarded([this] { tabMapListChange(); }));
  // Ctrl + wheel zooms where the zoom commands may.
  connect(fMapGrid, &TMapGrid::ZoomRequested, this, Guarded([this](bool zoomIn, const QPoint& at) {
            if (!fActions->Get(zoomIn ? QStringLiteral("vwZoomIn") : QStringLiteral("vwZoomOut"))
                     ->isEnabled())
              return;
            Painter().ZoomAt(zoomIn, at.x(), at.y());
            UpdateControls();
          }));

  connect(fPaletteColumn, &TPaletteColumn::StatusText, this,
          [this](const QString& text) { fStatus->SetPanelText(kGroupPanel, text); });
  // While a tileset loads, its progress takes the whole status bar.
  connect(fPaletteColumn, &TPaletteColumn::TilesetLoadStarted, this, [this] {
    fStatus->SetSimplePanel(true);
    ProcessPendingMessages();
  });
  connect(fPaletteColumn, &TPaletteColumn::TilesetLoadFinished, this,
          [this] { fStatus->SetSimplePanel(false); });
  for (int i = 1; i < TilesetList().Count(); ++i)
    if (TTileSet* tileSet = TilesetList().Items(i))
      tileSet->OnProgress = [this](const QString& text) { ShowLoadingProgress(text); };
}

void TfrmMain::OpenStartFile(const QString& startFile) {
  if (!startFile.isEmpty() && startFile.compare(QStringLiteral("/P"), Qt::CaseInsensitive) != 0) {
    try {
      if (OpenMapFile(startFile)) return;
    } catch (...) {
      ShowMessage(CurrentExceptionText(), QStringLiteral("Error Loading File"), TMsgIcon::Warning,
                  mbOK, this);
    }
  }
  // Without a file the window starts with one map named by the settings.
  StartMap(fMaps.NewMap(NewMapDefaults()));
}

void TfrmMain::WMCopyData(const QString& path) {
  OpenMapFile(path);
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TfrmMain::StartMap(TTileMap* map) {
  map->OnModifiedChange = [this](TTileMap&) { MapChanged(); };
  AddTab(map);
  SelectTab(fMapTabs->count() - 1);
}

// ---------------------------------------------------------------------------
// Tabs

void TfrmMain::AddTab(TTileMap* map) {
  const QSignalBlocker blocker(fMapTabs);
  fMapTabs->addTab(map->MapName());
  // A hidden tab bar does not report its new height itself.
  fMapTabs->updateGeometry();
}

void TfrmMain::SelectTab(int index) {
  {
    const QSignalBlocker blocker(fMapTabs);
    fMapTabs->setCurrentIndex(index);
  }
  tabMapListChange();
}

// The current map always is the map of the selected tab.
void TfrmMain::tabMapListChange() {
  const int index = fMapTabs->currentIndex();
  TTileMap* map = index >= 0 && index < fMaps.Count() ? fMaps.Maps(index) : nullptr;
  Painter().ActivateMap(map);
  UpdateControls();
}

// ---------------------------------------------------------------------------
// File commands

void TfrmMain::faNewMapExecute() {
  // The name is numbered before the map joins the list, so that it never
  // counts itself.
  const QString name = fMaps.NewMapName(Settings().Value(QStringLiteral("DefMapName")));
  TTileMap* map = fMaps.NewMap(NewMapDefaults());
  map->SetMapName(name);
  bool confirmed = false;
  try {
    confirmed = EditMapProperties(this, *map, true);
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

void TfrmMain::faOpenExecute() {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Open;
  request.Title = QStringLiteral("Open File");
  request.Directory = LastDir();
  request.Filter = kMapFilter;
  request.DefaultExt = QStringLiteral("tqm");
  request.Owner = this;
  const QString path = RunFileDialog(request);
  if (path.isEmpty()) return;
  SetLastDir(path);
  OpenMapFile(path);
}

bool TfrmMain::OpenMapFile(const QString& path) {
  // A map-list file is not a map.
  if (QFileInfo(path).suffix().compare(QStringLiteral("tql"), Qt::CaseInsensitive) == 0)
    return false;
  for (int i = 0; i < fMaps.Count(); ++i) {
    if (!SameFile(fMaps.Maps(i)->FileName(), path)) continue;
    if (fMaps.Maps(i)->Modified() && !QuerySaveMap(i)) return false;
    // Reopening reloads the file as a new last tab.
    RemoveMap(i);
    break;
  }
  TTileMap* map = nullptr;
  try {
    TBusyCursor busy;
    map = fMaps.OpenMap(path, IntSetting(QStringLiteral("DefUndoNum")));
  } catch (...) {
    // The list has dropped the new map; show the map of the selected tab.
    tabMapListChange();
    throw;
  }
  StartMap(map);
  AddToRecentFiles(path);
  return true;
}

bool TfrmMain::QuerySaveMap(int index) {
  TTileMap* map = fMaps.Maps(index);
  if (!map->Modified()) return true;
  bool result = true;
  switch (ShowMessage(map->MapName() + QStringLiteral(" has changed since the last save. Do you "
                                                      "wish to save your changes?"),
                      QStringLiteral("Save Map Changes"), TMsgIcon::Warning,
                      mbYes | mbNo | mbCancel, this)) {
    case TMsgAnswer::Cancel:
      result = false;
      break;
    case TMsgAnswer::Yes:
      result = SaveMap(*map);
      break;
    default:
      break;
  }
  UpdateControls();
  return result;
}

bool TfrmMain::QuerySaveAll() {
  bool result = true;
  for (int i = 0; i < fMaps.Count() && result; ++i)
    result = QuerySaveMap(i);
  UpdateControls();
  return result;
}

bool TfrmMain::SaveMap(TTileMap& map) {
  if (!map.Modified()) return true;
  // Qt writes files under names it can decode: a map read from a name with
  // other bytes is saved under a name the user picks.
  if (map.FileName().isEmpty() || HasRawBytes(map.FileName())) return SaveMapAs(map);
  {
    TBusyCursor busy;
    map.SaveToFile(map.FileName());
  }
  UpdateControls();
  return true;
}

bool TfrmMain::SaveMapAs(TTileMap& map) {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Save;
  request.Title = QStringLiteral("Save Map");
  request.Directory = LastDir();
  request.FileName = map.FileName().isEmpty() || HasRawBytes(map.FileName())
                         ? map.MapName() + QStringLiteral(".tqm")
                         : map.FileName();
  request.Filter = kMapFilter;
  request.DefaultExt = QStringLiteral("tqm");
  request.Owner = this;
  const QString path = RunFileDialog(request);
  if (path.isEmpty()) return false;
  for (int i = 0; i < fMaps.Count(); ++i)
    if (SameFile(fMaps.Maps(i)->FileName(), path))
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
  const int index = fMaps.IndexOf(&map);
  if (index >= 0) fMapTabs->setTabText(index, map.MapName());
  AddToRecentFiles(path);
  UpdateControls();
  return true;
}

void TfrmMain::SaveAllMaps() {
  for (int i = 0; i < fMaps.Count(); ++i)
    if (!SaveMap(*fMaps.Maps(i))) break;
}

void TfrmMain::faSaveExecute() {
  TTileMap* map = CurrentMap();
  if (!map) return;
  if (map->ReadOnly())
    SaveMapAs(*map);
  else
    SaveMap(*map);
}

void TfrmMain::faExportExecute() {
  TTileMap* map = CurrentMap();
  if (!map) return;
  const QString path = ExportMapWithDialogs(this, *map, &TilesetList(), LastDir(), fExportOptions);
  if (!path.isEmpty()) SetLastDir(path);
}

void TfrmMain::faSaveAsExecute() {
  if (TTileMap* map = CurrentMap()) SaveMapAs(*map);
}

void TfrmMain::RemoveMap(int index) {
  if (Painter().CurrentMap() == fMaps.Maps(index)) Painter().SetCurrentMap(nullptr);
  fMaps.Delete(index);
  // The caller decides which tab shows next; removing one must not select
  // another on the way.
  const QSignalBlocker blocker(fMapTabs);
  fMapTabs->removeTab(index);
}

void TfrmMain::CloseMapAt(int index) {
  RemoveMap(index);
  SelectTab(std::min(index, fMaps.Count() - 1));
}

void TfrmMain::faCloseExecute() {
  const int index = fMaps.IndexOf(CurrentMap());
  if (index < 0 || !QuerySaveMap(index)) return;
  CloseMapAt(index);
}

void TfrmMain::faCloseAllExecute() {
  while (fMaps.Count() > 0 && QuerySaveMap(0))
    CloseMapAt(0);
  UpdateControls();
}

// ---------------------------------------------------------------------------
// Dialogs

void TfrmMain::faPropertiesExecute() {
  TTileMap* map = CurrentMap();
  if (!map) return;
  EditMapProperties(this, *map, false);
  const int index = fMaps.IndexOf(map);
  if (index >= 0) fMapTabs->setTabText(index, map->MapName());
  // A new size reaches the grid through the map's change report.
  UpdateControls();
}

void TfrmMain::taOptionsExecute() {
  ShowOptions(this);
  BuildRecentFilesMenu();
  ApplyUndoLimit();
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
  const QString saved = QFileInfo(path).absoluteFilePath();
  for (int i = 1; i < TilesetList().Count(); ++i) {
    TTileSet* tileSet = TilesetList().Items(i);
    if (!tileSet || QFileInfo(tileSet->FileName()).absoluteFilePath() != saved) continue;
    if (tileSet != Engine().CurrentTileset()) {
      // Read again when next chosen.
      tileSet->Unload();
      fPaletteColumn->Refresh();
      continue;
    }
    // Shown now: read it again the way choosing it in the box does.
    tileSet->Unload();
    Engine().SetCurrentTileset(nullptr);
    Palette().cbxTilesetChange(i - 1);
    fPaletteColumn->Refresh();
    UpdateControls();
  }
}

void TfrmMain::ApplyUndoLimit() {
  const int depth = IntSetting(QStringLiteral("DefUndoNum"));
  for (int i = 0; i < fMaps.Count(); ++i)
    fMaps.Maps(i)->UndoList().SetMaxUndo(depth);
}

// ---------------------------------------------------------------------------
// Recent files

namespace {

constexpr int kRecentFileSlots = 9;

QString RecentName(int number) {
  return QStringLiteral("MRU") + QString::number(number);
}

}  // namespace

void TfrmMain::AddToRecentFiles(const QString& path) {
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
  BuildRecentFilesMenu();
}

void TfrmMain::BuildRecentFilesMenu() {
  const TStringBag& recent = RecentFiles();
  if (recent.Count() == 0) return;
  QAction* exit = fActions->Get(QStringLiteral("faExit"));
  const QList<QAction*> entries = fFileMenu->actions();
  for (qsizetype i = entries.indexOf(exit) + 1; i < entries.size(); ++i) {
    fFileMenu->removeAction(entries[i]);
    // Separators and entries made here belong to the menu.
    if (entries[i]->parent() == fFileMenu) delete entries[i];
  }
  fFileMenu->addSeparator();
  const int shown = IntSetting(QStringLiteral("MRULen"));
  for (int n = 1; n <= shown; ++n) {
    const QString path = recent.Value(RecentName(n));
    if (path.isEmpty()) continue;
    QAction* entry = fFileMenu->addAction(QStringLiteral("&%1 %2").arg(n).arg(path));
    entry->setObjectName(QStringLiteral("mnuRecent%1").arg(n));
    connect(entry, &QAction::triggered, this, Guarded([this, n] { RecentFileClick(n); }));
  }
}

void TfrmMain::RecentFileClick(int number) {
  OpenMapFile(RecentFiles().Value(RecentName(number)));
  UpdateControls();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // A failed save must keep the window and its maps, not close them unsaved.
  bool close = false;
  try {
    close = (!fTilesetEditor || fTilesetEditor->close()) && QuerySaveAll();
    if (close) SaveAtExit([this] { SaveWindowPlacement(this, kMainPlacementKey); });
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
}

QString TfrmMain::LastDir() const {
  return Settings().Value(QStringLiteral("LastDir"));
}

void TfrmMain::SetLastDir(const QString& path) {
  Settings().SetValue(QStringLiteral("LastDir"),
                      QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/')));
}

// ---------------------------------------------------------------------------
// Control state

void TfrmMain::SetEnabled(const char* action, bool enabled) {
  fActions->Get(QString::fromUtf8(action))->setEnabled(enabled);
}

void TfrmMain::UpdateModifiedIndicator() {
  const TTileMap* map = CurrentMap();
  const bool modified = map && map->Modified();
  fStatus->SetPanelImage(kModifiedPanel, modified ? TdmSharedBmpResources::kModifiedImage : -1);
  fStatus->SetPanelHint(kModifiedPanel, modified ? kModifiedHint : QString());
}

void TfrmMain::MapChanged() {
  UpdateModifiedIndicator();
}

void TfrmMain::faAddTilesetExecute() {
  const QString path = RunFileDialog(AddTilesetDialogRequest(this, LastDir()));
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
  TTileMap* map = CurrentMap();
  const bool hasMap = map != nullptr;
  const bool readOnly = hasMap && map->ReadOnly();
  const int maps = fMaps.Count();
  const int tilesets = TilesetList().Count();
  const TTileSet* tileSet = Engine().CurrentTileset();
  const bool loaded = tileSet && tileSet->Loaded();
  const bool editable = maps >= 1 && tilesets >= 2 && loaded && !readOnly;
  const int cellSize = Painter().CellSize();
  const TMapGridModel& grid = fMapGrid->Model();

  fStatus->SetPanelText(
      kGridSizePanel,
      hasMap ? QString::fromUtf8(GridSizeNames[GridSizeIndex(map->TileSize())]) : QString());
  UpdateModifiedIndicator();
  QString caption = QStringLiteral("Map");
  if (hasMap) {
    caption += QStringLiteral(" - ") + map->MapName();
    if (readOnly) caption += QStringLiteral(" (READ-ONLY)");
  }
  fMapPanel->SetCaption(caption);

  SetEnabled("faSave", hasMap && !readOnly);
  SetEnabled("faProperties", hasMap && !readOnly);
  for (const char* name : {"faSaveAs", "faSaveAll", "faClose", "faCloseAll", "faExport", "faPrint",
                           "faPrintWithSetup", "faPrintPreview"})
    SetEnabled(name, hasMap);
  fPaletteColumn->SetEnabledStates(tilesets > 1, tilesets > 1 && loaded);
  const bool gridEnabled = maps >= 1 && tilesets > 1 && loaded && !readOnly;
  SetEnabled("gaDelCol", gridEnabled && grid.CellColCount() > 1);
  SetEnabled("gaDelRow", gridEnabled && grid.CellRowCount() > 1);
  SetEnabled("gaAddCol", editable && hasMap && map->Width() < TPlacementEngine::kMaxExtent);
  SetEnabled("gaAddRow", editable && hasMap && map->Height() < TPlacementEngine::kMaxExtent);
  const bool zoom = maps >= 1 && tilesets >= 2 && loaded;
  SetEnabled("vwZoomIn", zoom && cellSize != TMapPainter::kMaxCellSize);
  SetEnabled("vwZoomOut", zoom && cellSize != TMapPainter::kMinCellSize);
  const bool orientation = Engine().OrientationCommandsEnabled();
  for (const char* name :
       {"vwFlipHorizontal", "vwFlipVertical", "vwRotateClockwise", "vwRotateCClockwise"})
    SetEnabled(name, orientation);
  for (const char* name :
       {"gaRoom", "gaEraser", "gaNudgeLeft", "gaNudgeRight", "gaNudgeDown", "gaNudgeUp"})
    SetEnabled(name, editable);
  SetEnabled("gaWall", editable && tilesets > 0 && TilesetList().Items(0) != nullptr);
  SetEnabled("faRemoveTileset", fInstaller && fInstaller->IsAdded(fInstaller->ShownTileset()));

  // The checked tool and erase layer always show the engine's.
  const char* tool = Engine().Tool() == etPlaceWalls ? "gaWall"
                     : Engine().Tool() == etErase    ? "gaEraser"
                     : Engine().Tool() == etSelect   ? "gaSelect"
                                                     : "gaRoom";
  fActions->Get(QString::fromUtf8(tool))->setChecked(true);
  fActions->EraseItem(Engine().CheckedEraseTag())->setChecked(true);

  fMapGrid->setEnabled(gridEnabled);
  // A new colour repaints the grid; map changes repaint themselves.
  fMapGrid->SetColor(palette().color(gridEnabled ? QPalette::Base : QPalette::Button));
  Engine().UpdateUndoRedoActions();
}
