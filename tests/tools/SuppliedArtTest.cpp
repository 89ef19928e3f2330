// Properties of the supplied artwork that the editor relies on: floors that
// tile in any arrangement, keyed objects with readable silhouettes, and wall
// pieces that join into continuous walls.
#include "SuppliedTilesets.h"
#include "storage/PropertyStream.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

struct TGroup {
  QString Name;
  int FType;
  int PlaceType;
  int Width;
  int Height;
  std::vector<QImage> Tiles;  // column-major: (x, y) at x * Height + y
  const QImage& Tile(int x, int y) const { return Tiles[size_t(x * Height + y)]; }
};

std::vector<TGroup> LoadGroups(const char* file) {
  const auto root = LoadTree(GeneratedFile(QLatin1String(file)));
  std::vector<TGroup> groups;
  for (const TStorage* storage : GroupStorages(*root)) {
    TGroup group{ReadProperty(*storage, QStringLiteral("GroupName")),
                 ReadProperty(*storage, QStringLiteral("FType")).toInt(),
                 ReadProperty(*storage, QStringLiteral("PlaceType")).toInt(),
                 ReadProperty(*storage, QStringLiteral("PatWidth")).toInt(),
                 ReadProperty(*storage, QStringLiteral("PatHeight")).toInt(),
                 {}};
    for (int x = 0; x < group.Width; ++x)
      for (int y = 0; y < group.Height; ++y)
        group.Tiles.push_back(TilePicture(*storage, x, y));
    groups.push_back(std::move(group));
  }
  return groups;
}

const std::vector<TGroup>& ExampleGroups() {
  static const std::vector<TGroup> groups = LoadGroups("ExampleTileset.tls");
  return groups;
}

const std::vector<TGroup>& WallGroups() {
  static const std::vector<TGroup> groups = LoadGroups("Walls.wls");
  return groups;
}

struct TRgb {
  int R, G, B;
};

TRgb Pixel(const QImage& image, int x, int y) {
  const uchar* p = image.constScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

bool IsKey(TRgb c) {
  return c.R == 0xFF && c.G == 0x00 && c.B == 0xFF;
}
bool IsDark(TRgb c) {
  return std::max({c.R, c.G, c.B}) <= 0x40;
}
int Difference(TRgb a, TRgb b) {
  return std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B);
}

// ---------------------------------------------------------------------------
// Floors

// Any variant may lie beside any other: they all share the same outermost
// ring of pixels, and differ inside.
TEST(SuppliedFloors, RandomVariantsShareTheirBorderRing) {
  int checked = 0;
  for (const TGroup& group : ExampleGroups()) {
    if (group.FType != 0 || group.PlaceType != 0) continue;
    SCOPED_TRACE(group.Name.toStdString());
    ASSERT_GE(group.Width, 4);
    const QImage& first = group.Tile(0, 0);
    for (int v = 1; v < group.Width; ++v) {
      const QImage& other = group.Tile(v, 0);
      int ringDifferences = 0;
      for (int i = 0; i < 300; ++i)
        for (QPoint p : {QPoint(i, 0), QPoint(i, 299), QPoint(0, i), QPoint(299, i)})
          ringDifferences +=
              Difference(Pixel(first, p.x(), p.y()), Pixel(other, p.x(), p.y())) != 0;
      EXPECT_EQ(ringDifferences, 0) << "variant " << v;
      int insideDifferences = 0;
      for (int y = 40; y < 260; y += 3)
        for (int x = 40; x < 260; x += 3)
          insideDifferences += Difference(Pixel(first, x, y), Pixel(other, x, y)) > 30;
      EXPECT_GT(insideDifferences, 500) << "variant " << v << " repeats variant 0";
    }
    ++checked;
  }
  EXPECT_EQ(checked, 7);
}

// ---------------------------------------------------------------------------
// Objects and walls

// Keyed pictures: nothing painted is close to the key colour (no pink fringe
// from antialiasing against it), and every edge of a drawing that faces the
// key inside the picture is dark: objects carry an outline so silhouettes
// read on any floor, walls a dark edge on their room side.
void ExpectCleanKeyedTile(const QImage& tile) {
  int painted = 0, keyed = 0, nearKey = 0, lightEdges = 0;
  for (int y = 0; y < tile.height(); ++y)
    for (int x = 0; x < tile.width(); ++x) {
      const TRgb c = Pixel(tile, x, y);
      if (IsKey(c)) {
        ++keyed;
        continue;
      }
      ++painted;
      nearKey += c.R > 200 && c.G < 70 && c.B > 200;
      bool facesKey = false;
      for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const int nx = x + d.x(), ny = y + d.y();
        if (nx >= 0 && ny >= 0 && nx < tile.width() && ny < tile.height() &&
            IsKey(Pixel(tile, nx, ny)))
          facesKey = true;
      }
      lightEdges += facesKey && !IsDark(c);
    }
  EXPECT_GT(painted, 1000);
  EXPECT_GT(keyed, 0);
  EXPECT_EQ(nearKey, 0);
  EXPECT_EQ(lightEdges, 0);
}

TEST(SuppliedObjects, KeyedCleanlyWithDarkOutlines) {
  int checked = 0;
  for (const TGroup& group : ExampleGroups()) {
    if (group.FType != 1) continue;
    for (int x = 0; x < group.Width; ++x)
      for (int y = 0; y < group.Height; ++y) {
        SCOPED_TRACE(group.Name.toStdString() + " " + std::to_string(x) + "." + std::to_string(y));
        ExpectCleanKeyedTile(group.Tile(x, y));
        ++checked;
      }
  }
  EXPECT_GE(checked, 16);
}

TEST(SuppliedWalls, KeyedCleanlyWithADarkRoomSide) {
  for (const TGroup& group : WallGroups())
    for (int n = 0; n < group.Width; ++n) {
      SCOPED_TRACE(group.Name.toStdString() + " piece " + std::to_string(n));
      ExpectCleanKeyedTile(group.Tile(n, 0));
    }
}

// Which parts of a cell each wall piece covers: bands along its edges and,
// for posts, the square in one corner.
enum : int { T = 1, R = 2, B = 4, L = 8 };
struct TPieceShape {
  int Bands;
  int PostCorner;  // 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left; -1 none
};
const TPieceShape kPieces[12] = {{T | L, -1}, {T | R, -1}, {B | R, -1}, {B | L, -1},
                                 {T, -1},     {R, -1},     {B, -1},     {L, -1},
                                 {0, 0},      {0, 1},      {0, 2},      {0, 3}};

bool Covered(const TPieceShape& shape, int x, int y, int t) {
  const bool top = y < t, bottom = y >= 300 - t, left = x < t, right = x >= 300 - t;
  if (shape.PostCorner >= 0) {
    const bool corners[4] = {top && left, top && right, bottom && right, bottom && left};
    return corners[shape.PostCorner];
  }
  return ((shape.Bands & T) && top) || ((shape.Bands & R) && right) ||
         ((shape.Bands & B) && bottom) || ((shape.Bands & L) && left);
}

int Thickness(const TGroup& walls) {
  int t = 0;
  while (t < 150 && !IsKey(Pixel(walls.Tile(4, 0), 150, t)))
    ++t;
  return t;
}

// The walls of neighbouring cells meet exactly: every piece covers bands of
// one thickness flush with its edges, corners their L, posts their square.
TEST(SuppliedWalls, PiecesCoverTheirBandsExactly) {
  for (const TGroup& group : WallGroups()) {
    const int t = Thickness(group);
    EXPECT_GE(t, 36);
    EXPECT_LE(t, 44);
    for (int n = 0; n < 12; ++n) {
      SCOPED_TRACE(group.Name.toStdString() + " piece " + std::to_string(n));
      int wrong = 0;
      for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
          wrong += Covered(kPieces[n], x, y, t) == IsKey(Pixel(group.Tile(n, 0), x, y));
      EXPECT_EQ(wrong, 0);
    }
  }
}

// A door as it comes fits a wall along the top of a room's cell: placed
// half a cell up, centred on that edge, its jambs fill the wall band below
// the edge (rows 150 .. 150 + t of its picture) at both ends, and nothing of
// it reaches more than 20 pixels outside the room (the jambs overlap the
// edge a little, and a handle on the outer face goes further).
TEST(SuppliedDoors, FillTheBandOfTheWallTheyAreTurnedTo) {
  const int t = Thickness(WallGroups().front());
  int doors = 0;
  for (const TGroup& group : ExampleGroups()) {
    if (!group.Name.contains(QStringLiteral("Door")) && group.Name != QStringLiteral("Portcullis"))
      continue;
    SCOPED_TRACE(group.Name.toStdString());
    ++doors;
    const QImage& tile = group.Tile(0, 0);
    int gaps = 0, outside = 0;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) {
        const bool key = IsKey(Pixel(tile, x, y));
        const bool jamb = (x >= 4 && x < 36) || (x >= 264 && x < 296);
        gaps += key && jamb && y >= 150 && y < 150 + t;
        outside += !key && y < 150 - 20;
      }
    EXPECT_EQ(gaps, 0);
    EXPECT_EQ(outside, 0);
  }
  EXPECT_EQ(doors, 4);
}

// Straight runs continue across cell borders: along each band, the last
// line of pixels in one cell matches the first in the next about as well as
// two neighbouring lines inside a cell do.
struct TJoin {
  int First;   // the piece to the left of or above the border
  int Second;  // the piece to the right of or below it
  int Band;    // the band that runs across the border
};
const TJoin kJoins[] = {
    {4, 4, T}, {0, 4, T}, {4, 1, T}, {0, 1, T},  // along the top of a row
    {6, 6, B}, {3, 6, B}, {6, 2, B}, {3, 2, B},  // along the bottom
    {7, 7, L}, {0, 7, L}, {7, 3, L}, {0, 3, L},  // down the left of a column
    {5, 5, R}, {1, 5, R}, {5, 2, R}, {1, 2, R},  // down the right
};

double LineDifference(const QImage& a, QPoint aStart, const QImage& b, QPoint bStart, QPoint step,
                      int count) {
  double total = 0;
  for (int i = 0; i < count; ++i) {
    const QPoint pa = aStart + step * i, pb = bStart + step * i;
    total += Difference(Pixel(a, pa.x(), pa.y()), Pixel(b, pb.x(), pb.y()));
  }
  return total / count;
}

TEST(SuppliedWalls, StraightRunsJoinWithoutSeams) {
  for (const TGroup& group : WallGroups()) {
    const int t = Thickness(group);
    for (const TJoin& join : kJoins) {
      SCOPED_TRACE(group.Name.toStdString() + " " + std::to_string(join.First) + " then " +
                   std::to_string(join.Second));
      const QImage& a = group.Tile(join.First, 0);
      const QImage& b = group.Tile(join.Second, 0);
      const bool horizontal = join.Band == T || join.Band == B;
      // The band's lines across the wall, at the border and inside a cell.
      const int offset = join.Band == B || join.Band == R ? 300 - t : 0;
      const QPoint across = horizontal ? QPoint(0, 1) : QPoint(1, 0);
      auto line = [&](int along) {
        return horizontal ? QPoint(along, offset) : QPoint(offset, along);
      };
      const double seam = LineDifference(a, line(299), b, line(0), across, t);
      double inside = 0;
      for (int along = 100; along < 200; ++along)
        inside += LineDifference(a, line(along), a, line(along + 1), across, t);
      inside /= 100;
      EXPECT_LE(seam, 1.5 * inside + 8) << "seam " << seam << ", inside " << inside;
    }
  }
}

}  // namespace
