// The layer-text parser alone: any bytes give entries or a conversion error.
#include "base/Error.h"
#include "map/LayerText.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
  qint64 sum = 0;
  try {
    ParseLayerText(text, [&](const TLayerEntry& entry) {
      sum += entry.Orientation + qint64(entry.X) + entry.Y + entry.TileIndex;
    });
  } catch (const TConvertError&) {
  }
  (void)sum;
  return 0;
}
