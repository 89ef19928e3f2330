#include "WallStrip.h"

#include "base/Error.h"

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
