// The main window as a user drives it: start-up state, painting on the grid,
// tools, menus and the enabled states of the editing commands.
#include "WindowTestSupport.h"
#include "app/MainActions.h"
#include "app/PaletteColumn.h"
#include "editor/EditSession.h"
#include "editor/SubCellPainter.h"
#include "editor/controls/ArrangeGrid.h"
#include "editor/controls/MapGrid.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "tiles/TileObjects.h"
#include "tiles/TilesetList.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/GrfxBtn.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// The base layer cell by cell: '#' where all four sub-cells hold a tile,
// '.' where none does, '?' for anything in between.
std::string BaseCells(const TTileMap& map) {
  std::string picture;
  for (int r = 0; r < map.Height() / 2; ++r) {
    for (int c = 0; c < map.Width() / 2; ++c) {
      int filled = 0;
      for (int q = 0; q < 4; ++q)
        filled += map.GetTile(mlBase, 2 * c + q % 2, 2 * r + q / 2) != nullptr;
      picture += filled == 4 ? '#' : filled == 0 ? '.' : '?';
    }
    picture += '\n';
  }
  return picture;
}

const char* const kEmptyMap =
    "........\n........\n........\n........\n........\n"
    "........\n........\n........\n........\n........\n";

}  // namespace

using TMainWindowTest = TWindowTest;

TEST_F(TMainWindowTest, StartsWithOneNewMapAndTheFirstFloorSelected) {
  EXPECT_EQ(window->windowTitle(), "Tessellan");
  ASSERT_EQ(window->MapTabs()->count(), 1);
  EXPECT_EQ(window->MapTabs()->tabText(0), "BattleMap");
  ASSERT_NE(window->CurrentMap(), nullptr);
  EXPECT_EQ(window->CurrentMap()->MapName(), "BattleMap");
  EXPECT_EQ(window->MapPanel()->Caption(), "Map - BattleMap");
  // The tab strip shows below the grid.
  EXPECT_GT(window->MapTabs()->height(), 0);
  EXPECT_GE(window->MapTabs()->y(), window->MapGrid()->geometry().bottom());
  EXPECT_EQ(window->MapTabs()->shape(), QTabBar::RoundedSouth);
  EXPECT_EQ(window->MapGrid()->Model().CellWidth(), 48);
  EXPECT_EQ(window->MapGrid()->Model().CellColCount(), 8);
  EXPECT_EQ(window->MapGrid()->Model().CellRowCount(), 10);

  const TPaletteColumn& column = *window->PaletteColumn();
  EXPECT_EQ(column.TilesetBox()->currentText(), "ExampleTileset");
  EXPECT_EQ(column.CategoryBox()->currentText(), "Floors");
  EXPECT_TRUE(column.TilesetBox()->toolTip().startsWith("Author: "));
  EXPECT_GT(column.Grid()->NumItems(), 1);
  EXPECT_EQ(column.Grid()->Selected(), 0);
  EXPECT_TRUE(column.Grid()->isEnabled());
  EXPECT_EQ(window->Status()->PanelText(2).section(" - ", 0, 0), "Flagstones");
  EXPECT_EQ(window->Status()->PanelText(1), "1 inch grid - 25 mm Miniatures");
  EXPECT_FALSE(window->Status()->PanelHasImage(0));

  EXPECT_TRUE(Action("gaRoom")->isChecked());
  EXPECT_TRUE(Action("mnuEraseAll")->isChecked());
  EXPECT_FALSE(Action("gaSelect")->isEnabled());
  EXPECT_FALSE(Action("eaUndo")->isEnabled());
  EXPECT_FALSE(Action("eaRedo")->isEnabled());
  EXPECT_EQ(BaseCells(*window->CurrentMap()), kEmptyMap);
}

TEST_F(TMainWindowTest, DraggingPaintsTheFloorAsOneUndoStep) {
  TTileMap& map = *window->CurrentMap();
  DragOnGrid(1, 1, 3, 2);
  EXPECT_EQ(BaseCells(map),
            "........\n"
            ".###....\n"
            ".###....\n"
            "........\n........\n........\n........\n........\n........\n........\n");
  EXPECT_EQ(map.UndoList().Count(), 1);
  EXPECT_TRUE(map.Modified());
  EXPECT_TRUE(window->Status()->PanelHasImage(0));
  EXPECT_FALSE(window->Status()->PanelHint(0).isEmpty());
  EXPECT_TRUE(Action("eaUndo")->isEnabled());

  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(BaseCells(map), kEmptyMap);
  EXPECT_FALSE(Action("eaUndo")->isEnabled());
  EXPECT_TRUE(Action("eaRedo")->isEnabled());

  QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(BaseCells(map).substr(9, 9), ".###....\n");
}

TEST_F(TMainWindowTest, TheWallToolShowsWallStylesInsteadOfTheTilesetBoxes) {
  TPaletteColumn& column = *window->PaletteColumn();
  const int floors = column.Grid()->NumItems();
  QTest::keyClick(window.get(), Qt::Key_W);
  EXPECT_TRUE(Action("gaWall")->isChecked());
  EXPECT_TRUE(column.TilesetControls()->isHidden());
  EXPECT_EQ(window->Engine().CurrentTileset(), TilesetList().Items(0));
  EXPECT_EQ(column.Grid()->NumItems(), 2);
  EXPECT_EQ(window->Status()->PanelText(2).section(" - ", 0, 0), "Standard");
  // No rotating or flipping a wall style.
  EXPECT_FALSE(Action("vwRotateClockwise")->isEnabled());
  EXPECT_FALSE(column.PreviewButton(3)->isEnabled());

  // A wall along the top edge of a cell.
  DragOnGrid(2, 2, 2, 2);
  EXPECT_NE(window->CurrentMap()->GetTile(mlWall, 4, 4), nullptr);

  QTest::keyClick(window.get(), Qt::Key_R);
  EXPECT_TRUE(Action("gaRoom")->isChecked());
  EXPECT_FALSE(column.TilesetControls()->isHidden());
  EXPECT_EQ(column.TilesetBox()->currentIndex(), 0);
  EXPECT_EQ(column.CategoryBox()->currentText(), "Floors");
  EXPECT_EQ(column.Grid()->NumItems(), floors);
  EXPECT_TRUE(Action("vwRotateClockwise")->isEnabled());
  EXPECT_TRUE(column.PreviewButton(3)->isEnabled());
}

// A wall from the press on the grid to the stored map and back to the
// screen: each step repaints only the sub-cells it changed (the post outside
// the selected cell included), and the grid then shows what a full repaint
// would.
TEST_F(TMainWindowTest, EachEditRepaintsOnlyWhatItChanged) {
  TMapGrid& grid = *window->MapGrid();
  TTileMap& map = *window->CurrentMap();
  // Counts the sub-cells the grid paints and passes them on to the window's
  // painter, for as long as the test runs.
  struct TCountingPainter : TSubCellPainter {
    explicit TCountingPainter(TMapGrid& grid) : Grid(grid), Inner(grid.OnDrawSubCell()) {
      Grid.SetOnDrawSubCell(this);
    }
    ~TCountingPainter() { Grid.SetOnDrawSubCell(Inner); }
    void DrawSubCell(int col, int row, int subCol, int subRow, const QRect& rect, QPainter& canvas,
                     bool selected) override {
      ++Draws;
      Inner->DrawSubCell(col, row, subCol, subRow, rect, canvas, selected);
    }
    TMapGrid& Grid;
    TSubCellPainter* Inner;
    int Draws = 0;
  } counting(grid);
  ASSERT_NE(counting.Inner, nullptr);
  int& draws = counting.Draws;
  const int w = grid.Model().CellWidth();
  const auto drag = [&](const QPoint& point) {
    QTest::mouseMove(grid.viewport(), point);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, point);
  };
  const auto expectShown = [&](const char* step, int repainted) {
    SCOPED_TRACE(step);
    EXPECT_EQ(draws, repainted);
    grid.Model().ForgetHover();
    const QImage shown = grid.Picture().copy();
    grid.Model().RedrawAll();
    EXPECT_EQ(shown, grid.Picture());
    draws = 0;
  };
  QTest::keyClick(window.get(), Qt::Key_W);
  draws = 0;

  drag(QPoint(3 * w - 2, w + w / 2));  // the right edge of cell (2, 1)
  expectShown("right wall", 2);
  drag(QPoint(3 * w + w / 2, 2 * w + 2));  // the top edge of cell (3, 2)
  ASSERT_NE(map.GetTile(mlWall, 5, 4), nullptr);
  expectShown("top wall and its post", 3);
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(map.GetTile(mlWall, 5, 4), nullptr);
  expectShown("undo", 3);
  QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
  expectShown("redo", 3);

  // A nudge moves everything.
  window->Engine().gaNudgeLeftExecute();
  EXPECT_NE(map.GetTile(mlWall, 3, 4), nullptr);
  EXPECT_GT(draws, 100);
  expectShown("nudge", draws);
}

TEST_F(TMainWindowTest, TheThreeEraseMenusShowOneCheckedLayer) {
  const QList<QMenu*>& menus = window->Actions().EraseMenus();
  ASSERT_EQ(menus.size(), 3);
  const auto checkedIn = [](const QMenu* menu) {
    std::string checked;
    for (const QAction* action : menu->actions())
      if (action->isChecked()) checked += action->text().toStdString() + ";";
    return checked;
  };
  const struct {
    const char* Item;
    int Layer;
    const char* Checked;
  } cases[] = {{"mnuEraseOverlay", 1, "Erase &Object Tiles;"},
               {"mnuEraseWall", 2, "Erase &Wall Tiles;"},
               {"mnuEraseBase", 0, "Erase &Floor Tiles;"},
               {"mnuEraseAll", -1, "Erase &All Tiles;"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Item);
    Run(c.Item);
    EXPECT_EQ(window->Engine().EraseLayer(), c.Layer);
    for (const QMenu* menu : menus)
      EXPECT_EQ(checkedIn(menu), c.Checked);
  }
  // Choosing a layer does not switch the tool; opening an erase menu does.
  EXPECT_TRUE(Action("gaRoom")->isChecked());
  emit menus[1]->aboutToShow();
  EXPECT_TRUE(Action("gaEraser")->isChecked());
  EXPECT_EQ(window->Engine().Tool(), etErase);
}

TEST_F(TMainWindowTest, ColumnsAndRowsStopAtFiftyAndOne) {
  const TMapGridModel& grid = window->MapGrid()->Model();
  for (int i = 0; i < 60 && Action("gaAddCol")->isEnabled(); ++i)
    Run("gaAddCol");
  EXPECT_EQ(grid.CellColCount(), 50);
  EXPECT_EQ(window->CurrentMap()->Width(), 100);
  EXPECT_FALSE(Action("gaAddCol")->isEnabled());
  EXPECT_TRUE(Action("gaAddRow")->isEnabled());

  for (int i = 0; i < 60 && Action("gaDelCol")->isEnabled(); ++i)
    Run("gaDelCol");
  EXPECT_EQ(grid.CellColCount(), 1);
  EXPECT_FALSE(Action("gaDelCol")->isEnabled());
  EXPECT_TRUE(Action("gaAddCol")->isEnabled());

  for (int i = 0; i < 60 && Action("gaDelRow")->isEnabled(); ++i)
    Run("gaDelRow");
  EXPECT_EQ(grid.CellRowCount(), 1);
  EXPECT_EQ(window->CurrentMap()->Height(), 2);

  // Undo brings the last row back, and Delete Row with it.
  Run("eaUndo");
  EXPECT_EQ(grid.CellRowCount(), 2);
  EXPECT_TRUE(Action("gaDelRow")->isEnabled());
}

TEST_F(TMainWindowTest, MenusAndTheGridContextMenuListTheirCommandsInOrder) {
  EXPECT_EQ(
      Entries(window->GridMenu()),
      (std::vector<std::string>{"Add &Column", "&Add Row",        "&Delete Column", "De&lete Row",
                                "-",           "Place &Tiles",    "Place &Walls",   "&Erase Tiles",
                                "-",           "&Undo",           "&Redo",          "-",
                                "Nudge Le&ft", "Nudge Ri&ght",    "Nudge Dow&n",    "Nudge U&p",
                                "-",           "&Map Properties", "&Save",          "Save &As...",
                                "&Close"}));
  const QAction* erase = window->GridMenu()->actions().at(7);
  ASSERT_NE(erase->menu(), nullptr);
  EXPECT_EQ(Entries(erase->menu()),
            (std::vector<std::string>{"Erase &Floor Tiles", "Erase &Object Tiles",
                                      "Erase &Wall Tiles", "-", "Erase &All Tiles"}));

  std::vector<std::string> menus;
  for (const QAction* menu : window->menuBar()->actions())
    menus.push_back(menu->text().toStdString());
  EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&Edit", "&View", "&Map", "&Tile", "&Help"}));
  const auto menu = [this](int index) {
    return Entries(window->menuBar()->actions().at(index)->menu());
  };
  EXPECT_EQ(menu(0), (std::vector<std::string>{"&New Map...", "&Open...", "-", "&Save",
                                               "Save &As...", "Sa&ve All", "&Close", "C&lose All",
                                               "Export to &Bitmap...", "-", "Add &Tileset...", "-",
                                               "&Print...", "Print Pre&view", "-", "E&xit"}));
  EXPECT_EQ(menu(1),
            (std::vector<std::string>{"&Undo", "&Redo", "-", "&Options", "-", "&Tileset Editor"}));
  EXPECT_EQ(menu(2), (std::vector<std::string>{"&Overview"}));
  EXPECT_EQ(menu(3), (std::vector<std::string>{"Add &Column",
                                               "&Add Row",
                                               "-",
                                               "&Delete Column",
                                               "De&lete Row",
                                               "-",
                                               "Place &Tiles",
                                               "Place &Walls",
                                               "Place R&ooms",
                                               "Place &Doors",
                                               "&Fill Floor",
                                               "&Erase Tiles",
                                               "-",
                                               "Nudge Le&ft",
                                               "Nudge Ri&ght",
                                               "Nudge Dow&n",
                                               "Nudge U&p",
                                               "-",
                                               "Zoom &In",
                                               "Zoom &Out",
                                               "-",
                                               "&Map Properties",
                                               "-",
                                               "Generate D&ungeon..."}));
  EXPECT_EQ(menu(4), (std::vector<std::string>{"Flip &Horizontal", "Flip &Vertical", "-",
                                               "Rotate Counter Clock&wise", "Rotate &Clockwise"}));
  EXPECT_EQ(menu(5), (std::vector<std::string>{"&Tessellan Help", "Tessellan on the &Web", "-",
                                               "&About Tessellan"}));
  const auto bar = [this](const char* name) {
    std::vector<std::string> names;
    for (const QAction* action : window->findChild<QToolBar*>(QLatin1String(name))->actions())
      names.push_back(action->isSeparator() ? "-" : action->objectName().toStdString());
    return names;
  };
  EXPECT_EQ(bar("tbMain"), (std::vector<std::string>{"faNewMap", "faOpen", "faSave", "-", "faPrint",
                                                     "-", "vwZoomIn", "vwZoomOut"}));
  EXPECT_EQ(bar("tbMap"),
            (std::vector<std::string>{
                "gaAddCol",    "gaAddRow",  "-",       "gaDelCol",    "gaDelRow",    "-",
                "gaRoom",      "gaWall",    "gaRooms", "gaDoors",     "gaFill",      "gaEraser",
                "-",           "eaUndo",    "eaRedo",  "-",           "gaNudgeLeft", "gaNudgeRight",
                "gaNudgeDown", "gaNudgeUp", "-",       "faProperties"}));

  // The layer actions are in the action list and nowhere else.
  for (const char* name : {"vwBaseLayer", "vwObjectsLayer", "vwWallLayer"}) {
    EXPECT_TRUE(window->actions().contains(Action(name)));
    EXPECT_TRUE(Action(name)->isChecked());
    EXPECT_EQ(Action(name)->associatedObjects().size(), 1) << name;
  }
}

// Every command's hint, the primary shortcut a menu shows and the single
// keys that work besides it (the captions are checked in the menus above).
TEST_F(TMainWindowTest, EveryCommandCarriesItsHintAndShortcuts) {
  using K = QKeySequence;
  const struct {
    const char* Name;
    const char* Hint;
    QList<QKeySequence> Primary;
    QList<QKeySequence> Secondary;
  } table[] = {
      {"faNewMap", "New Map", {K(Qt::CTRL | Qt::Key_N)}, {}},
      {"faOpen", "Open", {K(Qt::CTRL | Qt::Key_O)}, {}},
      {"faSave", "Save", {K(Qt::CTRL | Qt::Key_S)}, {}},
      {"faSaveAs", "Save As", {}, {}},
      {"faSaveAll", "Save All", {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, {}},
      {"faClose", "Close Map", {}, {}},
      {"faCloseAll", "Close All", {}, {}},
      {"faExport", "Export to Bitmap", {}, {}},
      {"faAddTileset", "Add an existing tileset to the tileset list", {}, {}},
      {"faPrintWithSetup", "Print with Setup", {K(Qt::CTRL | Qt::Key_P)}, {}},
      {"faPrint", "Print", {}, {}},
      {"faPrintPreview", "Print Preview", {}, {}},
      {"faExit", "Exit", {}, {}},
      {"eaUndo", "Undo", {K(Qt::CTRL | Qt::Key_Z)}, {}},
      {"eaRedo", "Redo", {K(Qt::CTRL | Qt::Key_R)}, {}},
      {"taOptions", "Options", {}, {}},
      {"taTilesetEditor", "Tileset Editor", {}, {}},
      {"gaAddCol", "Add Column", {}, {}},
      {"gaAddRow", "Add Row", {}, {}},
      {"gaDelCol", "Delete Column", {}, {}},
      {"gaDelRow", "Delete Row", {}, {}},
      {"gaRoom", "Place Tiles", {}, {K(Qt::Key_R)}},
      {"gaWall", "Place Walls", {}, {K(Qt::Key_W)}},
      {"gaEraser", "Erase Tiles", {}, {K(Qt::Key_E)}},
      {"gaRooms", "Place Rooms", {}, {K(Qt::Key_O)}},
      {"gaDoors", "Place Doors", {}, {K(Qt::Key_D)}},
      {"gaFill", "Fill Floor", {}, {K(Qt::Key_F)}},
      {"gaNudgeLeft", "Nudge Map Left", {}, {}},
      {"gaNudgeRight", "Nudge Map Right", {}, {}},
      {"gaNudgeDown", "Nudge Map Down", {}, {}},
      {"gaNudgeUp", "Nudge Map Up", {}, {}},
      {"vwZoomIn", "Zoom In", {}, {K(Qt::Key_Equal), K(Qt::Key_Plus)}},
      {"vwZoomOut", "Zoom Out", {}, {K(Qt::Key_Minus), K(Qt::Key_Underscore)}},
      {"faProperties", "Properties", {}, {}},
      {"maGenerateDungeon", "Generate Dungeon", {}, {}},
      {"vwFlipHorizontal", "Flip Horizontally", {}, {}},
      {"vwFlipVertical", "Flip Vertically", {}, {}},
      {"vwRotateCClockwise", "Rotate Counter Clockwise", {}, {K(Qt::Key_Comma), K(Qt::Key_Less)}},
      {"vwRotateClockwise", "Rotate Clockwise", {}, {K(Qt::Key_Period), K(Qt::Key_Greater)}},
      {"haHelp", "Help", {}, {}},
      {"haTessellanWeb", "Tessellan Website", {}, {}},
      {"haAbout", "About", {}, {}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.Name);
    const QAction* action = Action(row.Name);
    EXPECT_EQ(action->toolTip(), QLatin1String(row.Hint));
    EXPECT_EQ(action->shortcuts(), row.Primary);
    EXPECT_EQ(window->Actions().SecondaryKeys(QLatin1String(row.Name)), row.Secondary);
  }
}

TEST_F(TMainWindowTest, RotatingTurnsThePreviewAndFootprintUntilAnotherPick) {
  TPaletteColumn& column = *window->PaletteColumn();
  int mosaic = -1;  // a 2 x 2 pattern
  for (int i = 0; i < window->Palette().Groups().Count(); ++i)
    if (window->Palette().Groups().At(i)->GroupName() == "Mosaic") mosaic = i;
  ASSERT_GE(mosaic, 0);
  column.Grid()->SetSelected(mosaic);
  EXPECT_EQ(window->MapGrid()->Model().CursorRectWidth(), 2);
  const QImage before = column.PreviewImage()->pixmap().toImage();
  QTest::keyClick(window.get(), Qt::Key_Period);
  EXPECT_EQ(window->Engine().Orientation(), 1);
  EXPECT_NE(column.PreviewImage()->pixmap().toImage(), before);
  QTest::mouseClick(column.PreviewButton(0), Qt::LeftButton);  // flip horizontal: 1 -> 6
  EXPECT_EQ(window->Engine().Orientation(), 6);
  column.Grid()->SetSelected(mosaic);
  EXPECT_EQ(window->Engine().Orientation(), 0);
  EXPECT_EQ(column.PreviewImage()->pixmap().toImage(), before);
}

TEST_F(TMainWindowTest, WheelAndCommandsZoomAboutThePointerAndTheMiddleButtonDragsTheView) {
  TTileMap* map = window->CurrentMap();
  map->SetWidth(100);
  map->SetHeight(100);
  map->SetModified(false);
  TMapGridModel& grid = window->MapGrid()->Model();
  QWidget* viewport = window->MapGrid()->viewport();
  const auto wheel = [viewport](QPoint at, int notches, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
  };

  // The map point under the pointer stays under it: cell (4 1/6, 3 1/8) at
  // 48 pixels lies at (267, 200) at 64.
  wheel(QPoint(200, 150), 1, Qt::ControlModifier);
  EXPECT_EQ(window->Painter().CellSize(), 64);
  EXPECT_EQ(grid.ScrollX(), 67);
  EXPECT_EQ(grid.ScrollY(), 50);
  wheel(QPoint(200, 150), 3, Qt::ControlModifier);  // stops at the largest step
  EXPECT_EQ(window->Painter().CellSize(), 96);
  EXPECT_FALSE(Action("vwZoomIn")->isEnabled());
  wheel(QPoint(0, 0), -4, Qt::ControlModifier);
  EXPECT_EQ(window->Painter().CellSize(), 32);
  EXPECT_EQ(grid.ScrollX(), 67);  // cell 2 1/12 stays in the corner: 200 / 96 * 32
  EXPECT_FALSE(Action("vwZoomOut")->isEnabled());
  EXPECT_TRUE(Action("vwZoomIn")->isEnabled());

  // Without Ctrl the wheel scrolls as usual.
  wheel(QPoint(100, 100), -1, Qt::NoModifier);
  EXPECT_EQ(window->Painter().CellSize(), 32);
  EXPECT_GT(grid.ScrollY(), 0);

  // The middle button moves the paper and selects nothing.
  const QPoint before(grid.ScrollX(), grid.ScrollY());
  QTest::mousePress(viewport, Qt::MiddleButton, Qt::NoModifier, QPoint(300, 300));
  QMouseEvent move(QEvent::MouseMove, QPointF(250, 200), viewport->mapToGlobal(QPointF(250, 200)),
                   Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QTest::mouseRelease(viewport, Qt::MiddleButton, Qt::NoModifier, QPoint(250, 200));
  EXPECT_EQ(QPoint(grid.ScrollX(), grid.ScrollY()), before + QPoint(50, 100));
  EXPECT_FALSE(map->Modified());
  EXPECT_EQ(map->UndoList().Count(), 0);

  // The zoom commands take the same steps (their limits are checked with the
  // painter) and keep the grid in step.
  Run("vwZoomIn");
  EXPECT_EQ(window->Painter().CellSize(), 48);
  EXPECT_EQ(grid.CellWidth(), 48);
  EXPECT_TRUE(Action("vwZoomOut")->isEnabled());
  Run("vwZoomOut");
  EXPECT_EQ(grid.CellWidth(), 32);
}
