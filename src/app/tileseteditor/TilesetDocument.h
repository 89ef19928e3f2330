#pragma once

#include <QRgb>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QImage;
class TTileGroup;
class TTileSet;

// How groups are made from one picture. The picture may be a sheet of
// SheetColumns × SheetRows groups, numbered "Name 1", "Name 2", … row by row;
// each group covers Across × Down map squares.
struct TPictureGroups {
  QString Name;
  QString Description;
  QString Category;
  quint8 FType = 0;
  quint8 PlaceType = 0;
  int Across = 1;
  int Down = 1;
  int SheetColumns = 1;
  int SheetRows = 1;
  // Pixels of this colour are transparent; without one, the picture's alpha.
  std::optional<QRgb> KeyColor;
};

// A tileset being edited: the tileset, the file it was read from or last
// saved to, and whether it changed since. The editor window shows it and
// forwards every edit here, so each rule holds without the window. Every
// editing call raises TError with a message for the user and changes
// nothing when it fails.
class TTilesetDocument {
 public:
  // suppliedFiles: the files the program rewrites at every start; they are
  // opened like any other but never written.
  explicit TTilesetDocument(QStringList suppliedFiles = {});
  ~TTilesetDocument();
  TTilesetDocument(const TTilesetDocument&) = delete;
  TTilesetDocument& operator=(const TTilesetDocument&) = delete;

  // An empty tileset without a file. A wall tileset holds wall styles only.
  void New(bool walls);
  // Reads a tileset file whole. A failure has been shown to the user
  // (TTileSet::Load) when this gives false; the document is then unchanged.
  // A ".wls" file is a wall tileset.
  bool Open(const QString& path);

  TTileSet& TileSet() { return *fTileSet; }
  const TTileSet& TileSet() const { return *fTileSet; }
  bool IsWallTileset() const { return fWalls; }
  const QString& FileName() const { return fFileName; }
  bool IsSupplied(const QString& path) const;
  // True when Save has to ask for a name: no file yet, a supplied file, or
  // a read-only one.
  bool NeedsNewName() const;
  bool Modified() const { return fModified; }
  void SetModified() { fModified = true; }

  int GroupCount() const;
  TTileGroup& Group(int index) const;
  // The categories to offer: the usual ones, then every other category the
  // groups use, each once regardless of case.
  QStringList Categories() const;
  // base when no group has that name (regardless of case), else "base 2",
  // "base 3", … whichever is free first.
  QString UniqueGroupName(const QString& base) const;

  // Appends the groups cut from a picture; returns the first one's index.
  int AddPictureGroups(const QImage& picture, const TPictureGroups& how);
  // Appends a wall style cut from a strip of the twelve wall pieces (see
  // WallStrip.h); returns its index.
  int AddWallStyle(const QImage& strip, const QString& name, std::optional<QRgb> keyColor);
  // A copy after the group, with new identities for its sub-tiles (maps tell
  // sub-tiles apart by them) and a free name; returns the copy's index.
  int DuplicateGroup(int index);
  void DeleteGroup(int index);
  // Moves a group to position to (both 0 to GroupCount - 1).
  void MoveGroup(int from, int to);
  // Shrinking drops the tiles outside the new pattern; a pattern larger
  // than the group's picture (its stored tiles) is refused.
  void SetPatternSize(int index, int width, int height);

  // Raises TError for the first thing that keeps the tileset from saving.
  void Validate() const;
  // Validates, then writes the file aside and renames it over path; the
  // document then names that file and is unmodified. Refuses supplied files.
  void SaveAs(const QString& path);

 private:
  void CheckIndex(int index) const;
  bool NameTaken(const QString& name) const;

  QStringList fSuppliedFiles;
  std::unique_ptr<TTileSet> fTileSet;
  QString fFileName;
  bool fWalls = false;
  bool fReadOnly = false;
  bool fModified = false;
};
