// export: a map as a picture (BMP, PNG, JPEG) at a number of pixels per
// grid square, or as a Universal VTT file with its walls and doors, through
// the same export model as the editor's Export command.
#include "Command.h"
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

int Export(const QStringList& args) {
  QStringList positional;
  TExportOptions options;
  bool formatGiven = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--ppg") || arg == QLatin1String("--layers") ||
        arg == QLatin1String("--format")) {
      if (i + 1 >= args.size()) throw TError(arg + QStringLiteral(" needs a value."));
      const QString value = args[++i];
      if (arg == QLatin1String("--ppg")) {
        bool ok = false;
        options.PixelsPerSquare = value.toInt(&ok);
        if (!ok)
          throw TError(QStringLiteral("--ppg takes a number of pixels from %1 to %2.")
                           .arg(kMinPixelsPerSquare)
                           .arg(kMaxPixelsPerSquare));
      } else if (arg == QLatin1String("--layers")) {
        options.Layers = ParseLayers(value);
      } else {
        options.Format = ParseFormat(value);
        formatGiven = true;
      }
    } else if (arg == QLatin1String("--grid")) {
      options.GridLines = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      throw TError(QStringLiteral("Unknown option \"%1\".").arg(arg));
    } else {
      positional.append(arg);
    }
  }
  if (positional.size() != 2)
    throw TError(QStringLiteral(
        "Usage: tessellan-tool export MAP OUT [--ppg N] [--layers base,objects,walls] [--grid] "
        "[--format bmp|png|jpeg|dd2vtt]"));
  if (!formatGiven && !ExportFormatForPath(positional[1], &options.Format))
    throw TError(QStringLiteral("The file name %1 names no export format (.bmp, .png, .jpg, "
                                ".jpeg or .dd2vtt); give one with --format.")
                     .arg(positional[1]));

  TTileMap map;
  map.LoadFromFile(positional[0]);
  CheckExportOptions(map, options);

  // The Universal VTT export recognises walls and doors by the installed
  // tilesets, written out for this run as the editor does at start-up.
  QTemporaryDir tilesetDir;
  TTilesetList* tilesets = nullptr;
  if (options.Format == TExportFormat::UniversalVtt) {
    if (!tilesetDir.isValid())
      throw TError(QStringLiteral("No temporary directory for the tilesets could be made."));
    tilesets = &TilesetList();
    tilesets->LoadInstalled([](const QString&) {}, tilesetDir.path());
    if (tilesets->TerminateRequested())
      throw TError(QStringLiteral("The installed tilesets could not be prepared."));
  }
  const TExportResult result = ExportMap(map, tilesets, options, positional[1]);
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
     Export});

}  // namespace
