#include "ButtonArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

using TDrawing = std::function<void(QPainter&)>;

// One palette for every picture: dark outlines, paper, and a few strong
// colours for what the command acts on.
const QColor kInk(40, 40, 48);
const QColor kPaper(252, 252, 246);
const QColor kFold(220, 220, 210);
const QColor kBlue(46, 104, 186);
const QColor kLightBlue(224, 238, 252);
const QColor kGreen(36, 150, 60);
const QColor kRed(200, 44, 40);
const QColor kYellow(240, 190, 40);
const QColor kGridFill(214, 226, 240);
const QColor kGridLine(90, 100, 120);
const QColor kMetal(190, 194, 204);
const QColor kTileLight(222, 190, 140);
const QColor kTileDark(164, 120, 70);
const QColor kTileLine(100, 70, 40);

QPen Pen(const QColor& colour, qreal width = 1.0) {
  QPen pen(colour, width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

// A small 3 × 3 grid of cells, the base of the column, row and nudge
// pictures.
void DrawGrid(QPainter& p, const QRectF& r) {
  p.setPen(Pen(kGridLine, 0.8));
  p.setBrush(kGridFill);
  p.drawRect(r);
  for (int i = 1; i < 3; ++i) {
    const qreal x = r.left() + r.width() * i / 3;
    const qreal y = r.top() + r.height() * i / 3;
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
}

// A plus or minus sign in a filled disc.
void DrawBadge(QPainter& p, QPointF centre, bool plus) {
  p.setPen(Pen(Qt::white, 0.8));
  p.setBrush(plus ? kGreen : kRed);
  p.drawEllipse(centre, 3.8, 3.8);
  p.setPen(Pen(Qt::white, 1.4));
  p.drawLine(centre + QPointF(-2, 0), centre + QPointF(2, 0));
  if (plus) p.drawLine(centre + QPointF(0, -2), centre + QPointF(0, 2));
}

// An arrow with its tip at tip, pointing in direction (dx, dy).
void DrawArrow(QPainter& p, QPointF tip, qreal dx, qreal dy, qreal length, const QColor& colour) {
  const QPointF back(-dx, -dy);
  const QPointF side(-dy, dx);
  QPolygonF head;
  head << tip << tip + back * 4 + side * 3.2 << tip + back * 4 - side * 3.2;
  p.setPen(Pen(colour, 2.2));
  p.drawLine(tip + back * 3, tip + back * length);
  p.setPen(Pen(colour, 0.8));
  p.setBrush(colour);
  p.drawPolygon(head);
}

// A circular arrow around the centre.
void DrawTurn(QPainter& p, bool clockwise) {
  const QRectF ring(3, 3, 10, 10);
  p.setPen(Pen(kBlue, 1.8));
  p.setBrush(Qt::NoBrush);
  // Qt's angles run counter-clockwise from three o'clock, in 1/16 degree.
  p.drawArc(ring, clockwise ? 120 * 16 : 60 * 16, clockwise ? -270 * 16 : 270 * 16);
  const qreal dir = clockwise ? 1 : -1;
  const QPointF tip = clockwise ? QPointF(13.2, 10.0) : QPointF(2.8, 10.0);
  QPolygonF head;
  head << tip + QPointF(0, 2.6) << tip + QPointF(-2.8 * dir, -1.4)
       << tip + QPointF(2.8 * dir, -1.6);
  p.setPen(Pen(kBlue, 0.8));
  p.setBrush(kBlue);
  p.drawPolygon(head);
}

// Two mirrored triangles on either side of an axis.
void DrawFlip(QPainter& p, bool horizontal) {
  p.save();
  if (!horizontal) {
    p.translate(16, 0);
    p.rotate(90);
  }
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(6.5, 3), QPointF(6.5, 13), QPointF(1.5, 13)}));
  p.setBrush(kPaper);
  p.drawPolygon(QPolygonF({QPointF(9.5, 3), QPointF(9.5, 13), QPointF(14.5, 13)}));
  QPen axis = Pen(kRed, 1.0);
  axis.setDashPattern({1.5, 1.5});
  p.setPen(axis);
  p.drawLine(QPointF(8, 1), QPointF(8, 15));
  p.restore();
}

// A magnifying glass whose lens is centred on centre.
void DrawMagnifier(QPainter& p, QPointF centre, qreal radius) {
  const QPointF handle = centre + QPointF(radius * 0.75, radius * 0.75);
  p.setPen(Pen(kInk, 2.4));
  p.drawLine(handle, handle + QPointF(radius * 0.8, radius * 0.8));
  p.setPen(Pen(kInk, 1.3));
  p.setBrush(kLightBlue);
  p.drawEllipse(centre, radius, radius);
}

void DrawZoom(QPainter& p, bool plus) {
  DrawMagnifier(p, QPointF(6.5, 6.5), 5.2);
  p.setPen(Pen(kBlue, 1.6));
  p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
  if (plus) p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

// A sheet with its top right corner folded, inside r.
void DrawPage(QPainter& p, const QRectF& r = QRectF(3, 1.5, 10, 13)) {
  const qreal fold = r.width() * 0.3;
  QPainterPath page;
  page.moveTo(r.topLeft());
  page.lineTo(r.right() - fold, r.top());
  page.lineTo(r.right(), r.top() + fold);
  page.lineTo(r.bottomRight());
  page.lineTo(r.bottomLeft());
  page.closeSubpath();
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kPaper);
  p.drawPath(page);
  p.setBrush(kFold);
  p.drawPolygon(
      QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                 QPointF(r.right(), r.top() + fold)}));
}

// A disk with its label and shutter, size units square from (x, y).
void DrawDisk(QPainter& p, qreal x, qreal y, qreal size) {
  const qreal s = size / 13.0;
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x + 11 * s, y), QPointF(x + 13 * s, y + 2 * s),
                           QPointF(x + 13 * s, y + 13 * s), QPointF(x, y + 13 * s)}));
  p.setBrush(kPaper);
  p.drawRect(QRectF(x + 2.5 * s, y, 8 * s, 5 * s));
  p.setBrush(kMetal);
  p.drawRect(QRectF(x + 2.5 * s, y + 8 * s, 8 * s, 5 * s));
  p.setPen(Pen(kInk, 1.2));
  p.drawLine(QPointF(x + 8 * s, y + 1.2 * s), QPointF(x + 8 * s, y + 3.8 * s));
}

// A printer with a sheet in it and one coming out, inside the 16-unit
// square.
void DrawPrinter(QPainter& p) {
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(kMetal);
  p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.2, 1.2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(Pen(kGreen, 1.4));
  p.drawPoint(QPointF(12.5, 8.5));
}

// A 2 × 2 block of floor tiles within r.
void DrawTiles(QPainter& p, const QRectF& r) {
  p.setPen(Pen(kTileLine, 0.8));
  const qreal w = r.width() / 2;
  const qreal h = r.height() / 2;
  for (int i = 0; i < 4; ++i) {
    p.setBrush((i == 0 || i == 3) ? kTileLight : kTileDark);
    p.drawRect(QRectF(r.left() + (i % 2) * w, r.top() + (i / 2) * h, w, h));
  }
}

// A pencil from its tip towards the top right, length units long.
void DrawPencil(QPainter& p, QPointF tip, qreal length) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  p.setPen(Pen(kInk, 0.9));
  p.setBrush(kYellow);
  p.drawRect(QRectF(3.2, -1.6, length - 3.2, 3.2));
  p.setBrush(kPaper);
  p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(3.2, -1.6), QPointF(3.2, 1.6)}));
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(1.2, -0.6), QPointF(1.2, 0.6)}));
  p.restore();
}

// A triangle pointing left or right, for paging.
void DrawPlayTriangle(QPainter& p, qreal x, bool right) {
  QPolygonF triangle;
  if (right)
    triangle << QPointF(x, 3) << QPointF(x + 6, 8) << QPointF(x, 13);
  else
    triangle << QPointF(x + 6, 3) << QPointF(x, 8) << QPointF(x + 6, 13);
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kBlue);
  p.drawPolygon(triangle);
}

void DrawStopBar(QPainter& p, qreal x) {
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kBlue);
  p.drawRect(QRectF(x, 3, 2, 10));
}

// A gear with its centre at centre.
void DrawGear(QPainter& p, QPointF centre, qreal radius) {
  p.save();
  p.translate(centre);
  p.setPen(Pen(kInk, 0.8));
  p.setBrush(QColor(120, 124, 136));
  QPainterPath gear;
  for (int i = 0; i < 8; ++i) {
    QTransform turn;
    turn.rotate(i * 45);
    gear.addPolygon(
        turn.map(QPolygonF(QRectF(-radius * 0.28, -radius * 1.25, radius * 0.56, radius * 0.6))));
  }
  gear.addEllipse(QPointF(0, 0), radius, radius);
  gear.setFillRule(Qt::WindingFill);
  p.drawPath(gear.simplified());
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(0, 0), radius * 0.4, radius * 0.4);
  p.restore();
}

// A blue disc with a white mark in it.
void DrawRoundel(QPainter& p) {
  p.setPen(Pen(QColor(26, 70, 140), 1.0));
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
}

const std::vector<std::pair<QString, TDrawing>>& Drawings() {
  static const std::vector<std::pair<QString, TDrawing>> drawings = {
      {QStringLiteral("new"),
       [](QPainter& p) {
         DrawPage(p, QRectF(1.5, 1.5, 10, 13));
         // A four-pointed star: something new.
         const QPointF c(11.5, 11.5);
         QPolygonF star;
         for (int i = 0; i < 8; ++i) {
           const qreal radius = i % 2 ? 1.4 : 4.2;
           const qreal angle = i * 3.14159265 / 4;
           star << c + QPointF(std::sin(angle), -std::cos(angle)) * radius;
         }
         p.setPen(Pen(QColor(170, 110, 10), 0.8));
         p.setBrush(kYellow);
         p.drawPolygon(star);
       }},
      {QStringLiteral("open"),
       [](QPainter& p) {
         p.setPen(Pen(QColor(130, 90, 20), 1.0));
         p.setBrush(QColor(236, 196, 90));
         p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5),
                                  QPointF(13.5, 5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
         p.setBrush(QColor(250, 220, 120));
         p.drawPolygon(QPolygonF(
             {QPointF(1.5, 13.5), QPointF(4, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5)}));
       }},
      {QStringLiteral("save"), [](QPainter& p) { DrawDisk(p, 1.5, 1.5, 13); }},
      {QStringLiteral("saveall"),
       [](QPainter& p) {
         DrawDisk(p, 5.5, 0.5, 10);
         DrawDisk(p, 0.5, 5.5, 10);
       }},
      {QStringLiteral("print"), [](QPainter& p) { DrawPrinter(p); }},
      {QStringLiteral("printpreview"),
       [](QPainter& p) {
         DrawPage(p, QRectF(1.5, 0.5, 10, 13));
         p.setPen(Pen(QColor(150, 150, 160), 1.0));
         for (int i = 0; i < 3; ++i)
           p.drawLine(QPointF(3.5, 5.5 + i * 2), QPointF(7.5, 5.5 + i * 2));
         DrawMagnifier(p, QPointF(9.5, 9.5), 3.3);
       }},
      {QStringLiteral("export"),
       [](QPainter& p) {
         // A landscape picture with an arrow leaving it.
         p.setPen(Pen(kInk, 1.0));
         p.setBrush(QColor(200, 226, 250));
         p.drawRect(QRectF(0.5, 2.5, 11, 10));
         p.setPen(Qt::NoPen);
         p.setBrush(kGreen);
         p.drawPolygon(QPolygonF({QPointF(1, 12), QPointF(5, 6.5), QPointF(8, 10),
                                  QPointF(9.5, 8.5), QPointF(11, 10.5), QPointF(11, 12)}));
         p.setBrush(kYellow);
         p.drawEllipse(QPointF(8.5, 5.5), 1.5, 1.5);
         DrawArrow(p, QPointF(15.5, 11), 1, 0, 7, kRed);
       }},
      {QStringLiteral("undo"),
       [](QPainter& p) {
         QPainterPath path;
         path.moveTo(13.5, 13);
         path.cubicTo(14.5, 6.5, 9, 4.5, 4, 6.5);
         p.setPen(Pen(kBlue, 2.0));
         p.setBrush(Qt::NoBrush);
         p.drawPath(path);
         DrawArrow(p, QPointF(1.5, 7.5), -0.9, 0.45, 3.5, kBlue);
       }},
      {QStringLiteral("redo"),
       [](QPainter& p) {
         QPainterPath path;
         path.moveTo(2.5, 13);
         path.cubicTo(1.5, 6.5, 7, 4.5, 12, 6.5);
         p.setPen(Pen(kBlue, 2.0));
         p.setBrush(Qt::NoBrush);
         p.drawPath(path);
         DrawArrow(p, QPointF(14.5, 7.5), 0.9, 0.45, 3.5, kBlue);
       }},
      {QStringLiteral("zoomin"), [](QPainter& p) { DrawZoom(p, true); }},
      {QStringLiteral("zoomout"), [](QPainter& p) { DrawZoom(p, false); }},
      {QStringLiteral("modified"),
       [](QPainter& p) {
         // A pencil writing on a page: the map has unsaved changes.
         p.setPen(Pen(kInk, 1.0));
         p.setBrush(kPaper);
         p.drawRect(QRectF(1.5, 1.5, 9, 13));
         p.setPen(Pen(QColor(150, 150, 160), 1.0));
         for (int i = 0; i < 4; ++i)
           p.drawLine(QPointF(3.5, 4.5 + i * 2.5), QPointF(8.5, 4.5 + i * 2.5));
         DrawPencil(p, QPointF(6.5, 13), 11);
       }},
      {QStringLiteral("properties"),
       [](QPainter& p) {
         DrawPage(p);
         p.setPen(Pen(QColor(120, 120, 130), 1.0));
         for (int i = 0; i < 4; ++i)
           p.drawLine(QPointF(5, 6.5 + i * 2), QPointF(11, 6.5 + i * 2));
         p.setPen(Pen(kBlue, 1.4));
         p.drawPoint(QPointF(4.6, 6.5));
       }},
      {QStringLiteral("addcol"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 10, 14));
         DrawBadge(p, QPointF(11.8, 8), true);
       }},
      {QStringLiteral("addrow"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 14, 10));
         DrawBadge(p, QPointF(8, 11.8), true);
       }},
      {QStringLiteral("delcol"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 10, 14));
         DrawBadge(p, QPointF(11.8, 8), false);
       }},
      {QStringLiteral("delrow"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 14, 10));
         DrawBadge(p, QPointF(8, 11.8), false);
       }},
      {QStringLiteral("tiles"), [](QPainter& p) { DrawTiles(p, QRectF(1.5, 1.5, 13, 13)); }},
      {QStringLiteral("walls"),
       [](QPainter& p) {
         p.setPen(Pen(QColor(240, 230, 220), 0.9));
         p.setBrush(QColor(178, 64, 44));
         for (int row = 0; row < 4; ++row) {
           const qreal y = 1.5 + row * 3.3;
           const qreal shift = row % 2 ? -2.5 : 0;
           for (int col = 0; col < 4; ++col) {
             QRectF brick(1 + shift + col * 5, y, 5, 3.3);
             brick = brick.intersected(QRectF(1, 1, 14, 14));
             if (!brick.isEmpty()) p.drawRect(brick);
           }
         }
       }},
      {QStringLiteral("rooms"),
       [](QPainter& p) {
         // A floor inside a wall outline: a room in one drag.
         DrawTiles(p, QRectF(3, 3, 10, 10));
         p.setPen(Pen(QColor(178, 64, 44), 2.4));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(2.2, 2.2, 11.6, 11.6));
       }},
      {QStringLiteral("doors"),
       [](QPainter& p) {
         // A wall with a door leaf swung open in its gap.
         p.setPen(Pen(QColor(178, 64, 44), 2.4));
         p.drawLine(QPointF(1.5, 12.5), QPointF(4.5, 12.5));
         p.drawLine(QPointF(11.5, 12.5), QPointF(14.5, 12.5));
         p.setPen(Pen(kTileLine, 1.0));
         p.setBrush(kTileDark);
         p.drawRect(QRectF(4.8, 3.5, 2.2, 9));
         p.setPen(Pen(kBlue, 0.9));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(-2.2, 3.5, 18, 18), 0, 90 * 16);
       }},
      {QStringLiteral("fill"),
       [](QPainter& p) {
         // Floor poured up to the walls around it.
         p.setPen(Pen(kGridLine, 0.8));
         p.setBrush(kGridFill);
         p.drawRect(QRectF(1.5, 1.5, 13, 13));
         DrawTiles(p, QRectF(1.5, 7.5, 13, 7));
         p.setPen(Pen(kInk, 0.9));
         p.setBrush(kBlue);
         QPainterPath drop;
         drop.moveTo(8, 1.5);
         drop.cubicTo(QPointF(11.5, 6), QPointF(10.5, 8.5), QPointF(8, 8.5));
         drop.cubicTo(QPointF(5.5, 8.5), QPointF(4.5, 6), QPointF(8, 1.5));
         p.drawPath(drop);
       }},
      {QStringLiteral("eraser"),
       [](QPainter& p) {
         p.setPen(Pen(kInk, 1.0));
         p.setBrush(QColor(240, 130, 150));
         p.drawPolygon(
             QPolygonF({QPointF(7, 3), QPointF(14.5, 10.5), QPointF(10.5, 14.5), QPointF(3, 7)}));
         p.setBrush(QColor(120, 150, 220));
         p.drawPolygon(
             QPolygonF({QPointF(3, 7), QPointF(6.8, 10.8), QPointF(4, 13.6), QPointF(0.6, 10.2)}));
         p.setPen(Pen(QColor(140, 140, 140), 1.0));
         p.drawLine(QPointF(7, 15), QPointF(15, 15));
       }},
      {QStringLiteral("nudgeleft"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(5, 3, 10, 10));
         DrawArrow(p, QPointF(1, 8), -1, 0, 8, kBlue);
       }},
      {QStringLiteral("nudgeright"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 3, 10, 10));
         DrawArrow(p, QPointF(15, 8), 1, 0, 8, kBlue);
       }},
      {QStringLiteral("nudgeup"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(3, 5, 10, 10));
         DrawArrow(p, QPointF(8, 1), 0, -1, 8, kBlue);
       }},
      {QStringLiteral("nudgedown"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(3, 1, 10, 10));
         DrawArrow(p, QPointF(8, 15), 0, 1, 8, kBlue);
       }},
      {QStringLiteral("rotcw"), [](QPainter& p) { DrawTurn(p, true); }},
      {QStringLiteral("rotccw"), [](QPainter& p) { DrawTurn(p, false); }},
      {QStringLiteral("fliph"), [](QPainter& p) { DrawFlip(p, true); }},
      {QStringLiteral("flipv"), [](QPainter& p) { DrawFlip(p, false); }},
      {QStringLiteral("firstpage"),
       [](QPainter& p) {
         DrawStopBar(p, 2.5);
         DrawPlayTriangle(p, 6.5, false);
       }},
      {QStringLiteral("prevpage"), [](QPainter& p) { DrawPlayTriangle(p, 4.5, false); }},
      {QStringLiteral("nextpage"), [](QPainter& p) { DrawPlayTriangle(p, 5.5, true); }},
      {QStringLiteral("lastpage"),
       [](QPainter& p) {
         DrawPlayTriangle(p, 3.5, true);
         DrawStopBar(p, 11.5);
       }},
      {QStringLiteral("printpage"),
       [](QPainter& p) {
         // One sheet in front of the printer.
         p.save();
         p.translate(-1, -1);
         DrawPrinter(p);
         p.restore();
         DrawPage(p, QRectF(8.5, 6.5, 7, 9));
         p.setPen(Pen(kBlue, 1.2));
         p.drawLine(QPointF(12, 9.5), QPointF(12, 13.5));
         p.drawLine(QPointF(11, 10.3), QPointF(12, 9.5));
       }},
      {QStringLiteral("printersetup"),
       [](QPainter& p) {
         p.save();
         p.translate(-1, -1);
         DrawPrinter(p);
         p.restore();
         DrawGear(p, QPointF(11.5, 11.5), 3.2);
       }},
      {QStringLiteral("addtileset"),
       [](QPainter& p) {
         DrawTiles(p, QRectF(0.5, 0.5, 12, 12));
         DrawBadge(p, QPointF(11.5, 11.5), true);
       }},
      {QStringLiteral("tileseteditor"),
       [](QPainter& p) {
         DrawTiles(p, QRectF(0.5, 0.5, 12, 12));
         DrawPencil(p, QPointF(5.5, 14.5), 12.5);
       }},
      {QStringLiteral("help"),
       [](QPainter& p) {
         DrawRoundel(p);
         QPainterPath mark;
         mark.moveTo(5.6, 6.2);
         mark.cubicTo(5.6, 3.2, 10.6, 3.2, 10.6, 6.0);
         mark.cubicTo(10.6, 8.0, 8.0, 8.0, 8.0, 10.0);
         p.setPen(Pen(Qt::white, 1.9));
         p.setBrush(Qt::NoBrush);
         p.drawPath(mark);
         p.setPen(Qt::NoPen);
         p.setBrush(Qt::white);
         p.drawEllipse(QPointF(8, 12.4), 1.2, 1.2);
       }},
      {QStringLiteral("about"),
       [](QPainter& p) {
         DrawRoundel(p);
         p.setPen(Qt::NoPen);
         p.setBrush(Qt::white);
         p.drawEllipse(QPointF(8, 4.6), 1.3, 1.3);
         p.drawRect(QRectF(7, 7, 2, 5.5));
         p.drawRect(QRectF(6, 7, 2, 1));
         p.drawRect(QRectF(6, 11.5, 4, 1.2));
       }},
      {QStringLiteral("close"),
       [](QPainter& p) {
         p.setPen(Pen(QColor(140, 30, 26), 1.0));
         p.setBrush(kRed);
         p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
         p.setPen(Pen(Qt::white, 2.0));
         p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
         p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
       }},
  };
  return drawings;
}

const TDrawing* Find(const QString& name) {
  for (const auto& [key, drawing] : Drawings()) {
    if (key == name) return &drawing;
  }
  return nullptr;
}

// Paints a drawing made for a `units`-wide square onto a transparent
// picture of size × size device-independent pixels.
QPixmap Paint(const TDrawing& drawing, int size, qreal ratio, qreal units) {
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / units, size / units);
  drawing(painter);
  return pixmap;
}

}  // namespace

QStringList ButtonArtNames() {
  QStringList names;
  for (const auto& entry : Drawings())
    names << entry.first;
  return names;
}

bool HasButtonArt(const QString& name) {
  return Find(name) != nullptr;
}

QPixmap ButtonArtPixmap(const QString& name, int size, qreal devicePixelRatio) {
  static const TDrawing kNothing = [](QPainter&) {};
  const TDrawing* drawing = Find(name);
  return Paint(drawing ? *drawing : kNothing, size, devicePixelRatio, 16);
}

QIcon ButtonArtIcon(const QString& name, std::initializer_list<int> sizes) {
  QIcon icon;
  if (!HasButtonArt(name)) return icon;
  for (const int size : sizes) {
    for (const qreal ratio : {1.0, 2.0})
      icon.addPixmap(ButtonArtPixmap(name, size, ratio));
  }
  return icon;
}

QPixmap ButtonArtHiLight(const QString& name, int size, qreal devicePixelRatio) {
  QPixmap pixmap(QSize(size, size) * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(120, 160, 220), 1.0));
  painter.setBrush(QColor(216, 232, 250));
  painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 8.0, size / 8.0);
  painter.drawPixmap(0, 0, ButtonArtPixmap(name, size, devicePixelRatio));
  return pixmap;
}

QPixmap ButtonArtDisabled(const QString& name, int size, qreal devicePixelRatio) {
  // Grey at the picture's own brightness, faded.
  QImage image = ButtonArtPixmap(name, size, devicePixelRatio)
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = 96 + qGray(line[x]) / 2;
      line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 3);
    }
  }
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QPoint EyedropperHotSpot() {
  return QPoint(2, 29);
}

QPixmap EyedropperPixmap(qreal devicePixelRatio) {
  return Paint(
      [](QPainter& p) {
        // A pipette lying from the tip at the bottom left to the bulb at the
        // top right, outlined in white so it shows on dark tiles too.
        p.translate(2.5, 29.5);
        p.rotate(-45);
        QPainterPath glass;
        glass.moveTo(0, 0);
        glass.lineTo(4, -2);
        glass.lineTo(22, -2);
        glass.lineTo(22, 2);
        glass.lineTo(4, 2);
        glass.closeSubpath();
        QPainterPath bulb;
        bulb.addRoundedRect(QRectF(21, -4, 5, 8), 1, 1);
        bulb.addRoundedRect(QRectF(25, -3.2, 9, 6.4), 3.2, 3.2);
        for (const qreal width : {4.0, 1.2}) {
          p.setPen(Pen(width > 2 ? Qt::white : kInk, width));
          p.setBrush(width > 2 ? QBrush(Qt::white) : QBrush(QColor(230, 240, 250)));
          p.drawPath(glass);
          if (width < 2) p.setBrush(QColor(60, 64, 76));
          p.drawPath(bulb);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(5, -0.9, 9, 1.8));
      },
      32, devicePixelRatio, 32);
}

QCursor EyedropperCursor() {
  return QCursor(EyedropperPixmap(), EyedropperHotSpot().x(), EyedropperHotSpot().y());
}
