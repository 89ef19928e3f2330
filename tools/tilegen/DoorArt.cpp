#include "ObjectArt.h"

#include "Drawing.h"
#include "Noise.h"

#include <QPainter>

#include <cmath>

// Every door lies across the middle line y = 150: a stone jamb at each end
// as thick as it needs to be to cover a wall on either side of the edge, and
// the opening between them.

namespace {

constexpr double kMiddle = kCell / 2.0;
constexpr double kJamb = 42;           // width of each jamb along the edge
constexpr double kJambHalf = 46;       // half their depth across the edge
constexpr double kThresholdHalf = 30;  // half the depth of the threshold

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
  return WoodTexture(QStringLiteral("Door"), Hex(0x9A6234), Hex(0x5E3518));
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
  DoorLeaf(p, kCell - 2 * kJamb + 8, 15);
  p.restore();
  return c.Finish();
}

QImage PaintDoorOpen() {
  TDoorCanvas c;
  QPainter& p = c.Painter;
  Doorway(p, true);
  // The leaf swung open about its hinge beside the left jamb.
  p.save();
  p.translate(kJamb + 4, kMiddle + 12);
  p.rotate(34);
  DoorLeaf(p, 206, 13);
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
  // A stretch of wall across the whole width, of dressed blocks like the
  // walls around it, with the seam of a hidden door only a close look finds.
  const QImage stone = StoneTexture(QStringLiteral("Secret door"), Hex(0x8E8A82));
  const QRectF wall(0, kMiddle - kJambHalf, kCell, 2 * kJambHalf);
  const QPainterPath path = RoundedRect(wall, 2);
  FillAndOutline(p, path, TextureBrush(stone, 0), 3);
  p.setPen(QPen(QColor(0x3A, 0x36, 0x30, 210), 2.5));
  p.drawLine(QPointF(2, kMiddle), QPointF(kCell - 2, kMiddle));
  for (double x = 0; x < kCell; x += 75) {
    p.drawLine(QPointF(x + 37.5, wall.top() + 2), QPointF(x + 37.5, kMiddle));
    if (x > 0) p.drawLine(QPointF(x, kMiddle), QPointF(x, wall.bottom() - 2));
  }
  ShadeLinear(p, path, wall.topLeft(), wall.bottomLeft(), 60, 70);
  // The hidden door's outline, dashed, and the stone that opens it.
  p.setPen(QPen(QColor(0x20, 0x1C, 0x18, 200), 2.5, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(kJamb, wall.top() + 9, kCell - 2 * kJamb, wall.height() - 18));
  const QRectF lever(kCell - kJamb - 30, kMiddle - 33, 18, 14);
  p.fillRect(lever, QColor(0x6E, 0x6A, 0x62));
  p.setPen(QPen(QColor(0x20, 0x1C, 0x18), 2));
  p.drawRect(lever);
  return c.Finish();
}
