#include "MapFileSupport.h"

#include "base/Error.h"
#include "map/MapFile.h"
#include "storage/CompoundFile.h"

#include <QFile>

#include <gtest/gtest.h>

std::unique_ptr<TStorage> ReadTree(const QString& path) {
  return ReadCompoundFile(path, TOpenMode::Read);
}

QByteArray StreamBytes(const TStorage& root, const QString& name) {
  const QByteArray* stream = root.FindStream(name);
  EXPECT_NE(stream, nullptr) << qPrintable(name);
  return stream ? *stream : QByteArray();
}

std::unique_ptr<TTileMap> LoadTree(const TStorage& root) {
  auto map = std::make_unique<TTileMap>();
  LoadMapStorage(*map, root);
  return map;
}

QString LoadTreeError(const TStorage& root) {
  try {
    LoadTree(root);
  } catch (const TError& e) {
    return e.Message();
  }
  return QString();
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
  return file.readAll();
}
