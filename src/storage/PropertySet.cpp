#include "PropertySet.h"

#include "AnsiText.h"
#include "CompoundFileFormat.h"
#include "Guid.h"

using namespace TCfb;

namespace {

constexpr quint32 kPidCodePage = 1;
constexpr quint16 kVtI2 = 0x0002;
constexpr quint16 kVtLpstr = 0x001E;
constexpr qint16 kCodePage1252 = 1252;
// Major 6, minor 0, platform 2 (32-bit Windows): a fixed value keeps the
// output identical from run to run.
constexpr quint32 kOsVersion = 0x00020006;
constexpr int kStreamHeaderSize = 28;
constexpr int kSectionListEntrySize = 20;  // FMTID and offset

void Append16(QByteArray& out, quint16 v) {
  char b[2];
  Put16(b, v);
  out.append(b, 2);
}

void Append32(QByteArray& out, quint32 v) {
  char b[4];
  Put32(b, v);
  out.append(b, 4);
}

void PadTo4(QByteArray& out) {
  while (out.size() % 4 != 0)
    out.append('\0');
}

// A property set stream with one section: the code page property first,
// then the text properties in the given order, each value starting on a
// 4-byte boundary. Offsets in the section are relative to its start.
QByteArray BuildPropertySet(const QString& formatId,
                            const std::vector<std::pair<int, QString>>& texts) {
  const QByteArray fmtid = GuidTextToBytes(formatId);

  QByteArray values;
  std::vector<std::pair<quint32, quint32>> index;  // PID, offset in values
  index.emplace_back(kPidCodePage, 0);
  Append16(values, kVtI2);
  Append16(values, 0);
  Append16(values, quint16(kCodePage1252));
  Append16(values, 0);
  for (const auto& [pid, text] : texts) {
    index.emplace_back(quint32(pid), quint32(values.size()));
    QByteArray bytes = ToAnsi(text);
    bytes.append('\0');
    Append16(values, kVtLpstr);
    Append16(values, 0);
    Append32(values, quint32(bytes.size()));
    values.append(bytes);
    PadTo4(values);
  }

  const quint32 valuesOffset = 8 + 8 * quint32(index.size());
  QByteArray section;
  Append32(section, valuesOffset + quint32(values.size()));
  Append32(section, quint32(index.size()));
  for (const auto& [pid, offset] : index) {
    Append32(section, pid);
    Append32(section, valuesOffset + offset);
  }
  section.append(values);

  QByteArray stream;
  Append16(stream, kByteOrderMark);
  Append16(stream, 0);  // format version
  Append32(stream, kOsVersion);
  stream.append(fmtid);  // the class identifier is the format identifier
  Append32(stream, 1);   // one section
  stream.append(fmtid);
  Append32(stream, quint32(kStreamHeaderSize + kSectionListEntrySize));
  stream.append(section);
  return stream;
}

}  // namespace

QByteArray BuildSummaryInformation(const std::vector<std::pair<int, QString>>& properties) {
  return BuildPropertySet(QStringLiteral("{F29F85E0-4FF9-1068-AB91-08002B27B3D9}"), properties);
}

QByteArray BuildDocumentSummaryInformation() {
  return BuildPropertySet(QStringLiteral("{D5CDD502-2E9C-101B-9397-08002B2CF9AE}"), {});
}
