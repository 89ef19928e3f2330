#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class QPainter;
class TTileMap;
struct TPageLayout;

// What helps a user put the printed pages of a large map together. All are
// off by default, and then a page carries the squares alone.
struct TPrintAids {
  // Each page names its place in the grid of pages ("B3"), its number and
  // the map, in a strip kept free at the foot of the printable area.
  bool Labels = false;
  // Short ticks at the printable area's edges on the lines where the map's
  // area on the page ends, to trim the pages along and butt them together.
  bool Marks = false;
  // Bars of exactly 1 inch and 25 mm on the first page printed, to check
  // the printer's scale with a ruler.
  bool Calibration = false;
  // Pages without a tile are left out; the others keep their names.
  bool SkipBlank = false;

  bool operator==(const TPrintAids& other) const {
    return Labels == other.Labels && Marks == other.Marks && Calibration == other.Calibration &&
           SkipBlank == other.SkipBlank;
  }
  bool operator!=(const TPrintAids& other) const { return !(*this == other); }
  // The label and the calibration bar live in the strip below the squares.
  bool ReservesStrip() const { return Labels || Calibration; }
};

// The height of the strip kept free for the label and the calibration bar.
constexpr double kAidStripInches = 0.3;

// The part of a printable area's height, in pixels at dpiY, that may hold
// squares: all of it unless the aids reserve the strip.
int HeightForSquares(int pageHeight, int dpiY, const TPrintAids& aids);

// The letters of the page column counted from 0: A to Z, then AA, AB, ...
QString PageColumnName(int column);

// True when the block of sub-cells that page (from 0) shows holds a tile on
// any layer.
bool PageHasTiles(const TTileMap& map, const TPageLayout& layout, int page);
// Whether the aids leave page out of the job.
bool PageSkipped(const TTileMap& map, const TPageLayout& layout, int page, const TPrintAids& aids);
// The first page that printing every page puts out, which carries the
// calibration bar (also when it is printed alone); -1 when every page is
// skipped.
int FirstPrintedPage(const TTileMap& map, const TPageLayout& layout, const TPrintAids& aids);

// A page as its aids see it, in the pixels of the device it is drawn on,
// with the printable area's top-left corner at (0, 0).
struct TAidPage {
  QSize Area;     // the printable area
  QPoint MapEnd;  // the right and bottom edges of the map's squares on the page
  int DpiX = 0;
  int DpiY = 0;
  QString Name;    // the page's place in the grid of pages: "B3"
  int Number = 0;  // from 1, counting skipped pages
  int Total = 0;
  QString MapName;
  bool First = false;  // the first page printed, which carries the calibration bar
};

// The aid page of page (from 0) of a layout whose sub-cells measure
// cellWidth × cellHeight pixels on a printable area of area pixels.
TAidPage AidPageOf(const TPageLayout& layout, int page, double cellWidth, double cellHeight,
                   QSize area, int dpiX, int dpiY, const QString& mapName, bool first);

// Draws the chosen aids of a page over its printable area, never on the
// map's squares. Draws nothing when no aid is chosen.
void DrawPageAids(QPainter& canvas, const TPrintAids& aids, const TAidPage& page);
