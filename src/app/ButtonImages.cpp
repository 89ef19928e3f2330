#include "ButtonImages.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>

namespace {

using TDrawing = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 48);
const QColor kPaper(252, 252, 246);
const QColor kBlue(46, 104, 186);
const QColor kGreen(36, 150, 60);
const QColor kRed(200, 44, 40);
const QColor kGridFill(214, 226, 240);

QPen Pen(const QColor& colour, qreal width = 1.0) {
  QPen pen(colour, width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

// A small 3 × 3 grid of cells filling most of the square, the base of the
// column, row and nudge pictures.
void DrawGrid(QPainter& p, const QRectF& r) {
  p.setPen(Pen(QColor(90, 100, 120), 0.8));
  p.setBrush(kGridFill);
  p.drawRect(r);
  for (int i = 1; i < 3; ++i) {
    const qreal x = r.left() + r.width() * i / 3;
    const qreal y = r.top() + r.height() * i / 3;
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
}

// A plus or minus sign in a filled disc at a centre.
void DrawBadge(QPainter& p, QPointF centre, bool plus) {
  p.setPen(Qt::NoPen);
  p.setBrush(plus ? kGreen : kRed);
  p.drawEllipse(centre, 3.6, 3.6);
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

// A circular arrow around the centre, clockwise or not.
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

void DrawMagnifier(QPainter& p, bool plus) {
  p.setPen(Pen(kInk, 2.4));
  p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
  p.setPen(Pen(kInk, 1.3));
  p.setBrush(QColor(224, 238, 252));
  p.drawEllipse(QPointF(6.5, 6.5), 5.2, 5.2);
  p.setPen(Pen(kBlue, 1.6));
  p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
  if (plus) p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void DrawPage(QPainter& p) {
  QPainterPath page;
  page.moveTo(3, 1.5);
  page.lineTo(10, 1.5);
  page.lineTo(13, 4.5);
  page.lineTo(13, 14.5);
  page.lineTo(3, 14.5);
  page.closeSubpath();
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(kPaper);
  p.drawPath(page);
  p.setBrush(QColor(220, 220, 210));
  p.drawPolygon(QPolygonF({QPointF(10, 1.5), QPointF(10, 4.5), QPointF(13, 4.5)}));
}

const QHash<QString, TDrawing>& Drawings() {
  static const QHash<QString, TDrawing> drawings = {
      {QStringLiteral("new"),
       [](QPainter& p) {
         DrawPage(p);
         p.setPen(Pen(QColor(230, 170, 20), 1.2));
         const QPointF c(11.5, 11.5);
         for (int i = 0; i < 4; ++i) {
           p.drawLine(c, c + QPointF(i % 2 ? 3 : -3, i < 2 ? 3 : -3) * 0.9);
         }
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
      {QStringLiteral("save"),
       [](QPainter& p) {
         p.setPen(Pen(kInk, 1.0));
         p.setBrush(kBlue);
         p.drawPolygon(QPolygonF({QPointF(1.5, 1.5), QPointF(12.5, 1.5), QPointF(14.5, 3.5),
                                  QPointF(14.5, 14.5), QPointF(1.5, 14.5)}));
         p.setBrush(kPaper);
         p.drawRect(QRectF(4, 1.5, 8, 5));
         p.setBrush(QColor(200, 205, 215));
         p.drawRect(QRectF(4, 9.5, 8, 5));
         p.setPen(Pen(kInk, 1.2));
         p.drawLine(QPointF(9.5, 2.7), QPointF(9.5, 5.3));
       }},
      {QStringLiteral("print"),
       [](QPainter& p) {
         // A printer with a sheet coming out of it.
         p.setPen(Pen(kInk, 1.0));
         p.setBrush(kPaper);
         p.drawRect(QRectF(4.5, 1.5, 7, 5));
         p.setBrush(QColor(190, 194, 204));
         p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.2, 1.2);
         p.setBrush(kPaper);
         p.drawRect(QRectF(4.5, 10.5, 7, 4));
         p.setPen(Pen(QColor(60, 170, 60), 1.2));
         p.drawPoint(QPointF(12.5, 8.5));
       }},
      {QStringLiteral("zoomin"), [](QPainter& p) { DrawMagnifier(p, true); }},
      {QStringLiteral("zoomout"), [](QPainter& p) { DrawMagnifier(p, false); }},
      {QStringLiteral("tiles"),
       [](QPainter& p) {
         const QColor light(222, 190, 140);
         const QColor dark(164, 120, 70);
         p.setPen(Pen(QColor(100, 70, 40), 0.8));
         for (int i = 0; i < 4; ++i) {
           p.setBrush((i == 0 || i == 3) ? light : dark);
           p.drawRect(QRectF(1.5 + (i % 2) * 6.5, 1.5 + (i / 2) * 6.5, 6.5, 6.5));
         }
       }},
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
      {QStringLiteral("addcol"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 10, 14));
         DrawBadge(p, QPointF(11.8, 8), true);
       }},
      {QStringLiteral("delcol"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 10, 14));
         DrawBadge(p, QPointF(11.8, 8), false);
       }},
      {QStringLiteral("addrow"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 14, 10));
         DrawBadge(p, QPointF(8, 11.8), true);
       }},
      {QStringLiteral("delrow"),
       [](QPainter& p) {
         DrawGrid(p, QRectF(1, 1, 14, 10));
         DrawBadge(p, QPointF(8, 11.8), false);
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
      {QStringLiteral("properties"),
       [](QPainter& p) {
         DrawPage(p);
         p.setPen(Pen(QColor(120, 120, 130), 1.0));
         for (int i = 0; i < 4; ++i)
           p.drawLine(QPointF(5, 6.5 + i * 2), QPointF(11, 6.5 + i * 2));
       }},
      {QStringLiteral("rotcw"), [](QPainter& p) { DrawTurn(p, true); }},
      {QStringLiteral("rotccw"), [](QPainter& p) { DrawTurn(p, false); }},
      {QStringLiteral("fliph"), [](QPainter& p) { DrawFlip(p, true); }},
      {QStringLiteral("flipv"), [](QPainter& p) { DrawFlip(p, false); }},
      {QStringLiteral("modified"),
       [](QPainter& p) {
         // A pencil over a page corner: the map has unsaved changes.
         p.setPen(Pen(kInk, 0.9));
         p.setBrush(kPaper);
         p.drawRect(QRectF(2, 2, 9, 12));
         p.setBrush(QColor(240, 190, 40));
         p.drawPolygon(QPolygonF({QPointF(13, 3), QPointF(15, 5), QPointF(8, 12), QPointF(6, 10)}));
         p.setBrush(kRed);
         p.drawPolygon(QPolygonF({QPointF(6, 10), QPointF(8, 12), QPointF(5, 13)}));
       }},
  };
  return drawings;
}

}  // namespace

bool HasButtonImage(const QString& name) {
  return Drawings().contains(name);
}

QPixmap ButtonPixmap(const QString& name, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  const auto it = Drawings().find(name);
  if (it == Drawings().end()) return pixmap;
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  (*it)(painter);
  return pixmap;
}

QIcon ButtonIcon(const QString& name) {
  QIcon icon;
  if (!HasButtonImage(name)) return icon;
  for (const int size : {16, 32})
    icon.addPixmap(ButtonPixmap(name, size));
  return icon;
}
