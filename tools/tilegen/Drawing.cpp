#include "Drawing.h"

#include "Noise.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

QImage WoodTexture(const QString& name, TColour light, TColour dark, int size) {
  const TFractalNoise bend(SeedOf(name + QStringLiteral("/bend")), size, 2, 3);
  const TFractalNoise streaks(SeedOf(name + QStringLiteral("/streaks")), size, 4, 3);
  const TNoise fine(SeedOf(name + QStringLiteral("/fine")), size, size / 2);
  // The rings must repeat across the texture's height: a whole number of
  // them per period.
  const float rings = 2 * 3.14159265f * 22 / size;
  return ShadePixels(size, size, [&](int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const float g = py * rings + 3.0f * float(bend.At(px, py));
    const float ring = std::pow(0.5f + 0.5f * std::sin(g), 2.5f);
    TColour c = Mix(light, dark, ring * 0.75f);
    return c * (1.0f + 0.12f * float(streaks.At(px, py * 4.0f)) + 0.04f * float(fine.At(px, py)));
  });
}

QImage StoneTexture(const QString& name, TColour base, int size) {
  const TFractalNoise mottle(SeedOf(name + QStringLiteral("/mottle")), size, 4, 4);
  const TNoise fine(SeedOf(name + QStringLiteral("/fine")), size, size / 2);
  return ShadePixels(size, size, [&](int x, int y) {
    return base * (1.0f + 0.14f * float(mottle.At(x, y)) + 0.07f * float(fine.At(x, y)));
  });
}

QImage ClothTexture(const QString& name, TColour base, int size) {
  const TFractalNoise folds(SeedOf(name + QStringLiteral("/folds")), size, 2, 3);
  return ShadePixels(size, size, [&](int x, int y) {
    const float weave = ((x / 2 + y / 2) % 2 == 0) ? 1.04f : 0.96f;
    return base * (weave * (1.0f + 0.1f * float(folds.At(x, y))));
  });
}

QBrush TextureBrush(const QImage& texture, double angle, QPointF origin) {
  QBrush brush(texture);
  QTransform transform;
  transform.translate(origin.x(), origin.y());
  transform.rotate(angle);
  brush.setTransform(transform);
  return brush;
}

void FillAndOutline(QPainter& painter, const QPainterPath& path, const QBrush& brush,
                    double outline, QColor outlineColour) {
  painter.fillPath(path, brush);
  if (outline > 0)
    painter.strokePath(path,
                       QPen(outlineColour, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void ShadeLinear(QPainter& painter, const QPainterPath& path, QPointF from, QPointF to,
                 int lightAlpha, int shadowAlpha) {
  QLinearGradient gradient(from, to);
  gradient.setColorAt(0, QColor(255, 250, 235, lightAlpha));
  gradient.setColorAt(0.45, QColor(255, 255, 255, 0));
  gradient.setColorAt(0.55, QColor(0, 0, 0, 0));
  gradient.setColorAt(1, QColor(10, 5, 0, shadowAlpha));
  painter.fillPath(path, gradient);
}

void ShadeRadial(QPainter& painter, const QPainterPath& path, QPointF centre, double radius,
                 QPointF focus, int lightAlpha, int shadowAlpha) {
  QRadialGradient gradient(centre, radius, focus);
  gradient.setColorAt(0, QColor(255, 250, 235, lightAlpha));
  gradient.setColorAt(0.5, QColor(255, 255, 255, 0));
  gradient.setColorAt(0.75, QColor(0, 0, 0, 0));
  gradient.setColorAt(1, QColor(10, 5, 0, shadowAlpha));
  painter.fillPath(path, gradient);
}

QImage FinishObject(QImage& canvas, double outline) {
  OutlineSilhouette(canvas, outline, ink::Outline);
  return FlattenObject(canvas);
}

QPainterPath RoundedRect(const QRectF& rect, double radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

QPainterPath Ellipse(QPointF centre, double rx, double ry) {
  QPainterPath path;
  path.addEllipse(centre, rx, ry);
  return path;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& p : points) {
    if (first)
      path.moveTo(p);
    else
      path.lineTo(p);
    first = false;
  }
  path.closeSubpath();
  return path;
}
