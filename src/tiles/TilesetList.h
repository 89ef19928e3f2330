#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TTileSet;

// The one list of installed tilesets. Item 0 is the wall tileset's place
// (none when walls are disabled); items 1 onward are ordinary tilesets. The
// wall tilesets the user added (".wls" files) are kept apart from both: their
// wall styles follow the supplied ones on the wall tool, and they are never
// items. At start-up it writes out the supplied tilesets and loads the wall
// tileset. It owns its tilesets and announces their loading: whoever shows
// the progress (the start-up splash, then the main window's status bar)
// connects to Progress with a context object of its own.
class TTilesetList : public QObject {
  Q_OBJECT

 public:
  // Only the program's initialisation makes the instance; any later
  // construction raises TError.
  TTilesetList();
  ~TTilesetList() override;
  TTilesetList(const TTilesetList&) = delete;
  TTilesetList& operator=(const TTilesetList&) = delete;

  // Entries, none entries included.
  int Count() const { return int(fItems.size()); }
  // The tileset at index, or none; an index outside raises TIndexError.
  TTileSet* Items(int index) const;
  // Appends a new empty tileset.
  TTileSet& Add();
  // False, changing nothing, for a read-only tileset; otherwise frees it and
  // deletes its entry (an item or an added wall tileset). A tileset not in
  // the list raises TIndexError.
  bool Remove(TTileSet* tileSet);
  // Frees every tileset, the added wall tilesets included, and empties the
  // list.
  void Clear();

  // The wall tilesets the user added, in the order they were added. They
  // load when first used.
  int WallTilesetCount() const { return int(fWallSets.size()); }
  // An index outside raises TIndexError.
  TTileSet* WallTileset(int index) const;
  // Appends a new empty added wall tileset.
  TTileSet& AddWallTileset();
  // Every wall tileset: item 0 when it holds one, then the added ones.
  std::vector<TTileSet*> WallTilesets() const;
  // Whether the tileset is item 0 or an added wall tileset.
  bool IsWallTileset(const TTileSet* tileSet) const;
  // Whether a file name is a wall tileset's (".wls", any case).
  static bool IsWallFileName(const QString& fileName);

  // Writes the supplied tilesets into the directory (replacing whatever file
  // or link holds their names, never following it), then lists them: the
  // wall tileset as item 0, loaded at once, and the example tileset after it,
  // not yet loaded. The tilesets the user added follow, by their file names in
  // the directory, not yet loaded; a name that is no plain file name there or
  // whose file has gone is dropped. Files that could not be listed are named
  // in one message. Every problem is shown to the user; a directory that
  // cannot be made, or a folder where a supplied file belongs, sets
  // TerminateRequested. Replaces the list's content.
  // Names ending in ".wls" become added wall tilesets.
  void LoadInstalled(const QString& directory, const QStringList& addedFiles = QStringList());
  // Lists the added tilesets named (plain file names in directory) after
  // those listed already, ".wls" names as wall tilesets, none loaded. A file
  // listed already is skipped. Returns the names that are no plain file name
  // there, a supplied tileset's or a file that has gone.
  QStringList ListAdded(const QString& directory, const QStringList& fileNames);
  // True when start-up must end the program as soon as it reaches its
  // message loop.
  bool TerminateRequested() const { return fTerminateRequested; }

  // The directory LoadInstalled wrote the supplied tilesets into.
  const QString& Directory() const { return fDirectory; }
  // The paths of the two supplied files in that directory: they are
  // rewritten at every start, so nothing else should be saved there.
  QStringList SuppliedFiles() const;

  // Whether a file name (without directory) is one of the supplied
  // tilesets', compared without regard to case: those files are rewritten at
  // every start and belong to no user.
  static bool IsSuppliedFile(const QString& fileName);
  // The file names of the listed tilesets the user added (every ordinary
  // tileset that is not a supplied one), in list order.
  QStringList AddedFileNames() const;
  // The file names of the added wall tilesets, in their order.
  QStringList AddedWallFileNames() const;
  // The list index of the first tileset whose file is path, or -1.
  int IndexOfFile(const QString& path) const;
  // The added wall tileset whose file is path, or none.
  TTileSet* WallTilesetOfFile(const QString& path) const;
  // The list index of the tileset, or -1 when it is not listed.
  int IndexOf(const TTileSet* tileSet) const;

 signals:
  // "Loading Tileset: " and the file's name, before a tileset of the list
  // loads.
  void Progress(const QString& text);

 private:
  void Discard(TTileSet* tileSet);
  bool PrepareDirectory(const QString& directory);
  bool CheckOldCopy(const QString& path, const QString& failureText);
  // Shows the text and asks start-up to end.
  void Terminate(const QString& text);

  std::vector<std::unique_ptr<TTileSet>> fItems;
  std::vector<std::unique_ptr<TTileSet>> fWallSets;
  QString fDirectory;
  bool fTerminateRequested = false;
};

// The instance, made during program initialisation.
TTilesetList& TilesetList();
