// Map commands: describe a map file as JSON, load and save one again as the
// editor would, and write a new map from the default settings.
#include "Command.h"
#include "Json.h"
#include "base/Convert.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"

#include <QCryptographicHash>

#include <cstdio>

namespace {

void RequireArgs(const QStringList& args, int count, const char* usage) {
  if (args.size() != count)
    throw TError(QStringLiteral("Usage: tessellan-tool %1").arg(QLatin1String(usage)));
}

QString PixelsSha256(const QImage& image) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  const qsizetype rowBytes = qsizetype(rgb.width()) * 3;
  for (int y = 0; y < rgb.height(); ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)), rowBytes));
  return QString::fromLatin1(hash.result().toHex());
}

int MapInfo(const QStringList& args) {
  RequireArgs(args, 1, "map-info FILE");
  TTileMap map;
  map.LoadFromFile(args[0]);

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

int MapResave(const QStringList& args) {
  RequireArgs(args, 2, "map-resave IN OUT");
  TTileMap map;
  map.LoadFromFile(args[0]);
  map.SaveToFile(args[1]);
  return 0;
}

// The value of an option "--name N" counted in grid squares, as sub-cells.
int SquaresOption(const QString& name, const QString& value) {
  const int squares = StrToInt(value);
  if (squares < 1 || squares > SubCellToCell(kMaxMapExtent))
    throw TError(QStringLiteral("%1 must be between 1 and %2 grid squares.")
                     .arg(name)
                     .arg(SubCellToCell(kMaxMapExtent)));
  return CellToSubCell(squares);
}

int MapNew(const QStringList& args) {
  const char* usage = "map-new OUT [--width N] [--height N]";
  QString out;
  int width = -1;
  int height = -1;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--width") || arg == QLatin1String("--height")) {
      RequireArgs(args.mid(i + 1, 1), 1, usage);
      const int value = SquaresOption(arg, args[++i]);
      (arg == QLatin1String("--width") ? width : height) = value;
    } else if (out.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
      out = arg;
    } else {
      RequireArgs({}, 1, usage);
    }
  }
  if (out.isEmpty()) RequireArgs({}, 1, usage);

  TTileMap map;
  if (width >= 0) map.SetWidth(width);
  if (height >= 0) map.SetHeight(height);
  map.SaveToFile(out);
  return 0;
}

TCommandRegistration infoRegistration(
    {QStringLiteral("map-info"), QStringLiteral("FILE"),
     QStringLiteral("Print a map file's texts, sizes, embedded tiles and layers as JSON."),
     MapInfo});
TCommandRegistration resaveRegistration(
    {QStringLiteral("map-resave"), QStringLiteral("IN OUT"),
     QStringLiteral("Open a map file as the editor does and save it under another name."),
     MapResave});
TCommandRegistration newRegistration(
    {QStringLiteral("map-new"), QStringLiteral("OUT [--width N] [--height N]"),
     QStringLiteral("Save a new map made from the default settings (sizes in grid squares)."),
     MapNew});

}  // namespace
