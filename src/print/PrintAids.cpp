#include "PrintAids.h"

#include "PageLayout.h"
#include "map/TileMapObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

// Sizes in inches. The strip holds a band of text at its top and leaves
// room below it for the trim ticks at the area's foot.
constexpr double kBandTop = 0.04;
constexpr double kBandHeight = 0.14;
constexpr double kTextHeight = 0.11;
constexpr double kTick = 0.1;
constexpr double kTickWidth = 0.01;
constexpr double kClearance = 0.03;  // between a tick and the squares
constexpr double kIndent = 0.05;     // of the text from the area's sides
constexpr double kBarHeight = 0.04;
constexpr double kMillimetresPerInch = 25.4;

// The band of the strip that holds the label and the calibration bar.
QRectF TextBand(const TAidPage& page) {
  const double stripTop = page.Area.height() - kAidStripInches * page.DpiY;
  return QRectF(0, stripTop + kBandTop * page.DpiY, page.Area.width(), kBandHeight * page.DpiY);
}

QFont AidFont(const TAidPage& page, bool bold) {
  QFont font;
  font.setPixelSize(std::max(1, int(std::lround(kTextHeight * page.DpiY))));
  font.setBold(bold);
  return font;
}

// Ticks on the lines where the map's squares end on this page: the left
// and right edges (x = 0 and the squares' right edge) get a tick at the
// area's foot, the top and bottom edges one at its right side, each kept
// clear of the squares; the squares' right and bottom edges also get one
// at the area's top and left side, just beside the squares.
void DrawTrimMarks(QPainter& canvas, const TAidPage& page) {
  const double width = page.Area.width();
  const double height = page.Area.height();
  const double right = page.MapEnd.x();
  const double bottom = page.MapEnd.y();
  const double penX = std::max(1.0, kTickWidth * page.DpiX);
  const double penY = std::max(1.0, kTickWidth * page.DpiY);
  const QRectF area(0, 0, width, height);
  const auto fill = [&](const QRectF& rect) {
    const QRectF mark = rect.intersected(area);
    if (mark.width() > 0 && mark.height() > 0) canvas.fillRect(mark, Qt::black);
  };

  // A tick centred on its line starts at a whole pixel, and one on the
  // area's edge lies wholly on the area.
  const auto centred = [](double line, double pen, double extent) {
    return std::clamp(std::round(line - pen / 2), 0.0, std::max(0.0, extent - pen));
  };
  const double footTop = std::max(height - kTick * page.DpiY, bottom + kClearance * page.DpiY);
  if (height - footTop >= penY)
    for (double x : {0.0, right})
      fill(QRectF(centred(x, penX, width), footTop, penX, height - footTop));
  const double sideLeft = std::max(width - kTick * page.DpiX, right + kClearance * page.DpiX);
  if (width - sideLeft >= penX)
    for (double y : {0.0, bottom})
      fill(QRectF(sideLeft, centred(y, penY, height), width - sideLeft, penY));
  if (right + penX <= width) fill(QRectF(right, 0, penX, kTick * page.DpiY));
  if (bottom + penY <= height) fill(QRectF(0, bottom, kTick * page.DpiX, penY));
}

// The bars of 1 inch and 25 mm with their captions, at the right end of
// the text band. Returns where they begin.
double DrawCalibration(QPainter& canvas, const TAidPage& page) {
  const QRectF band = TextBand(page);
  const QFont font = AidFont(page, false);
  const QFontMetricsF metrics(font, canvas.device());
  const QString inchCaption = QStringLiteral("1 inch");
  const QString mmCaption = QStringLiteral("25 mm");
  const double inch = page.DpiX;
  const double mm25 = page.DpiX * 25 / kMillimetresPerInch;
  const double space = 0.06 * page.DpiX;
  const double apart = 0.2 * page.DpiX;
  const double total = inch + space + metrics.horizontalAdvance(inchCaption) + apart + mm25 +
                       space + metrics.horizontalAdvance(mmCaption);
  // A whole pixel, so that a raster device keeps the bars' true lengths.
  double x = std::floor(std::max(kIndent * page.DpiX, band.width() - kIndent * page.DpiX - total));
  const double start = x;
  const double barHeight = std::max(1.0, kBarHeight * page.DpiY);
  const double barTop = std::floor(band.center().y() - barHeight / 2);
  canvas.setFont(font);
  canvas.setPen(Qt::black);
  for (const auto& [length, caption] : {std::pair(inch, inchCaption), std::pair(mm25, mmCaption)}) {
    canvas.fillRect(QRectF(x, barTop, length, barHeight), Qt::black);
    x += length + space;
    const double advance = metrics.horizontalAdvance(caption);
    canvas.drawText(QRectF(x, band.top(), advance + 1, band.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, caption);
    x = std::round(x + advance + apart);
  }
  return start;
}

// "B3", then "page 4 of 9" and the map's name, shortened to end before
// right.
void DrawLabel(QPainter& canvas, const TAidPage& page, double right) {
  const QRectF band = TextBand(page);
  double x = kIndent * page.DpiX;
  canvas.setPen(Qt::black);
  const QFont bold = AidFont(page, true);
  canvas.setFont(bold);
  const double nameWidth = QFontMetricsF(bold, canvas.device()).horizontalAdvance(page.Name);
  canvas.drawText(QRectF(x, band.top(), nameWidth + 1, band.height()),
                  Qt::AlignLeft | Qt::AlignVCenter, page.Name);
  x += nameWidth + 0.15 * page.DpiX;
  const QFont plain = AidFont(page, false);
  canvas.setFont(plain);
  const QString rest =
      QStringLiteral("page %1 of %2    %3").arg(page.Number).arg(page.Total).arg(page.MapName);
  const double room = right - x;
  if (room <= 0) return;
  const QString shown =
      QFontMetricsF(plain, canvas.device()).elidedText(rest, Qt::ElideRight, room);
  canvas.drawText(QRectF(x, band.top(), room, band.height()), Qt::AlignLeft | Qt::AlignVCenter,
                  shown);
}

}  // namespace

int HeightForSquares(int pageHeight, int dpiY, const TPrintAids& aids) {
  if (!aids.ReservesStrip()) return pageHeight;
  return pageHeight - int(std::ceil(kAidStripInches * dpiY));
}

QString PageColumnName(int column) {
  QString name;
  for (qint64 n = qint64(column) + 1; n > 0; n = (n - 1) / 26)
    name.prepend(QChar(u'A' + int((n - 1) % 26)));
  return name;
}

bool PageHasTiles(const TTileMap& map, const TPageLayout& layout, int page) {
  const QPoint origin = layout.PageOrigin(page);
  const int right = std::min(origin.x() + layout.Cols, map.Width());
  const int bottom = std::min(origin.y() + layout.Rows, map.Height());
  for (int y = std::max(origin.y(), 0); y < bottom; ++y)
    for (int x = std::max(origin.x(), 0); x < right; ++x)
      for (int layer = 0; layer < kLayerCount; ++layer)
        if (map.GetTile(layer, x, y)) return true;
  return false;
}

bool PageSkipped(const TTileMap& map, const TPageLayout& layout, int page, const TPrintAids& aids) {
  return aids.SkipBlank && !PageHasTiles(map, layout, page);
}

int FirstPrintedPage(const TTileMap& map, const TPageLayout& layout, const TPrintAids& aids) {
  for (int page = 0; page < layout.TotalPages(); ++page)
    if (!PageSkipped(map, layout, page, aids)) return page;
  return -1;
}

TAidPage AidPageOf(const TPageLayout& layout, int page, double cellWidth, double cellHeight,
                   QSize area, int dpiX, int dpiY, const QString& mapName, bool first) {
  const QPoint origin = layout.PageOrigin(page);
  TAidPage aid;
  aid.Area = area;
  aid.MapEnd =
      QPoint(SubCellEdge(std::clamp(layout.MapWidth - origin.x(), 0, layout.Cols), cellWidth),
             SubCellEdge(std::clamp(layout.MapHeight - origin.y(), 0, layout.Rows), cellHeight));
  aid.DpiX = dpiX;
  aid.DpiY = dpiY;
  if (layout.PagesAcross > 0)
    aid.Name =
        PageColumnName(page % layout.PagesAcross) + QString::number(page / layout.PagesAcross + 1);
  aid.Number = page + 1;
  aid.Total = layout.TotalPages();
  aid.MapName = mapName;
  aid.First = first;
  return aid;
}

void DrawPageAids(QPainter& canvas, const TPrintAids& aids, const TAidPage& page) {
  const bool calibration = aids.Calibration && page.First;
  if (!aids.Labels && !aids.Marks && !calibration) return;
  canvas.save();
  canvas.setClipRect(QRect(QPoint(0, 0), page.Area));
  if (aids.Marks) DrawTrimMarks(canvas, page);
  double labelRight = page.Area.width() - kIndent * page.DpiX;
  if (calibration) labelRight = DrawCalibration(canvas, page) - 0.2 * page.DpiX;
  if (aids.Labels) DrawLabel(canvas, page, labelRight);
  canvas.restore();
}
