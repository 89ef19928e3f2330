#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The program's own button pictures: small vector drawings on a 16-unit
// square, painted at the pixel size they are shown at, so they stay sharp at
// 16 and 32 pixels and on high-DPI screens.
//
// Names: "new", "open", "save", "saveall", "print", "printpreview", "export",
// "undo", "redo", "zoomin", "zoomout", "modified", "properties", "addcol",
// "addrow", "delcol", "delrow", "tiles", "walls", "eraser", "nudgeleft",
// "nudgeright", "nudgeup", "nudgedown", "rotcw", "rotccw", "fliph", "flipv",
// "firstpage", "prevpage", "nextpage", "lastpage", "printpage",
// "printersetup", "addtileset", "tileseteditor", "help", "about", "close".

// Every picture's name, in the order of the shared image lists.
QStringList ButtonArtNames();
bool HasButtonArt(const QString& name);
// One picture, size × size device-independent pixels at the given device
// pixel ratio, on a transparent background; an unknown name gives an empty
// (transparent) picture.
QPixmap ButtonArtPixmap(const QString& name, int size, qreal devicePixelRatio = 1.0);
// The picture at each of the sizes, at 1x and 2x.
QIcon ButtonArtIcon(const QString& name, std::initializer_list<int> sizes = {16, 32});

// The picture on a pale rounded square, for a picture button under the
// mouse, and greyed, for a disabled one.
QPixmap ButtonArtHiLight(const QString& name, int size, qreal devicePixelRatio = 1.0);
QPixmap ButtonArtDisabled(const QString& name, int size, qreal devicePixelRatio = 1.0);

// The pipette cursor that picks a tile from the map; its hot spot is the tip.
QCursor EyedropperCursor();
// The tip of the pipette in the 32 × 32 cursor picture.
QPoint EyedropperHotSpot();
QPixmap EyedropperPixmap(qreal devicePixelRatio = 1.0);
