#include "ImageTransforms.h"

#include "base/Error.h"

#include <cstring>

namespace {

// Source pixel (x, y) of a W × H image lands at Map(x, y) in the result.
// Pixels are copied as whole byte groups, so any 24- or 32-bit format keeps
// its values exactly.
template <typename TMap>
QImage Permute(const QImage& source, bool swapSides, TMap map) {
  QImage image = source;
  if (image.depth() != 24 && image.depth() != 32)
    image = image.convertToFormat(QImage::Format_RGB888);
  const int w = image.width();
  const int h = image.height();
  QImage result(swapSides ? h : w, swapSides ? w : h, image.format());
  if (image.isNull() || result.isNull()) return result;
  const size_t bytes = size_t(image.depth() / 8);
  for (int y = 0; y < h; ++y) {
    const uchar* in = image.constScanLine(y);
    for (int x = 0; x < w; ++x) {
      const QPoint to = map(x, y, w, h);
      std::memcpy(result.scanLine(to.y()) + size_t(to.x()) * bytes, in + size_t(x) * bytes, bytes);
    }
  }
  return result;
}

}  // namespace

QImage RotateClockwise(const QImage& image) {
  return Permute(image, true, [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); });
}

QImage Rotate180(const QImage& image) {
  return Permute(image, false,
                 [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); });
}

QImage RotateCounterClockwise(const QImage& image) {
  return Permute(image, true, [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); });
}

QImage MirrorLeftRight(const QImage& image) {
  return Permute(image, false, [](int x, int y, int w, int) { return QPoint(w - 1 - x, y); });
}

QImage MirrorTopBottom(const QImage& image) {
  return Permute(image, false, [](int x, int y, int, int h) { return QPoint(x, h - 1 - y); });
}

QImage OrientImage(const QImage& image, int orientation) {
  switch (orientation) {
    case 0:
      return image;
    case 1:
      return RotateClockwise(image);
    case 2:
      return Rotate180(image);
    case 3:
      return RotateCounterClockwise(image);
    case 4:
      return MirrorLeftRight(image);
    case 5:
      return MirrorTopBottom(image);
    // The diagonal mirrors compose a quarter turn with a left-right mirror;
    // done in one pass, with the same result.
    case 6:
      return Permute(image, true, [](int x, int y, int, int) { return QPoint(y, x); });
    case 7:
      return Permute(image, true,
                     [](int x, int y, int w, int h) { return QPoint(h - 1 - y, w - 1 - x); });
    default:
      throw TError(QStringLiteral("%1 is not a valid orientation.").arg(orientation));
  }
}

QImage ColourKeyed(const QImage& image, qint32 transparentColor) {
  QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (transparentColor == -1 || result.isNull()) return result;
  // The colour holds red in its lowest byte; QRgb holds blue there.
  const QRgb key = qRgb(transparentColor & 0xFF, (transparentColor >> 8) & 0xFF,
                        (transparentColor >> 16) & 0xFF);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x)
      if (line[x] == key) line[x] = 0;
  }
  return result;
}

QImage ScaleImage(const QImage& image, int width, int height, qint32 transparentColor) {
  if (width <= 0 || height <= 0) return QImage();
  if (image.isNull()) {
    QImage blank(width, height, QImage::Format_RGB888);
    blank.fill(Qt::black);
    return blank;
  }
  // At its own size a stretch changes nothing, keyed or not.
  if (image.size() == QSize(width, height)) return image.convertToFormat(QImage::Format_RGB888);
  if (transparentColor == -1) {
    return image.convertToFormat(QImage::Format_RGB888)
        .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888);
  }

  // Scale premultiplied, so a keyed pixel (alpha 0, colour 0) adds coverage
  // but no colour to its neighbours.
  const QImage scaled = ColourKeyed(image, transparentColor)
                            .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const uchar keyR = uchar(transparentColor & 0xFF);
  const uchar keyG = uchar((transparentColor >> 8) & 0xFF);
  const uchar keyB = uchar((transparentColor >> 16) & 0xFF);
  QImage result(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
    uchar* out = result.scanLine(y);
    for (int x = 0; x < width; ++x, out += 3) {
      const QRgb p = in[x];
      const int a = qAlpha(p);
      if (a < 128) {
        out[0] = keyR;
        out[1] = keyG;
        out[2] = keyB;
        continue;
      }
      // Un-premultiply with rounding.
      out[0] = uchar(qMin(255, (qRed(p) * 255 + a / 2) / a));
      out[1] = uchar(qMin(255, (qGreen(p) * 255 + a / 2) / a));
      out[2] = uchar(qMin(255, (qBlue(p) * 255 + a / 2) / a));
      // An object pixel must never turn into the key and vanish.
      if (out[0] == keyR && out[1] == keyG && out[2] == keyB) out[2] = keyB == 255 ? 254 : keyB + 1;
    }
  }
  return result;
}
