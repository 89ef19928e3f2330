#include "WallStrip.h"

#include "PictureCutter.h"
#include "TileObjects.h"
#include "base/Error.h"

#include <QImage>

const char* const kWallPieceNames[kWallStripPieces] = {
    "Top-left corner", "Top-right corner", "Bottom-right corner", "Bottom-left corner",
    "Top wall",        "Right wall",       "Bottom wall",         "Left wall",
    "Top-left post",   "Top-right post",   "Bottom-right post",   "Bottom-left post",
};

void CheckWallStrip(const QSize& size) {
  if (!size.isEmpty() && size.width() == kWallStripPieces * size.height()) return;
  throw TError(QStringLiteral("The wall strip is %1 × %2 pixels. It must hold the twelve wall "
                              "pieces side by side as squares, so it is twelve times as wide as "
                              "it is high (for example 1200 × 100 pixels).")
                   .arg(size.width())
                   .arg(size.height()));
}

std::unique_ptr<TTileGroup> CutWallStyle(const QImage& strip, const QString& name,
                                         std::optional<QRgb> keyColor, int subTileSize) {
  if (strip.isNull()) throw TError(QStringLiteral("The picture is empty or could not be read."));
  CheckWallStrip(strip.size());
  // Walls draw over the floor: the pieces are objects, always used as stored.
  TGroupDefaults defaults;
  defaults.PatWidth = kWallStripPieces;
  defaults.PatHeight = 1;
  defaults.FType = gtObjects;
  defaults.PlaceType = ptRandom;
  auto group = std::make_unique<TTileGroup>(nullptr, defaults);
  TCutOptions options;
  options.Across = kWallStripPieces;
  options.Down = 1;
  options.SubTileSize = subTileSize;
  options.KeyColor = keyColor;
  CutPictureIntoGroup(strip, options, *group);
  group->SetGroupName(name);
  group->SetCategory(QStringLiteral("Walls"));
  return group;
}

bool WallPieceRunsAlong(int n, int q, int side) {
  // The sides of each piece as bits 1 << side, in strip order: corners,
  // straight walls, posts.
  static constexpr int kSides[kWallStripPieces] = {1 | 8, 1 | 2, 4 | 2, 4 | 8, 1, 2,
                                                   4,     8,     0,     0,     0, 0};
  if (n < 0 || n >= kWallStripPieces || side < 0 || side > 3) return false;
  if (!(kSides[n] & (1 << side))) return false;
  const int qx = q % 2;
  const int qy = q / 2;
  switch (side) {
    case 0:
      return qy == 0;
    case 1:
      return qx == 1;
    case 2:
      return qy == 1;
    default:
      return qx == 0;
  }
}
