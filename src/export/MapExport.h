#pragma once

#include "render/MapDrawing.h"

#include <QString>
#include <QtGlobal>

class TTileMap;
class TTilesetList;

// Exporting a map: as one picture (BMP, PNG, JPEG) at a number of pixels per
// grid square, or as a Universal VTT file that carries the picture together
// with the walls and doors for a virtual tabletop. Pictures are rendered and
// written a band of rows at a time, so memory stays bounded whatever the
// size; every export is written beside its target and renamed into place.

enum class TExportFormat { Bmp, Png, Jpeg, UniversalVtt };

constexpr int kMinPixelsPerSquare = 8;
constexpr int kMaxPixelsPerSquare = 1000;
// The longest side of any picture we write, in pixels.
constexpr qint64 kMaxExportSide = 60000;
// The longest side a JPEG file can describe.
constexpr qint64 kMaxJpegSide = 65535;

struct TExportOptions {
  int PixelsPerSquare = 100;  // kMinPixelsPerSquare .. kMaxPixelsPerSquare
  quint8 Layers = lfAll;      // layer flags as RenderMap takes them
  bool GridLines = false;
  TExportFormat Format = TExportFormat::Png;
};

// The format a file name asks for by its extension (.bmp .png .jpg .jpeg
// .dd2vtt, case ignored); false when none.
bool ExportFormatForPath(const QString& path, TExportFormat* format);
// The extension a file of the format is given, without the dot ("jpg").
QString ExportExtension(TExportFormat format);

// Picture size in pixels for the map at that scale (squares x ppg, exactly),
// and its uncompressed size in bytes (24-bit) for a live "megabytes" figure.
struct TExportSize {
  qint64 Width = 0;
  qint64 Height = 0;
  qint64 Bytes = 0;
};
TExportSize ExportPictureSize(const TTileMap& map, int pixelsPerSquare);

// Raises TError with a clear message when the options cannot be exported
// (ppg out of range, no layer, picture over the format's or our 60,000 px
// limit).
void CheckExportOptions(const TTileMap& map, const TExportOptions& options);

// Progress of a long export; a progress dialog implements it.
class TExportProgress {
 public:
  virtual ~TExportProgress() = default;
  virtual void Advance(int done, int total) = 0;  // bands written so far
  virtual bool Cancelled() const = 0;             // polled between bands
};

struct TExportResult {
  bool Cancelled = false;          // nothing was written, an existing file untouched
  int UnrecognisedWallPieces = 0;  // VTT: wall pieces of styles not installed, left out
};

// Writes the export to `path` beside-and-rename; raises TError on failure
// (nothing left behind, an existing file untouched). `tilesets` is the
// installed list, used by the VTT export to recognise wall pieces and doors;
// may be null for pictures.
TExportResult ExportMap(const TTileMap& map, const TTilesetList* tilesets,
                        const TExportOptions& options, const QString& path,
                        TExportProgress* progress = nullptr);
