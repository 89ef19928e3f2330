#include "MapFile.h"

#include "LayerText.h"
#include "TileMapObjects.h"
#include "UndoRedoU.h"
#include "base/Convert.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "storage/CompoundFile.h"
#include "storage/PictureBudget.h"
#include "storage/PropertySet.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "storage/SubTileRecord.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

const QString kMapVersion = QStringLiteral("1.0");
const QString kMapSubject = QStringLiteral("Tessellan Battle Map");
const char* const kLayerNames[kLayerCount] = {"LayerBase", "LayerOverlay", "LayerWall"};

QString Name(const char* name) {
  return QLatin1String(name);
}

[[noreturn]] void FailFormat() {
  throw TError(QStringLiteral("Invalid file format detected, unable to load map."));
}

// A property stream's bytes up to its first NUL, without text conversion.
QByteArray PropertyBytes(const TStorage& storage, const QString& name) {
  const QByteArray& stream = storage.OpenStream(name);
  const qsizetype nul = stream.indexOf('\0');
  return nul < 0 ? stream : stream.left(nul);
}

void WritePropertyBytes(TStorage& storage, const QString& name, QByteArray bytes) {
  bytes.append('\0');
  storage.CreateStream(name, std::move(bytes));
}

// The value of a decimal stream name "0", "1", … (no sign, no leading
// zeros), or -1.
qint64 StreamIndex(const QString& name) {
  if (name.isEmpty() || name.size() > 10 || (name.size() > 1 && name[0] == QLatin1Char('0')))
    return -1;
  qint64 value = 0;
  for (QChar c : name) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    value = value * 10 + (c.unicode() - '0');
  }
  return value;
}

int ReadExtent(const TStorage& root, const char* name) {
  const int extent = StrToInt(ReadProperty(root, Name(name)));
  if (extent < 0 || extent > kMaxMapExtent) FailFormat();
  return extent;
}

}  // namespace

QString FormatTileSize(float size, const QLocale& locale) {
  // The single-precision value widened to double, in general form: 0.1f is
  // written with the digits it really holds, "0.100000001490116".
  QString text = QString::number(double(size), 'g', 15);
  const qsizetype e = text.indexOf(QLatin1Char('e'));
  if (e >= 0) {
    // Exponents as "1E-6" and "1E20": no plus sign, no leading zeros.
    QString exponent = text.mid(e + 1);
    QString sign;
    if (exponent.startsWith(QLatin1Char('-'))) sign = QStringLiteral("-");
    if (exponent.startsWith(QLatin1Char('-')) || exponent.startsWith(QLatin1Char('+')))
      exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
      exponent.remove(0, 1);
    text = text.left(e) + QLatin1Char('E') + sign + exponent;
  }
  text.replace(QLatin1Char('.'), locale.decimalPoint());
  return text;
}

namespace {

// The renumbering a save applies: entries in first-use order (base layer row
// by row, then overlay, then wall), equal identities merged, unused entries
// dropped.
struct TSaveLayout {
  std::vector<int> Order;       // new index -> old index
  std::vector<int> NewIndexOf;  // old index -> new index, -1 when unused
};

TSaveLayout PlanSave(const TTileMap& map) {
  const TGraphicTileList& embedded = map.EmbeddedTiles();
  TSaveLayout layout;
  layout.NewIndexOf.assign(size_t(embedded.Count()), -1);
  QHash<QString, int> newIndexOfGuid;
  for (int layer = 0; layer < kLayerCount; ++layer) {
    for (int y = 0; y < map.Height(); ++y) {
      for (int x = 0; x < map.Width(); ++x) {
        const TMapTile* tile = map.Layer(layer).Get(x, y);
        if (!tile) continue;
        int& newIndex = layout.NewIndexOf[size_t(tile->TileIndex())];
        if (newIndex >= 0) continue;
        const QString& guid = embedded.At(tile->TileIndex())->Guid();
        newIndex = newIndexOfGuid.value(guid, -1);
        if (newIndex >= 0) continue;
        newIndex = int(layout.Order.size());
        newIndexOfGuid.insert(guid, newIndex);
        layout.Order.push_back(tile->TileIndex());
      }
    }
  }
  return layout;
}

std::unique_ptr<TStorage> BuildStorage(const TTileMap& map, const TSaveLayout& layout) {
  auto root = std::make_unique<TStorage>();
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, map.MapName()},
                                              {pidAuthor, map.AuthorName()},
                                              {pidComments, map.Information()},
                                              {pidSubject, kMapSubject}}));
  const QLocale locale = QLocale::system();
  WriteProperty(*root, Name("Version"), kMapVersion);
  WriteProperty(*root, Name("MapName"), map.MapName());
  WriteProperty(*root, Name("AuthorName"), map.AuthorName());
  WriteProperty(*root, Name("Information"), map.Information());
  WriteProperty(*root, Name("URL"), map.URL());
  WriteProperty(*root, Name("LastMod"), locale.toString(map.LastMod(), QLocale::ShortFormat));
  WriteProperty(*root, Name("MapWidth"), QString::number(map.Width()));
  WriteProperty(*root, Name("MapHeight"), QString::number(map.Height()));
  WriteProperty(*root, Name("TileSize"), FormatTileSize(map.TileSize(), locale));
  WriteProperty(*root, Name("NumEmbeddedTiles"), QString::number(layout.Order.size()));

  TStorage& tiles = root->CreateStorage(Name("Tiles"));
  for (size_t i = 0; i < layout.Order.size(); ++i) {
    const TSubTile* entry = map.EmbeddedTiles().At(layout.Order[i]);
    QByteArray record;
    WriteSubTileRecord(record, entry->Image(), entry->Guid(), entry->TransparentColor());
    tiles.CreateStream(QString::number(i), std::move(record));
  }
  for (int layer = 0; layer < kLayerCount; ++layer)
    WritePropertyBytes(*root, Name(kLayerNames[layer]),
                       BuildLayerText(map.Layer(layer), layout.NewIndexOf));
  return root;
}

}  // namespace

void SaveMapFile(TTileMap& map, const QString& path) {
  // Everything is prepared on the side and written before the map changes,
  // so a failed save leaves the map, its history and the previous file
  // exactly as they were.
  // Nothing is made under a name the system would read otherwise.
  RequireWritableName(path);
  const TSaveLayout layout = PlanSave(map);
  const std::unique_ptr<TStorage> root = BuildStorage(map, layout);
  QDir().mkpath(QFileInfo(path).absolutePath());
  WriteCompoundFile(path, *root);
  map.RenumberEmbeddedTiles(layout.Order, layout.NewIndexOf);
  map.SetFileName(path);
  map.SetModified(false);
  map.SetReadOnly(false);
}

void LoadMapFile(TTileMap& map, const QString& path) {
  const TFileStatus status = FileStatus(path);
  if (!status.IsFile)
    throw TError(QStringLiteral("The file ") + path +
                 QStringLiteral(" could not be found or does not exist."));
  if (!IsStorageFile(path))
    throw TError(QStringLiteral("The file ") + path +
                 QStringLiteral(" is not a valid map file, or is corrupt."));
  // The read-only attribute is the owner's write permission; access() would
  // always allow root to write.
  const bool readOnly = !status.OwnerWritable;
  const QByteArray bytes = ReadFileBytes(path, readOnly ? TOpenMode::Read : TOpenMode::ReadWrite);
  const std::unique_ptr<TStorage> root = ParseCompoundFile(bytes);
  CheckPictureBudget(*root, bytes.size(), path);
  LoadMapStorage(map, *root);
  map.SetFileName(path);
  map.SetReadOnly(readOnly);
}

void LoadMapStorage(TTileMap& map, const TStorage& root) {
  if (ReadProperty(root, Name("Version")) != kMapVersion)
    throw TError(QStringLiteral("Invalid tilemap version detected, unable to load map."));

  // Everything is read and checked before the map changes.
  const QString mapName = ReadProperty(root, Name("MapName"));
  const QString authorName = ReadProperty(root, Name("AuthorName"));
  const QString information = ReadProperty(root, Name("Information"));
  const QString url = ReadProperty(root, Name("URL"));
  const int width = ReadExtent(root, "MapWidth");
  const int height = ReadExtent(root, "MapHeight");
  const float tileSize = float(StrToFloat(ReadProperty(root, Name("TileSize"))));
  if (!std::isfinite(tileSize) || !(tileSize > 0)) FailFormat();

  const int count = StrToInt(ReadProperty(root, Name("NumEmbeddedTiles")));
  const TStorage& tiles = root.OpenStorage(Name("Tiles"));
  if (count < 0 || count > tiles.ElementCount()) FailFormat();
  std::vector<const QByteArray*> streams(size_t(count), nullptr);
  for (int i = 0; i < tiles.ElementCount(); ++i) {
    if (tiles.TypeAt(i) != TElementType::Stream) continue;
    const qint64 index = StreamIndex(tiles.NameAt(i));
    if (index >= 0 && index < count) streams[size_t(index)] = &tiles.StreamAt(i);
  }
  std::vector<std::unique_ptr<TSubTile>> entries;
  entries.reserve(size_t(count));
  for (const QByteArray* stream : streams) {
    if (!stream) FailFormat();
    TSubTileRecord record;
    try {
      qsizetype offset = 0;
      record = ReadSubTileRecord(*stream, offset);
    } catch (const TError&) {
      FailFormat();
    }
    auto entry = std::make_unique<TSubTile>();
    entry->SetImage(std::move(record.Image));
    entry->SetGuid(record.Guid);
    entry->SetTransparentColor(record.TransparentColor);
    entries.push_back(std::move(entry));
  }
  std::vector<TLayerEntry> layers[kLayerCount];
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const QByteArray text = PropertyBytes(root, Name(kLayerNames[layer]));
    // An entry takes at least seven bytes ("0\xB5" "0;0\xB5" "0").
    layers[layer].reserve(size_t(std::min(qint64(width) * height, text.size() / 7 + 1)));
    ParseLayerText(text, [&](const TLayerEntry& entry) {
      // Entries naming no embedded tile, no orientation or no cell of the
      // map are skipped.
      if (entry.Orientation >= kOrientationCount) return;
      if (entry.TileIndex < 0 || entry.TileIndex >= count) return;
      if (entry.X < 0 || entry.X >= width || entry.Y < 0 || entry.Y >= height) return;
      layers[layer].push_back(entry);
    });
  }

  map.DropHistory();
  map.ClearContents();
  map.SetMapName(mapName);
  map.SetAuthorName(authorName);
  map.SetInformation(information);
  map.SetURL(url);
  map.SetWidth(width);
  map.SetHeight(height);
  map.SetTileSize(tileSize);
  for (auto& entry : entries)
    map.AppendEmbeddedTile(std::move(entry));

  // What PlaceTile would do with nothing recorded: a cell shows the first
  // entry of the identity it names, and later entries for a cell replace
  // earlier ones. The identity lookup is made once per entry, not per cell.
  const TGraphicTileList& embedded = map.EmbeddedTiles();
  std::vector<int> shownIndex(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    shownIndex[size_t(i)] = embedded.IndexOfGuid(embedded.At(i)->Guid());
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (const TLayerEntry& entry : layers[layer])
      map.SetCell(layer, entry.X, entry.Y, shownIndex[size_t(entry.TileIndex)], entry.Orientation);
  map.SetModified(false);
  map.DropHistory();
}
