// Map commands: describe a map file as JSON, load and save one again as the
// editor would, and write a new map from the default settings.
#include "Command.h"
#include "CommandLine.h"
#include "Json.h"
#include "map/TileMapObjects.h"

#include <QCryptographicHash>

#include <cstdio>

namespace {

QString PixelsSha256(const QImage& image) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  const qsizetype rowBytes = qsizetype(rgb.width()) * 3;
  for (int y = 0; y < rgb.height(); ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)), rowBytes));
  return QString::fromLatin1(hash.result().toHex());
}

int MapInfo(const TCommandLine& line) {
  TTileMap map;
  map.LoadFromFile(line.Argument(0));

  TJsonWriter json;
  json.BeginObject();
  json.Key(QStringLiteral("MapName")).Value(map.MapName());
  json.Key(QStringLiteral("AuthorName")).Value(map.AuthorName());
  json.Key(QStringLiteral("Information")).Value(map.Information());
  json.Key(QStringLiteral("URL")).Value(map.URL());
  json.Key(QStringLiteral("Width")).Value(map.Width());
  json.Key(QStringLiteral("Height")).Value(map.Height());
  json.Key(QStringLiteral("TileSize")).Value(double(map.TileSize()));
  json.Key(QStringLiteral("ReadOnly")).Value(map.ReadOnly());
  json.Key(QStringLiteral("EmbeddedTiles")).BeginArray();
  for (int i = 0; i < map.EmbeddedTiles().Count(); ++i) {
    const TSubTile* entry = map.EmbeddedTiles().At(i);
    json.BeginObject();
    json.Key(QStringLiteral("Guid")).Value(entry->Guid());
    json.Key(QStringLiteral("TransparentColor")).Value(entry->TransparentColor());
    json.Key(QStringLiteral("Width")).Value(entry->Image().width());
    json.Key(QStringLiteral("Height")).Value(entry->Image().height());
    json.Key(QStringLiteral("PixelsSha256")).Value(PixelsSha256(entry->Image()));
    json.EndObject();
  }
  json.EndArray();
  json.Key(QStringLiteral("Layers")).BeginArray();
  for (int layer = 0; layer < kLayerCount; ++layer) {
    json.BeginArray();
    for (int y = 0; y < map.Height(); ++y) {
      for (int x = 0; x < map.Width(); ++x) {
        const TMapTile* tile = map.GetTile(layer, x, y);
        if (!tile) continue;
        json.BeginObject();
        json.Key(QStringLiteral("X")).Value(x);
        json.Key(QStringLiteral("Y")).Value(y);
        json.Key(QStringLiteral("Orientation")).Value(int(tile->Orientation()));
        json.Key(QStringLiteral("TileIndex")).Value(tile->TileIndex());
        json.EndObject();
      }
    }
    json.EndArray();
  }
  json.EndArray();
  json.EndObject();
  const QByteArray text = json.Text();
  std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
  return 0;
}

int MapResave(const TCommandLine& line) {
  TTileMap map;
  map.LoadFromFile(line.Argument(0));
  map.SaveToFile(line.Argument(1));
  return 0;
}

int MapNew(const TCommandLine& line) {
  TTileMap map;
  // Sizes are given in grid squares.
  if (line.IsSet(QStringLiteral("width")))
    map.SetWidth(CellToSubCell(line.Number(QStringLiteral("width"), 0)));
  if (line.IsSet(QStringLiteral("height")))
    map.SetHeight(CellToSubCell(line.Number(QStringLiteral("height"), 0)));
  map.SaveToFile(line.Argument(0));
  return 0;
}

TCommandOption SquaresOption(const QString& name) {
  return {name, QStringLiteral("N"),
          QStringLiteral("The map's %1 in grid squares, 1 to %2 (from the default settings).")
              .arg(name)
              .arg(SubCellToCell(kMaxMapExtent)),
          1, SubCellToCell(kMaxMapExtent)};
}

TCommandRegistration infoRegistration(
    {QStringLiteral("map-info"),
     QStringLiteral("FILE"),
     QStringLiteral("Print a map file's texts, sizes, embedded tiles and layers as JSON."),
     1,
     {},
     MapInfo});
TCommandRegistration resaveRegistration(
    {QStringLiteral("map-resave"),
     QStringLiteral("IN OUT"),
     QStringLiteral("Open a map file as the editor does and save it under another name."),
     2,
     {},
     MapResave});
TCommandRegistration newRegistration(
    {QStringLiteral("map-new"),
     QStringLiteral("OUT [--width N] [--height N]"),
     QStringLiteral("Save a new map made from the default settings (sizes in grid squares)."),
     1,
     {SquaresOption(QStringLiteral("width")), SquaresOption(QStringLiteral("height"))},
     MapNew});

}  // namespace
