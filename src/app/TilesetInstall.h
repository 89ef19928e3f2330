#pragma once

#include <QString>

class QWidget;
class TPalette;
class TTileSet;
class TTilesetList;
struct TFileDialogRequest;

// The open dialog of Add Tileset, starting in directory.
TFileDialogRequest AddTilesetDialogRequest(QWidget* owner, const QString& directory);

// Installs the tilesets a user brings and takes them out again, keeping the
// tileset list, the tileset folder, the stored names of added tilesets and
// the palette in step. It asks and reports through the message service, so
// it runs without a window.
class TTilesetInstaller {
 public:
  // Neither is owned. Tilesets it lists announce their loading through the
  // list.
  TTilesetInstaller(TTilesetList& list, TPalette& palette);

  // Checks the file by loading it (the loader's own messages on failure),
  // copies it into the tileset folder under its own name (written aside and
  // renamed), lists it, stores its name and shows it in the palette. A file
  // name already in the folder is replaced only when the user agrees; a
  // supplied tileset's name, a read-only installed file or a folder in the
  // way is refused with a message. Returns the listed tileset, or none when
  // nothing was installed. A failed copy raises TError and leaves the folder
  // as it was.
  // A wall tileset (".wls") joins the wall styles instead of the tileset
  // box.
  TTileSet* Add(const QString& path);
  // A tileset file the Tileset Editor saved: one in the tileset folder is
  // listed at once (read afresh when listed already); one saved elsewhere is
  // offered for adding, through Add. Returns the listed tileset, or none.
  TTileSet* FileSaved(const QString& path);

  // The tileset the palette's tileset box shows, or while the wall styles
  // show the selected style's wall tileset; none when there is none.
  TTileSet* ShownTileset() const;
  // Whether the tileset is one the user added (the supplied ones stay), an
  // added wall tileset included.
  bool IsAdded(const TTileSet* tileSet) const;
  // Takes an added tileset out of the list, the palette and the stored
  // names, and deletes its copy in the tileset folder, once the user agreed.
  // A supplied or read-only tileset is refused with a message. Maps keep
  // the tiles they use from it. False when nothing was removed.
  bool Remove(TTileSet* tileSet);

 private:
  TTileSet* List(const QString& installedPath);
  TTileSet* ListWalls(const QString& installedPath);

  TTilesetList& fList;
  TPalette& fPalette;
};

// Start-up's installation: the supplied tilesets, then the added ones whose
// names the settings keep. Names whose files have gone are dropped from the
// settings as well (the list names them in its one message). The list
// announces the loading as it goes.
void LoadInstalledTilesets(TTilesetList& list, const QString& directory);
