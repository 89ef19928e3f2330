#include "Guid.h"

#include "base/Error.h"

#include <QUuid>
#include <QtEndian>

#include <cctype>

namespace {

// The namespace of the name-based identities this program makes.
const QUuid kNameSpace(0x6b1e2a40, 0x8d3c, 0x4f57, 0x9a, 0x21, 0x5c, 0x07, 0xe3, 0x11, 0x6d, 0x42);

QUuid FromBytes(const char* data) {
  const auto* b = reinterpret_cast<const uchar*>(data);
  return QUuid(qFromLittleEndian<quint32>(b), qFromLittleEndian<quint16>(b + 4),
               qFromLittleEndian<quint16>(b + 6), b[8], b[9], b[10], b[11], b[12], b[13], b[14],
               b[15]);
}

QString Text(const QUuid& uuid) { return uuid.toString(QUuid::WithBraces).toUpper(); }

}  // namespace

QString GuidBytesToText(const char* data) { return Text(FromBytes(data)); }

bool IsGuidText(const QString& text) {
  if (text.size() != 38 || text[0] != QLatin1Char('{') || text[37] != QLatin1Char('}'))
    return false;
  for (int i = 1; i < 37; ++i) {
    const QChar c = text[i];
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? c != QLatin1Char('-') : !isxdigit(c.toLatin1())) return false;
  }
  return true;
}

QByteArray GuidTextToBytes(const QString& text) {
  if (!IsGuidText(text)) throw TError(QStringLiteral("\"%1\" is not a valid GUID.").arg(text));
  const QUuid uuid(text);
  QByteArray bytes(kGuidSize, '\0');
  auto* b = reinterpret_cast<uchar*>(bytes.data());
  qToLittleEndian<quint32>(uuid.data1, b);
  qToLittleEndian<quint16>(uuid.data2, b + 4);
  qToLittleEndian<quint16>(uuid.data3, b + 6);
  for (int i = 0; i < 8; ++i) b[8 + i] = uuid.data4[i];
  return bytes;
}

QString NewGuidText() { return Text(QUuid::createUuid()); }

QString NameGuidText(const QString& name) { return Text(QUuid::createUuidV5(kNameSpace, name)); }
