// edit: runs an edit script on a map (or a new one) through the same
// placement engine, palette logic and map grid model a user drives with the
// mouse, then saves the result, with the tilesets and wall styles the user
// installed.
#include "Command.h"
#include "CommandLine.h"
#include "InstalledTilesets.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "editor/EditScript.h"
#include "editor/EditSession.h"
#include "editor/MapGridModel.h"
#include "map/TileMapObjects.h"
#include "tiles/TilesetList.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString ReadScript(const QString& path) {
  QFile file;
  QString error;
  if (!OpenExistingFile(file, path, QIODevice::ReadOnly, error))
    throw TError(QStringLiteral("The script %1 could not be read: %2").arg(path, error));
  return QString::fromUtf8(file.readAll());
}

int Edit(const TCommandLine& line) {
  // The whole script is read first: a bad line stops before anything loads.
  const TEditScript script = TEditScript::Parse(ReadScript(line.Argument(2)));

  TTileMap map;
  if (line.Argument(0) != QLatin1String("new")) map.LoadFromFile(line.Argument(0));

  QTemporaryDir tilesetDir;
  TTilesetList& tilesets = LoadInstalledTilesets(tilesetDir);

  // A grid as large as the largest map at the largest zoom: nothing scrolls.
  TMapGridModel grid;
  grid.SetControlSize(50 * 96 + 1, 50 * 96 + 1);
  TEditSession session(grid, tilesets);
  session.Painter().SetCellSize(TMapPainter::kDefaultCellSize);
  session.Painter().ActivateMap(&map);
  session.Painter().ApplyZoom();
  session.Palette().Start();

  script.Run(session);
  map.SaveToFile(line.Argument(1));
  return 0;
}

TCommandRegistration reg(
    {QStringLiteral("edit"),
     QStringLiteral("IN|new OUT SCRIPT"),
     QStringLiteral("Run an edit script (tileset, group, tool (tiles, walls, erase, rooms, doors, "
                    "fill), walls, "
                    "erase-layer, rotate, flip, seed, drag, addcol, addrow, "
                    "delcol, delrow, nudge, undo, redo) on a map and save it."),
     3,
     {},
     Edit});

}  // namespace
