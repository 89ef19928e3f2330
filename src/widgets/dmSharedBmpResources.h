#pragma once

#include "ImageList.h"

#include <QIcon>
#include <QString>

// The pictures shared by the windows: imgSmallButtons (16 × 16) for menus,
// the map toolbar and the status bar, imgLargeButtons (32 × 32) for the main
// and print preview toolbars. Both lists hold the same pictures at the same
// indexes, in the order of ButtonArtNames().
class TdmSharedBmpResources {
 public:
  // The modified-map indicator of the main window's status bar.
  static constexpr int kModifiedImage = 11;

  TdmSharedBmpResources();

  // The index of a named picture in both lists, -1 for none.
  int IndexOf(const QString& name) const;
  // The named picture at 16 and 32 pixels, for an action shown both in a
  // menu and on a large toolbar button.
  QIcon Icon(const QString& name) const;

  TImageList imgSmallButtons{16, 16};
  TImageList imgLargeButtons{32, 32};
};

// The program's one set, made on first use (after the main window exists).
TdmSharedBmpResources& dmSharedBmpResources();
