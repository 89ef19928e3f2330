// export: a map as a picture (BMP, PNG, JPEG) at a number of pixels per
// grid square, or as a Universal VTT file with its walls and doors, through
// the same export model as the editor's Export command.
#include "Command.h"
#include "CommandLine.h"
#include "InstalledTilesets.h"
#include "base/Error.h"
#include "export/MapExport.h"
#include "map/TileMapObjects.h"
#include "tiles/TilesetList.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

TExportFormat ParseFormat(const QString& text) {
  TExportFormat format;
  if (!ExportFormatForPath(QStringLiteral("x.") + text, &format))
    throw TError(
        QStringLiteral("Unknown format \"%1\" (expected bmp, png, jpeg or dd2vtt).").arg(text));
  return format;
}

int Export(const TCommandLine& line) {
  const QString out = line.Argument(1);
  TExportOptions options;
  options.PixelsPerSquare = line.Number(QStringLiteral("ppg"), options.PixelsPerSquare);
  if (line.IsSet(QStringLiteral("layers")))
    options.Layers = ParseLayers(line.Value(QStringLiteral("layers")));
  options.GridLines = line.IsSet(QStringLiteral("grid"));
  if (line.IsSet(QStringLiteral("format")))
    options.Format = ParseFormat(line.Value(QStringLiteral("format")));
  else if (!ExportFormatForPath(out, &options.Format))
    throw TError(QStringLiteral("The file name %1 names no export format (.bmp, .png, .jpg, "
                                ".jpeg or .dd2vtt); give one with --format.")
                     .arg(out));

  TTileMap map;
  map.LoadFromFile(line.Argument(0));
  CheckExportOptions(map, options);

  // The Universal VTT export recognises walls and doors by the installed
  // tilesets and wall styles, the user's included.
  QTemporaryDir tilesetDir;
  TTilesetList* tilesets = nullptr;
  if (options.Format == TExportFormat::UniversalVtt) tilesets = &LoadInstalledTilesets(tilesetDir);
  const TExportResult result = ExportMap(map, tilesets, options, out);
  if (result.UnrecognisedWallPieces > 0)
    QTextStream(stderr) << QStringLiteral(
                               "%1 wall pieces of styles that are not installed were left out.\n")
                               .arg(result.UnrecognisedWallPieces);
  return 0;
}

TCommandRegistration reg(
    {QStringLiteral("export"),
     QStringLiteral("MAP OUT [--ppg N] [--layers base,objects,walls] [--grid] "
                    "[--format bmp|png|jpeg|dd2vtt]"),
     QStringLiteral("Export a map as a picture of N pixels per grid square (100), or as a "
                    "Universal VTT file with its walls and doors."),
     2,
     {{QStringLiteral("ppg"), QStringLiteral("N"),
       QStringLiteral("Pixels per grid square, %1 to %2 (100).")
           .arg(kMinPixelsPerSquare)
           .arg(kMaxPixelsPerSquare),
       kMinPixelsPerSquare, kMaxPixelsPerSquare},
      {QStringLiteral("layers"), QStringLiteral("LIST"),
       QStringLiteral("The layers to draw, separated by commas: base, objects, walls (all).")},
      {QStringLiteral("grid"), QString(), QStringLiteral("Draw the grid lines.")},
      {QStringLiteral("format"), QStringLiteral("FORMAT"),
       QStringLiteral("bmp, png, jpeg or dd2vtt (by the file name's extension).")}},
     Export});

}  // namespace
