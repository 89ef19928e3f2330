#pragma once

#include "Art.h"

#include <QBrush>
#include <QImage>
#include <QPainterPath>
#include <QString>

class QPainter;

// Materials and strokes shared by the object painters.

// Palette of the objects.
namespace ink {
inline const QColor Outline(0x1B, 0x14, 0x10);
}

// A square texture of wood grain running along x that repeats every `size`
// pixels, between a light and a dark colour.
QImage WoodTexture(const QString& name, TColour light, TColour dark, int size = 256);
// Rough stone that repeats every `size` pixels.
QImage StoneTexture(const QString& name, TColour base, int size = 256);
// Woven cloth.
QImage ClothTexture(const QString& name, TColour base, int size = 128);

// A brush painting a texture turned by angle degrees about origin.
QBrush TextureBrush(const QImage& texture, double angle, QPointF origin = QPointF());

// Fills path with a brush and strokes its outline in the ink colour.
void FillAndOutline(QPainter& painter, const QPainterPath& path, const QBrush& brush,
                    double outline = 3.0, QColor outlineColour = ink::Outline);

// Lays a light-to-shadow gradient over path: lighter towards the upper left,
// darker towards the lower right, for rounded forms.
void ShadeLinear(QPainter& painter, const QPainterPath& path, QPointF from, QPointF to,
                 int lightAlpha = 70, int shadowAlpha = 90);
void ShadeRadial(QPainter& painter, const QPainterPath& path, QPointF centre, double radius,
                 QPointF focus, int lightAlpha = 80, int shadowAlpha = 110);

// The common end of every object picture: silhouette outline, flattening.
QImage FinishObject(QImage& canvas, double outline = 3.5);

QPainterPath RoundedRect(const QRectF& rect, double radius);
QPainterPath Ellipse(QPointF centre, double rx, double ry);
QPainterPath Polygon(std::initializer_list<QPointF> points);
