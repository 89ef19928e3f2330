#include "base/Convert.h"
#include "storage/Png.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "storage/SubTileRecord.h"
#include "support/TestImages.h"
#include "tiles/TileObjects.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString GuidFor(int x, int y, int q) {
  return QStringLiteral("{0000000%1-000%2-000%3-0000-000000000000}").arg(x).arg(y).arg(q);
}

// Four records for the tile at (x, y): sub-tile q has a colour of its own.
QByteArray TileStream(int x, int y) {
  QByteArray stream;
  for (int q = 0; q < 4; ++q)
    WriteSubTileRecord(stream, Solid(qRgb(x * 50, y * 50, q * 60)), GuidFor(x, y, q),
                       q == 3 ? 0x02737373 : -1);
  return stream;
}

// A group storage as a tileset holds it; returns its "Tiles" storage.
TStorage& FillGroup(TStorage& group, const QString& width, const QString& height,
                    const QStringList& tileNames) {
  WriteProperty(group, QStringLiteral("PatWidth"), width);
  WriteProperty(group, QStringLiteral("PatHeight"), height);
  WriteProperty(group, QStringLiteral("FType"), QStringLiteral("1"));
  WriteProperty(group, QStringLiteral("GroupName"), QStringLiteral("Coffin"));
  WriteProperty(group, QStringLiteral("GroupDescr"), QStringLiteral("A stone coffin"));
  WriteProperty(group, QStringLiteral("Category"), QStringLiteral("Placeables"));
  WriteProperty(group, QStringLiteral("PlaceType"), QStringLiteral("2"));
  TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
  for (const QString& name : tileNames) {
    const int dot = int(name.indexOf(QLatin1Char('.')));
    tiles.CreateStream(
        name, TileStream(StrToIntDef(name.left(dot), 0), StrToIntDef(name.mid(dot + 1), 0)));
  }
  return tiles;
}

TEST(TileGroup, NewGroupsTakeTheirShapeFromTheDefaultsGiven) {
  TTileGroup defaults;
  EXPECT_EQ(defaults.PatWidth(), 5);
  EXPECT_EQ(defaults.PatHeight(), 1);
  EXPECT_EQ(defaults.FType(), 0);
  EXPECT_EQ(defaults.PlaceType(), 0);
  EXPECT_TRUE(defaults.GroupName().isEmpty());
  EXPECT_EQ(defaults.TileAt(4, 0, 0), nullptr);

  TTileGroup custom(nullptr, TGroupDefaults{2, 3, gtObjects, ptPattern});
  EXPECT_EQ(custom.PatWidth(), 2);
  EXPECT_EQ(custom.PatHeight(), 3);
  EXPECT_EQ(custom.FType(), gtObjects);
  EXPECT_EQ(custom.PlaceType(), ptPattern);
}

TEST(TileGroup, ResizingKeepsSurvivorsAndFreesTheRest) {
  TTileGroup group;  // 5 × 1
  group.SetPatHeight(3);
  TTile* kept = &group.GetOrCreateTile(1, 1);
  group.GetOrCreateTile(4, 0);
  group.GetOrCreateTile(0, 2);
  EXPECT_EQ(&group.GetOrCreateTile(1, 1), kept);  // created once
  EXPECT_EQ(kept->X(), 1);
  EXPECT_EQ(kept->Y(), 1);
  EXPECT_EQ(kept->Group(), &group);
  for (int q = 0; q < 4; ++q) {
    EXPECT_EQ(kept->SubTile(q).Tile(), kept);
    EXPECT_EQ(kept->SubTile(q).Quadrant(), q);
    EXPECT_TRUE(kept->SubTile(q).Image().isNull());
  }

  group.SetPatWidth(2);
  group.SetPatHeight(2);
  EXPECT_EQ(group.StoredTile(1, 1), kept);
  EXPECT_EQ(group.StoredTile(0, 1), nullptr);
  EXPECT_EQ(group.StoredTile(0, 2), nullptr);
  group.SetPatWidth(6);
  group.SetPatHeight(4);
  EXPECT_EQ(group.StoredTile(1, 1), kept);
  EXPECT_EQ(group.StoredTile(4, 0), nullptr);  // freed, not revived
  EXPECT_EQ(group.StoredTile(0, 2), nullptr);

  EXPECT_THROW(group.SetPatWidth(-1), TError);
  EXPECT_THROW(group.SetPatHeight(-2), TError);
  EXPECT_THROW(group.SetPatWidth(1 << 30), TError);
  EXPECT_EQ(group.PatWidth(), 6);
  EXPECT_EQ(group.StoredTile(1, 1), kept);
  EXPECT_THROW(group.GetOrCreateTile(6, 0), TError);
  EXPECT_THROW(group.GetOrCreateTile(0, -1), TError);

  group.Clear();
  EXPECT_EQ(group.StoredTile(1, 1), nullptr);
  EXPECT_EQ(group.PatWidth(), 6);
}

TEST(TileGroup, TileAtFollowsTheOrientationExceptForRandomGroups) {
  TTileGroup group;
  group.SetPatWidth(2);
  group.SetPlaceType(ptPattern);
  TTile* left = &group.GetOrCreateTile(0, 0);
  TTile* right = &group.GetOrCreateTile(1, 0);
  EXPECT_EQ(group.TileAt(0, 0, 1), left);
  EXPECT_EQ(group.TileAt(0, 1, 1), right);
  EXPECT_EQ(group.TileAt(1, 0, 1), nullptr);
  EXPECT_EQ(group.TileAt(0, 0, 2), right);
  EXPECT_EQ(group.TileAt(-1, 0, 0), nullptr);
  EXPECT_THROW(group.TileAt(0, 0, 8), TError);

  group.SetPlaceType(ptRandom);
  EXPECT_EQ(group.TileAt(0, 1, 1), nullptr);
  EXPECT_EQ(group.TileAt(0, 0, 2), left);
  group.SetPlaceType(7);  // any value but Random uses the orientation
  EXPECT_EQ(group.TileAt(0, 0, 2), right);
}

TEST(TileGroup, SubTilesCloneAndCompareByIdentity) {
  TTileGroup group;
  TSubTile& original = group.GetOrCreateTile(0, 0).SubTile(2);
  original.SetImage(Solid(qRgb(1, 2, 3)));
  original.SetGuid(QStringLiteral("{33FA80D4-9933-476A-8B8C-4FC1EDE16FD7}"));
  original.SetTransparentColor(0x02737373);
  const std::unique_ptr<TSubTile> copy = original.Clone();
  EXPECT_EQ(copy->Image(), original.Image());
  EXPECT_EQ(copy->PictureId(), original.PictureId());
  EXPECT_EQ(copy->Tile(), original.Tile());
  EXPECT_EQ(copy->Quadrant(), 2);
  EXPECT_EQ(copy->TransparentColor(), 0x02737373);
  EXPECT_TRUE(copy->SameGuid(original));
  copy->SetGuid(QStringLiteral("{33fa80d4-9933-476a-8b8c-4fc1ede16fd7}"));
  EXPECT_FALSE(copy->SameGuid(original));
  // The copy's bitmap is its own.
  copy->SetImage(Solid(qRgb(4, 5, 6)));
  EXPECT_EQ(original.Image(), Solid(qRgb(1, 2, 3)));
  EXPECT_NE(copy->PictureId(), original.PictureId());
}

// ---------------------------------------------------------------------------
// Loading from a group storage.

TEST(TileGroupLoad, ReadsPropertiesAndEveryTileStream) {
  TStorage storage;
  TStorage& tiles = FillGroup(storage, QStringLiteral("2"), QStringLiteral("2"),
                              {QStringLiteral("0.0"), QStringLiteral("1.1")});
  // Elements of other types in "Tiles" are skipped.
  tiles.CreateStorage(QStringLiteral("Nested"));

  TTileGroup group;
  group.LoadFromStorage(storage);
  EXPECT_EQ(group.PatWidth(), 2);
  EXPECT_EQ(group.PatHeight(), 2);
  EXPECT_EQ(group.FType(), gtObjects);
  EXPECT_EQ(group.PlaceType(), ptPattern);
  EXPECT_EQ(group.GroupName(), QStringLiteral("Coffin"));
  EXPECT_EQ(group.GroupDescr(), QStringLiteral("A stone coffin"));
  EXPECT_EQ(group.Category(), QStringLiteral("Placeables"));
  EXPECT_EQ(group.StoredTile(1, 0), nullptr);
  EXPECT_EQ(group.StoredTile(0, 1), nullptr);
  for (QPoint p : {QPoint(0, 0), QPoint(1, 1)}) {
    const TTile* tile = group.StoredTile(p.x(), p.y());
    ASSERT_NE(tile, nullptr);
    for (int q = 0; q < 4; ++q) {
      const TSubTile& sub = tile->SubTile(q);
      EXPECT_EQ(sub.Image(), Solid(qRgb(p.x() * 50, p.y() * 50, q * 60)));
      EXPECT_EQ(sub.Guid(), GuidFor(p.x(), p.y(), q));
      EXPECT_EQ(sub.TransparentColor(), q == 3 ? 0x02737373 : -1);
    }
  }
}

TEST(TileGroupLoad, NumbersThatAreNotNumbersCountAsZeroAndTypesKeepTheLowByte) {
  struct {
    const char* FType;
    const char* PlaceType;
    int ExpectedFType;
    int ExpectedPlaceType;
  } const cases[] = {
      {"1", "abc", 1, 0}, {"257", "514", 1, 2}, {"-1", "", 255, 0}, {" 1", "2x", 0, 0}};
  for (const auto& c : cases) {
    TStorage storage;
    FillGroup(storage, QStringLiteral("1"), QStringLiteral("1"), {QStringLiteral("0.0")});
    WriteProperty(storage, QStringLiteral("FType"), QString::fromLatin1(c.FType));
    WriteProperty(storage, QStringLiteral("PlaceType"), QString::fromLatin1(c.PlaceType));
    TTileGroup group;
    group.LoadFromStorage(storage);
    EXPECT_EQ(group.FType(), c.ExpectedFType) << c.FType;
    EXPECT_EQ(group.PlaceType(), c.ExpectedPlaceType) << c.PlaceType;
  }
  // A width that is no number is an empty grid, so any tile lies outside it.
  TStorage storage;
  FillGroup(storage, QStringLiteral("wide"), QStringLiteral("1"), {});
  TTileGroup group;
  group.LoadFromStorage(storage);
  EXPECT_EQ(group.PatWidth(), 0);
}

// How a damaged group storage fails: the exception type and, where the text
// is ours, its wording.
struct TBadGroupCase {
  const char* Name;
  std::function<void(TStorage& group, TStorage& tiles)> Damage;
  enum { Convert, Storage, Other, InvalidFormat, Png } Expected;
};

void PrintTo(const TBadGroupCase& c, std::ostream* os) {
  *os << c.Name;
}

class TileGroupLoadFailure : public testing::TestWithParam<TBadGroupCase> {};

TEST_P(TileGroupLoadFailure, FailsWithTheRightError) {
  TStorage storage;
  TStorage& tiles = FillGroup(storage, QStringLiteral("2"), QStringLiteral("1"),
                              {QStringLiteral("0.0"), QStringLiteral("1.0")});
  GetParam().Damage(storage, tiles);
  TTileGroup group;
  try {
    group.LoadFromStorage(storage);
    FAIL() << "the load succeeded";
  } catch (const TConvertError&) {
    EXPECT_EQ(GetParam().Expected, TBadGroupCase::Convert);
  } catch (const TStorageError&) {
    EXPECT_EQ(GetParam().Expected, TBadGroupCase::Storage);
  } catch (const TPngError&) {
    EXPECT_EQ(GetParam().Expected, TBadGroupCase::Png);
  } catch (const TError& e) {
    if (e.Message() == QStringLiteral("Invalid file format detected, unable to load tile group."))
      EXPECT_EQ(GetParam().Expected, TBadGroupCase::InvalidFormat);
    else
      EXPECT_EQ(GetParam().Expected, TBadGroupCase::Other) << e.Message().toStdString();
  }
  // Nothing was placed outside the grid.
  for (int y = -1; y <= group.PatHeight(); ++y)
    for (int x = -1; x <= group.PatWidth(); ++x)
      if (const TTile* tile = group.StoredTile(x, y)) {
        EXPECT_LT(tile->X(), group.PatWidth());
        EXPECT_LT(tile->Y(), group.PatHeight());
      }
}

// A tile stream whose record q is damaged by cutting its PNG after its IHDR.
QByteArray StreamWithBrokenRecord(int q) {
  QByteArray stream;
  for (int i = 0; i < 4; ++i) {
    if (i == q) {
      stream += EncodePng(Solid(qRgb(9, 9, 9))).left(33);
      break;
    }
    WriteSubTileRecord(stream, Solid(qRgb(9, 9, 9)), GuidFor(0, 0, i), -1);
  }
  return stream;
}

const TBadGroupCase kBadGroups[] = {
    {"StreamNameWithoutDot",
     [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("3"), TileStream(0, 0)); },
     TBadGroupCase::Convert},
    {"StreamNameNotANumber",
     [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("a.0"), TileStream(0, 0)); },
     TBadGroupCase::Convert},
    {"StreamNameRowNotANumber",
     [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("0.0.0"), TileStream(0, 0)); },
     TBadGroupCase::Convert},
    {"ColumnOutsideTheGrid",
     [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("2.0"), TileStream(0, 0)); },
     TBadGroupCase::Other},
    {"RowOutsideTheGrid",
     [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("0.1"), TileStream(0, 0)); },
     TBadGroupCase::Other},
    {"NegativeColumn",
     [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("-1.0"), TileStream(0, 0)); },
     TBadGroupCase::Other},
    {"NegativeWidth",
     [](TStorage& g, TStorage&) {
       WriteProperty(g, QStringLiteral("PatWidth"), QStringLiteral("-2"));
     },
     TBadGroupCase::Other},
    {"NegativeHeight",
     [](TStorage& g, TStorage&) {
       WriteProperty(g, QStringLiteral("PatHeight"), QStringLiteral("-1"));
     },
     TBadGroupCase::Other},
    {"HugeGrid",
     [](TStorage& g, TStorage&) {
       WriteProperty(g, QStringLiteral("PatWidth"), QStringLiteral("2147483647"));
     },
     TBadGroupCase::Other},
    {"NoTilesStorage",
     [](TStorage& g, TStorage&) {
       g.CreateStream(QStringLiteral("Tiles"), "a stream, not a storage");
     },
     TBadGroupCase::Storage},
    {"MissingProperty", [](TStorage& g, TStorage&) { g.CreateStorage(QStringLiteral("Category")); },
     TBadGroupCase::Storage},
    {"EmptyTileStream", [](TStorage&, TStorage& t) { t.CreateStream(QStringLiteral("1.0")); },
     TBadGroupCase::InvalidFormat},
    {"FirstImageBroken",
     [](TStorage&, TStorage& t) {
       t.CreateStream(QStringLiteral("1.0"), StreamWithBrokenRecord(0));
     },
     TBadGroupCase::InvalidFormat},
    {"SecondImageBroken",
     [](TStorage&, TStorage& t) {
       t.CreateStream(QStringLiteral("1.0"), StreamWithBrokenRecord(1));
     },
     TBadGroupCase::Png},
    {"LastImageMissing",
     [](TStorage&, TStorage& t) {
       t.CreateStream(QStringLiteral("1.0"), StreamWithBrokenRecord(3));
     },
     TBadGroupCase::Png},
    {"IdentityCutShort",
     [](TStorage&, TStorage& t) {
       t.CreateStream(QStringLiteral("1.0"),
                      TileStream(1, 0).left(EncodePng(Solid(qRgb(50, 0, 0))).size() + 5));
     },
     TBadGroupCase::Other},
};

INSTANTIATE_TEST_SUITE_P(Damaged, TileGroupLoadFailure, testing::ValuesIn(kBadGroups),
                         [](const testing::TestParamInfo<TBadGroupCase>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
