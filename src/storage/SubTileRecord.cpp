#include "SubTileRecord.h"

#include "Guid.h"
#include "Png.h"

#include <QtEndian>

namespace {

constexpr qsizetype kColorSize = 4;

}  // namespace

TSubTileRecord ReadSubTileRecord(const QByteArray& data, qsizetype& offset) {
  // Work on a copy of the position so that a failing record leaves the
  // caller's offset where the record began.
  qsizetype pos = offset;
  TSubTileRecord record;
  record.Image = DecodePng(data, pos);
  if (data.size() - pos < kGuidSize)
    throw TError(QStringLiteral("A tile image record ends inside its identity."));
  record.Guid = GuidBytesToText(data.constData() + pos);
  pos += kGuidSize;
  if (data.size() - pos < kColorSize)
    throw TError(QStringLiteral("A tile image record ends inside its transparent colour."));
  record.TransparentColor = qFromLittleEndian<qint32>(data.constData() + pos);
  offset = pos + kColorSize;
  return record;
}

std::vector<QSize> DeclaredPictures(const QByteArray& data) {
  std::vector<QSize> pictures;
  qsizetype offset = 0;
  for (;;) {
    const TPngOutline png = OutlinePng(data, offset);
    // DecodePng refuses these sizes before it allocates anything.
    if (png.Width == 0 || png.Height == 0 || png.Width > quint32(kMaxImageSide) ||
        png.Height > quint32(kMaxImageSide))
      break;
    pictures.emplace_back(int(png.Width), int(png.Height));
    if (png.End < 0 || data.size() - png.End < kGuidSize + kColorSize) break;
    offset = png.End + kGuidSize + kColorSize;
  }
  return pictures;
}

void WriteSubTileRecord(QByteArray& out, const QImage& image, const QString& guid,
                        qint32 transparentColor) {
  // Everything is built before anything is appended, so a failure leaves out
  // unchanged.
  QByteArray record = EncodePng(image);
  record += GuidTextToBytes(guid);
  char color[kColorSize];
  qToLittleEndian<qint32>(transparentColor, color);
  record.append(color, kColorSize);
  out += record;
}
