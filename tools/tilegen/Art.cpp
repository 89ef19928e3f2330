#include "Art.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

TColour Hex(unsigned rgb) {
  return {float((rgb >> 16) & 0xFF), float((rgb >> 8) & 0xFF), float(rgb & 0xFF)};
}

namespace {

int Channel(float v) {
  return std::clamp(int(std::lround(v)), 0, 255);
}

}  // namespace

QRgb ToRgb(TColour c) {
  return qRgb(Channel(c.R), Channel(c.G), Channel(c.B));
}

QColor ToQColor(TColour c, int alpha) {
  return QColor(Channel(c.R), Channel(c.G), Channel(c.B), alpha);
}

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

float SmoothStep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

QImage ShadePixels(int width, int height, const std::function<TColour(int x, int y)>& shader) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      line[x] = ToRgb(shader(x, y));
  }
  return image;
}

THeightField::THeightField(int width, int height, bool wrap)
    : fWidth(width), fHeight(height), fWrap(wrap), fValues(size_t(width * height), 0.0f) {}

float THeightField::Get(int x, int y) const {
  if (fWrap) {
    x = (x % fWidth + fWidth) % fWidth;
    y = (y % fHeight + fHeight) % fHeight;
  } else {
    x = std::clamp(x, 0, fWidth - 1);
    y = std::clamp(y, 0, fHeight - 1);
  }
  return fValues[size_t(y * fWidth + x)];
}

float THeightField::Light(int x, int y, float strength) const {
  const float dx = (Get(x + 1, y) - Get(x - 1, y)) * 0.5f * strength;
  const float dy = (Get(x, y + 1) - Get(x, y - 1)) * 0.5f * strength;
  // Normal (-dx, -dy, 1) against a light from the upper left, normalised so
  // that flat ground gives 1.
  const float lx = -0.5f, ly = -0.6f, lz = 0.62f;
  const float length = std::sqrt(dx * dx + dy * dy + 1.0f);
  const float lit = (-dx * lx - dy * ly + lz) / length;
  return std::max(0.0f, lit / lz);
}

QImage NewObjectCanvas(int width, int height) {
  QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  return canvas;
}

void OutlineSilhouette(QImage& canvas, double radius, QColor colour) {
  const int w = canvas.width();
  const int h = canvas.height();
  // For every pixel, the horizontal distance to the nearest solid pixel in
  // its row; then a pixel is within radius of the drawing when some row
  // within radius has a solid pixel close enough.
  const int far = 1 << 20;
  std::vector<int> rowDistance(size_t(w * h), far);
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    int* d = &rowDistance[size_t(y * w)];
    int last = -far;
    for (int x = 0; x < w; ++x) {
      if (qAlpha(line[x]) >= 128) last = x;
      d[x] = x - last;
    }
    last = 2 * far;
    for (int x = w - 1; x >= 0; --x) {
      if (qAlpha(line[x]) >= 128) last = x;
      d[x] = std::min(d[x], last - x);
    }
  }
  const int r = int(std::ceil(radius));
  const double r2 = radius * radius;
  const QRgb outline = colour.rgba();
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
    for (int x = 0; x < w; ++x) {
      if (rowDistance[size_t(y * w + x)] == 0) continue;
      for (int dy = -r; dy <= r; ++dy) {
        const int sy = y + dy;
        if (sy < 0 || sy >= h) continue;
        const double dx = rowDistance[size_t(sy * w + x)];
        if (dx <= r && dx * dx + dy * dy <= r2) {
          line[x] = outline;
          break;
        }
      }
    }
  }
}

QImage FlattenObject(const QImage& canvas) {
  const QImage source = canvas.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage result(source.width(), source.height(), QImage::Format_RGB888);
  for (int y = 0; y < source.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    uchar* out = result.scanLine(y);
    for (int x = 0; x < source.width(); ++x, out += 3) {
      const QRgb p = in[x];
      const int a = qAlpha(p);
      if (a < 128) {
        out[0] = 0xFF;
        out[1] = 0x00;
        out[2] = 0xFF;
        continue;
      }
      int r = std::min(255, (qRed(p) * 255 + a / 2) / a);
      int g = std::min(255, (qGreen(p) * 255 + a / 2) / a);
      int b = std::min(255, (qBlue(p) * 255 + a / 2) / a);
      if (r == 0xFF && g == 0x00 && b == 0xFF) g = 1;
      out[0] = uchar(r);
      out[1] = uchar(g);
      out[2] = uchar(b);
    }
  }
  return result;
}

void PaintWrapped(QPainter& painter, const QRectF& bounds, int period,
                  const std::function<void()>& draw) {
  const QRectF tile(0, 0, period, period);
  for (int oy = -1; oy <= 1; ++oy)
    for (int ox = -1; ox <= 1; ++ox) {
      if (!bounds.translated(ox * period, oy * period).intersects(tile)) continue;
      painter.save();
      painter.translate(ox * period, oy * period);
      draw();
      painter.restore();
    }
}
