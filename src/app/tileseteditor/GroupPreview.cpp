#include "GroupPreview.h"

#include "tiles/TileObjects.h"
#include "tiles/WallStrip.h"

#include <QPaintEvent>
#include <QPainter>

#include <random>

namespace {

const char* const kOrientationNames[kOrientationCount] = {
    "As stored",           "Rotated right",       "Rotated twice", "Rotated left",
    "Mirrored left-right", "Mirrored top-bottom", "Main diagonal", "Other diagonal",
};

constexpr int kMargin = 8;
constexpr int kCaption = 18;
constexpr int kOrientationCell = 96;
constexpr int kSampleCell = 40;
constexpr int kSampleColumns = 8;
constexpr int kSampleRows = 5;
constexpr int kWallCell = 84;
constexpr int kWallColumns = 4;
constexpr int kRoomColumns = 5;
constexpr int kRoomRows = 3;

// The wall piece of a room's cell by the walls it lies on, or -1 inside.
int RoomPiece(bool left, bool right, bool top, bool bottom) {
  if (top) return left ? 0 : right ? 1 : 4;
  if (bottom) return left ? 3 : right ? 2 : 6;
  return left ? 7 : right ? 5 : -1;
}

void Heading(QPainter& painter, int x, int y, const QString& text) {
  QFont font = painter.font();
  font.setBold(true);
  painter.save();
  painter.setFont(font);
  painter.drawText(QRect(x, y, 600, kCaption), Qt::AlignLeft | Qt::AlignVCenter, text);
  painter.restore();
}

// A plain stone floor for objects to stand on.
void PaintFloor(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setClipRect(rect);
  for (int y = rect.top(); y < rect.bottom(); y += kSampleCell)
    for (int x = rect.left(); x < rect.right(); x += kSampleCell) {
      const bool dark = ((x - rect.left()) / kSampleCell + (y - rect.top()) / kSampleCell) % 2;
      painter.fillRect(QRect(x, y, kSampleCell, kSampleCell),
                       dark ? QColor(150, 146, 136) : QColor(170, 166, 156));
    }
  painter.restore();
}

}  // namespace

TGroupPreview::TGroupPreview(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("GroupPreview"));
  setAutoFillBackground(true);
}

void TGroupPreview::SetGroup(const TTileGroup* group, bool wallStyle) {
  fGroup = group;
  fWallStyle = wallStyle;
  update();
}

QSize TGroupPreview::sizeHint() const {
  const int orientations = 2 * (kCaption + kOrientationCell + kCaption) + kCaption;
  const int sample = kCaption + kSampleRows * kSampleCell;
  return QSize(2 * kMargin + 4 * (kOrientationCell + 2 * kMargin),
               3 * kMargin + orientations + sample);
}

void TGroupPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!fGroup) {
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Select a group to preview it."));
    return;
  }
  if (fWallStyle) {
    PaintWallPieces(painter);
    return;
  }
  Heading(painter, kMargin, kMargin, QStringLiteral("Orientations"));
  PaintOrientations(painter, kMargin + kCaption);
  PaintSampleGrid(painter, kMargin + kCaption + 2 * (kOrientationCell + 2 * kCaption) + kMargin);
}

void TGroupPreview::PaintOrientations(QPainter& painter, int top) const {
  const int step = kOrientationCell + 2 * kMargin;
  for (int o = 0; o < kOrientationCount; ++o) {
    const int x = kMargin + (o % 4) * step;
    const int y = top + (o / 4) * (kOrientationCell + 2 * kCaption);
    const QRect cell(x, y, kOrientationCell, kOrientationCell);
    fGroup->DrawPreview(painter, cell, o);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(x - kMargin, y + kOrientationCell, step, 2 * kCaption),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromLatin1(kOrientationNames[o]));
  }
}

// Floor groups cover the whole sample; an object stands once on a plain
// floor. Random groups take a tile at random per cell (the same each time),
// the others repeat their pattern from the top-left cell.
void TGroupPreview::PaintSampleGrid(QPainter& painter, int top) const {
  Heading(painter, kMargin, top, QStringLiteral("Sample"));
  const QRect area(kMargin, top + kCaption, kSampleColumns * kSampleCell,
                   kSampleRows * kSampleCell);
  const int w = fGroup->PatWidth();
  const int h = fGroup->PatHeight();
  const bool objects = fGroup->FType() != gtFloor;
  if (objects) PaintFloor(painter, area);
  std::mt19937 random(7);
  const auto cellRect = [&](int c, int r) {
    return QRect(area.left() + c * kSampleCell, area.top() + r * kSampleCell, kSampleCell,
                 kSampleCell);
  };
  if (w > 0 && h > 0) {
    if (objects) {
      for (int x = 0; x < w && 1 + x < kSampleColumns; ++x)
        for (int y = 0; y < h && 1 + y < kSampleRows; ++y)
          if (const TTile* tile = fGroup->StoredTile(x, y))
            tile->Draw(painter, cellRect(1 + x, 1 + y), 0);
    } else {
      for (int c = 0; c < kSampleColumns; ++c)
        for (int r = 0; r < kSampleRows; ++r) {
          const TTile* tile = nullptr;
          if (fGroup->PlaceType() == ptRandom)
            tile = fGroup->StoredTile(int(random() % unsigned(w)), int(random() % unsigned(h)));
          else
            tile = fGroup->StoredTile(c % w, r % h);
          if (tile) tile->Draw(painter, cellRect(c, r), 0);
        }
    }
  }
  painter.setPen(QColor(0, 0, 0, 90));
  for (int c = 0; c <= kSampleColumns; ++c)
    painter.drawLine(area.left() + c * kSampleCell, area.top(), area.left() + c * kSampleCell,
                     area.bottom() + 1);
  for (int r = 0; r <= kSampleRows; ++r)
    painter.drawLine(area.left(), area.top() + r * kSampleCell, area.right() + 1,
                     area.top() + r * kSampleCell);
}

void TGroupPreview::PaintWallPieces(QPainter& painter) const {
  Heading(painter, kMargin, kMargin, QStringLiteral("Wall pieces, in the order of the strip"));
  const int stepX = kWallCell + 4 * kMargin;
  const int stepY = kWallCell + 2 * kCaption + kMargin;
  for (int n = 0; n < kWallStripPieces; ++n) {
    const int x = kMargin + (n % kWallColumns) * stepX;
    const int y = kMargin + kCaption + (n / kWallColumns) * stepY;
    const QRect cell(x + 2 * kMargin, y, kWallCell, kWallCell);
    PaintFloor(painter, cell);
    if (const TTile* tile = fGroup->StoredTile(n, 0)) tile->Draw(painter, cell, 0);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(x, y + kWallCell, stepX, 2 * kCaption),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("%1  %2").arg(n + 1).arg(QLatin1String(kWallPieceNames[n])));
  }

  // A room drawn with the pieces as the wall tool joins them: corners where
  // two of its walls meet, straight walls between.
  const int top = kMargin + kCaption + 3 * stepY + kMargin;
  Heading(painter, kMargin, top, QStringLiteral("Sample room"));
  const QRect room(kMargin, top + kCaption, kRoomColumns * kSampleCell, kRoomRows * kSampleCell);
  PaintFloor(painter, room);
  for (int c = 0; c < kRoomColumns; ++c)
    for (int r = 0; r < kRoomRows; ++r) {
      const int piece = RoomPiece(c == 0, c == kRoomColumns - 1, r == 0, r == kRoomRows - 1);
      if (piece < 0) continue;
      if (const TTile* tile = fGroup->StoredTile(piece, 0))
        tile->Draw(painter,
                   QRect(room.left() + c * kSampleCell, room.top() + r * kSampleCell, kSampleCell,
                         kSampleCell),
                   0);
    }
}
