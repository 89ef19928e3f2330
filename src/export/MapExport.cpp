#include "MapExport.h"

#include "BandExport.h"
#include "BandWriter.h"
#include "VttGeometry.h"
#include "VttWriter.h"
#include "base/Error.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"
#include "render/MapRender.h"
#include "storage/WriteAsideFile.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

// Each format's extensions, the one new files are given first.
struct TFormatExtension {
  const char* Extension;
  TExportFormat Format;
};
const TFormatExtension kExtensions[] = {{"bmp", TExportFormat::Bmp},
                                        {"png", TExportFormat::Png},
                                        {"jpg", TExportFormat::Jpeg},
                                        {"jpeg", TExportFormat::Jpeg},
                                        {"dd2vtt", TExportFormat::UniversalVtt}};

}  // namespace

bool ExportFormatForPath(const QString& path, TExportFormat* format) {
  const QString suffix = QFileInfo(path).suffix();
  for (const TFormatExtension& entry : kExtensions) {
    if (suffix.compare(QLatin1String(entry.Extension), Qt::CaseInsensitive) != 0) continue;
    if (format) *format = entry.Format;
    return true;
  }
  return false;
}

QString ExportExtension(TExportFormat format) {
  for (const TFormatExtension& entry : kExtensions)
    if (entry.Format == format) return QLatin1String(entry.Extension);
  return QString();
}

TExportSize ExportPictureSize(const TTileMap& map, int pixelsPerSquare) {
  TExportSize size;
  size.Width = qint64(SubCellToCell(map.Width())) * pixelsPerSquare;
  size.Height = qint64(SubCellToCell(map.Height())) * pixelsPerSquare;
  size.Bytes = size.Width * size.Height * 3;
  return size;
}

void CheckExportOptions(const TTileMap& map, const TExportOptions& options) {
  if (options.PixelsPerSquare < kMinPixelsPerSquare ||
      options.PixelsPerSquare > kMaxPixelsPerSquare)
    throw TError(QStringLiteral("The pixels per grid square must be from %1 to %2.")
                     .arg(kMinPixelsPerSquare)
                     .arg(kMaxPixelsPerSquare));
  if (!(options.Layers & lfAll))
    throw TError(QStringLiteral("Choose at least one layer to export."));
  const TExportSize size = ExportPictureSize(map, options.PixelsPerSquare);
  if (size.Width <= 0 || size.Height <= 0)
    throw TError(QStringLiteral("The map has no grid squares to export."));
  const qint64 side = std::max(size.Width, size.Height);
  if (options.Format == TExportFormat::Jpeg && side > kMaxJpegSide)
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels; a JPEG picture can be at "
                                "most %3 pixels a side. Choose fewer pixels per grid square.")
                     .arg(size.Width)
                     .arg(size.Height)
                     .arg(kMaxJpegSide));
  if (side > kMaxExportSide)
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels; an exported picture can be "
                                "at most %3 pixels a side. Choose fewer pixels per grid square.")
                     .arg(size.Width)
                     .arg(size.Height)
                     .arg(kMaxExportSide));
  if (options.Format == TExportFormat::Bmp &&
      ((size.Width * 3 + 3) & ~qint64(3)) * size.Height + 54 > qint64(0xFFFFFFFF))
    throw TError(QStringLiteral("The picture would be %1 x %2 pixels, more than a BMP file can "
                                "hold (4 GB). Choose fewer pixels per grid square or PNG.")
                     .arg(size.Width)
                     .arg(size.Height));
}

TExportResult ExportMap(const TTileMap& map, const TTilesetList* tilesets,
                        const TExportOptions& options, const QString& path,
                        TExportProgress* progress) {
  CheckExportOptions(map, options);
  TExportResult result;
  // The VTT geometry first: it may load tilesets, which can show messages.
  TVttGeometry geometry;
  if (options.Format == TExportFormat::UniversalVtt) {
    geometry = VttGeometry(map, tilesets);
    result.UnrecognisedWallPieces = geometry.UnrecognisedWallPieces;
  }

  // Written beside the target and renamed over it only when complete, so a
  // failure or a cancel leaves an existing file as it was.
  TWriteAsideFile file(path);

  // The renderer keeps its own scaled pictures; the map (perhaps open in the
  // editor, which may repaint during a long export) is only read.
  TMapRenderer renderer(map, options.PixelsPerSquare, options.Layers, options.GridLines);
  bool complete = false;
  try {
    if (options.Format == TExportFormat::UniversalVtt) {
      complete = WriteVtt(geometry, renderer, SubCellToCell(map.Width()),
                          SubCellToCell(map.Height()), options.PixelsPerSquare, file, progress);
    } else {
      std::unique_ptr<TBandWriter> writer;
      switch (options.Format) {
        case TExportFormat::Bmp:
          writer = NewBmpBandWriter(file);
          break;
        case TExportFormat::Jpeg:
          writer = NewJpegBandWriter(file);
          break;
        default:
          writer = NewPngBandWriter(file);
          break;
      }
      complete = WriteBands(renderer, *writer, progress);
    }
  } catch (const TError& error) {
    // A failed write is the file's to report, with the system's reason.
    if (file.Failed()) file.RaiseFailure();
    throw TError(QStringLiteral("The file %1 could not be written. %2")
                     .arg(QDir::toNativeSeparators(path), error.Message()));
  }
  if (!complete) {
    file.Discard();
    result.Cancelled = true;
    return result;
  }
  file.Commit();
  return result;
}
