#include "Art.h"
#include "Sheet.h"
#include "tiles/ImageTransforms.h"
#include "tiles/PictureCutter.h"
#include "tiles/WallStrip.h"

#include <QFont>
#include <QPainter>

namespace {

constexpr int kShown = 96;  // pixels per piece in the picture
constexpr int kGap = 24;
constexpr int kLabel = 36;
constexpr int kColumns = 6;

}  // namespace

QImage RenderWallOrder(const QImage& strip) {
  CheckWallStrip(strip.size());
  const int piece = strip.height();
  const int rows = kWallStripPieces / kColumns;
  QImage picture(kGap + kColumns * (kShown + kGap), kGap + rows * (kShown + kLabel + kGap),
                 QImage::Format_RGB888);
  picture.fill(QColor(250, 250, 247));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(12);
  painter.setFont(font);
  for (int n = 0; n < kWallStripPieces; ++n) {
    const QRect cell(kGap + (n % kColumns) * (kShown + kGap),
                     kGap + (n / kColumns) * (kShown + kLabel + kGap), kShown, kShown);
    painter.fillRect(cell, QColor(196, 190, 176));
    painter.drawImage(
        cell, ColourKeyed(strip.copy(n * piece, 0, piece, piece), TransparentColorValue(kKeyRgb)));
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(QRect(cell.left() - kGap / 2, cell.bottom() + 2, kShown + kGap, kLabel),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("%1. %2").arg(n + 1).arg(QLatin1String(kWallPieceNames[n])));
  }
  return picture;
}
