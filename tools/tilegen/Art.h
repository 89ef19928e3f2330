#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>

#include <functional>
#include <vector>

class QPainter;

// Shared vocabulary of the painters: cell geometry, the transparent key,
// colours as float triples, height fields for relief lighting, and the steps
// that turn an antialiased object drawing into a keyed 24-bit picture.

constexpr int kCell = 300;  // one map cell: an inch at 300 dots per inch
constexpr int kSub = 150;   // one sub-tile

// The transparent colour of every object and wall picture: magenta, red in
// the lowest byte. The high byte 0x02 is what tileset files conventionally
// carry there.
constexpr qint32 kKeyColour = 0x02FF00FF;
constexpr QRgb kKeyRgb = 0xFFFF00FF;

struct TColour {
  float R = 0;
  float G = 0;
  float B = 0;
};

// 0xRRGGBB as a colour.
TColour Hex(unsigned rgb);
inline TColour operator*(TColour c, float f) {
  return {c.R * f, c.G * f, c.B * f};
}
inline TColour operator+(TColour a, TColour b) {
  return {a.R + b.R, a.G + b.G, a.B + b.B};
}
inline TColour Mix(TColour a, TColour b, float t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}
// Clamped to 0..255 and rounded.
QRgb ToRgb(TColour c);
QColor ToQColor(TColour c, int alpha = 255);

float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

// An image filled pixel by pixel (Format_RGB32).
QImage ShadePixels(int width, int height, const std::function<TColour(int x, int y)>& shader);

// A height map used to light relief from the upper left. With wrap, the
// neighbours of border pixels are taken from the opposite border, so a
// periodic height map lights periodically.
class THeightField {
 public:
  THeightField(int width, int height, bool wrap);
  float& At(int x, int y) { return fValues[size_t(y * fWidth + x)]; }
  float Get(int x, int y) const;
  // Brightness factor around 1 for the slope at (x, y); strength scales the
  // slope before lighting.
  float Light(int x, int y, float strength) const;

 private:
  int fWidth;
  int fHeight;
  bool fWrap;
  std::vector<float> fValues;
};

// A transparent ARGB32 premultiplied canvas for drawing objects.
QImage NewObjectCanvas(int width, int height);

// Paints every transparent pixel within radius of the drawing dark, so the
// object's silhouette reads on any floor.
void OutlineSilhouette(QImage& canvas, double radius, QColor colour);

// Flattens an object drawing to 24 bits: pixels with alpha below 128 become
// the key colour, the others their un-premultiplied colour. No drawn pixel
// ends up equal to the key.
QImage FlattenObject(const QImage& canvas);

// Draws something that repeats every `period` pixels: the drawing is repeated
// at every offset by whole periods at which bounds meets [0, period)².
void PaintWrapped(QPainter& painter, const QRectF& bounds, int period,
                  const std::function<void()>& draw);
