#include "EditorTestSupport.h"
#include "TilesetFixture.h"
#include "editor/EditScript.h"
#include "map/UndoRedoU.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(EditScriptParsing, BadLinesNameTheirLineAndTheProblem) {
  struct TCase {
    const char* script;
    const char* message;
  };
  const TCase cases[] = {
      {"undo\n\n# a comment\npaint 1 2", "line 4: unknown command \"paint\""},
      {"rotate left", "line 1: bad argument \"left\" for rotate (expected cw|ccw)"},
      {"flip", "line 1: flip takes one argument: h|v"},
      {"tool brush", "line 1: bad argument \"brush\" for tool (expected tiles|walls|erase|rooms|doors|fill)"},
      {"erase-layer floor",
       "line 1: bad argument \"floor\" for erase-layer (expected all|base|objects|walls)"},
      {"nudge sideways",
       "line 1: bad argument \"sideways\" for nudge (expected left|right|up|down)"},
      {"seed -1", "line 1: bad number \"-1\" for seed (expected 0 to 4294967295)"},
      {"seed", "line 1: seed takes one number"},
      {"drag 1 2 3", "line 1: drag needs C0 R0 C1 R1"},
      {"drag 1 2 3 x", "line 1: bad number \"x\" for drag"},
      {"drag 0 0 1 1 sub 2 0", "line 1: bad sub-cell \"2\" (expected 0 or 1)"},
      {"drag 0 0 1 1 sub 1", "line 1: sub needs SX SY"},
      {"drag 0 0 1 1 edge middle",
       "line 1: bad argument \"middle\" for edge (expected "
       "top|right|bottom|left)"},
      {"drag 0 0 1 1 edge top edge left", "line 1: bad argument \"edge\" for drag"},
      {"drag 0 0 1 1 corner", "line 1: bad argument \"corner\" for drag"},
      {"addcol 3", "line 1: addcol takes no arguments"},
      {"tileset   # nothing named", "line 1: tileset needs a name"},
      {"undo\r\nredo\r\nUndo\r\n", "line 3: unknown command \"Undo\""},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.script);
    try {
      TEditScript::Parse(QString::fromUtf8(test.script));
      ADD_FAILURE() << "no error";
    } catch (const TScriptError& error) {
      EXPECT_EQ(error.Message(), QString::fromUtf8(test.message));
    }
  }
}

TEST(EditScriptParsing, CommentsBlankLinesAndQuotedNames) {
  const TEditScript script = TEditScript::Parse(
      QStringLiteral("# a room\n\n  tileset \"Example Set\"  \ngroup Door, Closed # the door\n"
                     "drag 0 0 3 3 edge left sub 1 1\nundo\t\n"));
  EXPECT_EQ(script.Count(), 4);
}

// Test tilesets: "T" with floors Slate (1 x 1 Pattern), Gravel (2 x 1
// Random) and Rug (2 x 2 Fixed), and the object Table (2 x 1 Pattern); the
// wall tileset's styles Standard and Stone.
class EditScriptTest : public TilesetFixture {
 protected:
  void SetUp() override {
    TilesetFixture::SetUp();
    AddTileset(QStringLiteral("t.tls"), QStringLiteral("T"),
               {Group("Slate", "Floors"), Group("Gravel", "Floors", 2, 1, 0, 0),
                Group("Rug", "Floors", 2, 2, 0, 1), Group("Table", "Placeables", 2, 1, 1, 2)});
    Start();
    TTileSet* tileSet = TilesetList().Items(1);
    const char letters[] = {'S', 'G', 'A', 'T'};
    for (int i = 0; i < 4; ++i)
      names.NameGroup(*tileSet->GroupAt(i), letters[i]);
  }
  void Run(const char* script) { TEditScript::Parse(QString::fromUtf8(script)).Run(*session); }

  TTestTiles names;
};

// Scripts of every placing and editing command and what they leave in one
// layer of the 8 x 5 map.
TEST_F(EditScriptTest, CommandsActAsTheUserWould) {
  struct TCase {
    const char* script;
    int layer;
    const char* picture;
  };
  const TCase cases[] = {
      {"group Slate\ndrag 0 0 1 1", mlBase, "SS......\nSS......\n........\n........\n........"},
      {"group Rug\nrotate cw\ndrag 1 0 1 0", mlBase,
       ".CA.....\n.DB.....\n........\n........\n........"},
      {"group Rug\nrotate ccw\ndrag 1 0 1 0", mlBase,
       ".BD.....\n.AC.....\n........\n........\n........"},
      {"group Rug\nflip h\ndrag 1 0 1 0", mlBase,
       ".BA.....\n.DC.....\n........\n........\n........"},
      {"group Rug\nflip v\ndrag 1 0 5 4", mlBase,
       ".CD.....\n.AB.....\n........\n........\n........"},
      {"group Slate\ndrag 0 0 3 2\ntool erase\ndrag 1 1 2 1", mlBase,
       "SSSS....\nS..S....\nSSSS....\n........\n........"},
      {"group Slate\ndrag 0 0 0 0\ngroup Table\ndrag 0 0 0 0\ntool erase\n"
       "erase-layer objects\ndrag 0 0 1 0",
       mlBase, "S.......\n........\n........\n........\n........"},
      {"group Slate\ndrag 0 0 0 0\ngroup Table\ndrag 0 0 0 0\ntool erase\n"
       "erase-layer objects\ndrag 0 0 1 0",
       mlOverlay, "........\n........\n........\n........\n........"},
      {"group Slate\ndrag 0 0 0 0\ngroup Table\ndrag 0 0 0 0\ntool erase\n"
       "erase-layer base\ndrag 0 0 1 0",
       mlOverlay, "TU......\n........\n........\n........\n........"},
      {"tool erase\ngroup Slate\ndrag 2 0 2 0", mlBase,
       "..S.....\n........\n........\n........\n........"},
      {"group Slate\ndrag 0 0 0 0\nnudge right\nnudge down\nnudge down\nnudge left", mlBase,
       "........\n........\nS.......\n........\n........"},
      {"group Slate\ndrag 0 0 0 0\ndrag 1 0 1 0\nundo", mlBase,
       "S.......\n........\n........\n........\n........"},
      {"group Slate\ndrag 0 0 0 0\ndrag 1 0 1 0\nundo\nundo\nredo", mlBase,
       "S.......\n........\n........\n........\n........"},
      {"group Table\ndrag 6 3 6 3\ndelcol\naddcol", mlOverlay,
       "........\n........\n........\n......T.\n........"},
      {"group Table\ndrag 6 3 6 3\ndelcol\nundo", mlOverlay,
       "........\n........\n........\n......TU\n........"},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.script);
    session.reset();
    Start();
    Run(test.script);
    EXPECT_EQ(names.CellPicture(*map, test.layer), test.picture);
  }
}

// An object's 4 x 2 sub-cell footprint starts on the sub-cell the drag
// starts on; dragged with an edge, it is centred on that edge of the cell,
// starting half a cell before it.
TEST_F(EditScriptTest, ObjectsFollowTheSubCellOrEdgeTheDragNames) {
  struct TCase {
    const char* script;
    int left;  // first sub-cell column covered, or -1 for an error
    int top;
    const char* message;
  };
  const TCase cases[] = {
      {"drag 1 1 1 1 sub 1 0", 3, 2, ""},
      {"drag 2 2 2 2 edge top", 4, 3, ""},
      {"drag 2 2 2 2 edge right", 5, 4, ""},
      {"drag 2 2 2 2 edge bottom", 4, 5, ""},
      {"drag 2 2 2 2 edge left", 3, 4, ""},
      {"drag 2 2 2 2 sub 1 0 edge top", 5, 3, ""},
      {"drag 2 2 2 2 sub 0 1 edge left", 3, 5, ""},
      {"drag 2 0 2 0 edge top", -1, 0, "line 2: edge top of row 0 lies outside the map"},
      {"drag 0 2 0 2 edge left", -1, 0, "line 2: edge left of column 0 lies outside the map"},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.script);
    session.reset();
    Start();
    try {
      Run((std::string("group Table\n") + test.script).c_str());
      EXPECT_GE(test.left, 0) << "no error";
    } catch (const TScriptError& error) {
      EXPECT_EQ(error.Message(), QString::fromUtf8(test.message));
      continue;
    }
    for (int y = 0; y < map->Height(); ++y)
      for (int x = 0; x < map->Width(); ++x) {
        const bool covered =
            x >= test.left && x < test.left + 4 && y >= test.top && y < test.top + 2;
        EXPECT_EQ(map->GetTile(mlOverlay, x, y) != nullptr, covered) << x << "," << y;
      }
  }
}

TEST_F(EditScriptTest, SeededRandomFloorsRepeat) {
  Run("group Gravel\nseed 7\ndrag 0 0 7 0");
  std::mt19937 byHand(7);
  std::string row;
  for (int c = 0; c < 8; ++c) {
    const int a = std::uniform_int_distribution<int>(0, 1)(byHand);
    std::uniform_int_distribution<int>(0, 0)(byHand);
    row += char('G' + a);
  }
  EXPECT_EQ(names.CellPicture(*map, mlBase).substr(0, 8), row);
}

TEST_F(EditScriptTest, MapSizeCommands) {
  Run("addcol\naddrow\naddrow\ndelcol\ndelcol");
  EXPECT_EQ(map->Width(), 14);
  EXPECT_EQ(map->Height(), 14);
  EXPECT_EQ(grid.CellColCount(), 7);
  EXPECT_EQ(map->UndoList().Count(), 5);
  Run("undo\nundo");
  EXPECT_EQ(map->Width(), 18);
  EXPECT_EQ(grid.CellColCount(), 9);
}

TEST_F(EditScriptTest, WallStylesAndEdges) {
  Run("delcol\ndelcol\ndelcol\ndelcol\ndelrow\ndelrow\n"
      "walls Stone\ndrag 0 1 1 1 edge top\ntool walls\nwalls Standard\ndrag 1 1 1 1 edge right");
  TTestTiles stone;
  stone.NameWallStyle(*Palette().Groups().At(1));
  TTestTiles standard;
  standard.NameWallStyle(*Palette().Groups().At(0));
  // Stone's top walls; Standard's right wall replaces the last of them, since
  // corners join the pieces of one style only.
  EXPECT_EQ(stone.SubCellPicture(*map, mlWall), Lines(R"(
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
40 41 40 ?? .. .. .. ..
.. .. .. ?? .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)"));
  EXPECT_EQ(standard.SubCellPicture(*map, mlWall), Lines(R"(
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..
?? ?? ?? 51 .. .. .. ..
.. .. .. 53 .. .. .. ..
.. .. .. .. .. .. .. ..
.. .. .. .. .. .. .. ..)"));
}

TEST_F(EditScriptTest, CommandsTheEditorWouldNotOfferStopTheScript) {
  struct TCase {
    const char* script;
    const char* message;
  };
  const TCase cases[] = {
      {"tileset Nope", "line 1: no installed tileset is named \"Nope\""},
      {"group Nope", "line 1: the tileset \"T\" has no group named \"Nope\""},
      {"tool walls\ngroup Slate",
       "line 2: group: the wall tool is active (choose a style with "
       "walls)"},
      {"tool walls\ntileset T", "line 2: tileset: not available while the wall tool is active"},
      {"walls Odd", "line 1: no wall style is named \"Odd\""},
      {"tool walls\nrotate cw", "line 2: walls cannot be rotated or flipped"},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.script);
    session.reset();
    Start();
    try {
      Run(test.script);
      ADD_FAILURE() << "no error";
    } catch (const TScriptError& error) {
      EXPECT_EQ(error.Message(), QString::fromUtf8(test.message));
    }
  }
}

TEST_F(EditScriptTest, ATilesetThatFailsToLoadStopsTheScript) {
  AddBrokenTileset(QStringLiteral("broken.tls"));
  session.reset();
  Start();
  try {
    Run("group Slate\ntileset broken\ngroup Slate");
    ADD_FAILURE() << "no error";
  } catch (const TScriptError& error) {
    EXPECT_EQ(error.Message(),
              QStringLiteral("line 2: the tileset \"broken\" could not be loaded"));
  }
  EXPECT_EQ(Engine().CurrentGroup(), nullptr);
}

}  // namespace
