#include "HostileFiles.h"

#include "storage/PropertyStream.h"
#include "storage/Storage.h"

std::unique_ptr<TStorage> MakeDeepTree(int depth) {
  auto root = std::make_unique<TStorage>();
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  TStorage* level = root.get();
  for (int i = 0; i < depth; ++i)
    level = &level->CreateStorage(QStringLiteral("Level"));
  return root;
}
