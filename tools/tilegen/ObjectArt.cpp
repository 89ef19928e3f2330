#include "ObjectArt.h"

#include "Drawing.h"
#include "Noise.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

const TColour kIron = Hex(0x4C4F55);
const TColour kBrass = Hex(0xC49A3E);

QPointF Polar(QPointF centre, double radius, double angle) {
  return centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
}

// A ring of metal around a circle: a dark band with a thin highlight.
void Hoop(QPainter& p, QPointF centre, double radius, double width, TColour metal) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ToQColor(metal * 0.6f), width + 2));
  p.drawEllipse(centre, radius, radius);
  p.setPen(QPen(ToQColor(metal), width - 1));
  p.drawEllipse(centre, radius, radius);
  p.setPen(QPen(ToQColor(metal * 1.8f, 200), 1.6));
  p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 60 * 16,
            120 * 16);
}

void Rivet(QPainter& p, QPointF at, double r = 3.2, TColour metal = kIron) {
  p.setPen(Qt::NoPen);
  p.setBrush(ToQColor(metal * 0.5f));
  p.drawEllipse(at, r, r);
  p.setBrush(ToQColor(metal * 1.9f));
  p.drawEllipse(at - QPointF(r * 0.3, r * 0.3), r * 0.45, r * 0.45);
}

void Line(QPainter& p, QPointF a, QPointF b, QColor colour, double width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(a, b);
}

// A small flame over a candle.
void Candle(QPainter& p, QPointF at, double radius) {
  FillAndOutline(p, Ellipse(at, radius, radius), ToQColor(Hex(0xEDE3C8)), 2);
  ShadeRadial(p, Ellipse(at, radius, radius), at, radius, at - QPointF(radius / 2, radius / 2), 40,
              80);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xF2, 0x9B, 0x2A));
  p.drawEllipse(at, radius * 0.5, radius * 0.5);
  p.setBrush(QColor(0xFF, 0xE8, 0x8A));
  p.drawEllipse(at, radius * 0.25, radius * 0.25);
}

// A plate, a tankard and the like seen from above.
void Plate(QPainter& p, QPointF at, double r) {
  FillAndOutline(p, Ellipse(at, r, r), ToQColor(Hex(0xE4DED0)), 2.2);
  p.setPen(QPen(ToQColor(Hex(0xA9A296)), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(at, r * 0.68, r * 0.68);
}

void Tankard(QPainter& p, QPointF at, double r, double handleAngle) {
  const QPointF handle = Polar(at, r + 5, handleAngle);
  FillAndOutline(p, Ellipse(handle, 6, 6), ToQColor(kIron * 1.3f), 2);
  FillAndOutline(p, Ellipse(at, r, r), ToQColor(Hex(0x8D9096)), 2.2);
  p.setPen(Qt::NoPen);
  p.setBrush(ToQColor(Hex(0x9A6A22)));
  p.drawEllipse(at, r * 0.7, r * 0.7);
  p.setBrush(ToQColor(Hex(0xE8D39A)));
  p.drawEllipse(at - QPointF(r * 0.2, r * 0.2), r * 0.35, r * 0.3);
}

// Boards of width `board` across a shape, with dark joints between them.
void BoardJoints(QPainter& p, const QPainterPath& shape, bool horizontal, double from, double to,
                 double board, QColor colour = QColor(0x2A, 0x1A, 0x0E, 200)) {
  p.save();
  p.setClipPath(shape);
  p.setPen(QPen(colour, 2.2));
  const QRectF box = shape.boundingRect();
  for (double t = from + board; t < to - 1; t += board) {
    if (horizontal)
      p.drawLine(QPointF(box.left(), t), QPointF(box.right(), t));
    else
      p.drawLine(QPointF(t, box.top()), QPointF(t, box.bottom()));
  }
  p.restore();
}

struct TCanvas {
  QImage Image;
  QPainter Painter;
  TCanvas(int w, int h) : Image(NewObjectCanvas(w, h)), Painter(&Image) {
    Painter.setRenderHint(QPainter::Antialiasing);
  }
  QImage Finish(double outline = 3.5) {
    Painter.end();
    return FinishObject(Image, outline);
  }
};

}  // namespace

QImage PaintBarrel() {
  TCanvas c(kCell, kCell);
  QPainter& p = c.Painter;
  const QPointF centre(150, 150);
  const QImage wood = WoodTexture(QStringLiteral("Barrel"), Hex(0xB57C44), Hex(0x6F4321));
  // The bulging staves, seen beyond the lid.
  const QPainterPath outer = Ellipse(centre, 120, 120);
  FillAndOutline(p, outer, TextureBrush(wood, 90), 3);
  for (int i = 0; i < 22; ++i) {
    const double a = i * 2 * kPi / 22 + 0.08;
    Line(p, Polar(centre, 92, a), Polar(centre, 119, a), QColor(0x2E, 0x1C, 0x0E), 2.2);
  }
  ShadeRadial(p, outer, centre, 120, centre - QPointF(30, 30), 50, 150);
  Hoop(p, centre, 108, 9, kIron);
  // The lid: boards across, a chime ring and a bung.
  const QPainterPath lid = Ellipse(centre, 90, 90);
  FillAndOutline(p, lid, TextureBrush(wood, 90, QPointF(40, 0)), 3.5);
  BoardJoints(p, lid, false, 60, 240, 30);
  ShadeRadial(p, lid, centre, 95, centre - QPointF(35, 35), 70, 90);
  FillAndOutline(p, Ellipse(centre + QPointF(42, -26), 10, 10), ToQColor(Hex(0x5A3418)), 2.5);
  FillAndOutline(p, Ellipse(centre + QPointF(42, -26), 5.5, 5.5), ToQColor(Hex(0x9C6A3A)), 1.5);
  return c.Finish();
}

QImage PaintCrate() {
  TCanvas c(kCell, kCell);
  QPainter& p = c.Painter;
  const QImage wood = WoodTexture(QStringLiteral("Crate"), Hex(0xD1A062), Hex(0x9A6A38));
  const QRectF box(36, 36, 228, 228);
  const QPainterPath body = RoundedRect(box, 4);
  FillAndOutline(p, body, TextureBrush(wood, 0), 3.5);
  BoardJoints(p, body, true, box.top(), box.bottom(), 45.6);
  // The frame and the brace, raised above the boards.
  const double f = 24;
  const QPainterPath brace =
      Polygon({box.topLeft() + QPointF(f, f), box.topLeft() + QPointF(f + 34, f),
               box.bottomRight() - QPointF(f, f), box.bottomRight() - QPointF(f + 34, f)});
  FillAndOutline(p, brace, TextureBrush(wood, 45, QPointF(13, 7)), 2.5);
  ShadeLinear(p, brace, box.topLeft(), box.bottomRight(), 40, 60);
  const QRectF sides[] = {QRectF(box.left(), box.top(), box.width(), f),
                          QRectF(box.left(), box.bottom() - f, box.width(), f),
                          QRectF(box.left(), box.top() + f, f, box.height() - 2 * f),
                          QRectF(box.right() - f, box.top() + f, f, box.height() - 2 * f)};
  for (int i = 0; i < 4; ++i) {
    const QPainterPath side = RoundedRect(sides[i], 2);
    FillAndOutline(p, side, TextureBrush(wood, i < 2 ? 0 : 90, QPointF(i * 37, i * 11)), 2.5);
    ShadeLinear(p, side, sides[i].topLeft(), sides[i].bottomRight(), 60, 50);
  }
  for (QPointF corner : {box.topLeft() + QPointF(12, 12), box.topRight() + QPointF(-12, 12),
                         box.bottomLeft() + QPointF(12, -12), box.bottomRight() - QPointF(12, 12)})
    Rivet(p, corner, 3.6);
  ShadeLinear(p, body, box.topLeft(), box.bottomRight(), 30, 70);
  return c.Finish();
}

QImage PaintChest() {
  TCanvas c(kCell, kCell);
  QPainter& p = c.Painter;
  const QImage wood = WoodTexture(QStringLiteral("Chest"), Hex(0x9A5A30), Hex(0x5E3018));
  const QRectF box(34, 74, 232, 152);
  // Side handles first, so the body overlaps them.
  for (double x : {box.left() - 8, box.right() + 8})
    FillAndOutline(p, RoundedRect(QRectF(x - 9, 128, 18, 44), 6), ToQColor(kIron), 2.5);
  const QPainterPath body = RoundedRect(box, 10);
  FillAndOutline(p, body, TextureBrush(wood, 0), 3.5);
  BoardJoints(p, body, true, box.top(), box.bottom(), 38);
  // The lid is domed: light along its crown, dark towards front and back.
  QLinearGradient dome(box.topLeft(), box.bottomLeft());
  dome.setColorAt(0, QColor(0, 0, 0, 60));
  dome.setColorAt(0.35, QColor(255, 240, 210, 45));
  dome.setColorAt(0.6, QColor(255, 240, 210, 0));
  dome.setColorAt(1, QColor(0, 0, 0, 90));
  p.fillPath(body, dome);
  // Iron bands over the lid, riveted.
  for (double x : {box.left() + 42, box.right() - 58}) {
    const QRectF band(x, box.top() - 2, 16, box.height() + 4);
    FillAndOutline(p, RoundedRect(band, 3), ToQColor(kIron), 2.5);
    ShadeLinear(p, RoundedRect(band, 3), band.topLeft(), band.bottomLeft(), 90, 90);
    for (double y = band.top() + 14; y < band.bottom() - 8; y += 30)
      Rivet(p, QPointF(band.center().x(), y), 3);
  }
  // Corner fittings.
  for (QPointF corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
    const double sx = corner.x() < 150 ? 1 : -1, sy = corner.y() < 150 ? 1 : -1;
    const QPainterPath fitting =
        Polygon({corner + QPointF(sx * -2, sy * -2), corner + QPointF(sx * 28, sy * -2),
                 corner + QPointF(sx * 28, sy * 10), corner + QPointF(sx * 10, sy * 10),
                 corner + QPointF(sx * 10, sy * 28), corner + QPointF(sx * -2, sy * 28)});
    FillAndOutline(p, fitting, ToQColor(kIron * 1.1f), 2);
  }
  // The lock plate on the front.
  const QRectF lock(132, box.bottom() - 38, 36, 44);
  FillAndOutline(p, RoundedRect(lock, 5), ToQColor(kBrass), 2.5);
  ShadeLinear(p, RoundedRect(lock, 5), lock.topLeft(), lock.bottomRight(), 110, 80);
  FillAndOutline(p, Ellipse(lock.center() + QPointF(0, -4), 5, 5), ToQColor(Hex(0x20160E)), 0);
  p.fillRect(QRectF(lock.center().x() - 2, lock.center().y(), 4, 11), QColor(0x20, 0x16, 0x0E));
  return c.Finish();
}

QImage PaintRoundTable() {
  TCanvas c(2 * kCell, 2 * kCell);
  QPainter& p = c.Painter;
  const QPointF centre(300, 300);
  const QImage wood = WoodTexture(QStringLiteral("RoundTable"), Hex(0xAE7440), Hex(0x6B3F1E));
  const QImage seat = WoodTexture(QStringLiteral("Stool"), Hex(0x8E5A30), Hex(0x573217));
  // Stools around the table.
  for (int i = 0; i < 6; ++i) {
    const QPointF at = Polar(centre, 248, i * kPi / 3 + kPi / 6);
    const QPainterPath stool = Ellipse(at, 40, 40);
    FillAndOutline(p, stool, TextureBrush(seat, i * 30.0), 3);
    ShadeRadial(p, stool, at, 40, at - QPointF(14, 14), 70, 120);
    p.setPen(QPen(QColor(0x2E, 0x1C, 0x0E, 160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, 31, 31);
  }
  // The top: boards across, a darker rim.
  const QPainterPath top = Ellipse(centre, 196, 196);
  FillAndOutline(p, top, TextureBrush(wood, 90), 4);
  BoardJoints(p, top, false, 104, 496, 56);
  p.setPen(QPen(QColor(0x3A, 0x22, 0x10, 170), 12));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(centre, 189, 189);
  ShadeRadial(p, top, centre, 200, centre - QPointF(70, 70), 60, 110);
  // A meal laid out.
  Plate(p, centre + QPointF(-92, -58), 36);
  FillAndOutline(p, Ellipse(centre + QPointF(-92, -58), 22, 15), ToQColor(Hex(0xB7793A)), 2);
  ShadeRadial(p, Ellipse(centre + QPointF(-92, -58), 22, 15), centre + QPointF(-92, -58), 22,
              centre + QPointF(-100, -64), 120, 60);
  Plate(p, centre + QPointF(86, 84), 32);
  Tankard(p, centre + QPointF(92, -76), 20, -0.6);
  Tankard(p, centre + QPointF(-70, 96), 20, 2.4);
  FillAndOutline(p, Ellipse(centre, 24, 24), ToQColor(kBrass), 2.5);
  Candle(p, centre, 12);
  return c.Finish(4);
}

QImage PaintLongTable() {
  TCanvas c(2 * kCell, 2 * kCell);
  QPainter& p = c.Painter;
  const QImage wood = WoodTexture(QStringLiteral("LongTable"), Hex(0xAA7040), Hex(0x68401F));
  const QImage benchWood = WoodTexture(QStringLiteral("Bench"), Hex(0x8C5A32), Hex(0x553218));
  for (double y : {120.0, 424.0}) {
    const QRectF bench(76, y, 448, 56);
    const QPainterPath path = RoundedRect(bench, 6);
    FillAndOutline(p, path, TextureBrush(benchWood, 0, QPointF(0, y)), 3);
    BoardJoints(p, path, true, bench.top(), bench.bottom(), 28);
    ShadeLinear(p, path, bench.topLeft(), bench.bottomLeft(), 70, 90);
  }
  const QRectF table(40, 200, 520, 200);
  const QPainterPath top = RoundedRect(table, 8);
  FillAndOutline(p, top, TextureBrush(wood, 0), 4);
  BoardJoints(p, top, true, table.top(), table.bottom(), 50);
  ShadeLinear(p, top, table.topLeft(), table.bottomRight(), 50, 80);
  p.setPen(QPen(QColor(0x3A, 0x22, 0x10, 150), 8));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(table.adjusted(5, 5, -5, -5), 5, 5);
  // Places laid along both sides and a roast in the middle.
  for (int i = 0; i < 4; ++i) {
    const double x = 110 + i * 127;
    Plate(p, QPointF(x, 240), 24);
    Plate(p, QPointF(x + 30, 360), 24);
    Tankard(p, QPointF(x + 42, 246), 13, -0.5);
    Tankard(p, QPointF(x - 8, 354), 13, 2.6);
  }
  const QPointF middle(300, 300);
  FillAndOutline(p, Ellipse(middle, 70, 34), ToQColor(Hex(0x9EA1A6)), 2.5);
  ShadeRadial(p, Ellipse(middle, 70, 34), middle, 70, middle - QPointF(20, 10), 90, 80);
  FillAndOutline(p, Ellipse(middle, 46, 22), ToQColor(Hex(0x9A4E22)), 2.5);
  ShadeRadial(p, Ellipse(middle, 46, 22), middle, 46, middle - QPointF(14, 8), 120, 100);
  for (double x : {190.0, 410.0}) {
    FillAndOutline(p, Ellipse(QPointF(x, 300), 18, 18), ToQColor(kBrass), 2.5);
    Candle(p, QPointF(x, 300), 9);
  }
  return c.Finish(4);
}

QImage PaintBookshelf() {
  TCanvas c(kCell, 2 * kCell);
  QPainter& p = c.Painter;
  const QImage wood = WoodTexture(QStringLiteral("Bookshelf"), Hex(0x7E4F2A), Hex(0x4E2C14));
  const QRectF box(46, 12, 132, 576);
  const QPainterPath carcass = RoundedRect(box, 3);
  FillAndOutline(p, carcass, TextureBrush(wood, 90), 3.5);
  TRandom random(SeedOf(QStringLiteral("Bookshelf")));
  const TColour covers[] = {Hex(0x8E2A22), Hex(0x2E5A3A), Hex(0x2C4472), Hex(0x6E4A22),
                            Hex(0xA6782A), Hex(0x5A2A4E), Hex(0x3A3A3A), Hex(0x7A2E1A)};
  const double wall = 10;
  const double compartment = (box.height() - 4 * wall) / 3;
  for (int k = 0; k < 3; ++k) {
    const QRectF inside(box.left() + wall, box.top() + wall + k * (compartment + wall),
                        box.width() - 2 * wall, compartment);
    p.fillRect(inside, QColor(0x22, 0x15, 0x0C));
    // Books stand with their spines towards the room (the right).
    double y = inside.top() + 2;
    while (y < inside.bottom() - 8) {
      const double thick = random.Uniform(9, 20);
      if (y + thick > inside.bottom() - 1) break;
      if (random.Chance(0.07)) {
        y += thick;
        continue;
      }
      const double depth = random.Uniform(86, inside.width() - 4);
      const QRectF book(inside.right() - depth, y, depth - 1, thick - 1.5);
      const TColour cover = covers[random.Int(0, 7)] * float(random.Uniform(0.85, 1.15));
      p.fillRect(book, ToQColor(cover));
      // The top edge of the pages between the covers, then the spine band.
      const double pages = book.height() * 0.32;
      p.fillRect(QRectF(book.left() + 4, book.center().y() - pages / 2, book.width() - 14, pages),
                 ToQColor(Hex(0xCFC4A4)));
      p.fillRect(QRectF(book.right() - 8, book.top(), 8, book.height()), ToQColor(cover * 0.78f));
      p.fillRect(QRectF(book.right() - 6, book.top(), 1.6, book.height()),
                 ToQColor(Hex(0xD8B45A), 200));
      p.setPen(QPen(QColor(0x14, 0x0C, 0x06), 1.2));
      p.setBrush(Qt::NoBrush);
      p.drawRect(book);
      y += thick;
    }
    ShadeLinear(p, RoundedRect(inside, 0), inside.topRight(), inside.topLeft(), 30, 120);
  }
  p.setPen(QPen(ink::Outline, 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(box, 3, 3);
  return c.Finish();
}

QImage PaintBed() {
  TCanvas c(kCell, 2 * kCell);
  QPainter& p = c.Painter;
  const QImage wood = WoodTexture(QStringLiteral("Bed"), Hex(0x87522C), Hex(0x522C14));
  const QRectF frame(38, 20, 224, 562);
  FillAndOutline(p, RoundedRect(frame, 6), TextureBrush(wood, 90), 3.5);
  // Mattress and pillow.
  const QRectF mattress = frame.adjusted(12, 30, -12, -22);
  FillAndOutline(p, RoundedRect(mattress, 10), ToQColor(Hex(0xE2D9C4)), 2.5);
  const QRectF pillow(mattress.left() + 14, mattress.top() + 12, mattress.width() - 28, 86);
  const QPainterPath pillowPath = RoundedRect(pillow, 26);
  FillAndOutline(p, pillowPath, ToQColor(Hex(0xF1ECE0)), 2.5);
  ShadeRadial(p, pillowPath, pillow.center(), 100, pillow.center() - QPointF(30, 20), 60, 90);
  Line(p, pillow.center() - QPointF(40, 0), pillow.center() + QPointF(40, 4),
       QColor(0xB4, 0xAC, 0x9C), 2);
  // The blanket, turned down at the top over a white sheet.
  const QRectF blanket(frame.left() + 4, frame.top() + 176, frame.width() - 8, 374);
  const QPainterPath cover = RoundedRect(blanket, 12);
  const QImage cloth = ClothTexture(QStringLiteral("Blanket"), Hex(0x8E2621));
  FillAndOutline(p, cover, TextureBrush(cloth, 0), 3);
  p.save();
  p.setClipPath(cover);
  p.setPen(QPen(QColor(0x4A, 0x10, 0x0C, 160), 2));
  for (double d = -400; d < 600; d += 46) {
    p.drawLine(QPointF(blanket.left() + d, blanket.top()),
               QPointF(blanket.left() + d + 400, blanket.top() + 400));
    p.drawLine(QPointF(blanket.right() - d, blanket.top()),
               QPointF(blanket.right() - d - 400, blanket.top() + 400));
  }
  p.restore();
  ShadeLinear(p, cover, blanket.topLeft(), blanket.bottomRight(), 60, 90);
  const QRectF sheet(blanket.left(), blanket.top(), blanket.width(), 38);
  FillAndOutline(p, RoundedRect(sheet, 10), ToQColor(Hex(0xF0EADC)), 2.5);
  ShadeLinear(p, RoundedRect(sheet, 10), sheet.topLeft(), sheet.bottomLeft(), 40, 80);
  // Head and foot boards with their posts.
  const QRectF head(frame.left() - 6, frame.top() - 8, frame.width() + 12, 30);
  const QRectF foot(frame.left() - 4, frame.bottom() - 18, frame.width() + 8, 22);
  for (const QRectF& board : {head, foot}) {
    FillAndOutline(p, RoundedRect(board, 6), TextureBrush(wood, 0), 3);
    ShadeLinear(p, RoundedRect(board, 6), board.topLeft(), board.bottomLeft(), 80, 80);
    for (QPointF post : {QPointF(board.left() + 12, board.center().y()),
                         QPointF(board.right() - 12, board.center().y())}) {
      FillAndOutline(p, Ellipse(post, 15, 15), TextureBrush(wood, 30), 3);
      ShadeRadial(p, Ellipse(post, 15, 15), post, 15, post - QPointF(5, 5), 90, 110);
    }
  }
  return c.Finish();
}

QImage PaintCoffin() {
  TCanvas c(2 * kCell, kCell);
  QPainter& p = c.Painter;
  const QImage wood = WoodTexture(QStringLiteral("Coffin"), Hex(0x6E4428), Hex(0x3E2412));
  const QPainterPath outline = Polygon({QPointF(34, 112), QPointF(156, 58), QPointF(566, 96),
                                        QPointF(566, 204), QPointF(156, 242), QPointF(34, 188)});
  // Brass handles along the sides.
  for (double x : {210.0, 350.0, 480.0})
    for (double sign : {-1.0, 1.0}) {
      const double edge = 150 + sign * (92 - (x - 156) * 0.08);
      FillAndOutline(p, RoundedRect(QRectF(x - 20, edge - 6 + sign * 6, 40, 12), 5),
                     ToQColor(kBrass), 2.5);
    }
  FillAndOutline(p, outline, TextureBrush(wood, 0), 4);
  ShadeLinear(p, outline, QPointF(0, 58), QPointF(0, 242), 70, 110);
  // The raised lid panel.
  const QPainterPath panel = Polygon({QPointF(62, 120), QPointF(160, 80), QPointF(540, 112),
                                      QPointF(540, 188), QPointF(160, 220), QPointF(62, 180)});
  FillAndOutline(p, panel, TextureBrush(wood, 0, QPointF(17, 40)), 2.5, QColor(0x1E, 0x10, 0x06));
  ShadeLinear(p, panel, QPointF(62, 80), QPointF(540, 220), 60, 60);
  p.setPen(QPen(QColor(0xD2, 0xA8, 0x70, 120), 2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(
      QPolygonF({QPointF(64, 178), QPointF(64, 122), QPointF(160, 83), QPointF(538, 114)}));
  // A brass sun on the lid.
  const QPointF sun(200, 150);
  for (int i = 0; i < 12; ++i) {
    const double a = i * kPi / 6;
    FillAndOutline(p,
                   Polygon({Polar(sun, 34, a), Polar(sun, 16, a + 0.2), Polar(sun, 16, a - 0.2)}),
                   ToQColor(kBrass * 0.9f), 1.5);
  }
  FillAndOutline(p, Ellipse(sun, 18, 18), ToQColor(kBrass), 2.5);
  ShadeRadial(p, Ellipse(sun, 18, 18), sun, 18, sun - QPointF(6, 6), 120, 80);
  return c.Finish(4);
}

QImage PaintAltar() {
  TCanvas c(2 * kCell, kCell);
  QPainter& p = c.Painter;
  const QImage stone = StoneTexture(QStringLiteral("Altar"), Hex(0xA8A298));
  const QRectF block(48, 72, 504, 156);
  const QPainterPath body = RoundedRect(block, 6);
  FillAndOutline(p, body, TextureBrush(stone, 0), 4);
  // A carved moulding around the top.
  const QRectF inner = block.adjusted(16, 16, -16, -16);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xE8, 0xE2, 0xD6, 170), 3));
  p.drawRect(inner.translated(1.5, 1.5));
  p.setPen(QPen(QColor(0x3A, 0x36, 0x30, 200), 3));
  p.drawRect(inner);
  ShadeLinear(p, body, block.topLeft(), block.bottomRight(), 50, 90);
  // The cloth runner over the middle, hanging over front and back.
  const QRectF runner(226, block.top() - 18, 148, block.height() + 36);
  const QImage cloth = ClothTexture(QStringLiteral("Altar cloth"), Hex(0x8A1E22));
  FillAndOutline(p, RoundedRect(runner, 3), TextureBrush(cloth, 0), 3);
  for (double y : {runner.top() + 12, runner.bottom() - 18})
    p.fillRect(QRectF(runner.left() + 2, y, runner.width() - 4, 6), ToQColor(Hex(0xD4A84A)));
  p.fillRect(QRectF(runner.left() + 14, runner.top() + 2, 5, runner.height() - 4),
             ToQColor(Hex(0xD4A84A)));
  p.fillRect(QRectF(runner.right() - 19, runner.top() + 2, 5, runner.height() - 4),
             ToQColor(Hex(0xD4A84A)));
  ShadeLinear(p, RoundedRect(runner, 3), runner.topLeft(), runner.bottomRight(), 40, 80);
  // A golden bowl on the cloth, candles at both ends.
  const QPointF bowl(300, 150);
  FillAndOutline(p, Ellipse(bowl, 30, 30), ToQColor(kBrass), 3);
  FillAndOutline(p, Ellipse(bowl, 21, 21), ToQColor(Hex(0x5A1010)), 2);
  ShadeRadial(p, Ellipse(bowl, 30, 30), bowl, 30, bowl - QPointF(10, 10), 110, 60);
  for (double x : {110.0, 490.0}) {
    const QPointF at(x, 150);
    FillAndOutline(p, Ellipse(at, 26, 26), ToQColor(kBrass * 0.9f), 3);
    ShadeRadial(p, Ellipse(at, 26, 26), at, 26, at - QPointF(8, 8), 110, 80);
    Candle(p, at, 14);
  }
  return c.Finish(4);
}

QImage PaintStatue() {
  TCanvas c(kCell, kCell);
  QPainter& p = c.Painter;
  const QPointF centre(150, 150);
  const QImage stone = StoneTexture(QStringLiteral("Plinth"), Hex(0x8C877E));
  QPolygonF octagon, step;
  for (int i = 0; i < 8; ++i) {
    octagon << Polar(centre, 132, kPi / 8 + i * kPi / 4);
    step << Polar(centre, 112, kPi / 8 + i * kPi / 4);
  }
  QPainterPath plinth;
  plinth.addPolygon(octagon);
  plinth.closeSubpath();
  FillAndOutline(p, plinth, TextureBrush(stone, 0), 3.5);
  ShadeLinear(p, plinth, QPointF(20, 20), QPointF(280, 280), 50, 90);
  QPainterPath upper;
  upper.addPolygon(step);
  upper.closeSubpath();
  FillAndOutline(p, upper, TextureBrush(stone, 45), 2.5);
  ShadeLinear(p, upper, QPointF(40, 40), QPointF(260, 260), 70, 70);
  // A winged figure seen from above: spread wings, shoulders, head.
  const QImage marble = StoneTexture(QStringLiteral("Statue"), Hex(0xDAD5CB));
  for (double side : {-1.0, 1.0}) {
    QPainterPath wing;
    wing.moveTo(centre + QPointF(side * 22, -14));
    wing.cubicTo(centre + QPointF(side * 70, -70), centre + QPointF(side * 110, -60),
                 centre + QPointF(side * 118, -6));
    wing.cubicTo(centre + QPointF(side * 100, 10), centre + QPointF(side * 80, 30),
                 centre + QPointF(side * 40, 34));
    wing.closeSubpath();
    FillAndOutline(p, wing, TextureBrush(marble, 0), 3);
    ShadeLinear(p, wing, centre + QPointF(side * 20, -60), centre + QPointF(side * 110, 30), 80,
                90);
    for (int i = 1; i <= 4; ++i) {
      const double t = i / 5.0;
      p.setPen(QPen(QColor(0x5A, 0x56, 0x50, 170), 2));
      p.setBrush(Qt::NoBrush);
      QPainterPath feather;
      feather.moveTo(centre + QPointF(side * (30 + 80 * t), -40 + 30 * t));
      feather.quadTo(centre + QPointF(side * (40 + 70 * t), 10),
                     centre + QPointF(side * (30 + 60 * t), 28 - 4 * t));
      p.drawPath(feather);
    }
  }
  const QPainterPath shoulders = Ellipse(centre + QPointF(0, 6), 46, 32);
  FillAndOutline(p, shoulders, TextureBrush(marble, 90), 3);
  ShadeRadial(p, shoulders, centre, 50, centre - QPointF(16, 14), 90, 100);
  const QPointF headAt = centre + QPointF(0, 2);
  FillAndOutline(p, Ellipse(headAt, 20, 22), TextureBrush(marble, 30), 3);
  ShadeRadial(p, Ellipse(headAt, 20, 22), headAt, 22, headAt - QPointF(7, 8), 120, 110);
  // Hands clasped in front.
  FillAndOutline(p, Ellipse(centre + QPointF(0, 40), 13, 10), TextureBrush(marble, 0), 2.5);
  return c.Finish();
}

QImage PaintRubble() {
  TCanvas c(kCell, kCell);
  QPainter& p = c.Painter;
  TRandom random(SeedOf(QStringLiteral("Rubble")));
  const TColour stones[] = {Hex(0x7E786E), Hex(0x6A655D), Hex(0x8C8478), Hex(0x5C5750),
                            Hex(0x948A7A)};
  const QPointF centre(150, 150);
  // Large blocks first, then smaller chunks piled around and over them.
  for (int i = 0; i < 42; ++i) {
    const double size = i < 7    ? random.Uniform(34, 48)
                        : i < 24 ? random.Uniform(17, 30)
                                 : random.Uniform(7, 14);
    const double spread = i < 7 ? 50 : 100;
    QPointF at = centre + QPointF(random.Spread(spread), random.Spread(spread));
    const QPointF off = at - centre;
    const double d = std::hypot(off.x(), off.y());
    if (d > 130 - size) at = centre + off * ((130 - size) / d);
    QPolygonF shape;
    const int corners = random.Int(5, 7);
    const double turn = random.Uniform(0, 2 * kPi);
    for (int k = 0; k < corners; ++k)
      shape << Polar(at, size * random.Uniform(0.65, 1.05), turn + k * 2 * kPi / corners);
    QPainterPath path;
    path.addPolygon(shape);
    path.closeSubpath();
    const TColour colour = stones[random.Int(0, 4)] * float(random.Uniform(0.9, 1.1));
    // Facets from a ridge point to each edge, lit by which way they face.
    const QPointF ridge = at + QPointF(random.Spread(size * 0.25), random.Spread(size * 0.25));
    for (int k = 0; k < shape.size(); ++k) {
      const QPointF a = shape[k], b = shape[(k + 1) % shape.size()];
      const QPointF out = (a + b) / 2 - ridge;
      const double length = std::max(1e-6, std::hypot(out.x(), out.y()));
      const double facing = (-0.6 * out.x() - 0.8 * out.y()) / length;
      const QColor shade = ToQColor(colour * float(1.0 + 0.28 * facing));
      p.setPen(QPen(shade, 0.8));
      p.setBrush(shade);
      p.drawPolygon(QPolygonF({ridge, a, b}));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink::Outline, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
  }
  return c.Finish();
}

QImage PaintBanner() {
  TCanvas c(kCell, kCell);
  QPainter& p = c.Painter;
  const QImage cloth = ClothTexture(QStringLiteral("Banner"), Hex(0x92211F));
  const QPainterPath flag = Polygon(
      {QPointF(64, 52), QPointF(236, 52), QPointF(236, 252), QPointF(150, 212), QPointF(64, 252)});
  FillAndOutline(p, flag, TextureBrush(cloth, 0), 3.5);
  // A gold border and a sword upon the field.
  const QPainterPath border = Polygon(
      {QPointF(78, 60), QPointF(222, 60), QPointF(222, 230), QPointF(150, 197), QPointF(78, 230)});
  p.setPen(QPen(QColor(0xD6, 0xAA, 0x48), 6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(border);
  const QColor gold(0xE2, 0xB6, 0x52), dark(0x5A, 0x3A, 0x10);
  const QPainterPath blade = Polygon({QPointF(143, 96), QPointF(157, 96), QPointF(157, 166),
                                      QPointF(150, 182), QPointF(143, 166)});
  FillAndOutline(p, blade, QColor(0xDE, 0xE2, 0xE6), 2.5, QColor(0x2A, 0x20, 0x18));
  FillAndOutline(p, RoundedRect(QRectF(118, 88, 64, 12), 5), gold, 2.5, dark);
  FillAndOutline(p, RoundedRect(QRectF(145, 66, 10, 24), 3), QColor(0x6A, 0x3A, 0x1E), 2, dark);
  FillAndOutline(p, Ellipse(QPointF(150, 66), 8, 8), gold, 2, dark);
  // Folds hanging down.
  QLinearGradient folds(QPointF(64, 0), QPointF(236, 0));
  for (int i = 0; i <= 6; ++i)
    folds.setColorAt(i / 6.0, i % 2 == 0 ? QColor(0, 0, 0, 70) : QColor(255, 230, 210, 40));
  p.fillPath(flag, folds);
  // The pole it hangs from.
  const QRectF pole(34, 42, 232, 14);
  FillAndOutline(p, RoundedRect(pole, 7), QColor(0x5A, 0x36, 0x1C), 3);
  ShadeLinear(p, RoundedRect(pole, 7), pole.topLeft(), pole.bottomLeft(), 110, 90);
  for (double x : {32.0, 268.0}) {
    FillAndOutline(p, Ellipse(QPointF(x, 49), 11, 11), gold, 3, dark);
    ShadeRadial(p, Ellipse(QPointF(x, 49), 11, 11), QPointF(x, 49), 11, QPointF(x - 4, 45), 120,
                90);
  }
  return c.Finish();
}
