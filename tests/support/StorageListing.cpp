#include "StorageListing.h"

#include "storage/Storage.h"

#include <QCryptographicHash>

#include <utility>
#include <vector>

QStringList ListTree(const TStorage& root) {
  QStringList lines;
  // An explicit stack of storages and their path prefixes: a tree read from
  // a file may be deep.
  std::vector<std::pair<const TStorage*, QString>> pending{{&root, QString()}};
  while (!pending.empty()) {
    const auto [storage, prefix] = pending.back();
    pending.pop_back();
    for (int i = 0; i < storage->ElementCount(); ++i) {
      const QString path = prefix + storage->NameAt(i);
      if (storage->TypeAt(i) == TElementType::Storage) {
        lines << QStringLiteral("D ") + path;
        pending.emplace_back(&storage->StorageAt(i), path + QLatin1Char('/'));
      } else {
        const QByteArray& data = storage->StreamAt(i);
        lines << QStringLiteral("F %1 %2 %3")
                     .arg(path)
                     .arg(data.size())
                     .arg(QString::fromLatin1(
                         QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex()));
      }
    }
  }
  lines.sort();
  return lines;
}
