#include "dmSharedBmpResources.h"

#include "ButtonArt.h"

TdmSharedBmpResources::TdmSharedBmpResources() {
  for (const QString& name : ButtonArtNames()) {
    imgSmallButtons.Add(ButtonArtIcon(name, {16}));
    imgLargeButtons.Add(ButtonArtIcon(name, {32}));
  }
}

int TdmSharedBmpResources::IndexOf(const QString& name) const {
  return ButtonArtNames().indexOf(name);
}

QIcon TdmSharedBmpResources::Icon(const QString& name) const {
  return ButtonArtIcon(name, {16, 32});
}

TdmSharedBmpResources& dmSharedBmpResources() {
  static TdmSharedBmpResources resources;
  return resources;
}
