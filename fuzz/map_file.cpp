// Map files from untrusted bytes: the compound-file parser, the picture
// budget and the map loader must reject damage with an error, never crash,
// hang or allocate from an unchecked size.
#include "base/Error.h"
#include "map/MapFile.h"
#include "map/TileMapObjects.h"
#include "storage/CompoundFile.h"
#include "storage/PictureBudget.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    const std::unique_ptr<TStorage> root = ParseCompoundFile(bytes);
    CheckPictureBudget(*root, bytes.size(), QStringLiteral("input"));
    TTileMap map;
    LoadMapStorage(map, *root);
  } catch (const TError&) {
  }
  return 0;
}
