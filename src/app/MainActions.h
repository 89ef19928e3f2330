#pragma once

#include <QList>
#include <QString>

#include <array>
#include <vector>

class QAction;
class QActionGroup;
class QKeySequence;
class QShortcut;
class QMenu;
class QToolBar;
class QWidget;
class TfrmMain;

// How an action behaves when triggered.
enum class TActionStyle {
  Plain,
  // Checkable on its own.
  Check,
  // One of the exclusive tool actions (place tiles, walls, erase, select).
  Tool,
  // One of the exclusive erase-layer items shared by the three erase menus;
  // its Tag is the erase menu tag.
  EraseLayer,
};

// Every command of the main window, in the order of its action list. Code
// names an action by its identifier; ActionName gives the text name, which is
// also the QAction's object name and what the layouts below list.
enum class TActionId {
  // clang-format off
  faNewMap, faOpen, faSave, faSaveAs, faSaveAll, faClose, faCloseAll, faExport, faAddTileset,
  faRemoveTileset, faPrintWithSetup, faPrint, faPrintPreview, faExit,
  eaUndo, eaRedo, taOptions, taTilesetEditor,
  gaAddCol, gaAddRow, gaDelCol, gaDelRow, gaRoom, gaWall, gaRooms, gaDoors, gaFill, gaEraser,
  gaSelect,
  mnuEraseBase, mnuEraseOverlay, mnuEraseWall, mnuEraseAll,
  gaNudgeLeft, gaNudgeRight, gaNudgeDown, gaNudgeUp, vwZoomIn, vwZoomOut, vwOverview, faProperties,
  maGenerateDungeon, vwFlipHorizontal, vwFlipVertical, vwRotateCClockwise, vwRotateClockwise,
  haHelp, haTessellanWeb, haAbout, vwBaseLayer, vwObjectsLayer, vwWallLayer,
  // clang-format on
  Count
};

const char* ActionName(TActionId id);

// One command of the main window: its identifier, exact caption and hint,
// shortcuts (the first primary, the others secondary, separated by blanks),
// button picture, style and handler.
struct TActionEntry {
  TActionId Id;
  const char* Caption;
  const char* Hint;
  const char* Shortcuts;
  const char* Image;
  TActionStyle Style;
  bool Checked;
  int Tag;
  void (*Execute)(TfrmMain& window);
};

// Every command of the main window, in the order of its action list.
const std::vector<TActionEntry>& MainActionTable();

// Where the commands appear: lists of action names, "-" for a separator and
// "gaEraser" for the erase entry with its four-item submenu (in a toolbar, a
// button with a drop-down), ending with nullptr.
extern const char* const kFileMenu[];
extern const char* const kEditMenu[];
extern const char* const kViewMenu[];
extern const char* const kMapMenu[];
extern const char* const kTileMenu[];
extern const char* const kHelpMenu[];
extern const char* const kMainToolBar[];
extern const char* const kMapToolBar[];
extern const char* const kGridContextMenu[];
// The context menu of the palette's tileset box.
extern const char* const kTilesetContextMenu[];
// The erase-layer items of each erase menu, by tag.
extern const char* const kEraseMenu[];

// The window's actions made from the table, and the menus and toolbars built
// from the layouts above. Every handler is guarded: an error it raises is
// shown by the default error display.
class TMainActions {
 public:
  // The actions become children of the window, in its action list.
  explicit TMainActions(TfrmMain& window);

  QAction* Get(TActionId id) const { return fById[size_t(id)]; }
  // The action of that name; a name not in the table raises TError.
  QAction* Get(const QString& name) const;
  const QList<QAction*>& All() const { return fActions; }
  QActionGroup* ToolGroup() const { return fToolGroup; }
  // The single-key shortcuts of an action, which its menu entries do not show.
  QList<QKeySequence> SecondaryKeys(const QString& name) const;
  // The erase-layer item of a tag (0 floor, 1 objects, 2 walls, 3 all).
  QAction* EraseItem(int tag) const;

  // A menu (or submenu) with the layout's entries.
  QMenu* BuildMenu(const QString& title, const char* const* layout, QWidget* parent);
  // Fills a toolbar with the layout's buttons.
  void FillToolBar(QToolBar* bar, const char* const* layout);
  // The erase menus made so far (submenus and the drop-down), in the order
  // built.
  const QList<QMenu*>& EraseMenus() const { return fEraseMenus; }
  // The toolbar button's drop-down (made on first use).
  QMenu* PopErase();

 private:
  QMenu* NewEraseMenu(QWidget* parent);
  QMenu* EraseSubmenu(QWidget* parent);

  TfrmMain& fWindow;
  QList<QAction*> fActions;
  std::array<QAction*, size_t(TActionId::Count)> fById{};
  QList<QShortcut*> fSecondary;
  QActionGroup* fToolGroup = nullptr;
  QActionGroup* fEraseGroup = nullptr;
  QList<QMenu*> fEraseMenus;
  QMenu* fPopErase = nullptr;
};
