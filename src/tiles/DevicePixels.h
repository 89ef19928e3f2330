#pragma once

#include <QRect>

class QImage;
class QPainter;

// Pictures drawn pixel for pixel on a painter's device, whatever its device
// pixel ratio: a rectangle of the painter's coordinates covers some device
// pixels, and a picture of exactly that many pixels drawn there is copied,
// never stretched by the painter. At a ratio of 2 a 24-pixel square covers
// 48 device pixels and gets a 48-pixel picture, so tiles stay sharp.

// The device pixels a rectangle of the painter's coordinates covers: its
// edges mapped through the painter's transform (the device pixel ratio
// included) and rounded, so that rectangles sharing an edge share it on the
// device too.
QRect DeviceRect(const QPainter& painter, const QRect& rect);

// Draws a picture of deviceRect's size (deviceRect being DeviceRect of
// rect) so that its pixels land one to one on those device pixels.
void DrawDevicePicture(QPainter& painter, const QRect& rect, const QRect& deviceRect,
                       const QImage& picture);
