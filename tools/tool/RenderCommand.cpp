// render: a whole map as a PNG picture, drawn exactly as the editor's map
// grid draws it at a cell size: every sub-cell through DrawMapSubCell at half
// the cell size, optionally with the grid's grey lines. The picture is drawn
// and written a band of rows at a time, like an export, so memory stays
// bounded whatever its size.
#include "Command.h"
#include "CommandLine.h"
#include "base/Error.h"
#include "export/BandExport.h"
#include "export/BandWriter.h"
#include "export/MapExport.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"
#include "render/MapRender.h"
#include "storage/WriteAsideFile.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kDefaultCell = 48;
// zlib level 3: about a third of the time of the default level for a file
// some 5 % larger.
constexpr int kRenderCompressionLevel = 3;

void WritePng(const TTileMap& map, int cell, quint8 layers, bool grid, const QString& path) {
  const qint64 width = qint64(SubCellToCell(map.Width())) * cell;
  const qint64 height = qint64(SubCellToCell(map.Height())) * cell;
  if (std::max(width, height) > kMaxExportSide)
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels; a picture can be at most "
                                "%3 pixels a side. Choose a smaller cell size.")
                     .arg(width)
                     .arg(height)
                     .arg(kMaxExportSide));
  TMapRenderer renderer(map, cell, layers, grid);
  // Written beside the target and renamed over it, so a failure never
  // leaves half a picture.
  WriteAside(path, [&renderer](QIODevice& file) {
    const std::unique_ptr<TBandWriter> writer = NewPngBandWriter(file, kRenderCompressionLevel);
    WriteBands(renderer, *writer, nullptr);
  });
}

int Render(const TCommandLine& line) {
  const int cell = line.Number(QStringLiteral("cell"), kDefaultCell);
  // Even sizes only: a grid square is two sub-cells of whole pixels.
  if (cell % 2)
    throw TError(QStringLiteral("--cell takes an even number of pixels from 2 to 1024."));
  const quint8 layers = line.IsSet(QStringLiteral("layers"))
                            ? ParseLayers(line.Value(QStringLiteral("layers")))
                            : quint8(lfAll);

  TTileMap map;
  map.LoadFromFile(line.Argument(0));
  WritePng(map, cell, layers, line.IsSet(QStringLiteral("grid")), line.Argument(1));
  return 0;
}

TCommandRegistration reg(
    {QStringLiteral("render"),
     QStringLiteral("MAP OUT.png [--cell N] [--layers base,objects,walls] "
                    "[--grid]"),
     QStringLiteral("Draw a whole map as the editor shows it, N pixels per "
                    "grid square (48), optionally with grid lines."),
     2,
     {{QStringLiteral("cell"), QStringLiteral("N"),
       QStringLiteral("Pixels per grid square, even, 2 to 1024 (48)."), 2, 1024},
      {QStringLiteral("layers"), QStringLiteral("LIST"),
       QStringLiteral("The layers to draw, separated by commas: base, "
                      "objects, walls (all).")},
      {QStringLiteral("grid"), QString(), QStringLiteral("Draw the grid's grey lines.")}},
     Render});

}  // namespace

quint8 ParseLayers(const QString& text) {
  quint8 flags = 0;
  for (const QString& name : text.split(QLatin1Char(','))) {
    if (name == QLatin1String("base"))
      flags |= lfBase;
    else if (name == QLatin1String("objects"))
      flags |= lfObjects;
    else if (name == QLatin1String("walls"))
      flags |= lfWalls;
    else
      throw TError(
          QStringLiteral("Unknown layer \"%1\" (expected base, objects or walls).").arg(name));
  }
  return flags;
}
