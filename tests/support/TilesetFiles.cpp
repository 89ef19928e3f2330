#include "TilesetFiles.h"
#include "TestImages.h"

#include "storage/CompoundFile.h"
#include "storage/Guid.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "storage/SubTileRecord.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

std::unique_ptr<TStorage> MakeTilesetTree(const QString& tilesetName,
                                          const std::vector<TGroupDef>& groups,
                                          const QByteArray& records) {
  auto root = std::make_unique<TStorage>();
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("TilesetName"), tilesetName);
  WriteProperty(*root, QStringLiteral("AuthorName"), QStringLiteral("Test Author"));
  WriteProperty(*root, QStringLiteral("Information"), QStringLiteral("Made by a test."));
  WriteProperty(*root, QStringLiteral("URL"), QString());
  WriteProperty(*root, QStringLiteral("LastMod"), QStringLiteral("12/30/99"));
  root->CreateStream(SummaryInformationName(), QByteArray(48, '\0'));
  root->CreateStream(DocumentSummaryInformationName(), QByteArray(48, '\0'));

  int number = 0;
  for (const TGroupDef& def : groups) {
    TStorage& group =
        root->CreateStorage(QStringLiteral("Group%1").arg(++number, 2, 10, QLatin1Char('0')));
    WriteProperty(group, QStringLiteral("PatWidth"), QString::number(def.PatWidth));
    WriteProperty(group, QStringLiteral("PatHeight"), QString::number(def.PatHeight));
    WriteProperty(group, QStringLiteral("FType"), QString::number(def.FType));
    WriteProperty(group, QStringLiteral("GroupName"), def.Name);
    WriteProperty(group, QStringLiteral("GroupDescr"), def.Name + QStringLiteral(" for tests."));
    WriteProperty(group, QStringLiteral("Category"), def.Category);
    WriteProperty(group, QStringLiteral("PlaceType"), QString::number(def.PlaceType));
    TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
    for (const QPoint& at : def.Tiles) {
      QByteArray stream = records;
      for (int quadrant = 0; quadrant < 4 && records.isEmpty(); ++quadrant)
        WriteSubTileRecord(stream, Solid(qRgb(number * 10, at.x() * 40 + at.y(), quadrant * 60), 8),
                           NameGuidText(QStringLiteral("%1/%2/%3.%4/%5")
                                            .arg(tilesetName, def.Name)
                                            .arg(at.x())
                                            .arg(at.y())
                                            .arg(quadrant)),
                           def.FType == 1 ? 0x02FF00FF : -1);
      tiles.CreateStream(QStringLiteral("%1.%2").arg(at.x()).arg(at.y()), stream);
    }
  }
  return root;
}

void WriteTilesetFile(const QString& path, const TStorage& root) {
  // A test that rewrites a file it made read-only must still succeed.
  if (QFile::exists(path)) SetWritable(path, true);
  WriteCompoundFile(path, root);
}

QString LoadFailureText(const QString& path, const QString& error) {
  return QStringLiteral("Loading the tileset file ") + path +
         QStringLiteral(" failed, and generated the following error message:\n\r\n\r") + error;
}

void SetWritable(const QString& path, bool writable) {
  const QFileDevice::Permissions write = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                         QFileDevice::WriteGroup | QFileDevice::WriteOther;
  const QFileDevice::Permissions now = QFile::permissions(path);
  ASSERT_TRUE(QFile::setPermissions(path, writable ? now | write : now & ~write))
      << qPrintable(path);
}

void CopyResource(const QString& resource, const QString& path) {
  QFile source(resource);
  ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << qPrintable(resource);
  const QByteArray bytes = source.readAll();
  ASSERT_FALSE(bytes.isEmpty()) << qPrintable(resource);
  QFile target(path);
  ASSERT_TRUE(target.open(QIODevice::WriteOnly)) << qPrintable(path);
  ASSERT_EQ(target.write(bytes), bytes.size());
}
