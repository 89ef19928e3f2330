#include "AppResources.h"

#include <QIcon>
#include <QSize>
#include <QString>

void InitAppResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(tessellan);
    Q_INIT_RESOURCE(tessellan_icons);
    return true;
  }();
  (void)done;
}

QIcon ApplicationIcon() {
  InitAppResources();
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/tessellan-%1.png").arg(size), QSize(size, size));
  return icon;
}
