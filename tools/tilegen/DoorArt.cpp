#include "ObjectArt.h"

#include "Drawing.h"
#include "Noise.h"
#include "WallArt.h"

#include <QPainter>

#include <cmath>

// Walls are bands inside the cell whose edge they stand on, drawn above
// objects. A door turned to a wall's side and centred on that edge must lie
// in the band, so every door is drawn along the line half a wall thickness
// below the picture's middle: unturned it fits a wall on the top edge of a
// room's cell, and each quarter turn clockwise fits the next side (right,
// bottom, left). A stone jamb at each end fills the band's full depth and
// the opening between them takes the leaf.

namespace {

constexpr double kMiddle = kCell / 2.0 + kWallThickness / 2.0;
constexpr double kJamb = 42;                                 // width of each jamb along the edge
constexpr double kJambHalf = kWallThickness / 2.0 + 6;       // half their depth across the edge
constexpr double kThresholdHalf = kWallThickness / 2.0 + 2;  // half the depth of the threshold

struct TDoorCanvas {
  QImage Image = NewObjectCanvas(kCell, kCell);
  QPainter Painter{&Image};
  TDoorCanvas() { Painter.setRenderHint(QPainter::Antialiasing); }
  QImage Finish() {
    Painter.end();
    return FinishObject(Image, 3.5);
  }
};

QImage JambStone() {
  return StoneTexture(QStringLiteral("Door jamb"), Hex(0x8E8A82));
}

// The two jambs and, between them, the worn threshold stone.
void Doorway(QPainter& p, bool threshold) {
  const QImage stone = JambStone();
  if (threshold) {
    const QRectF sill(kJamb - 4, kMiddle - kThresholdHalf, kCell - 2 * kJamb + 8,
                      2 * kThresholdHalf);
    FillAndOutline(p, RoundedRect(sill, 3), TextureBrush(stone, 90), 2.5);
    ShadeLinear(p, RoundedRect(sill, 3), sill.topLeft(), sill.bottomLeft(), 40, 60);
  }
  for (double x : {0.0, kCell - kJamb}) {
    const QRectF jamb(x, kMiddle - kJambHalf, kJamb, 2 * kJambHalf);
    const QPainterPath path = RoundedRect(jamb, 2);
    FillAndOutline(p, path, TextureBrush(stone, 0, QPointF(x, 0)), 3);
    // Two dressed blocks per jamb.
    p.setPen(QPen(QColor(0x3A, 0x36, 0x30, 200), 2));
    p.drawLine(QPointF(x + 2, kMiddle + 6), QPointF(x + kJamb - 2, kMiddle + 6));
    ShadeLinear(p, path, jamb.topLeft(), jamb.bottomRight(), 70, 80);
  }
}

QImage DoorWood() {
  return WoodTexture(QStringLiteral("Door"), Hex(0x8A5228), Hex(0x4E2A12));
}

// A plank door leaf lying along the x axis from (0, -half) to (length, half)
// in the painter's current coordinates.
void DoorLeaf(QPainter& p, double length, double half) {
  const QImage wood = DoorWood();
  const QRectF leaf(0, -half, length, 2 * half);
  const QPainterPath path = RoundedRect(leaf, 3);
  FillAndOutline(p, path, TextureBrush(wood, 0), 3);
  // Plank ends show as short joints across the leaf's edge.
  p.setPen(QPen(QColor(0x2A, 0x18, 0x0C, 190), 1.8));
  for (double x = 36; x < length - 8; x += 36)
    p.drawLine(QPointF(x, -half + 2), QPointF(x, half - 2));
  ShadeLinear(p, path, leaf.topLeft(), leaf.bottomLeft(), 80, 90);
  // Iron hinge straps over both faces, and a ring handle on each side.
  const QColor iron(0x45, 0x47, 0x4C), ironLight(0x8C, 0x90, 0x96);
  for (double x : {12.0, length - 70}) {
    for (double side : {-1.0, 1.0}) {
      const QRectF strap(x, side < 0 ? -half - 4 : half - 3, 58, 7);
      FillAndOutline(p, RoundedRect(strap, 2), iron, 1.8);
      p.setPen(Qt::NoPen);
      p.setBrush(ironLight);
      p.drawEllipse(QPointF(x + 8, strap.center().y()), 1.8, 1.8);
      p.drawEllipse(QPointF(x + 50, strap.center().y()), 1.8, 1.8);
    }
  }
  for (double side : {-1.0, 1.0}) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1B, 0x14, 0x10), 5));
    p.drawEllipse(QPointF(length - 26, side * (half + 9)), 7, 7);
    p.setPen(QPen(ironLight, 2.5));
    p.drawEllipse(QPointF(length - 26, side * (half + 9)), 7, 7);
  }
}

}  // namespace

QImage PaintDoorClosed() {
  TDoorCanvas c;
  QPainter& p = c.Painter;
  Doorway(p, true);
  p.save();
  p.translate(kJamb - 4, kMiddle);
  DoorLeaf(p, kCell - 2 * kJamb + 8, 16);
  p.restore();
  return c.Finish();
}

QImage PaintDoorOpen() {
  TDoorCanvas c;
  QPainter& p = c.Painter;
  Doorway(p, true);
  // The leaf swung open about its hinge beside the left jamb, into the room.
  p.save();
  p.translate(kJamb + 4, kMiddle + 8);
  p.rotate(26);
  DoorLeaf(p, 206, 16);
  p.restore();
  return c.Finish();
}

QImage PaintPortcullis() {
  TDoorCanvas c;
  QPainter& p = c.Painter;
  Doorway(p, true);
  const QColor iron(0x3E, 0x40, 0x45), ironLight(0x9A, 0x9E, 0xA4);
  // The grooves in the jambs that the grate runs in.
  for (double x : {kJamb - 12, kCell - kJamb + 4})
    p.fillRect(QRectF(x, kMiddle - 7, 8, 14), QColor(0x18, 0x14, 0x10));
  // The grate's top: a cross beam with the bars' points seen end on.
  const QRectF beam(kJamb - 10, kMiddle - 5, kCell - 2 * kJamb + 20, 10);
  FillAndOutline(p, RoundedRect(beam, 2), iron, 2.5);
  for (double x = kJamb + 8; x <= kCell - kJamb - 7; x += 23.2) {
    const QRectF bar(x - 8, kMiddle - 8, 16, 16);
    FillAndOutline(p, RoundedRect(bar, 2), iron, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(ironLight);
    p.drawRect(QRectF(bar.left() + 3, bar.top() + 3, 5, 5));
  }
  return c.Finish();
}

QImage PaintSecretDoor() {
  TDoorCanvas c;
  QPainter& p = c.Painter;
  Doorway(p, false);
  // Between the jambs the wall seems to go on, in dressed blocks like the
  // jambs; a dashed seam marks the hidden door for the game master.
  const QImage stone = JambStone();
  const double half = kWallThickness / 2.0 + 2;
  const QRectF wall(kJamb - 2, kMiddle - half, kCell - 2 * kJamb + 4, 2 * half);
  const QPainterPath path = RoundedRect(wall, 2);
  FillAndOutline(p, path, TextureBrush(stone, 0, QPointF(31, 17)), 3);
  p.setPen(QPen(QColor(0x26, 0x22, 0x1E, 220), 2.5));
  for (double x = wall.left() + 54; x < wall.right() - 20; x += 54)
    p.drawLine(QPointF(x, wall.top() + 2), QPointF(x, wall.bottom() - 2));
  ShadeLinear(p, path, wall.topLeft(), wall.bottomLeft(), 60, 70);
  p.setPen(QPen(QColor(0xE8, 0xD8, 0xA0), 3, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(wall.adjusted(9, 8, -9, -8));
  // The loose stone that opens it.
  const QRectF lever(wall.right() - 34, kMiddle - 8, 16, 16);
  FillAndOutline(p, RoundedRect(lever, 2), QColor(0x8A, 0x84, 0x78), 2.5);
  return c.Finish();
}
