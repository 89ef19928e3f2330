#include "SuppliedTilesets.h"

#include "storage/CompoundFile.h"
#include "storage/PropertyStream.h"
#include "storage/SubTileRecord.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

QString GeneratorPath() {
  return QStringLiteral(TESSELLAN_BINARY_DIR "/tools/tessellan-tilegen");
}

QString GeneratedFile(const QString& name) {
  return QStringLiteral(TESSELLAN_BINARY_DIR "/generated/") + name;
}

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << path.toStdString();
    return {};
  }
  return file.readAll();
}

std::unique_ptr<TStorage> LoadTree(const QString& path) {
  try {
    return ParseCompoundFile(ReadWholeFile(path));
  } catch (const TError& error) {
    ADD_FAILURE() << path.toStdString() << ": " << error.Message().toStdString();
    return std::make_unique<TStorage>();
  }
}

std::vector<const TStorage*> GroupStorages(const TStorage& root) {
  std::vector<const TStorage*> groups;
  for (int i = 0; i < root.ElementCount(); ++i)
    if (root.TypeAt(i) == TElementType::Storage) groups.push_back(&root.StorageAt(i));
  return groups;
}

TDecodedTile DecodeTile(const QByteArray& stream) {
  TDecodedTile tile;
  qsizetype offset = 0;
  for (int q = 0; q < 4; ++q) {
    const TSubTileRecord record = ReadSubTileRecord(stream, offset);
    tile.SubTiles[q] = record.Image;
    tile.Guids[q] = record.Guid;
    tile.Colours[q] = record.TransparentColor;
  }
  tile.LeftOver = stream.size() - offset;
  return tile;
}

QImage TilePicture(const TStorage& group, int x, int y) {
  const TStorage& tiles = group.OpenStorage(QStringLiteral("Tiles"));
  const TDecodedTile tile = DecodeTile(tiles.OpenStream(QStringLiteral("%1.%2").arg(x).arg(y)));
  const int half = tile.SubTiles[0].width();
  QImage picture(2 * half, 2 * half, QImage::Format_RGB888);
  QPainter painter(&picture);
  for (int q = 0; q < 4; ++q)
    painter.drawImage((q % 2) * half, (q / 2) * half, tile.SubTiles[q]);
  return picture;
}

// The independent reader: olefile lists the storages and streams with their
// bytes, or reads the summary the desktop shows.
QStringList Olefile(const char* mode, const QString& path) {
  const TProgramRun run =
      RunProgram(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TESSELLAN_SOURCE_DIR "/tests/storage/olefile_check.py"),
                  QLatin1String(mode), path},
                 60000);
  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  return QString::fromUtf8(run.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
