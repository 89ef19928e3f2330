#pragma once

#include "map/SubCells.h"

#include <QPoint>
#include <QRect>
#include <QtGlobal>

#include <optional>
#include <random>
#include <vector>

class TSubTileIndex;
class TTileGroup;
class TTileMap;

// A uniform draw from [0, n) of a generator, as placement makes it.
int RandomBelow(std::mt19937& random, int n);

// One tile (a, b) of a group in an orientation, its four sub-tiles placed
// with the top-left one at sub-cell (x, y): floors on the base layer, any
// other group on the overlay. Sub-cells outside the map are skipped.
void PlaceGroupTile(TTileMap& map, const TTileGroup& group, int x, int y, int a, int b,
                    quint8 orientation);

// A cell edge: the edge `Edge` of cell (Col, Row).
struct TEdgeSpot {
  int Col = 0;
  int Row = 0;
  TCellEdge Edge = TCellEdge::Top;

  friend bool operator==(const TEdgeSpot& a, const TEdgeSpot& b) {
    return a.Col == b.Col && a.Row == b.Row && a.Edge == b.Edge;
  }
};

// The operations that build a map out of rooms: floors laid by a group's
// placement rules, rooms walled along their outline, doors cut into walls
// and floors filled up to the walls. The room, door and fill tools and any
// generator of maps build through them, never by writing layers directly.
// Each change is one undo step of the map (part of the caller's step when
// the map is already recording).
//
// Wall pieces and doors already on the map are known again by the identity
// of their sub-tiles in two indexes: the wall styles and the door groups.
class TMapBuilder {
 public:
  // Nothing is owned; the random source draws the tiles of Random groups.
  TMapBuilder(TTileMap& map, const TSubTileIndex& walls, const TSubTileIndex& doors,
              std::mt19937& random);

  // The size of the map in cells.
  int Cols() const;
  int Rows() const;

  // --- What is on the map ---
  // How many halves of the edge (0, 1 or 2) a known wall piece runs along,
  // on either side of the line.
  int WalledHalves(const TEdgeSpot& edge) const;
  bool IsWalled(const TEdgeSpot& edge) const { return WalledHalves(edge) > 0; }
  // Whether a door of a known door group lies across the edge (its pieces
  // on both sides of the line).
  bool HasDoor(const TEdgeSpot& edge) const;
  // The same line seen from the cell on its other side.
  static TEdgeSpot OtherSide(const TEdgeSpot& edge);
  // The walled edge nearest to a point given in cells (fractions of a cell
  // from the map's top-left corner) whose distance is at most reach cells,
  // or none.
  std::optional<TEdgeSpot> NearestWalledEdge(double x, double y, double reach) const;

  // --- Floors ---
  // Lays a floor group over cells as a drag over their bounding rectangle
  // would: a Random group draws a tile per cell, row by row; Fixed and
  // Pattern groups repeat from the rectangle's top-left cell.
  void PlaceFloor(const TTileGroup& floor, quint8 orientation, const std::vector<QPoint>& cells);

  // --- Rooms ---
  // A room over a rectangle of cells: its floor, and its outer edges
  // walled in the style. An edge whose line already holds a wall on the
  // other side keeps that wall and gets none of its own, so between two
  // rooms there is one wall line. The new walls join the walls there by the
  // wall rules. Walls already inside the room stay.
  void PlaceRoom(const QRect& cells, const TTileGroup& floor, quint8 orientation,
                 const TTileGroup& wallStyle);

  // --- Doors ---
  // The edge as a door takes it: the side of the line whose cell holds the
  // wall pieces (the door is drawn to fit a wall on its own cell's side).
  TEdgeSpot DoorSide(const TEdgeSpot& edge) const;
  // The orientation a door group takes on an edge: a quarter turn per side
  // clockwise from the top, so it lies along the edge.
  static quint8 DoorOrientation(TCellEdge edge);
  // The sub-cells a door of the group covers, centred on the middle of the
  // edge and turned along it.
  static QRect DoorSubCells(const TTileGroup& door, const TEdgeSpot& edge);
  // Places a door centred on the edge and turned along it, and removes the
  // wall pieces it covers on both sides of the line. A corner there keeps
  // its other wall as a straight piece; the pieces beyond the door end at
  // it. On an edge without walls the door is placed all the same.
  void PlaceDoor(const TTileGroup& door, const TEdgeSpot& edge);

  // --- Fill ---
  // The cells reachable from cell (c, r) without crossing an edge that a
  // wall piece runs along or a door lies across, within the map; the walk
  // stops after limit + 1 cells. None when (c, r) lies outside the map.
  std::vector<QPoint> FillRegion(int c, int r, int limit) const;
  // Lays the floor over every cell of the region, as one undo step.
  void FillFloor(const std::vector<QPoint>& region, const TTileGroup& floor, quint8 orientation);

 private:
  // The known wall piece at a sub-cell: its number n (0-11) and quadrant.
  bool WallPieceAt(int x, int y, int* n, int* q, const TTileGroup** style) const;
  bool IsDoorPiece(int x, int y) const;
  // Whether the sub-cell (x, y) holds a known piece running along the side.
  bool RunsAlong(int x, int y, int side) const;
  // The two sub-cells of a cell along one of its edges.
  static void EdgeSubCells(const TEdgeSpot& edge, QPoint out[2]);
  // Removes the wall pieces along the line of an edge on both sides within
  // the sub-cells [from, to) along it; a corner keeps its other side.
  void CutWall(const TEdgeSpot& edge, int from, int to);

  TTileMap& fMap;
  const TSubTileIndex& fWalls;
  const TSubTileIndex& fDoors;
  std::mt19937& fRandom;
};
