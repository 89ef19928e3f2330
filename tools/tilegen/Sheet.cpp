#include "Sheet.h"

#include "Art.h"
#include "Noise.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

QImage ScaleSubTile(const QImage& subTile, qint32 transparentColour, int size) {
  if (transparentColour == -1)
    return subTile.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QRgb key = qRgb(transparentColour & 0xFF, (transparentColour >> 8) & 0xFF,
                        (transparentColour >> 16) & 0xFF);
  QImage keyed = subTile.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
  }
  QImage scaled = keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                      .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < scaled.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(scaled.scanLine(y));
    for (int x = 0; x < scaled.width(); ++x)
      line[x] = qAlpha(line[x]) < 128 ? 0 : (line[x] | 0xFF000000);
  }
  return scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

namespace {

constexpr int kSheetWidth = 2100;
constexpr int kMargin = 24;

// Draws tile (tx, ty) of a group into a cell of the given size.
void DrawTile(QPainter& painter, const TGroupArt& group, int tx, int ty, QPoint at, int cell) {
  const int half = cell / 2;
  for (int q = 0; q < 4; ++q)
    painter.drawImage(at + QPoint((q % 2) * half, (q / 2) * half),
                      ScaleSubTile(group.SubTile(tx, ty, q), group.TransparentColour(), half));
}

// A floor under objects, as they would lie on a map.
void DrawBackdrop(QPainter& painter, const TGroupArt* floor, QRect area, int cell) {
  painter.fillRect(area, QColor(0xEE, 0xE8, 0xDA));
  if (!floor) return;
  painter.save();
  painter.setClipRect(area);
  for (int y = area.top(); y < area.bottom(); y += cell)
    for (int x = area.left(); x < area.right(); x += cell)
      DrawTile(painter, *floor, 0, 0, QPoint(x, y), cell);
  painter.restore();
}

// One group drawn whole at a cell size, with its backdrop. Returns its width.
int DrawGroup(QPainter& painter, const TGroupArt& group, const TGroupArt* floor, QPoint at,
              int cell) {
  const QRect area(at, QSize(group.PatWidth * cell, group.PatHeight * cell));
  if (group.FType == 1) DrawBackdrop(painter, floor, area, cell);
  for (int ty = 0; ty < group.PatHeight; ++ty)
    for (int tx = 0; tx < group.PatWidth; ++tx)
      DrawTile(painter, group, tx, ty, at + QPoint(tx * cell, ty * cell), cell);
  return area.width();
}

// Random variants on a grid, as a dragged random floor comes out.
int DrawArrangement(QPainter& painter, const TGroupArt& group, QPoint at, int cell, int cols,
                    int rows) {
  TRandom random(SeedOf(group.Name));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      DrawTile(painter, group, random.Int(0, group.PatWidth - 1), 0,
               at + QPoint(c * cell, r * cell), cell);
  return cols * cell;
}

int GroupBlockHeight(const TGroupArt& group) {
  const int big = group.PatWidth * 150 > kSheetWidth - 2 * kMargin ? 75 : 150;
  int height = std::max(group.PatHeight * big, group.PatHeight * 64 + 8 + group.PatHeight * 32);
  if (group.PlaceType == 0 && group.FType == 0) height += 4 * 64 + 16;
  return 40 + height + 24;
}

}  // namespace

QImage RenderContactSheet(const std::vector<const TTilesetArt*>& tilesets) {
  int height = kMargin;
  for (const TTilesetArt* tileset : tilesets) {
    height += 60;
    for (const TGroupArt& group : tileset->Groups)
      height += GroupBlockHeight(group);
  }
  QImage sheet(kSheetWidth, height + kMargin, QImage::Format_RGB32);
  sheet.fill(QColor(0xF7, 0xF4, 0xEC));
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::Antialiasing);
  const TGroupArt* floor = nullptr;
  for (const TTilesetArt* tileset : tilesets)
    for (const TGroupArt& group : tileset->Groups)
      if (!floor && group.FType == 0) floor = &group;

  int y = kMargin;
  QFont title(QStringLiteral("DejaVu Sans"), 26, QFont::Bold);
  QFont label(QStringLiteral("DejaVu Sans"), 15, QFont::Bold);
  QFont small(QStringLiteral("DejaVu Sans"), 11);
  for (const TTilesetArt* tileset : tilesets) {
    painter.setPen(Qt::black);
    painter.setFont(title);
    painter.drawText(kMargin, y + 40, tileset->Name);
    y += 60;
    for (const TGroupArt& group : tileset->Groups) {
      painter.setFont(label);
      painter.drawText(kMargin, y + 24, group.Name);
      painter.setFont(small);
      painter.drawText(kMargin + 320, y + 24,
                       QStringLiteral("%1   %2 × %3   type %4   placement %5   %6")
                           .arg(group.Category)
                           .arg(group.PatWidth)
                           .arg(group.PatHeight)
                           .arg(group.FType)
                           .arg(group.PlaceType)
                           .arg(group.Description));
      int x = kMargin;
      const int top = y + 40;
      // Small sizes stacked on the left, then the large one.
      const int w64 = DrawGroup(painter, group, floor, QPoint(x, top), 64);
      DrawGroup(painter, group, floor, QPoint(x, top + group.PatHeight * 64 + 8), 32);
      x += w64 + 24;
      const int big = group.PatWidth * 150 > kSheetWidth - x - kMargin ? 75 : 150;
      DrawGroup(painter, group, floor, QPoint(x, top), big);
      int below = std::max(group.PatHeight * big, group.PatHeight * 96 + 8);
      if (group.PlaceType == 0 && group.FType == 0) {
        const int ay = top + below + 16;
        const int w = DrawArrangement(painter, group, QPoint(kMargin, ay), 64, 12, 4);
        DrawArrangement(painter, group, QPoint(kMargin + w + 24, ay), 32, 24, 8);
        below += 4 * 64 + 16;
      }
      y += GroupBlockHeight(group);
    }
  }
  return sheet;
}
