// Tileset files from untrusted bytes: the compound-file parser, the picture
// budget and the tileset loader (root texts, group storages, tile streams of
// sub-tile records) must reject damage with an error, never crash, hang or
// allocate from an unchecked size. Whatever loads is written again and must
// load again with the same groups.
#include "base/Error.h"
#include "storage/CompoundFile.h"
#include "storage/PictureBudget.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetWriter.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  TTileSet tileSet;
  try {
    const std::unique_ptr<TStorage> root = ParseCompoundFile(bytes);
    CheckPictureBudget(*root, bytes.size(), QStringLiteral("input"));
    tileSet.LoadFromStorage(*root);
  } catch (const TError&) {
    return 0;
  }
  TTileSet again;
  again.LoadFromStorage(
      *ParseCompoundFile(SerializeCompoundFile(*BuildTilesetStorage(tileSet, QDate(2026, 1, 1)))));
  if (again.Groups().size() != tileSet.Groups().size()) std::abort();
  for (size_t i = 0; i < again.Groups().size(); ++i)
    if (again.Groups()[i]->GroupName() != tileSet.Groups()[i]->GroupName()) std::abort();
  return 0;
}
