#pragma once

#include "TileObjects.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class TStorage;
class TTileGroup;
class TTilesetList;

// A named collection of tile groups read from one tileset file. It loads
// lazily: the list knows the file at start-up and the groups are read the
// first time someone asks for them; Unload frees them again. Owned by the
// tileset list, which announces its loading.
class TTileSet {
 public:
  // list: the list that owns the tileset and announces its loading, or
  // none.
  explicit TTileSet(TTilesetList* list = nullptr);
  ~TTileSet();
  TTileSet(const TTileSet&) = delete;
  TTileSet& operator=(const TTileSet&) = delete;

  // Names the file without opening it: false, with nothing changed, when no
  // file exists at path; otherwise TilesetName becomes the file name without
  // directory and extension.
  bool SetFileName(const QString& path);
  // Takes TilesetName from the file without reading its groups, so a list
  // shows the name the tileset gives itself before it loads. False, the name
  // unchanged and nothing shown, when the file cannot be read as a tileset
  // (loading reports that when it is first used).
  bool ReadName();
  // Reads the whole file (hourglass cursor, the list's Progress first); a file whose
  // pictures would take more memory than its size allows is refused before
  // any is decoded (CheckPictureBudget). Failures are shown to the user and
  // give false; the groups read so far are discarded.
  // On success, bytes (when given) receives the file's bytes as loaded.
  bool Load(QByteArray* bytes = nullptr);
  // SetFileName, then Load; a path naming no file gets the invalid-file
  // message. False when either fails.
  bool Open(const QString& path, QByteArray* bytes = nullptr);
  // Reads the root texts and one group per sub-storage in the order the
  // storage holds them. Raises on any failure; the groups it added are then
  // discarded again.
  void LoadFromStorage(const TStorage& root);
  // True at once when loaded or when there is no file; otherwise loads.
  bool EnsureLoaded();
  // Both load first when needed: 0 groups and none when that fails.
  int GroupCount();
  // An index outside the groups raises TIndexError.
  TTileGroup* GroupAt(int index);
  // The groups held now, without loading.
  const std::vector<std::unique_ptr<TTileGroup>>& Groups() const { return fGroups; }
  // A new group with the given starting values, owned by this tileset.
  TTileGroup& AddGroup(const TGroupDefaults& defaults = TGroupDefaults());
  // Puts a group at index (0 to GroupCount) and makes this tileset its owner.
  // An index outside raises TIndexError.
  TTileGroup& InsertGroup(int index, std::unique_ptr<TTileGroup> group);
  // Hands the group at index to the caller; an index outside raises
  // TIndexError.
  std::unique_ptr<TTileGroup> TakeGroup(int index);
  // Frees every group; file, names and ReadOnly stay.
  void Unload();

  const QString& TilesetName() const { return fTilesetName; }
  void SetTilesetName(const QString& name) { fTilesetName = name; }
  const QString& AuthorName() const { return fAuthorName; }
  void SetAuthorName(const QString& name) { fAuthorName = name; }
  const QString& Information() const { return fInformation; }
  void SetInformation(const QString& text) { fInformation = text; }
  const QString& URL() const { return fURL; }
  void SetURL(const QString& url) { fURL = url; }

  const QString& FileName() const { return fFileName; }
  bool Loaded() const { return fLoaded; }
  // Set by Load from the file's owner-write permission bit.
  bool ReadOnly() const { return fReadOnly; }

  // The box shown for a path that is not a compound file or does not exist.
  static void ShowInvalidFileMessage(const QString& fileName);

 private:
  void DiscardGroupsFrom(size_t count);

  QString fTilesetName;
  QString fAuthorName;
  QString fInformation;
  QString fURL;
  QString fFileName;
  TTilesetList* fList;
  bool fReadOnly = false;
  bool fLoaded = false;
  std::vector<std::unique_ptr<TTileGroup>> fGroups;
};
