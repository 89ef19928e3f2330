#include "PictureCutter.h"

#include "TileObjects.h"
#include "base/Error.h"
#include "storage/Guid.h"

#include <QColor>

#include <algorithm>
#include <cmath>

const int kCommonSquareSizes[5] = {70, 100, 140, 200, 256};

namespace {

// Pixels less covered than this are cut away: scaling blends the edges of
// shapes, and a key colour can only say in or out.
constexpr int kAlphaThreshold = 128;
// The key the supplied object tiles use, tried first.
constexpr QRgb kPreferredKey = 0xFFFF00FF;

QRgb Rgb(QRgb color) {
  return color & 0xFFFFFF;
}

double FitError(double pixels, int squares) {
  return std::abs(pixels - squares) / squares;
}

// Moves a colour one step of blue, away from the key.
QRgb Nudge(QRgb color) {
  const int blue = qBlue(color);
  return qRgb(qRed(color), qGreen(color), blue > 0 ? blue - 1 : 1);
}

// The first colour, starting with the preferred key, that no opaque pixel
// of the picture uses.
QRgb UnusedColor(const QImage& premultiplied) {
  std::vector<bool> used(1 << 24);
  for (int y = 0; y < premultiplied.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
    for (int x = 0; x < premultiplied.width(); ++x)
      if (qAlpha(line[x]) >= kAlphaThreshold) used[Rgb(qUnpremultiply(line[x]))] = true;
  }
  if (!used[Rgb(kPreferredKey)]) return kPreferredKey;
  for (QRgb color = 0xFFFFFF;; --color) {
    if (!used[color]) return color | 0xFF000000;
    // More distinct colours than a picture of this size holds: keep the
    // preferred key and let the nudge make room for it.
    if (color == 0) return kPreferredKey;
  }
}

}  // namespace

qint32 TransparentColorValue(QRgb color) {
  return qint32(0x02000000u | uint(qBlue(color)) << 16 | uint(qGreen(color)) << 8 |
                uint(qRed(color)));
}

std::vector<TSquareCount> ProposeSquareCounts(const QSize& pictureSize) {
  std::vector<TSquareCount> counts;
  std::vector<double> errors;
  if (pictureSize.isEmpty()) return counts;
  for (const int size : kCommonSquareSizes) {
    const double across = double(pictureSize.width()) / size;
    const double down = double(pictureSize.height()) / size;
    TSquareCount count{std::max(1, int(std::lround(across))), std::max(1, int(std::lround(down))),
                       size};
    const bool seen = std::any_of(counts.begin(), counts.end(), [&](const TSquareCount& c) {
      return c.Across == count.Across && c.Down == count.Down;
    });
    if (seen) continue;
    counts.push_back(count);
    errors.push_back(std::max(FitError(across, count.Across), FitError(down, count.Down)));
  }
  std::vector<size_t> order(counts.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  // Among equal fits the largest square first: a sheet of 420 × 140 pixels
  // is more likely 3 × 1 squares of 140 than 6 × 2 of 70.
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (errors[a] != errors[b]) return errors[a] < errors[b];
    return counts[a].SquareSize > counts[b].SquareSize;
  });
  std::vector<TSquareCount> sorted;
  for (const size_t i : order)
    sorted.push_back(counts[i]);
  return sorted;
}

void CutPictureIntoGroup(const QImage& picture, const TCutOptions& options, TTileGroup& group) {
  if (picture.isNull()) throw TError(QStringLiteral("The picture is empty or could not be read."));
  for (const int count : {options.Across, options.Down})
    if (count < 1 || count > kMaxSquares)
      throw TError(QStringLiteral("A picture covers 1 to %1 squares each way, not %2.")
                       .arg(kMaxSquares)
                       .arg(count));
  if (options.Across * options.Down > kMaxSquaresInAll)
    throw TError(QStringLiteral("A picture of %1 × %2 squares is too large: at most %3 squares.")
                     .arg(options.Across)
                     .arg(options.Down)
                     .arg(kMaxSquaresInAll));
  if (options.Across > picture.width() || options.Down > picture.height())
    throw TError(QStringLiteral("The picture of %1 × %2 pixels is too small for %3 × %4 squares.")
                     .arg(picture.width())
                     .arg(picture.height())
                     .arg(options.Across)
                     .arg(options.Down));
  if (options.SubTileSize < 1 || options.SubTileSize > 1024)
    throw TError(QStringLiteral("A sub-tile is 1 to 1024 pixels wide."));

  QImage source = picture.convertToFormat(QImage::Format_ARGB32);
  if (options.KeyColor) {
    const QRgb key = Rgb(*options.KeyColor);
    for (int y = 0; y < source.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(source.scanLine(y));
      for (int x = 0; x < source.width(); ++x)
        if (Rgb(line[x]) == key) line[x] = 0;
    }
  }
  // Scaled premultiplied, so transparent pixels lend no colour to the edges
  // of what stays.
  const int tileSize = 2 * options.SubTileSize;
  const QImage scaled = source.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                            .scaled(options.Across * tileSize, options.Down * tileSize,
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

  bool transparent = false;
  for (int y = 0; y < scaled.height() && !transparent; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
    for (int x = 0; x < scaled.width() && !transparent; ++x)
      transparent = qAlpha(line[x]) < kAlphaThreshold;
  }
  const bool keyed = transparent || options.KeyColor;
  const QRgb key = options.KeyColor ? *options.KeyColor : transparent ? UnusedColor(scaled) : 0;

  QImage flat(scaled.size(), QImage::Format_RGB888);
  for (int y = 0; y < scaled.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
    uchar* out = flat.scanLine(y);
    for (int x = 0; x < scaled.width(); ++x) {
      QRgb color = key;
      if (qAlpha(in[x]) >= kAlphaThreshold) {
        color = qUnpremultiply(in[x]);
        if (keyed && Rgb(color) == Rgb(key)) color = Nudge(color);
      }
      out[3 * x] = uchar(qRed(color));
      out[3 * x + 1] = uchar(qGreen(color));
      out[3 * x + 2] = uchar(qBlue(color));
    }
  }

  const qint32 transparentColor = keyed ? TransparentColorValue(key) : -1;
  group.Clear();
  group.SetPatWidth(options.Across);
  group.SetPatHeight(options.Down);
  const int sub = options.SubTileSize;
  for (int x = 0; x < options.Across; ++x)
    for (int y = 0; y < options.Down; ++y) {
      TTile& tile = group.GetOrCreateTile(x, y);
      for (int quadrant = 0; quadrant < 4; ++quadrant) {
        TSubTile& subTile = tile.SubTile(quadrant);
        subTile.SetImage(flat.copy(x * tileSize + (quadrant % 2) * sub,
                                   y * tileSize + (quadrant / 2) * sub, sub, sub));
        subTile.SetGuid(NewGuidText());
        subTile.SetTransparentColor(transparentColor);
      }
    }
}

std::vector<QImage> SplitSheet(const QImage& sheet, int columns, int rows) {
  if (sheet.isNull()) throw TError(QStringLiteral("The sheet is empty or could not be read."));
  if (columns < 1 || rows < 1 || columns > sheet.width() || rows > sheet.height())
    throw TError(QStringLiteral("A sheet of %1 × %2 pixels cannot be split into %3 × %4 groups.")
                     .arg(sheet.width())
                     .arg(sheet.height())
                     .arg(columns)
                     .arg(rows));
  std::vector<QImage> pieces;
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      const int left = column * sheet.width() / columns;
      const int top = row * sheet.height() / rows;
      const int right = (column + 1) * sheet.width() / columns;
      const int bottom = (row + 1) * sheet.height() / rows;
      pieces.push_back(sheet.copy(left, top, right - left, bottom - top));
    }
  return pieces;
}
