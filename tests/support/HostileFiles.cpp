#include "HostileFiles.h"
#include "RawPng.h"
#include "TilesetFiles.h"

#include "storage/Guid.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"

#include <QtEndian>

namespace {

constexpr int kBombSide = 4096;

// One 4096 × 4096 record, encoded once per test program.
const QByteArray& BombRecord() {
  static const QByteArray record = BlackPictureRecord(kBombSide);
  return record;
}

}  // namespace

std::unique_ptr<TStorage> MakeDeepTree(int depth) {
  auto root = std::make_unique<TStorage>();
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  TStorage* level = root.get();
  for (int i = 0; i < depth; ++i)
    level = &level->CreateStorage(QStringLiteral("Level"));
  return root;
}

QByteArray BlackPictureRecord(int side) {
  TRawPng png;
  png.Width = side;
  png.Height = side;
  png.ColorType = 0;
  png.BitDepth = 1;
  png.Sample = [](int, int, int) { return 0; };
  QByteArray record = png.Encode() + GuidTextToBytes(NameGuidText(QStringLiteral("black")));
  char colour[4];
  qToLittleEndian<qint32>(-1, colour);
  return record + QByteArray(colour, 4);
}

std::unique_ptr<TStorage> MakeBombMapTree(int pictures) {
  auto root = std::make_unique<TStorage>();
  const auto text = [&root](const char* name, const QString& value) {
    WriteProperty(*root, QLatin1String(name), value);
  };
  text("Version", QStringLiteral("1.0"));
  text("MapName", QStringLiteral("Bomb"));
  text("AuthorName", QString());
  text("Information", QString());
  text("URL", QString());
  text("LastMod", QString());
  text("MapWidth", QStringLiteral("2"));
  text("MapHeight", QStringLiteral("2"));
  text("TileSize", QStringLiteral("1"));
  text("NumEmbeddedTiles", QString::number(pictures));
  text("LayerBase", QString());
  text("LayerOverlay", QString());
  text("LayerWall", QString());
  TStorage& tiles = root->CreateStorage(QStringLiteral("Tiles"));
  for (int i = 0; i < pictures; ++i)
    tiles.CreateStream(QString::number(i), BombRecord());
  return root;
}

std::unique_ptr<TStorage> MakeBombTilesetTree(int tiles) {
  TGroupDef group;
  group.Name = QStringLiteral("Bomb");
  group.PatWidth = tiles;
  group.Tiles.clear();
  for (int x = 0; x < tiles; ++x)
    group.Tiles.emplace_back(x, 0);
  return MakeTilesetTree(QStringLiteral("Bomb"), {group}, BombRecord().repeated(4));
}
