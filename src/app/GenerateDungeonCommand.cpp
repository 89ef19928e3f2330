#include "GenerateDungeonCommand.h"

#include "DialogRunner.h"
#include "FileCommands.h"
#include "base/Busy.h"
#include "base/MessageService.h"
#include "frmGenerateDungeonU.h"
#include "generate/DungeonGenerator.h"

TTileMap* GenerateDungeonWithDialog(QWidget* owner, TFileCommands& files, TTilesetList& tilesets) {
  // The dialog holds the tilesets it loaded until the dungeon is built.
  TfrmGenerateDungeon dialog(owner, tilesets);
  if (RunDialog(dialog) != QDialog::Accepted) return nullptr;
  const TDungeonOptions options = dialog.Options();
  const TDungeonTiles tiles = dialog.Tiles();
  TDungeonReport report;
  TTileMap* map = nullptr;
  {
    TBusyCursor busy;
    map = files.NewMapFilledBy(
        [&](TTileMap& fresh) { report = GenerateDungeon(fresh, options, tiles); });
  }
  if (!report.Shortfall.isEmpty())
    ShowMessage(report.Shortfall, dialog.windowTitle(), TMsgIcon::Information, mbOK, owner);
  return map;
}
