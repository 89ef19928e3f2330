#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures of the toolbar buttons, menus, preview buttons and the status
// bar's modified indicator, drawn at start instead of loaded from files. Each
// picture is a small vector drawing on a 16-unit square, so it stays sharp at
// 16 and 32 pixels.
//
// Names: "new", "open", "save", "zoomin", "zoomout", "tiles", "walls",
// "eraser", "undo", "redo", "addcol", "addrow", "delcol", "delrow",
// "nudgeleft", "nudgeright", "nudgeup", "nudgedown", "properties", "rotcw",
// "rotccw", "fliph", "flipv", "modified".

// One picture at size × size pixels on a transparent background; an unknown
// name gives an empty picture.
QPixmap ButtonPixmap(const QString& name, int size);
// The picture at 16 and 32 pixels (the toolkit greys it when disabled).
QIcon ButtonIcon(const QString& name);
// Whether a picture of that name exists.
bool HasButtonImage(const QString& name);
