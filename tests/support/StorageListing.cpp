#include "StorageListing.h"

#include "storage/Storage.h"

#include <QCryptographicHash>

namespace {

void ListInto(const TStorage& storage, const QString& prefix, QStringList& lines) {
  for (int i = 0; i < storage.ElementCount(); ++i) {
    const QString path = prefix + storage.NameAt(i);
    if (storage.TypeAt(i) == TElementType::Storage) {
      lines << QStringLiteral("D ") + path;
      ListInto(storage.StorageAt(i), path + QLatin1Char('/'), lines);
    } else {
      const QByteArray& data = storage.StreamAt(i);
      lines << QStringLiteral("F %1 %2 %3")
                   .arg(path)
                   .arg(data.size())
                   .arg(QString::fromLatin1(
                       QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex()));
    }
  }
}

}  // namespace

QStringList ListTree(const TStorage& root) {
  QStringList lines;
  ListInto(root, QString(), lines);
  lines.sort();
  return lines;
}
