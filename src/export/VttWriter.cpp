#include "VttWriter.h"

#include "BandExport.h"
#include "BandWriter.h"
#include "VttGeometry.h"
#include "base/Error.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Writes all the bytes or raises TError.
void WriteAll(QIODevice& device, const QByteArray& bytes) {
  if (device.write(bytes) != bytes.size())
    throw TError(QStringLiteral("The file could not be written: %1.").arg(device.errorString()));
}

// Passes everything written to it on to another device as base64 text.
class TBase64Device : public QIODevice {
 public:
  explicit TBase64Device(QIODevice& target) : fTarget(target) { open(QIODevice::WriteOnly); }

  // Writes the last partial group with its padding.
  void Finish() {
    if (!fPending.isEmpty()) WriteAll(fTarget, fPending.toBase64());
    fPending.clear();
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    fPending.append(data, size);
    // Whole groups of three bytes encode without padding.
    const qsizetype whole = fPending.size() - fPending.size() % 3;
    if (whole >= 3 * 4096) {
      // A failure is reported as a short write: the PNG writer calling here
      // must not be left by an exception.
      const QByteArray text = fPending.left(whole).toBase64();
      if (fTarget.write(text) != text.size()) return -1;
      fPending.remove(0, whole);
    }
    return size;
  }

 private:
  QIODevice& fTarget;
  QByteArray fPending;
};

QJsonObject Point(const QPointF& point) {
  return {{QStringLiteral("x"), point.x()}, {QStringLiteral("y"), point.y()}};
}

}  // namespace

bool WriteVtt(const TVttGeometry& geometry, TMapRenderer& renderer, int columns, int rows,
              int pixelsPerSquare, QIODevice& device, TExportProgress* progress) {
  QJsonArray lines;
  for (const auto& line : geometry.LineOfSight) {
    QJsonArray points;
    for (const QPointF& point : line)
      points.append(Point(point));
    lines.append(points);
  }
  QJsonArray portals;
  for (const TVttPortal& portal : geometry.Portals)
    portals.append(QJsonObject{
        {QStringLiteral("position"), Point(portal.Position)},
        {QStringLiteral("bounds"), QJsonArray{Point(portal.BoundA), Point(portal.BoundB)}},
        {QStringLiteral("rotation"), portal.Rotation},
        {QStringLiteral("closed"), true},
        {QStringLiteral("freestanding"), false}});
  const QJsonObject resolution{{QStringLiteral("map_origin"), Point(QPointF(0, 0))},
                               {QStringLiteral("map_size"), Point(QPointF(columns, rows))},
                               {QStringLiteral("pixels_per_grid"), pixelsPerSquare}};
  const QJsonObject root{
      {QStringLiteral("format"), 0.3},
      {QStringLiteral("resolution"), resolution},
      {QStringLiteral("line_of_sight"), lines},
      {QStringLiteral("objects_line_of_sight"), QJsonArray()},
      {QStringLiteral("portals"), portals},
      {QStringLiteral("environment"),
       QJsonObject{{QStringLiteral("baked_lighting"), false},
                   {QStringLiteral("ambient_light"), QStringLiteral("ffffffff")}}},
      {QStringLiteral("lights"), QJsonArray()}};

  // The picture goes last, as a string streamed straight into the file.
  QByteArray head = QJsonDocument(root).toJson(QJsonDocument::Compact);
  head.chop(1);  // the closing brace
  head += ",\"image\":\"";
  WriteAll(device, head);
  TBase64Device base64(device);
  const auto png = NewPngBandWriter(base64);
  if (!WriteBands(renderer, *png, progress)) return false;
  base64.Finish();
  WriteAll(device, "\"}\n");
  return true;
}
