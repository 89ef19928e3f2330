#pragma once

#include "map/TileMapObjects.h"
#include "print/PrinterDevice.h"
#include "storage/Guid.h"
#include "tiles/TileObjects.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

// A sub-tile of one colour.
inline TSubTile SolidSubTile(QRgb colour, int side = 16) {
  QImage image(side, side, QImage::Format_RGB888);
  image.fill(colour);
  TSubTile subTile;
  subTile.SetImage(image);
  subTile.SetGuid(NewGuidText());
  return subTile;
}

// A map of squaresAcross × squaresDown grid squares painted as a
// checkerboard of red and blue squares on the base layer.
inline std::unique_ptr<TTileMap> CheckerMap(int squaresAcross, int squaresDown, float gridSize) {
  auto map = std::make_unique<TTileMap>();
  map->SetWidth(2 * squaresAcross);
  map->SetHeight(2 * squaresDown);
  map->SetTileSize(gridSize);
  map->SetMapName(QStringLiteral("Checker"));
  const TSubTile red = SolidSubTile(kRed);
  const TSubTile blue = SolidSubTile(kBlue);
  for (int y = 0; y < map->Height(); ++y)
    for (int x = 0; x < map->Width(); ++x)
      map->PlaceTile(mlBase, x, y, (x / 2 + y / 2) % 2 ? blue : red, 0);
  return map;
}

// A printer that draws each page into a picture: a sheet of paperWidth ×
// paperHeight pixels with a printable area inset by margin on every side.
class TImagePrinter : public TPrinterDevice {
 public:
  TImagePrinter(int resolution, int paperWidth, int paperHeight, int margin)
      : fResolution(resolution), fPaper(paperWidth, paperHeight), fMargin(margin) {}

  int ResolutionX() const override { return fResolution; }
  int ResolutionY() const override { return fResolution; }
  QSize PrintableSize() const override { return fPaper - QSize(2 * fMargin, 2 * fMargin); }
  QSize PhysicalSize() const override { return fPaper; }
  QPoint PhysicalOffset() const override { return QPoint(fMargin, fMargin); }
  bool Landscape() const override { return fPaper.width() > fPaper.height(); }
  // Turns the sheet, as a printer setup to the other orientation does.
  void Turn() { fPaper.transpose(); }

  void BeginJob(const QString& title) override {
    Title = title;
    ++Jobs;
    StartPage();
  }
  void NewPage() override {
    fPainter.reset();
    if (OnNewPage) OnNewPage(int(Pages.size()));
    StartPage();
  }
  void EndJob() override {
    fPainter.reset();
    ++Ended;
  }
  void AbortJob() override { EndJob(); }
  QPainter& Painter() override { return *fPainter; }

  QString Title;
  int Jobs = 0;
  int Ended = 0;
  std::vector<QImage> Pages;
  // Runs when a page has been drawn and the next begins (with the number of
  // pages drawn so far).
  std::function<void(int)> OnNewPage;

 private:
  void StartPage() {
    Pages.emplace_back(PrintableSize(), QImage::Format_RGB32);
    Pages.back().fill(Qt::white);
    fPainter = std::make_unique<QPainter>(&Pages.back());
  }

  int fResolution;
  QSize fPaper;
  int fMargin;
  std::unique_ptr<QPainter> fPainter;
};

// 20 dpi on a sheet of 8.5 x 11.5 inches with a quarter-inch margin: a
// printable 8 x 11 inches, 8 x 11 one-inch squares a page, so 20 x 25
// squares take 3 x 3 pages.
inline TImagePrinter SmallPrinter() {
  return TImagePrinter(20, 170, 230, 5);
}

// True when every pixel of the picture is white.
inline bool Blank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}
