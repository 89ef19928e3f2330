#include "VttGeometry.h"

#include "map/TileMapObjects.h"
#include "tiles/SubTileIndex.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStrip.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

// Geometry is worked out in half squares (sub-cells), where every wall and
// door end lies on whole numbers, and turned into squares at the end.

namespace {

// Intervals [first, second] on one line, keyed by the line's coordinate.
using TLineSet = std::map<int, std::vector<std::pair<int, int>>>;

// Adds the part of the wall tile's sides that lies in quadrant q, for the
// piece drawn in sub-cell (x, y).
void AddWallPiece(int n, int q, int x, int y, TLineSet& horizontal, TLineSet& vertical) {
  const int cellX = x - q % 2;  // the cell's corner, in half squares
  const int cellY = y - q / 2;
  if (WallPieceRunsAlong(n, q, 0)) horizontal[cellY].push_back({x, x + 1});
  if (WallPieceRunsAlong(n, q, 2)) horizontal[cellY + 2].push_back({x, x + 1});
  if (WallPieceRunsAlong(n, q, 3)) vertical[cellX].push_back({y, y + 1});
  if (WallPieceRunsAlong(n, q, 1)) vertical[cellX + 2].push_back({y, y + 1});
}

void Merge(TLineSet& lines) {
  for (auto& entry : lines) {
    auto& spans = entry.second;
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& span : spans) {
      if (!merged.empty() && span.first <= merged.back().second)
        merged.back().second = std::max(merged.back().second, span.second);
      else
        merged.push_back(span);
    }
    spans = std::move(merged);
  }
}

// Removes [from, to] from the spans on one line.
void Cut(TLineSet& lines, int at, int from, int to) {
  const auto found = lines.find(at);
  if (found == lines.end()) return;
  std::vector<std::pair<int, int>> kept;
  for (const auto& span : found->second) {
    if (span.second <= from || span.first >= to) {
      kept.push_back(span);
      continue;
    }
    if (span.first < from) kept.push_back({span.first, from});
    if (span.second > to) kept.push_back({to, span.second});
  }
  found->second = std::move(kept);
}

// A placed door: its group, orientation and the footprint's top-left
// sub-cell.
using TDoorKey = std::tuple<const TTileGroup*, int, int, int>;

bool IsDoorGroup(const TTileGroup& group) {
  return group.Category().compare(QLatin1String("Doors"), Qt::CaseInsensitive) == 0;
}

// The cells a placed object of the group covers, turned: the whole group,
// or one cell for a group whose tiles are placed one at random per cell.
void Footprint(const TTileGroup& group, int orientation, int* cols, int* rows) {
  if (group.PlaceType() == ptRandom) {
    *cols = *rows = 1;
    return;
  }
  const bool swap = SwapsSides(orientation);
  *cols = swap ? group.PatHeight() : group.PatWidth();
  *rows = swap ? group.PatWidth() : group.PatHeight();
}

// The top-left sub-cell of the placed object a door sub-tile belongs to:
// the cell and quadrant of the turned group that shows it.
bool DoorAnchor(const TSubTileSource& source, int orientation, int x, int y, int* ax, int* ay) {
  const TTileGroup& group = *source.Group;
  const bool random = group.PlaceType() == ptRandom;
  int cols = 0;
  int rows = 0;
  Footprint(group, orientation, &cols, &rows);
  for (int b = 0; b < rows; ++b)
    for (int a = 0; a < cols; ++a) {
      if (!random && group.TileAt(a, b, orientation) != source.Tile) continue;
      for (int d = 0; d < 4; ++d)
        if (kSubTileFor[orientation][d] == source.Quadrant) {
          *ax = x - (CellToSubCell(a) + d % 2);
          *ay = y - (CellToSubCell(b) + d / 2);
          return true;
        }
    }
  return false;
}

// The way a door faces, from the orientation it was placed in: a quarter
// turn for each clockwise rotation; mirroring keeps the door's line.
double DoorRotation(int orientation) {
  static constexpr int kQuarterTurns[kOrientationCount] = {0, 1, 2, 3, 0, 2, 1, 3};
  return kQuarterTurns[orientation] * M_PI / 2;
}

QPointF Squares(double x, double y) {
  return QPointF(x / kSubCellsPerCell, y / kSubCellsPerCell);
}

}  // namespace

TVttGeometry VttGeometry(const TTileMap& map, const TTilesetList* tilesets) {
  TSubTileIndex walls;
  TSubTileIndex objects;
  if (tilesets) {
    // Item 0 and the added wall tilesets hold the wall styles; the other
    // items the floors and objects.
    for (TTileSet* set : tilesets->WallTilesets())
      if (set->EnsureLoaded()) walls.AddTileset(*set);
    for (int i = 1; i < tilesets->Count(); ++i) {
      TTileSet* set = tilesets->Items(i);
      if (set && set->EnsureLoaded()) objects.AddTileset(*set);
    }
  }

  TVttGeometry result;
  TLineSet horizontal;
  TLineSet vertical;
  const TMapTileList& wallLayer = map.LayerWall();
  for (int x = 0; x < wallLayer.Width(); ++x)
    for (int y = 0; y < wallLayer.Height(); ++y) {
      const TMapTile* placed = wallLayer.Get(x, y);
      if (!placed) continue;
      const TSubTileSource* found = walls.Find(placed->SubTile()->Guid());
      // Wall pieces are always placed unturned from a style's first row.
      if (!found || placed->Orientation() != 0 || found->Tile->Y() != 0 || found->Tile->X() < 0 ||
          found->Tile->X() >= kWallStripPieces) {
        ++result.UnrecognisedWallPieces;
        continue;
      }
      AddWallPiece(found->Tile->X(), found->Quadrant, x, y, horizontal, vertical);
    }
  Merge(horizontal);
  Merge(vertical);

  std::set<TDoorKey> doors;
  const TMapTileList& overlay = map.LayerOverlay();
  for (int x = 0; x < overlay.Width(); ++x)
    for (int y = 0; y < overlay.Height(); ++y) {
      const TMapTile* placed = overlay.Get(x, y);
      if (!placed) continue;
      const TSubTileSource* found = objects.Find(placed->SubTile()->Guid());
      if (!found || !IsDoorGroup(*found->Group)) continue;
      int ax = 0;
      int ay = 0;
      if (DoorAnchor(*found, placed->Orientation(), x, y, &ax, &ay))
        doors.insert({found->Group, placed->Orientation(), ax, ay});
    }

  for (const TDoorKey& door : doors) {
    const auto& [group, orientation, ax, ay] = door;
    const bool swap = SwapsSides(orientation);
    int cols = 0;
    int rows = 0;
    Footprint(*group, orientation, &cols, &rows);
    const int w = CellToSubCell(cols);
    const int h = CellToSubCell(rows);
    TVttPortal portal;
    portal.Position = Squares(ax + w / 2.0, ay + h / 2.0);
    portal.Rotation = DoorRotation(orientation);
    // A door lies across the middle of its footprint, along its width as
    // drawn; turned a quarter, along its height.
    if (!swap) {
      const int line = ay + h / 2;
      portal.BoundA = Squares(ax, line);
      portal.BoundB = Squares(ax + w, line);
      if (h % 2 == 0) Cut(horizontal, line, ax, ax + w);
    } else {
      const int line = ax + w / 2;
      portal.BoundA = Squares(line, ay);
      portal.BoundB = Squares(line, ay + h);
      if (w % 2 == 0) Cut(vertical, line, ay, ay + h);
    }
    result.Portals.push_back(portal);
  }
  // The doors were gathered by group address; the file lists them by place,
  // so the same map always gives the same file.
  std::sort(result.Portals.begin(), result.Portals.end(),
            [](const TVttPortal& a, const TVttPortal& b) {
              return std::make_pair(a.Position.y(), a.Position.x()) <
                     std::make_pair(b.Position.y(), b.Position.x());
            });

  for (const auto& [y, spans] : horizontal)
    for (const auto& span : spans)
      result.LineOfSight.push_back({Squares(span.first, y), Squares(span.second, y)});
  for (const auto& [x, spans] : vertical)
    for (const auto& span : spans)
      result.LineOfSight.push_back({Squares(x, span.first), Squares(x, span.second)});
  return result;
}
