#include "MapTestSupport.h"
#include "base/Error.h"
#include "map/MapDocument.h"
#include "map/TileMapObjects.h"
#include "map/TileMapObjectsUndoU.h"
#include "map/UndoRedoU.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A map of the given size in sub-cells, not modified.
std::unique_ptr<TTileMap> MakeMap(int width, int height) {
  auto map = std::make_unique<TTileMap>();
  map->SetWidth(width);
  map->SetHeight(height);
  map->SetModified(false);
  return map;
}

const TTileMapUndoObj& LastAction(const TTileMap& map) {
  const TUndoRedoList& list = map.UndoList();
  return dynamic_cast<const TTileMapUndoObj&>(*list.Items(list.Count() - 1));
}

}  // namespace

TEST(TileMap, NewMapTakesTheProgramDefaults) {
  TTileMap map;
  EXPECT_EQ(map.Width(), 16);
  EXPECT_EQ(map.Height(), 20);
  EXPECT_EQ(map.MapName(), QStringLiteral("BattleMap"));
  EXPECT_EQ(map.TileSize(), 1.0f);
  EXPECT_FALSE(map.Modified());
  EXPECT_FALSE(map.ReadOnly());
  EXPECT_FALSE(map.Recording());
  EXPECT_TRUE(map.FileName().isEmpty());
  EXPECT_TRUE(map.URL().isEmpty());
  EXPECT_EQ(map.LastMod(), QDate::currentDate());
  EXPECT_EQ(map.EmbeddedTiles().Count(), 0);
  EXPECT_EQ(map.UndoList().MaxUndo(), 50);
  EXPECT_EQ(map.UndoList().Count(), 0);
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 16; ++x)
        EXPECT_EQ(map.GetTile(layer, x, y), nullptr);
}

TEST(TileMap, CreateTakesEveryValueGiven) {
  const TMapDefaults defaults{6, 4, QStringLiteral("Crypt"), QStringLiteral("Ann"), 0.25f, 7};
  TTileMap map(defaults);
  EXPECT_EQ(map.Width(), 6);
  EXPECT_EQ(map.Height(), 4);
  EXPECT_EQ(map.MapName(), QStringLiteral("Crypt"));
  EXPECT_EQ(map.AuthorName(), QStringLiteral("Ann"));
  EXPECT_EQ(map.TileSize(), 0.25f);
  EXPECT_EQ(map.UndoList().MaxUndo(), 7);
}

TEST(TileMap, PlacingTheSameIdentityReusesOneEmbeddedCopy) {
  TTilePalette palette(2);
  auto map = MakeMap(4, 4);
  TMapTile* first = map->PlaceTile(mlBase, 0, 0, palette[0], 3);
  ASSERT_NE(first, nullptr);
  map->PlaceTile(mlBase, 3, 3, palette[0], 0);
  map->PlaceTile(mlOverlay, 1, 2, palette[0], 5);
  map->PlaceTile(mlWall, 2, 1, palette[0], 7);
  ASSERT_EQ(map->EmbeddedTiles().Count(), 1);

  // The map shows its own copy.
  const TSubTile* copy = first->SubTile();
  EXPECT_NE(copy, &palette[0]);
  EXPECT_EQ(copy->Guid(), palette[0].Guid());
  EXPECT_EQ(copy->Image(), palette[0].Image());
  EXPECT_EQ(copy->TransparentColor(), palette[0].TransparentColor());
  EXPECT_EQ(first->Orientation(), 3);
  EXPECT_EQ(first->Map(), map.get());

  // Another object with the same identity text is the same sub-tile to the
  // map, even with a different image.
  std::unique_ptr<TSubTile> twin = MakeSubTile(99);
  twin->SetGuid(palette[0].Guid());
  TMapTile* placed = map->PlaceTile(mlBase, 1, 1, *twin, 0);
  EXPECT_EQ(placed->TileIndex(), 0);
  EXPECT_EQ(placed->SubTile()->Image(), palette[0].Image());
  EXPECT_EQ(map->EmbeddedTiles().Count(), 1);

  // The identity comparison is exact: a lower-cased text is another identity.
  std::unique_ptr<TSubTile> lower = MakeSubTile(98);
  lower->SetGuid(palette[0].Guid().toLower());
  EXPECT_EQ(map->PlaceTile(mlBase, 2, 2, *lower, 0)->TileIndex(), 1);
  EXPECT_EQ(map->PlaceTile(mlBase, 2, 3, palette[1], 0)->TileIndex(), 2);
  ExpectConsistent(*map);
}

TEST(TileMap, OutsideTheMapNothingHappens) {
  TTilePalette palette(1);
  auto map = MakeMap(4, 2);
  map->BeginUndo();
  for (auto [layer, x, y] :
       {std::tuple{0, -1, 0}, {0, 4, 0}, {1, 0, -1}, {2, 0, 2}, {3, 0, 0}, {-1, 0, 0}}) {
    EXPECT_EQ(map->PlaceTile(layer, x, y, palette[0], 0), nullptr);
    EXPECT_EQ(map->GetTile(layer, x, y), nullptr);
    map->RemoveTile(layer, x, y);
  }
  map->EndUndo();
  EXPECT_FALSE(map->Modified());
  EXPECT_EQ(map->EmbeddedTiles().Count(), 0);
  EXPECT_EQ(LastAction(*map).StateCount(), 0);
  map->PlaceTile(mlBase, 0, 0, palette[0], 0);
  EXPECT_EQ(map->GetTile(3, 0, 0), nullptr);
}

TEST(TileMap, PlacingOverATileRecordsRemovalThenPlacement) {
  TTilePalette palette(2);
  auto map = MakeMap(2, 2);
  map->BeginUndo();
  map->PlaceTile(mlOverlay, 1, 0, palette[0], 2);
  map->EndUndo();
  map->BeginUndo();
  map->PlaceTile(mlOverlay, 1, 0, palette[1], 6);
  map->EndUndo();

  const TTileMapUndoObj& action = LastAction(*map);
  ASSERT_EQ(action.StateCount(), 2);
  const auto* removal = dynamic_cast<const TTileMapTileState*>(action.State(0));
  const auto* placement = dynamic_cast<const TTileMapTileState*>(action.State(1));
  ASSERT_TRUE(removal && placement);
  EXPECT_EQ(removal->OldSubTile(), map->EmbeddedTiles().At(0));
  EXPECT_EQ(removal->OldOrientation(), 2);
  EXPECT_EQ(removal->NewSubTile(), nullptr);
  EXPECT_EQ(placement->OldSubTile(), nullptr);
  EXPECT_EQ(placement->NewSubTile(), map->EmbeddedTiles().At(1));
  EXPECT_EQ(placement->NewOrientation(), 6);
  EXPECT_EQ((std::tuple{placement->Layer(), placement->X(), placement->Y()}),
            (std::tuple{int(mlOverlay), 1, 0}));

  map->Undo();
  ASSERT_NE(map->GetTile(mlOverlay, 1, 0), nullptr);
  EXPECT_EQ(palette.LetterOf(*map->GetTile(mlOverlay, 1, 0)->SubTile()), 'a');
  EXPECT_EQ(map->GetTile(mlOverlay, 1, 0)->Orientation(), 2);
  map->Redo();
  EXPECT_EQ(palette.LetterOf(*map->GetTile(mlOverlay, 1, 0)->SubTile()), 'b');
  EXPECT_EQ(map->GetTile(mlOverlay, 1, 0)->Orientation(), 6);
  // Replaying never adds entries.
  EXPECT_EQ(map->EmbeddedTiles().Count(), 2);
  EXPECT_EQ(map->UndoList().Count(), 2);
}

TEST(TileMap, RemovingTheLastUserKeepsTheEmbeddedEntry) {
  TTilePalette palette(1);
  auto map = MakeMap(2, 2);
  map->PlaceTile(mlWall, 0, 1, palette[0], 0);
  map->SetModified(false);
  map->RemoveTile(mlWall, 0, 1);
  EXPECT_EQ(map->GetTile(mlWall, 0, 1), nullptr);
  EXPECT_TRUE(map->Modified());
  EXPECT_EQ(map->EmbeddedTiles().Count(), 1);
  // Removing an empty cell neither records nor modifies.
  map->SetModified(false);
  map->BeginUndo();
  map->RemoveTile(mlWall, 0, 1);
  map->EndUndo();
  EXPECT_FALSE(map->Modified());
  EXPECT_EQ(LastAction(*map).StateCount(), 0);
}

TEST(TileMap, ResizingToTheCurrentSizeStillRecordsAndModifies) {
  auto map = MakeMap(4, 6);
  map->BeginUndo();
  map->SetWidth(4);
  map->SetHeight(6);
  map->EndUndo();
  EXPECT_TRUE(map->Modified());
  const TTileMapUndoObj& action = LastAction(*map);
  ASSERT_EQ(action.StateCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const auto* size = dynamic_cast<const TTileMapSizeState*>(action.State(i));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(
        (std::tuple{size->OldWidth(), size->OldHeight(), size->NewWidth(), size->NewHeight()}),
        (std::tuple{4, 6, 4, 6}));
  }
}

TEST(TileMap, SizesOutsideTheLimitsAreRefusedWithoutChange) {
  auto map = MakeMap(4, 6);
  EXPECT_THROW(map->SetWidth(-2), TError);
  EXPECT_THROW(map->SetHeight(kMaxMapExtent + 1), TError);
  EXPECT_EQ(map->Width(), 4);
  EXPECT_EQ(map->Height(), 6);
  EXPECT_FALSE(map->Modified());
  map->SetWidth(0);
  EXPECT_EQ(map->GetTile(mlBase, 0, 0), nullptr);
}

TEST(TileMap, ShrinkingByAColumnAndUndoingRestoresEveryLayer) {
  TTilePalette palette(4);
  auto map = MakeMap(6, 3);
  Paint(*map, mlBase, palette, "aaaabb  aaaabb  aaaabb");
  Paint(*map, mlOverlay, palette, "....c.  .....c  ....cc");
  Paint(*map, mlWall, palette, "d....d  ......  ....d.");
  map->GetTile(mlOverlay, 5, 1)->SetOrientation(4);
  const TMapState before = Snapshot(*map);

  map->BeginUndo();
  map->SetWidth(map->Width() - 2);
  map->EndUndo();
  EXPECT_EQ(Picture(*map, mlBase, palette), "aaaa\naaaa\naaaa");
  EXPECT_EQ(Picture(*map, mlWall, palette), "d...\n....\n....");

  // Removals from the right edge inwards, top to bottom, layers in order,
  // and the size state last.
  const TTileMapUndoObj& action = LastAction(*map);
  ASSERT_EQ(action.StateCount(), 6 + 4 + 2 + 1);
  const auto* first = dynamic_cast<const TTileMapTileState*>(action.State(0));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ((std::tuple{first->Layer(), first->X(), first->Y()}), (std::tuple{0, 5, 0}));
  const auto* second = dynamic_cast<const TTileMapTileState*>(action.State(1));
  EXPECT_EQ((std::tuple{second->Layer(), second->X(), second->Y()}), (std::tuple{2, 5, 0}));
  EXPECT_NE(dynamic_cast<const TTileMapSizeState*>(action.State(12)), nullptr);

  map->Undo();
  EXPECT_EQ(Snapshot(*map), before);
  EXPECT_EQ(map->GetTile(mlOverlay, 5, 1)->Orientation(), 4);
  map->Redo();
  EXPECT_EQ(map->Width(), 4);
  ExpectConsistent(*map);
}

TEST(TileMap, ShrinkingRowsRemovesBottomRowsAndGrowingAddsEmptyOnes) {
  TTilePalette palette(2);
  auto map = MakeMap(2, 4);
  Paint(*map, mlBase, palette, "ab ba ab ba");
  map->SetHeight(2);
  map->SetHeight(4);
  map->SetWidth(3);
  EXPECT_EQ(Picture(*map, mlBase, palette), "ab.\nba.\n...\n...");
  ExpectConsistent(*map);
}

struct TNudgeCase {
  const char* Name;
  TNudgeDirection Direction;
  const char* Before;
  const char* After;
};

void PrintTo(const TNudgeCase& c, std::ostream* out) {
  *out << c.Name;
}

class Nudge : public testing::TestWithParam<TNudgeCase> {};

// Content moves by two cells; the rows or columns moved away from end empty,
// and at the far edge a tile survives where the incoming cell was empty.
TEST_P(Nudge, MovesEveryLayerAndUndoesAsOneAction) {
  const TNudgeCase& c = GetParam();
  TTilePalette palette(6);
  auto map = MakeMap(4, 4);
  Paint(*map, mlBase, palette, c.Before);
  Paint(*map, mlWall, palette, c.Before);
  const TMapState before = Snapshot(*map);
  map->BeginUndo();
  map->Nudge(c.Direction, 2);
  map->EndUndo();
  std::string after;
  for (const char* p = c.After; *p; ++p)
    if (*p != ' ') after += *p == '/' ? '\n' : *p;
  EXPECT_EQ(Picture(*map, mlBase, palette), after);
  EXPECT_EQ(Picture(*map, mlWall, palette), after);
  EXPECT_EQ(map->UndoList().Count(), 1);
  ExpectConsistent(*map);
  map->Undo();
  EXPECT_EQ(Snapshot(*map), before);
}

INSTANTIATE_TEST_SUITE_P(
    TileMap, Nudge,
    testing::Values(
        TNudgeCase{"Up", TNudgeDirection::Up, "ab.. a... cd.c ..ef", "cd.c /a.ef /.... /...."},
        TNudgeCase{"Down", TNudgeDirection::Down, "ab.. a... cd.c ..ef", "..../..../ab.c/a.ef"},
        TNudgeCase{"Left", TNudgeDirection::Left, "ab.c a..d .... e..f", "ac../ad../..../ef.."},
        TNudgeCase{"Right", TNudgeDirection::Right, "ab.c a..d .... e..f", "..ab/..ad/..../..ef"}),
    [](const testing::TestParamInfo<TNudgeCase>& info) { return info.param.Name; });

TEST(TileMap, NudgeIgnoresUnknownDirectionsAndNegativeAmounts) {
  TTilePalette palette(2);
  auto map = MakeMap(4, 4);
  Paint(*map, mlBase, palette, "ab.. .... .... ..ba");
  const TMapState before = Snapshot(*map);
  // A value outside the four, as a damaged caller could pass.
  map->Nudge(static_cast<TNudgeDirection>(4), 2);
  map->Nudge(TNudgeDirection::Up, -1);
  map->Nudge(TNudgeDirection::Right, 9);
  EXPECT_EQ(Snapshot(*map), before);
}

// The document announces the modified flag, the undo state and the name,
// each when it changes and whatever changed it (an empty step too, which
// touches no cell); a listener's connections end with its context.
TEST(TileMap, TheDocumentAnnouncesModifiedUndoStateAndName) {
  TTilePalette palette(1);
  auto map = MakeMap(4, 4);
  const QTemporaryDir temp;
  std::vector<std::string> heard;
  auto listener = std::make_unique<QObject>();
  TMapDocument& document = map->Document();
  QObject::connect(&document, &TMapDocument::ModifiedChanged, listener.get(),
                   [&](bool modified) { heard.push_back(modified ? "modified" : "not modified"); });
  QObject::connect(
      &document, &TMapDocument::UndoStateChanged, listener.get(), [&](bool canUndo, bool canRedo) {
        heard.push_back(std::string(canUndo ? "undo" : "-") + " " + (canRedo ? "redo" : "-"));
      });
  QObject::connect(&document, &TMapDocument::Renamed, listener.get(),
                   [&](const QString& name) { heard.push_back("name " + name.toStdString()); });
  const auto edit = [&](int x) {
    map->BeginUndo();
    map->PlaceTile(mlBase, x, 0, palette[0], 0);
    map->EndUndo();
  };
  struct TCase {
    const char* what;
    std::function<void()> change;
    std::vector<std::string> expected;
  };
  const TCase cases[] = {
      {"the flag as it is", [&] { map->SetModified(false); }, {}},
      {"an edit", [&] { edit(0); }, {"modified", "undo -"}},
      {"a change while modified", [&] { map->SetWidth(map->Width()); }, {}},
      {"another edit", [&] { edit(1); }, {}},
      {"undo", [&] { map->Undo(); }, {"undo redo"}},
      {"undo the first", [&] { map->Undo(); }, {"- redo"}},
      {"nothing left to undo", [&] { map->Undo(); }, {}},
      {"redo", [&] { map->Redo(); }, {"undo redo"}},
      {"a depth of one drops the step to redo", [&] { map->SetMaxUndo(1); }, {"undo -"}},
      {"rename", [&] { map->SetMapName(QStringLiteral("Crypt")); }, {"name Crypt"}},
      {"the same name", [&] { map->SetMapName(QStringLiteral("Crypt")); }, {}},
      {"a save drops the history",
       [&] { map->SaveToFile(temp.filePath(QStringLiteral("Crypt.tqm"))); },
       {"- -", "not modified"}},
      {"an empty step",
       [&] {
         map->BeginUndo();
         map->EndUndo();
       },
       {"undo -"}},
      {"its undo", [&] { map->Undo(); }, {"- redo"}},
      {"a dropped history", [&] { map->DropHistory(); }, {"- -"}},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.what);
    heard.clear();
    test.change();
    EXPECT_EQ(heard, test.expected);
  }

  heard.clear();
  listener.reset();
  edit(2);
  EXPECT_TRUE(heard.empty());
}

// Every change reports the sub-cells it touched, once per bracket; a resize
// or a nudge reports the whole map; undo and redo report what they replay.
TEST(TileMap, ChangesReportTheSubCellsTheyTouched) {
  TTilePalette palette(2);
  auto map = MakeMap(8, 6);
  Paint(*map, mlBase, palette, "a....... ........ ........ ........ ........ .......b");
  std::vector<std::string> reports;
  QObject::connect(&map->Document(), &TMapDocument::Changed, [&](const TMapChange& change) {
    const QRect& r = change.SubCells;
    reports.push_back(change.WholeMap ? "all"
                                      : QStringLiteral("%1,%2 %3x%4")
                                            .arg(r.x())
                                            .arg(r.y())
                                            .arg(r.width())
                                            .arg(r.height())
                                            .toStdString());
  });
  struct TCase {
    const char* what;
    std::function<void()> change;
    std::vector<std::string> expected;
  };
  const TCase cases[] = {
      {"place", [&] { map->PlaceTile(mlWall, 3, 2, palette[0], 0); }, {"3,2 1x1"}},
      {"place over a tile", [&] { map->PlaceTile(mlBase, 0, 0, palette[1], 0); }, {"0,0 1x1"}},
      {"remove", [&] { map->RemoveTile(mlWall, 3, 2); }, {"3,2 1x1"}},
      {"remove from an empty cell", [&] { map->RemoveTile(mlWall, 3, 2); }, {}},
      {"outside the map", [&] { map->PlaceTile(mlBase, 8, 0, palette[0], 0); }, {}},
      {"one bracket, one report",
       [&] {
         map->BeginUndo();
         map->PlaceTile(mlOverlay, 2, 1, palette[0], 0);
         map->PlaceTile(mlWall, 5, 3, palette[0], 0);
         map->RemoveTile(mlWall, 4, 4);
         map->EndUndo();
       },
       {"2,1 4x3"}},
      {"undo replays as one report", [&] { map->Undo(); }, {"2,1 4x3"}},
      {"redo too", [&] { map->Redo(); }, {"2,1 4x3"}},
      {"an empty bracket",
       [&] {
         map->BeginUndo();
         map->EndUndo();
       },
       {}},
      {"resize", [&] { map->SetWidth(10); }, {"all"}},
      {"the same size", [&] { map->SetWidth(10); }, {}},
      {"shrinking removes tiles, still one report", [&] { map->SetHeight(5); }, {"all"}},
      {"nudge", [&] { map->Nudge(TNudgeDirection::Left, 2); }, {"all"}},
      {"a recorded nudge",
       [&] {
         map->BeginUndo();
         map->Nudge(TNudgeDirection::Right, 2);
         map->EndUndo();
       },
       {"all"}},
      {"its undo moves everything back", [&] { map->Undo(); }, {"all"}},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.what);
    reports.clear();
    test.change();
    EXPECT_EQ(reports, test.expected);
  }
}

TEST(TileMap, EveryBracketAddsOneActionEvenWithoutChanges) {
  auto map = MakeMap(2, 2);
  map->BeginUndo();
  map->BeginUndo();  // a nested bracket continues the same action
  map->EndUndo();
  map->EndUndo();  // nothing open: no action
  EXPECT_EQ(map->UndoList().Count(), 1);
  EXPECT_EQ(map->UndoList().Position(), 0);
  map->Undo();
  EXPECT_EQ(map->UndoList().Position(), -1);
  EXPECT_FALSE(map->Modified());
}

// An exception leaving an undo step closes its action as the hand-written
// BeginUndo, catch, EndUndo pair did: what was placed before the failure is
// one action that undo takes back, and the next change is one of its own. A
// step inside a recording adds to it and leaves it open.
TEST(UndoStep, ClosesItsActionOnAnExceptionAndNestsIntoAnOpenOne) {
  TTilePalette palette(2);
  const auto placeThenFail = [&](TTileMap& map) {
    map.PlaceTile(mlBase, 0, 0, palette[0], 0);
    map.PlaceTile(mlWall, 1, 1, palette[1], 0);
    throw TError(QStringLiteral("stopped"));
  };
  auto byPair = MakeMap(4, 4);
  const TMapState empty = Snapshot(*byPair);
  byPair->BeginUndo();
  try {
    placeThenFail(*byPair);
  } catch (const TError&) {
    byPair->EndUndo();
  }
  auto byStep = MakeMap(4, 4);
  try {
    const TUndoStep step(*byStep);
    placeThenFail(*byStep);
  } catch (const TError&) {
  }
  EXPECT_FALSE(byStep->Recording());
  EXPECT_EQ(Snapshot(*byStep), Snapshot(*byPair));
  EXPECT_EQ(byStep->UndoList().Count(), 1);
  EXPECT_EQ(LastAction(*byStep).StateCount(), LastAction(*byPair).StateCount());

  {
    const TUndoStep step(*byStep);
    byStep->RemoveTile(mlBase, 0, 0);
  }
  EXPECT_EQ(byStep->UndoList().Count(), 2);
  byStep->Undo();
  byStep->Undo();
  EXPECT_EQ(Snapshot(*byStep), empty);

  {
    const TUndoStep outer(*byStep);
    byStep->PlaceTile(mlBase, 2, 2, palette[0], 0);
    {
      const TUndoStep inner(*byStep);
      byStep->PlaceTile(mlBase, 3, 3, palette[1], 0);
    }
    EXPECT_TRUE(byStep->Recording());
    byStep->RemoveTile(mlBase, 2, 2);
  }
  EXPECT_FALSE(byStep->Recording());
  EXPECT_EQ(byStep->UndoList().Count(), 1);
  EXPECT_EQ(LastAction(*byStep).StateCount(), 3);
}

TEST(TileMap, CloneIsADeepCopyWithoutHistory) {
  TTilePalette palette(3);
  auto map = MakeMap(4, 2);
  Paint(*map, mlBase, palette, "abca cabc");
  Paint(*map, mlOverlay, palette, ".c.. ..b.");
  map->GetTile(mlBase, 1, 0)->SetOrientation(5);
  map->SetMapName(QStringLiteral("Keep"));
  map->SetFileName(QStringLiteral("/tmp/keep.tqm"));
  map->SetAuthorName(QStringLiteral("Ann"));
  map->SetURL(QStringLiteral("http://example.org"));
  map->SetInformation(QStringLiteral("two\nlines"));
  map->SetTileSize(2.5f);
  map->SetLastMod(QDate(2001, 2, 3));
  map->SetReadOnly(true);
  map->BeginUndo();
  map->RemoveTile(mlBase, 0, 0);
  map->EndUndo();
  QObject::connect(&map->Document(), &TMapDocument::ModifiedChanged, [] { FAIL(); });

  std::unique_ptr<TTileMap> copy = map->Clone();
  EXPECT_EQ(Snapshot(*copy), Snapshot(*map));
  EXPECT_EQ(copy->MapName(), map->MapName());
  EXPECT_EQ(copy->FileName(), map->FileName());
  EXPECT_EQ(copy->AuthorName(), map->AuthorName());
  EXPECT_EQ(copy->URL(), map->URL());
  EXPECT_EQ(copy->Information(), map->Information());
  EXPECT_EQ(copy->TileSize(), 2.5f);
  EXPECT_EQ(copy->LastMod(), QDate(2001, 2, 3));
  EXPECT_TRUE(copy->Modified());
  EXPECT_FALSE(copy->ReadOnly());
  EXPECT_EQ(copy->UndoList().Count(), 0);
  EXPECT_EQ(&copy->Document().Map(), copy.get());
  ASSERT_EQ(copy->EmbeddedTiles().Count(), map->EmbeddedTiles().Count());
  for (int i = 0; i < map->EmbeddedTiles().Count(); ++i) {
    EXPECT_NE(copy->EmbeddedTiles().At(i), map->EmbeddedTiles().At(i));
    EXPECT_EQ(copy->EmbeddedTiles().At(i)->Guid(), map->EmbeddedTiles().At(i)->Guid());
  }
  EXPECT_EQ(copy->GetTile(mlBase, 1, 0)->TileIndex(), map->GetTile(mlBase, 1, 0)->TileIndex());
  ExpectConsistent(*copy);

  // The copy outlives its source.
  map.reset();
  EXPECT_EQ(palette.LetterOf(*copy->GetTile(mlOverlay, 2, 1)->SubTile()), 'b');
}

TEST(TileMap, ClearContentsEmptiesTheMapButKeepsItsSize) {
  TTilePalette palette(2);
  auto map = MakeMap(4, 2);
  Paint(*map, mlWall, palette, "abab baba");
  map->ClearContents();
  EXPECT_EQ(map->Width(), 4);
  EXPECT_EQ(map->EmbeddedTiles().Count(), 0);
  EXPECT_EQ(map->GetTile(mlWall, 3, 1), nullptr);
  EXPECT_NE(map->PlaceTile(mlWall, 3, 1, palette[1], 0), nullptr);
}
