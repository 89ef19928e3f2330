#include "TilesetNames.h"

#include "TileSet.h"
#include "TilesetList.h"

#include <QFileInfo>

QStringList TilesetNames(const TTilesetList& list) {
  QStringList names;
  for (int i = 1; i < list.Count(); ++i) {
    const TTileSet* tileSet = list.Items(i);
    names << (tileSet ? tileSet->TilesetName() : QString());
  }
  for (int i = 1; i < list.Count(); ++i) {
    const TTileSet* tileSet = list.Items(i);
    if (!tileSet) continue;
    const QString& name = list.Items(i)->TilesetName();
    int same = 0;
    for (int j = 1; j < list.Count(); ++j)
      if (list.Items(j) && list.Items(j)->TilesetName().compare(name, Qt::CaseInsensitive) == 0)
        ++same;
    if (same > 1)
      names[i - 1] += QStringLiteral(" (%1)").arg(QFileInfo(tileSet->FileName()).fileName());
  }
  return names;
}
