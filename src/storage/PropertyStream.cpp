#include "PropertyStream.h"

#include "AnsiText.h"
#include "Storage.h"

QString ReadProperty(const TStorage& storage, const QString& name) {
  const QByteArray& bytes = storage.OpenStream(name);
  const qsizetype nul = bytes.indexOf('\0');
  return FromAnsi(bytes.constData(), nul < 0 ? bytes.size() : nul);
}

void WriteProperty(TStorage& storage, const QString& name, const QString& text) {
  QByteArray bytes = ToAnsi(text);
  bytes.append('\0');
  storage.CreateStream(name, std::move(bytes));
}
