#include "WallStyles.h"

#include "TileObjects.h"
#include "TileSet.h"
#include "TilesetList.h"

#include <QFileInfo>

bool IsWallStyle(const TTileGroup& group) {
  return group.Category().compare(QLatin1String("Walls"), Qt::CaseInsensitive) == 0;
}

std::vector<TWallStyle> WallStyles(const TTilesetList& tilesets) {
  std::vector<TWallStyle> styles;
  for (TTileSet* set : tilesets.WallTilesets()) {
    if (!set->EnsureLoaded()) continue;
    for (const auto& group : set->Groups())
      if (IsWallStyle(*group)) styles.push_back({group.get(), set, group->GroupName()});
  }
  for (TWallStyle& style : styles) {
    int same = 0;
    for (const TWallStyle& other : styles)
      if (other.Group->GroupName().compare(style.Group->GroupName(), Qt::CaseInsensitive) == 0)
        ++same;
    if (same > 1)
      style.Name += QStringLiteral(" (%1)").arg(QFileInfo(style.TileSet->FileName()).fileName());
  }
  return styles;
}

int FindWallStyle(const std::vector<TWallStyle>& styles, const QString& name) {
  for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
    for (size_t i = 0; i < styles.size(); ++i)
      if (styles[i].Name.compare(name, cs) == 0) return int(i);
  int found = -1;
  for (size_t i = 0; i < styles.size(); ++i)
    if (styles[i].Group->GroupName().compare(name, Qt::CaseInsensitive) == 0) {
      if (found >= 0) return -1;
      found = int(i);
    }
  return found;
}
