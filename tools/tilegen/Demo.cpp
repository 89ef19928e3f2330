#include "Sheet.h"

#include "Art.h"
#include "Noise.h"

#include <QPainter>
#include <QTransform>

#include <array>
#include <optional>

// A miniature of the editor's map: three layers of placed sub-tiles, filled
// the way the placement tools fill them, walls by the wall rules with their
// corners and posts.

namespace {

// The sub-tile drawn in each quadrant of a cell in each orientation, and the
// stored tile shown at a displayed position, as the tile library defines them.
const int kSubTileFor[8][4] = {{0, 1, 2, 3}, {2, 0, 3, 1}, {3, 2, 1, 0}, {1, 3, 0, 2},
                               {1, 0, 3, 2}, {2, 3, 0, 1}, {0, 2, 1, 3}, {3, 1, 2, 0}};

bool Swaps(int orientation) {
  return orientation == 1 || orientation == 3 || orientation == 6 || orientation == 7;
}

QPoint StoredCell(int x, int y, int w, int h, int orientation) {
  switch (orientation) {
    case 1:
      return {y, h - 1 - x};
    case 2:
      return {w - 1 - x, h - 1 - y};
    case 3:
      return {w - 1 - y, x};
    case 4:
      return {w - 1 - x, y};
    case 5:
      return {x, h - 1 - y};
    case 6:
      return {y, x};
    case 7:
      return {w - 1 - y, h - 1 - x};
    default:
      return {x, y};
  }
}

QImage Oriented(const QImage& image, int orientation) {
  QTransform turn;
  switch (orientation) {
    case 1:
      return image.transformed(turn.rotate(90));
    case 2:
      return image.transformed(turn.rotate(180));
    case 3:
      return image.transformed(turn.rotate(270));
    case 4:
      return image.mirrored(true, false);
    case 5:
      return image.mirrored(false, true);
    case 6:
      return image.transformed(turn.rotate(90)).mirrored(true, false);
    case 7:
      return image.transformed(turn.rotate(270)).mirrored(true, false);
    default:
      return image;
  }
}

struct TPlaced {
  const TGroupArt* Group;
  int TileX;
  int TileY;
  int SubTile;
  int Orientation;
  bool operator==(const TPlaced& o) const {
    return Group == o.Group && TileX == o.TileX && TileY == o.TileY && SubTile == o.SubTile;
  }
};

class TDemoMap {
 public:
  TDemoMap(int cols, int rows) : fWidth(2 * cols), fHeight(2 * rows) {
    for (auto& layer : fLayers)
      layer.resize(size_t(fWidth * fHeight));
  }

  void Put(int layer, int x, int y, std::optional<TPlaced> placed) {
    if (x < 0 || y < 0 || x >= fWidth || y >= fHeight) return;
    fLayers[layer][size_t(y * fWidth + x)] = placed;
  }
  std::optional<TPlaced> Get(int layer, int x, int y) const {
    if (x < 0 || y < 0 || x >= fWidth || y >= fHeight) return std::nullopt;
    return fLayers[layer][size_t(y * fWidth + x)];
  }

  // A group placed with its top-left at cell (c, r), shifted by a sub-cell.
  void PlaceGroup(const TGroupArt& group, int c, int r, int orientation = 0, int sx = 0,
                  int sy = 0) {
    const int w = Swaps(orientation) ? group.PatHeight : group.PatWidth;
    const int h = Swaps(orientation) ? group.PatWidth : group.PatHeight;
    for (int b = 0; b < h; ++b)
      for (int a = 0; a < w; ++a) {
        const QPoint stored = StoredCell(a, b, group.PatWidth, group.PatHeight, orientation);
        for (int q = 0; q < 4; ++q)
          Put(group.FType == 0 ? 0 : 1, 2 * (c + a) + sx + q % 2, 2 * (r + b) + sy + q / 2,
              TPlaced{&group, stored.x(), stored.y(), kSubTileFor[orientation][q], orientation});
      }
  }

  // A random floor over a rectangle of cells.
  void Floor(const TGroupArt& group, int c0, int r0, int c1, int r1, TRandom& random) {
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) {
        const int variant = random.Int(0, group.PatWidth - 1);
        for (int q = 0; q < 4; ++q)
          Put(0, 2 * c + q % 2, 2 * r + q / 2, TPlaced{&group, variant, 0, q, 0});
      }
  }

  // The wall rules of the editor's wall tool.
  void WallEdge(const TGroupArt& walls, int c, int r, int edge) {
    auto T = [&](int n, int q) { return TPlaced{&walls, n, 0, q, 0}; };
    auto holds = [&](int x, int y, TPlaced a, TPlaced b) {
      const auto p = Get(2, x, y);
      return p && (*p == a || *p == b);
    };
    auto empty = [&](int x, int y) { return !Get(2, x, y); };
    switch (edge) {
      case 0:
        if (c >= 1 && r >= 1 && empty(2 * c - 1, 2 * r) &&
            holds(2 * c - 1, 2 * r - 1, T(5, 3), T(2, 3)))
          Put(2, 2 * c - 1, 2 * r, T(9, 1));
        if (r >= 1 && empty(2 * c + 2, 2 * r) && holds(2 * c + 2, 2 * r - 1, T(7, 2), T(3, 2)))
          Put(2, 2 * c + 2, 2 * r, T(8, 0));
        Put(2, 2 * c, 2 * r, holds(2 * c, 2 * r, T(7, 0), T(0, 0)) ? T(0, 0) : T(4, 0));
        Put(2, 2 * c + 1, 2 * r, holds(2 * c + 1, 2 * r, T(5, 1), T(1, 1)) ? T(1, 1) : T(4, 1));
        break;
      case 1:
        if (r >= 1 && empty(2 * c + 1, 2 * r - 1) && holds(2 * c + 2, 2 * r - 1, T(6, 2), T(3, 2)))
          Put(2, 2 * c + 1, 2 * r - 1, T(10, 3));
        if (empty(2 * c + 1, 2 * r + 2) && holds(2 * c + 2, 2 * r + 2, T(4, 0), T(0, 0)))
          Put(2, 2 * c + 1, 2 * r + 2, T(9, 1));
        Put(2, 2 * c + 1, 2 * r, holds(2 * c + 1, 2 * r, T(4, 1), T(1, 1)) ? T(1, 1) : T(5, 1));
        Put(2, 2 * c + 1, 2 * r + 1,
            holds(2 * c + 1, 2 * r + 1, T(6, 3), T(2, 3)) ? T(2, 3) : T(5, 3));
        break;
      case 2:
        if (c >= 1 && empty(2 * c - 1, 2 * r + 1) && holds(2 * c - 1, 2 * r + 2, T(5, 1), T(1, 1)))
          Put(2, 2 * c - 1, 2 * r + 1, T(10, 3));
        if (empty(2 * c + 2, 2 * r + 1) && holds(2 * c + 2, 2 * r + 2, T(7, 0), T(0, 0)))
          Put(2, 2 * c + 2, 2 * r + 1, T(11, 2));
        Put(2, 2 * c, 2 * r + 1, holds(2 * c, 2 * r + 1, T(7, 2), T(3, 2)) ? T(3, 2) : T(6, 2));
        Put(2, 2 * c + 1, 2 * r + 1,
            holds(2 * c + 1, 2 * r + 1, T(5, 3), T(2, 3)) ? T(2, 3) : T(6, 3));
        break;
      default:
        if (c >= 1 && r >= 1 && empty(2 * c, 2 * r - 1) &&
            holds(2 * c - 1, 2 * r - 1, T(6, 3), T(2, 3)))
          Put(2, 2 * c, 2 * r - 1, T(11, 2));
        if (c >= 1 && empty(2 * c, 2 * r + 2) && holds(2 * c - 1, 2 * r + 2, T(4, 1), T(1, 1)))
          Put(2, 2 * c, 2 * r + 2, T(8, 0));
        Put(2, 2 * c, 2 * r, holds(2 * c, 2 * r, T(4, 0), T(0, 0)) ? T(0, 0) : T(7, 0));
        Put(2, 2 * c, 2 * r + 1, holds(2 * c, 2 * r + 1, T(6, 2), T(3, 2)) ? T(3, 2) : T(7, 2));
    }
  }

  // Walls around a rectangle of cells, leaving out the edges listed in gaps
  // as (cell x, cell y, edge).
  void Room(const TGroupArt& walls, int c0, int r0, int c1, int r1,
            const std::vector<std::array<int, 3>>& gaps = {}) {
    auto edge = [&](int c, int r, int e) {
      for (const auto& g : gaps)
        if (g[0] == c && g[1] == r && g[2] == e) return;
      WallEdge(walls, c, r, e);
    };
    for (int c = c0; c <= c1; ++c)
      edge(c, r0, 0);
    for (int r = r0; r <= r1; ++r)
      edge(c1, r, 1);
    for (int c = c0; c <= c1; ++c)
      edge(c, r1, 2);
    for (int r = r0; r <= r1; ++r)
      edge(c0, r, 3);
  }

  void Draw(QPainter& painter, QPoint origin, int cellSize) const {
    const int half = cellSize / 2;
    painter.fillRect(QRect(origin, QSize(fWidth * half, fHeight * half)), QColor(0xF2, 0xEC, 0xDC));
    for (int layer = 0; layer < 3; ++layer)
      for (int y = 0; y < fHeight; ++y)
        for (int x = 0; x < fWidth; ++x) {
          const auto p = Get(layer, x, y);
          if (!p) continue;
          const QImage image =
              Oriented(p->Group->SubTile(p->TileX, p->TileY, p->SubTile), p->Orientation);
          painter.drawImage(origin + QPoint(x * half, y * half),
                            ScaleSubTile(image, p->Group->TransparentColour(), half));
        }
  }

  int Width() const { return fWidth; }
  int Height() const { return fHeight; }

 private:
  int fWidth;
  int fHeight;
  std::vector<std::optional<TPlaced>> fLayers[3];
};

const TGroupArt& Find(const TTilesetArt& tileset, const char* name) {
  for (const TGroupArt& group : tileset.Groups)
    if (group.Name == QLatin1String(name)) return group;
  return tileset.Groups.front();
}

}  // namespace

QImage RenderDemoRoom(const TTilesetArt& tileset, const TTilesetArt& walls, int cellSize) {
  TDemoMap map(16, 11);
  TRandom random(SeedOf(QStringLiteral("Demo")));
  auto g = [&](const char* name) -> const TGroupArt& { return Find(tileset, name); };
  const TGroupArt& standard = walls.Groups.at(0);
  const TGroupArt& stone = walls.Groups.at(1);

  map.Floor(g("Grass"), 0, 0, 15, 10, random);
  map.Floor(g("Dirt"), 6, 7, 10, 8, random);
  map.Floor(g("Water"), 12, 8, 15, 10, random);
  // The hall: an L of flagstones, its outer corner notched out at the top
  // right, with a mosaic in the middle.
  map.Floor(g("Flagstones"), 1, 3, 6, 9, random);
  map.Floor(g("Flagstones"), 1, 1, 4, 2, random);
  map.PlaceGroup(g("Mosaic"), 3, 5);
  // Walls of the hall: the wall down the notch is drawn before the top wall
  // beside it, so the rules set a post where they meet.
  for (int c = 1; c <= 4; ++c)
    map.WallEdge(standard, c, 1, 0);
  for (int r = 1; r <= 9; ++r)
    map.WallEdge(standard, 1, r, 3);
  for (int r = 1; r <= 2; ++r)
    map.WallEdge(standard, 4, r, 1);
  for (int c = 5; c <= 6; ++c)
    map.WallEdge(standard, c, 3, 0);
  for (int r = 3; r <= 9; ++r)
    if (r != 7) map.WallEdge(standard, 6, r, 1);
  for (int c = 1; c <= 6; ++c)
    map.WallEdge(standard, c, 9, 2);
  // An inner wall across the hall's top, meeting the outer walls.
  for (int c = 1; c <= 2; ++c)
    map.WallEdge(standard, c, 3, 0);

  // The library: planks inside rough stone walls.
  map.Floor(g("Wooden Planks"), 11, 1, 14, 6, random);
  map.Room(stone, 11, 1, 14, 6, {{11, 5, 3}, {13, 6, 2}});

  // Doors in the gaps of the walls, each turned to its wall's side.
  map.PlaceGroup(g("Door, Closed"), 6, 7, 1, 1, 0);
  map.PlaceGroup(g("Door, Open"), 10, 5, 3, 1, 0);
  map.PlaceGroup(g("Portcullis"), 13, 6, 2, 0, 1);
  map.PlaceGroup(g("Secret Door"), 3, 2, 0, 0, 1);
  map.PlaceGroup(g("Stairs"), 14, 7);

  // Furniture.
  map.PlaceGroup(g("Long Table"), 2, 6, 1);
  map.PlaceGroup(g("Banner"), 2, 3);
  map.PlaceGroup(g("Statue"), 1, 1);
  map.PlaceGroup(g("Altar"), 2, 1);
  map.PlaceGroup(g("Barrel"), 5, 8);
  map.PlaceGroup(g("Barrel"), 5, 9, 0, 1, 0);
  map.PlaceGroup(g("Crate"), 6, 9);
  map.PlaceGroup(g("Rubble"), 5, 4);
  map.PlaceGroup(g("Coffin"), 4, 8, 0, 0, 0);
  map.PlaceGroup(g("Bookshelf"), 11, 1);
  map.PlaceGroup(g("Bookshelf"), 11, 3);
  map.PlaceGroup(g("Round Table"), 12, 3);
  map.PlaceGroup(g("Bed"), 14, 1, 4);
  map.PlaceGroup(g("Chest"), 13, 1);

  const int small = 32;
  const QSize big(map.Width() * cellSize / 2, map.Height() * cellSize / 2);
  QImage image(big.width() + 24 + map.Width() * small / 2, big.height(), QImage::Format_RGB32);
  image.fill(QColor(0xF7, 0xF4, 0xEC));
  QPainter painter(&image);
  map.Draw(painter, QPoint(0, 0), cellSize);
  map.Draw(painter, QPoint(big.width() + 24, 0), small);
  return image;
}
