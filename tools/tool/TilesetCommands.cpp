// Tileset commands of tessellan-tool: a JSON description of a tileset file
// and a contact sheet of its group previews. Both load the file exactly as
// the editor does, so a file that fails here fails there with the same boxes.
#include "Command.h"
#include "CommandLine.h"
#include "Json.h"
#include "export/BandWriter.h"
#include "storage/WriteAsideFile.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <memory>

namespace {

void WriteTile(TJsonWriter& json, const TTile& tile) {
  json.BeginObject();
  json.Key(QStringLiteral("X")).Value(tile.X());
  json.Key(QStringLiteral("Y")).Value(tile.Y());
  json.Key(QStringLiteral("SubTiles")).BeginArray();
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    const TSubTile& subTile = tile.SubTile(quadrant);
    json.BeginObject();
    json.Key(QStringLiteral("Guid")).Value(subTile.Guid());
    json.Key(QStringLiteral("TransparentColor")).Value(qint64(subTile.TransparentColor()));
    json.Key(QStringLiteral("Width")).Value(subTile.Image().width());
    json.Key(QStringLiteral("Height")).Value(subTile.Image().height());
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void WriteGroup(TJsonWriter& json, const TTileGroup& group) {
  json.BeginObject();
  json.Key(QStringLiteral("GroupName")).Value(group.GroupName());
  json.Key(QStringLiteral("GroupDescr")).Value(group.GroupDescr());
  json.Key(QStringLiteral("Category")).Value(group.Category());
  json.Key(QStringLiteral("FType")).Value(int(group.FType()));
  json.Key(QStringLiteral("PlaceType")).Value(int(group.PlaceType()));
  json.Key(QStringLiteral("PatWidth")).Value(group.PatWidth());
  json.Key(QStringLiteral("PatHeight")).Value(group.PatHeight());
  // Stored order: column by column, each column from the top row down.
  json.Key(QStringLiteral("Tiles")).BeginArray();
  for (int x = 0; x < group.PatWidth(); ++x)
    for (int y = 0; y < group.PatHeight(); ++y)
      if (const TTile* tile = group.StoredTile(x, y)) WriteTile(json, *tile);
  json.EndArray();
  json.EndObject();
}

int TilesetInfo(const TCommandLine& line) {
  TTileSet tileSet;
  if (!tileSet.Open(line.Argument(0))) return 1;

  TJsonWriter json;
  json.BeginObject();
  json.Key(QStringLiteral("TilesetName")).Value(tileSet.TilesetName());
  json.Key(QStringLiteral("AuthorName")).Value(tileSet.AuthorName());
  json.Key(QStringLiteral("Information")).Value(tileSet.Information());
  json.Key(QStringLiteral("URL")).Value(tileSet.URL());
  json.Key(QStringLiteral("ReadOnly")).Value(tileSet.ReadOnly());
  json.Key(QStringLiteral("Groups")).BeginArray();
  for (int i = 0; i < tileSet.GroupCount(); ++i)
    WriteGroup(json, *tileSet.GroupAt(i));
  json.EndArray();
  json.EndObject();
  const QByteArray text = json.Text();
  std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
  return 0;
}

// Contact sheet geometry: previews in a grid with the group's name under each.
constexpr int kPreviewSize = 128;
constexpr int kMargin = 8;
constexpr int kNameHeight = 20;
constexpr int kColumns = 6;

int TilesetSheet(const TCommandLine& line) {
  TTileSet tileSet;
  if (!tileSet.Open(line.Argument(0))) return 1;

  const int count = tileSet.GroupCount();
  const int columns = qBound(1, count, kColumns);
  const int rows = qMax(1, (count + columns - 1) / columns);
  const int cellWidth = kPreviewSize + 2 * kMargin;
  const int cellHeight = kPreviewSize + kNameHeight + 2 * kMargin;
  QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_RGB888);
  sheet.fill(Qt::white);
  {
    QPainter painter(&sheet);
    const QFontMetrics metrics(painter.font());
    for (int i = 0; i < count; ++i) {
      const TTileGroup& group = *tileSet.GroupAt(i);
      const int left = (i % columns) * cellWidth + kMargin;
      const int top = (i / columns) * cellHeight + kMargin;
      group.DrawPreview(painter, QRect(left, top, kPreviewSize, kPreviewSize), 0);
      const QRect nameRect(left, top + kPreviewSize, kPreviewSize, kNameHeight);
      painter.setPen(Qt::black);
      painter.drawText(nameRect, Qt::AlignCenter,
                       metrics.elidedText(group.GroupName(), Qt::ElideRight, kPreviewSize));
    }
  }
  // Through the export's PNG writer: Qt's own loses memory when a write
  // fails.
  const QImage pixels = sheet.convertToFormat(QImage::Format_RGB32);
  WriteAside(line.Argument(1), [&pixels](QIODevice& file) {
    const std::unique_ptr<TBandWriter> writer = NewPngBandWriter(file);
    writer->Begin(pixels.width(), pixels.height());
    for (int y = 0; y < pixels.height(); ++y)
      writer->WriteRow(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)));
    writer->Finish();
  });
  return 0;
}

const TCommandRegistration kInfo({QStringLiteral("tileset-info"),
                                  QStringLiteral("FILE"),
                                  QStringLiteral("Print a tileset's texts, groups and tiles as "
                                                 "JSON (groups in the tileset's order, tiles "
                                                 "column by column)."),
                                  1,
                                  {},
                                  &TilesetInfo});
const TCommandRegistration kSheet({QStringLiteral("tileset-sheet"),
                                   QStringLiteral("FILE OUT.png"),
                                   QStringLiteral("Draw every group's preview with its name "
                                                  "into a PNG contact sheet."),
                                   2,
                                   {},
                                   &TilesetSheet});

}  // namespace
