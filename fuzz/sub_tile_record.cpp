// Reads sub-tile records back to back, as a tile stream is read, until the
// input ends or a record fails. Every decoded image must be a bounded 24-bit
// bitmap, every record must move the position forward, and a small image
// must survive an encode and decode unchanged.
#include "base/Error.h"
#include "storage/Png.h"
#include "storage/SubTileRecord.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  qsizetype offset = 0;
  while (offset < bytes.size()) {
    const qsizetype before = offset;
    TSubTileRecord record;
    try {
      record = ReadSubTileRecord(bytes, offset);
    } catch (const TError&) {
      if (offset != before) std::abort();  // a failed record must not move on
      break;
    }
    const QImage& image = record.Image;
    if (offset <= before || offset > bytes.size()) std::abort();
    if (image.format() != QImage::Format_RGB888 || image.width() < 1 || image.height() < 1 ||
        image.width() > kMaxImageSide || image.height() > kMaxImageSide)
      std::abort();
    if (qint64(image.width()) * image.height() <= 4096) {
      const QByteArray encoded = EncodePng(image);
      qsizetype pos = 0;
      if (DecodePng(encoded, pos) != image || pos != encoded.size()) std::abort();
    }
  }
  return 0;
}
