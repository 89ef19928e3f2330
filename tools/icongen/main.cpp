// Paints the program's icon as PNG files of the sizes the desktop asks for:
//   tessellan-icongen OUTDIR
// writes OUTDIR/tessellan-16.png ... tessellan-256.png. The drawing follows
// resources/tessellan.svg on its 16-unit grid, with lines kept at least one
// pixel wide so the small sizes stay crisp.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QImage PaintIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double unit = size / 16.0;
  auto r = [unit](double x, double y, double w, double h) {
    return QRectF(x * unit, y * unit, w * unit, h * unit);
  };

  // Slate tile with a rounded edge.
  QPainterPath tile;
  tile.addRoundedRect(r(0.5, 0.5, 15, 15), 2.5 * unit, 2.5 * unit);
  p.fillPath(tile, QColor(0x2f, 0x48, 0x58));

  // Parchment floor of three by three squares.
  p.fillRect(r(2, 2, 12, 12), QColor(0xec, 0xe0, 0xc2));
  // Grid lines fill whole pixels, so that they stay sharp at 16 pixels.
  const QColor gridColour(0x7d, 0x6e, 0x52);
  const double line = std::max(1.0, std::round(unit * 0.5));
  for (const double at : {6.0, 10.0}) {
    const double pixel = std::round(at * unit - line / 2);
    p.fillRect(QRectF(pixel, 2 * unit, line, 12 * unit), gridColour);
    p.fillRect(QRectF(2 * unit, pixel, 12 * unit, line), gridColour);
  }

  // A wall along the top and the left, meeting in a corner.
  const QColor wall(0xa3, 0x3a, 0x2a);
  p.fillRect(r(2, 2, 12, 2), wall);
  p.fillRect(r(2, 2, 2, 12), wall);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tessellan-icongen OUTDIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString path = dir + QStringLiteral("/tessellan-%1.png").arg(size);
    if (!PaintIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
