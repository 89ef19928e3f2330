#include "MainActions.h"
#include "Application.h"
#include "HelpWindow.h"
#include "PrintAidsSettings.h"
#include "WebBrowser.h"
#include "base/Error.h"
#include "editor/MapPainter.h"
#include "editor/PlacementEngine.h"
#include "frmAboutU.h"
#include "frmMainU.h"
#include "print/ui/PrintCommands.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include <iterator>

namespace {

using S = TActionStyle;
using A = TActionId;

void Nothing(TfrmMain&) {}

// clang-format off
const char* const kActionNames[] = {
  "faNewMap", "faOpen", "faSave", "faSaveAs", "faSaveAll", "faClose", "faCloseAll", "faExport",
  "faAddTileset", "faRemoveTileset", "faPrintWithSetup", "faPrint", "faPrintPreview", "faExit",
  "eaUndo", "eaRedo", "taOptions", "taTilesetEditor",
  "gaAddCol", "gaAddRow", "gaDelCol", "gaDelRow", "gaRoom", "gaWall", "gaRooms", "gaDoors",
  "gaFill", "gaEraser", "gaSelect",
  "mnuEraseBase", "mnuEraseOverlay", "mnuEraseWall", "mnuEraseAll",
  "gaNudgeLeft", "gaNudgeRight", "gaNudgeDown", "gaNudgeUp", "vwZoomIn", "vwZoomOut", "vwOverview",
  "faProperties", "maGenerateDungeon", "vwFlipHorizontal", "vwFlipVertical", "vwRotateCClockwise", "vwRotateClockwise",
  "haHelp", "haTessellanWeb", "haAbout", "vwBaseLayer", "vwObjectsLayer", "vwWallLayer",
};
// clang-format on
static_assert(std::size(kActionNames) == size_t(TActionId::Count), "one name per action");

}  // namespace

const char* ActionName(TActionId id) {
  return kActionNames[size_t(id)];
}

// clang-format off
const std::vector<TActionEntry>& MainActionTable() {
  static const std::vector<TActionEntry> table = {
    // File
    {A::faNewMap, "&New Map...", "New Map", "Ctrl+N", "new", S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().faNewMapExecute(); }},
    {A::faOpen, "&Open...", "Open", "Ctrl+O", "open", S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().faOpenExecute(); }},
    {A::faSave, "&Save", "Save", "Ctrl+S", "save", S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().faSaveExecute(); }},
    {A::faSaveAs, "Save &As...", "Save As", "", nullptr, S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().faSaveAsExecute(); }},
    {A::faSaveAll, "Sa&ve All", "Save All", "Ctrl+Shift+S", "saveall", S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().SaveAllMaps(); }},
    {A::faClose, "&Close", "Close Map", "", nullptr, S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().faCloseExecute(); }},
    {A::faCloseAll, "C&lose All", "Close All", "", nullptr, S::Plain, false, 0,
     [](TfrmMain& w) { w.Files().faCloseAllExecute(); }},
    {A::faExport, "Export to &Bitmap...", "Export to Bitmap", "", "export", S::Plain, false, 0,
     [](TfrmMain& w) { w.faExportExecute(); }},
    {A::faAddTileset, "Add &Tileset...", "Add an existing tileset to the tileset list", "",
     "addtileset", S::Plain, false, 0, [](TfrmMain& w) { w.faAddTilesetExecute(); }},
    {A::faRemoveTileset, "&Remove Tileset", "Remove the selected tileset from the tileset list", "",
     nullptr, S::Plain, false, 0, [](TfrmMain& w) { w.faRemoveTilesetExecute(); }},
    {A::faPrintWithSetup, "&Print...", "Print with Setup", "Ctrl+P", "print", S::Plain, false, 0,
     [](TfrmMain& w) {
       if (w.CurrentMap()) PrintCurrentMapWithSetup(&w, *w.CurrentMap(), LoadPrintAids());
     }},
    {A::faPrint, "&Print", "Print", "", "print", S::Plain, false, 0,
     [](TfrmMain& w) { if (w.CurrentMap()) PrintCurrentMap(&w, *w.CurrentMap(), LoadPrintAids()); }},
    {A::faPrintPreview, "Print Pre&view", "Print Preview", "", "printpreview", S::Plain, false, 0,
     [](TfrmMain& w) {
       if (w.CurrentMap()) PreviewCurrentMap(&w, *w.CurrentMap(), LoadPrintAids(), KeepPrintAids);
     }},
    {A::faExit, "E&xit", "Exit", "", nullptr, S::Plain, false, 0,
     [](TfrmMain& w) { w.close(); }},
    // Edit
    {A::eaUndo, "&Undo", "Undo", "Ctrl+Z", "undo", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().eaUndoExecute(); w.UpdateControls(); }},
    {A::eaRedo, "&Redo", "Redo", "Ctrl+R", "redo", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().eaRedoExecute(); w.UpdateControls(); }},
    {A::taOptions, "&Options", "Options", "", nullptr, S::Plain, false, 0,
     [](TfrmMain& w) { w.taOptionsExecute(); }},
    {A::taTilesetEditor, "&Tileset Editor", "Tileset Editor", "", "tileseteditor", S::Plain, false, 0,
     [](TfrmMain& w) { w.taTilesetEditorExecute(); }},
    // Map
    {A::gaAddCol, "Add &Column", "Add Column", "", "addcol", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaAddColExecute(); }},
    {A::gaAddRow, "&Add Row", "Add Row", "", "addrow", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaAddRowExecute(); }},
    {A::gaDelCol, "&Delete Column", "Delete Column", "", "delcol", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaDelColExecute(); }},
    {A::gaDelRow, "De&lete Row", "Delete Row", "", "delrow", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaDelRowExecute(); }},
    {A::gaRoom, "Place &Tiles", "Place Tiles", "R", "tiles", S::Tool, true, 0,
     [](TfrmMain& w) { w.Engine().gaRoomExecute(); w.UpdateControls(); }},
    {A::gaWall, "Place &Walls", "Place Walls", "W", "walls", S::Tool, false, 0,
     [](TfrmMain& w) { w.Engine().gaWallExecute(); w.UpdateControls(); }},
    {A::gaRooms, "Place R&ooms", "Place Rooms", "O", "rooms", S::Tool, false, 0,
     [](TfrmMain& w) { w.Engine().gaRoomsExecute(); w.UpdateControls(); }},
    {A::gaDoors, "Place &Doors", "Place Doors", "D", "doors", S::Tool, false, 0,
     [](TfrmMain& w) { w.Engine().gaDoorsExecute(); w.UpdateControls(); }},
    {A::gaFill, "&Fill Floor", "Fill Floor", "F", "fill", S::Tool, false, 0,
     [](TfrmMain& w) { w.Engine().gaFillExecute(); w.UpdateControls(); }},
    {A::gaEraser, "&Erase Tiles", "Erase Tiles", "E", "eraser", S::Tool, false, 0,
     [](TfrmMain& w) { w.Engine().gaEraserExecute(); w.UpdateControls(); }},
    {A::gaSelect, "Select", "Select", "", nullptr, S::Tool, false, 0, Nothing},
    {A::mnuEraseBase, "Erase &Floor Tiles", "Erase Floor Tiles", "", nullptr, S::EraseLayer,
     false, 0, [](TfrmMain& w) { w.Engine().mnuEraseBaseClick(0); w.UpdateControls(); }},
    {A::mnuEraseOverlay, "Erase &Object Tiles", "Erase Object Tiles", "", nullptr,
     S::EraseLayer, false, 1,
     [](TfrmMain& w) { w.Engine().mnuEraseBaseClick(1); w.UpdateControls(); }},
    {A::mnuEraseWall, "Erase &Wall Tiles", "Erase Wall Tiles", "", nullptr, S::EraseLayer,
     false, 2, [](TfrmMain& w) { w.Engine().mnuEraseBaseClick(2); w.UpdateControls(); }},
    {A::mnuEraseAll, "Erase &All Tiles", "Erase All Tiles", "", nullptr, S::EraseLayer, true,
     3, [](TfrmMain& w) { w.Engine().mnuEraseBaseClick(3); w.UpdateControls(); }},
    {A::gaNudgeLeft, "Nudge Le&ft", "Nudge Map Left", "", "nudgeleft", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaNudgeLeftExecute(); }},
    {A::gaNudgeRight, "Nudge Ri&ght", "Nudge Map Right", "", "nudgeright", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaNudgeRightExecute(); }},
    {A::gaNudgeDown, "Nudge Dow&n", "Nudge Map Down", "", "nudgedown", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaNudgeDownExecute(); }},
    {A::gaNudgeUp, "Nudge U&p", "Nudge Map Up", "", "nudgeup", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().gaNudgeUpExecute(); }},
    {A::vwZoomIn, "Zoom &In", "Zoom In", "= +", "zoomin", S::Plain, false, 0,
     [](TfrmMain& w) { w.Painter().vwZoomInExecute(true); w.UpdateControls(); }},
    {A::vwZoomOut, "Zoom &Out", "Zoom Out", "- _", "zoomout", S::Plain, false, 0,
     [](TfrmMain& w) { w.Painter().vwZoomInExecute(false); w.UpdateControls(); }},
    {A::vwOverview, "&Overview", "Show the Whole Map", "", nullptr, S::Check, true, 0,
     [](TfrmMain& w) { w.vwOverviewExecute(); }},
    {A::faProperties, "&Map Properties", "Properties", "", "properties", S::Plain, false, 0,
     [](TfrmMain& w) { w.faPropertiesExecute(); }},
    {A::maGenerateDungeon, "Generate D&ungeon...", "Generate Dungeon", "", nullptr, S::Plain,
     false, 0, [](TfrmMain& w) { w.maGenerateDungeonExecute(); }},
    // Tile
    {A::vwFlipHorizontal, "Flip &Horizontal", "Flip Horizontally", "", "fliph", S::Plain, false,
     0, [](TfrmMain& w) { w.Engine().vwFlipHorizontalExecute(); }},
    {A::vwFlipVertical, "Flip &Vertical", "Flip Vertically", "", "flipv", S::Plain, false, 0,
     [](TfrmMain& w) { w.Engine().vwFlipVerticalExecute(); }},
    {A::vwRotateCClockwise, "Rotate Counter Clock&wise", "Rotate Counter Clockwise", ", <",
     "rotccw", S::Plain, false, 0, [](TfrmMain& w) { w.Engine().vwRotateCClockwiseExecute(); }},
    {A::vwRotateClockwise, "Rotate &Clockwise", "Rotate Clockwise", ". >", "rotcw", S::Plain,
     false, 0, [](TfrmMain& w) { w.Engine().vwRotateClockwiseExecute(); }},
    // Help
    {A::haHelp, "&Tessellan Help", "Help", "", "help", S::Plain, false, 0,
     [](TfrmMain&) { ShowHelp(); }},
    {A::haTessellanWeb, "Tessellan on the &Web", "Tessellan Website", "", nullptr, S::Plain,
     false, 0, [](TfrmMain&) { OpenInDefaultBrowser(kTessellanWebAddress); }},
    {A::haAbout, "&About Tessellan", "About", "", "about", S::Plain, false, 0,
     [](TfrmMain& w) { ShowAbout(&w); }},
    // Layers: in the action list only, offered in no menu or toolbar.
    {A::vwBaseLayer, "View &Base Layer", "View Base Layer", "", nullptr, S::Check, true, 0,
     [](TfrmMain& w) { w.Painter().vwBaseLayerExecute(); }},
    {A::vwObjectsLayer, "View &Objects Layer", "View Objects Layer", "", nullptr, S::Check, true,
     0, [](TfrmMain& w) { w.Painter().vwObjectsLayerExecute(); }},
    {A::vwWallLayer, "View &Wall Layer", "View Wall Layer", "", nullptr, S::Check, true, 0,
     [](TfrmMain& w) { w.Painter().vwWallLayerExecute(); }},
  };
  return table;
}

const char* const kFileMenu[] = {"faNewMap", "faOpen", "-", "faSave", "faSaveAs", "faSaveAll",
                                 "faClose", "faCloseAll", "faExport", "-", "faAddTileset", "-",
                                 "faPrintWithSetup", "faPrintPreview", "-", "faExit", nullptr};
const char* const kEditMenu[] = {"eaUndo", "eaRedo", "-", "taOptions", "-", "taTilesetEditor",
                                 nullptr};
const char* const kViewMenu[] = {"vwOverview", nullptr};
const char* const kMapMenu[] = {"gaAddCol", "gaAddRow", "-", "gaDelCol", "gaDelRow", "-",
                                "gaRoom", "gaWall", "gaRooms", "gaDoors", "gaFill", "gaEraser",
                                "-", "gaNudgeLeft", "gaNudgeRight", "gaNudgeDown", "gaNudgeUp", "-",
                                "vwZoomIn", "vwZoomOut", "-", "faProperties", "-",
                                "maGenerateDungeon", nullptr};
const char* const kTileMenu[] = {"vwFlipHorizontal", "vwFlipVertical", "-",
                                 "vwRotateCClockwise", "vwRotateClockwise", nullptr};
const char* const kHelpMenu[] = {"haHelp", "haTessellanWeb", "-", "haAbout", nullptr};
const char* const kMainToolBar[] = {"faNewMap", "faOpen", "faSave", "-", "faPrint", "-",
                                    "vwZoomIn", "vwZoomOut", nullptr};
const char* const kMapToolBar[] = {"gaAddCol", "gaAddRow", "-", "gaDelCol", "gaDelRow", "-",
                                   "gaRoom", "gaWall", "gaRooms", "gaDoors", "gaFill", "gaEraser",
                                   "-", "eaUndo", "eaRedo", "-",
                                   "gaNudgeLeft", "gaNudgeRight", "gaNudgeDown", "gaNudgeUp", "-",
                                   "faProperties", nullptr};
const char* const kGridContextMenu[] = {"gaAddCol", "gaAddRow", "gaDelCol", "gaDelRow", "-",
                                        "gaRoom", "gaWall", "gaEraser", "-",
                                        "eaUndo", "eaRedo", "-",
                                        "gaNudgeLeft", "gaNudgeRight", "gaNudgeDown", "gaNudgeUp",
                                        "-", "faProperties", "faSave", "faSaveAs", "faClose",
                                        nullptr};
const char* const kEraseMenu[] = {"mnuEraseBase", "mnuEraseOverlay", "mnuEraseWall", "-",
                                  "mnuEraseAll", nullptr};
const char* const kTilesetContextMenu[] = {"faAddTileset", "faRemoveTileset", nullptr};
// clang-format on

namespace {

// "R", "." or "Ctrl+Z": a single character names its key (the portable text
// form reads "," as a sequence separator).
QKeySequence KeyOf(const QString& text) {
  if (text.size() == 1) return QKeySequence(int(text.at(0).toUpper().unicode()));
  return QKeySequence(text);
}

// Single keys are secondary shortcuts: they work, but menus show only the
// primary one.
bool IsSecondary(const QString& text) {
  return text.size() == 1;
}

bool IsEraser(const char* name) {
  return qstrcmp(name, "gaEraser") == 0;
}
bool IsSeparator(const char* name) {
  return qstrcmp(name, "-") == 0;
}

}  // namespace

TMainActions::TMainActions(TfrmMain& window) : fWindow(window) {
  fToolGroup = new QActionGroup(&window);
  fEraseGroup = new QActionGroup(&window);
  for (const TActionEntry& entry : MainActionTable()) {
    auto* action = new QAction(QString::fromUtf8(entry.Caption), &window);
    action->setObjectName(QString::fromUtf8(ActionName(entry.Id)));
    fById[size_t(entry.Id)] = action;
    // Hints show as tooltips, in menus too; the status bar keeps its panels.
    action->setToolTip(QString::fromUtf8(entry.Hint));
    QList<QKeySequence> keys;
    for (const QString& key :
         QString::fromUtf8(entry.Shortcuts).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      if (!IsSecondary(key)) {
        keys << KeyOf(key);
        continue;
      }
      // Triggering a disabled action does nothing, so the key follows the
      // command's enabled state.
      auto* shortcut = new QShortcut(KeyOf(key), &window);
      shortcut->setObjectName(action->objectName());
      QObject::connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
      fSecondary.push_back(shortcut);
    }
    action->setShortcuts(keys);
    if (entry.Image) action->setIcon(dmSharedBmpResources().Icon(QString::fromUtf8(entry.Image)));
    action->setData(entry.Tag);
    if (entry.Style != S::Plain) {
      action->setCheckable(true);
      action->setChecked(entry.Checked);
    }
    if (entry.Style == S::Tool) fToolGroup->addAction(action);
    if (entry.Style == S::EraseLayer) fEraseGroup->addAction(action);
    const auto execute = entry.Execute;
    QObject::connect(action, &QAction::triggered, &window,
                     Guarded([&window, execute] { execute(window); }));
    // In the window's action list, so that every shortcut works from
    // anywhere in the window, menu or not.
    window.addAction(action);
    fActions << action;
  }
  for (QAction* action : fById)
    if (!action) throw TError(QStringLiteral("The command table lacks a command"));
  Get(A::gaSelect)->setEnabled(false);
}

QList<QKeySequence> TMainActions::SecondaryKeys(const QString& name) const {
  QList<QKeySequence> keys;
  for (const QShortcut* shortcut : fSecondary)
    if (shortcut->objectName() == name) keys << shortcut->key();
  return keys;
}

QAction* TMainActions::Get(const QString& name) const {
  for (QAction* action : fActions)
    if (action->objectName() == name) return action;
  throw TError(QStringLiteral("The command ") + name + QStringLiteral(" does not exist"));
}

QAction* TMainActions::EraseItem(int tag) const {
  for (QAction* action : fEraseGroup->actions())
    if (action->data().toInt() == tag) return action;
  return nullptr;
}

QMenu* TMainActions::NewEraseMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  for (const char* const* name = kEraseMenu; *name; ++name) {
    if (IsSeparator(*name))
      menu->addSeparator();
    else
      menu->addAction(Get(QString::fromUtf8(*name)));
  }
  fEraseMenus << menu;
  return menu;
}

// The erase entry of a menu: a submenu captioned like the erase action whose
// enabled state follows it. Opening it picks the eraser, as clicking the
// entry does.
QMenu* TMainActions::EraseSubmenu(QWidget* parent) {
  QAction* eraser = Get(A::gaEraser);
  QMenu* menu = NewEraseMenu(parent);
  menu->setTitle(eraser->text());
  menu->setIcon(eraser->icon());
  menu->menuAction()->setStatusTip(eraser->statusTip());
  menu->menuAction()->setEnabled(eraser->isEnabled());
  QObject::connect(eraser, &QAction::changed, menu,
                   [menu, eraser] { menu->menuAction()->setEnabled(eraser->isEnabled()); });
  QObject::connect(menu, &QMenu::aboutToShow, eraser, [eraser] {
    if (!eraser->isChecked()) eraser->trigger();
  });
  return menu;
}

QMenu* TMainActions::PopErase() {
  if (fPopErase) return fPopErase;
  fPopErase = NewEraseMenu(&fWindow);
  fPopErase->setObjectName(QStringLiteral("popErase"));
  // Opening the drop-down picks the eraser as well.
  QObject::connect(fPopErase, &QMenu::aboutToShow, &fWindow, Guarded([this] {
                     fWindow.Engine().popErasePopup();
                     fWindow.UpdateControls();
                   }));
  return fPopErase;
}

QMenu* TMainActions::BuildMenu(const QString& title, const char* const* layout, QWidget* parent) {
  auto* menu = new QMenu(title, parent);
  menu->setToolTipsVisible(true);
  for (const char* const* name = layout; *name; ++name) {
    if (IsSeparator(*name))
      menu->addSeparator();
    else if (IsEraser(*name))
      menu->addMenu(EraseSubmenu(menu));
    else
      menu->addAction(Get(QString::fromUtf8(*name)));
  }
  return menu;
}

void TMainActions::FillToolBar(QToolBar* bar, const char* const* layout) {
  for (const char* const* name = layout; *name; ++name) {
    if (IsSeparator(*name)) {
      bar->addSeparator();
      continue;
    }
    QAction* action = Get(QString::fromUtf8(*name));
    bar->addAction(action);
    if (!IsEraser(*name)) continue;
    // The erase button: a click picks the eraser, its arrow drops down the
    // erase-layer items.
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
    if (!button) continue;
    button->setMenu(PopErase());
    button->setPopupMode(QToolButton::MenuButtonPopup);
  }
}
