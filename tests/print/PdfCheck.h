#pragma once

#include <QImage>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Reads a PDF file as other programs see it, through poppler's command-line
// tools: the page count and first page size in points (pdfinfo), and a page
// rasterised at a resolution (pdftoppm). A failure of the tools fails the
// calling test.
struct TPdfInfo {
  int Pages = 0;
  QSizeF PageSize;  // points
};
TPdfInfo ReadPdfInfo(const QString& pdf);
// The text of each page, in page order (pdftotext).
QStringList PdfPageTexts(const QString& pdf);
// A crop rectangle rasterises only that part of the page (its pixels).
QImage RasterisePage(const QString& pdf, int page, int resolution, const QRect& crop = QRect());

// The painted run of squares along one row (or column) of a rasterised
// page: where it starts and ends (pixels, at the half-way threshold against
// white), and how many squares of alternating colour it holds.
struct TSquareRun {
  double Start = -1;
  double End = -1;
  int Squares = 0;
};
TSquareRun MeasureRow(const QImage& image, int y);
TSquareRun MeasureColumn(const QImage& image, int x);
