#pragma once

#include "editor/PlacementEngine.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;
class QRect;
class TTileGroup;
class TTileSet;
class TTilesetList;

// The groups of one tileset whose category equals a text without regard to
// case, in the tileset's own order. It does not own the groups.
class TTileCatList {
 public:
  // Lists the tileset's groups of the category (loading the tileset when it
  // is not loaded); no tileset gives an empty list.
  void Fill(TTileSet* tileSet, const QString& category);
  void Clear() { fGroups.clear(); }
  void Append(TTileGroup* group) { fGroups.push_back(group); }
  int Count() const { return int(fGroups.size()); }
  bool IsEmpty() const { return fGroups.empty(); }
  TTileGroup* At(int index) const { return fGroups.at(size_t(index)); }

 private:
  std::vector<TTileGroup*> fGroups;
};

// The palette's pictures, one per listed group, each CellWidth × CellHeight
// pixels of 24-bit colour. It owns them.
class TTilePaletteList {
 public:
  void Clear() { fPictures.clear(); }
  void Add(QImage picture) { fPictures.push_back(std::move(picture)); }
  int Count() const { return int(fPictures.size()); }
  const QImage& At(int index) const { return fPictures.at(size_t(index)); }

 private:
  std::vector<QImage> fPictures;
};

// The distinct categories of a tileset's groups in the order they first
// appear; a category already listed (compared without regard to case) is not
// listed again.
QStringList CategoriesOf(TTileSet& tileSet);

// Draws a group's picture for the palette and the tile preview: the group's
// own DrawPreview unless another is given. Raises when the group cannot be
// drawn. Held by the palette, not owned.
class TGroupPainter {
 public:
  virtual void DrawGroup(const TTileGroup& group, QPainter& canvas, const QRect& rect,
                         int orientation) const = 0;

 protected:
  ~TGroupPainter() = default;
};

// The tile palette's logic: the tileset and category boxes as plain data,
// the list of groups shown and their pictures, the selection and its effect
// on the placement engine (current group, orientation, grid set-up), the
// status text and the tile preview, and the wall styles that replace the
// palette while the wall tool is active.
class TPalette : public QObject, public TPlacementPalette {
  Q_OBJECT

 public:
  static constexpr int kCellSize = 60;
  static constexpr int kPreviewSize = 82;

  // Neither is owned. The palette makes itself the engine's palette.
  TPalette(TPlacementEngine& engine, TTilesetList& tilesets);
  ~TPalette() override;

  TPlacementEngine& Engine() const { return fEngine; }

  // --- The tileset box: list entries 1 onward by name, a name that two
  // share followed by the file's ---
  QStringList TilesetNames() const;
  int TilesetIndex() const { return fTilesetIndex; }
  // The tileset the box shows, or none.
  TTileSet* ShownTileset() const;
  // "Author: …\r\nDescription: …" of the tileset shown, once it loaded.
  const QString& TilesetHint() const { return fTilesetHint; }
  // The tileset and category boxes are hidden while the wall styles show.
  bool TilesetControlsVisible() const { return fControlsVisible; }

  // --- The category box ---
  const QStringList& Categories() const { return fCategories; }
  int CategoryIndex() const { return fCategoryIndex; }

  // --- The palette grid ---
  int CellWidth() const { return fCellWidth; }
  int CellHeight() const { return fCellHeight; }
  const TTileCatList& Groups() const { return fCatList; }
  const TTilePaletteList& Pictures() const { return fPictures; }
  int NumItems() const { return fPictures.Count(); }
  int Selected() const { return fSelected; }

  // The name item index is shown by: the group's name, or the wall style's
  // name, which tells styles of the same name apart by their files.
  QString ItemName(int index) const;

  // Status bar panel 2: the selected group's name and description.
  const QString& StatusText() const { return fStatusText; }
  // The tile preview picture, kPreviewSize square.
  const QImage& Preview() const { return fPreview; }

  // The palette pictures and the preview have the screen's pixels: kCellSize
  // and kPreviewSize square in the screen's coordinates, times this ratio in
  // pixels (which they carry as their device pixel ratio). Setting another
  // ratio draws them again.
  qreal DevicePixelRatio() const { return fRatio; }
  void SetDevicePixelRatio(qreal ratio);
  // Draws the groups' pictures; none draws them with DrawPreview.
  void SetGroupPainter(const TGroupPainter* painter);

  // The window's start-up: the first tileset, "Floors" when it is one of
  // its categories, the place-tiles tool and the first item selected.
  void Start();
  // Refills the category box and the palette from the current tileset.
  void FillCategories();
  // Rebuilds the pictures of the listed groups.
  void RebuildPalette();
  // An empty palette: no hint, categories or groups, for a tileset that
  // could not be read or when none is left to show.
  void ClearPalette();

  // The palette grid's events.
  void grdTileGroupsSelect(int Index);
  void grdTileGroupsDrawItem(int Index, bool Selected, const QRect& Bounds, QPainter& Dest) const;
  // The category box now shows entry index.
  void cbxCategoryChange(int index);
  // The tileset box now shows entry index (tileset list entry index + 1).
  void cbxTilesetChange(int index);

  // Shows list entry `entry` (1 onward) in the tileset box and loads it, as
  // choosing it in the box does; the wall styles give way to the tilesets
  // first.
  void SelectTileset(int entry);
  // Lets go of a tileset whose file is about to change or which is about to
  // leave the list: when the box shows it, the box moves to another tileset
  // (or to none), and the tileset is unloaded, so no group of it stays in
  // use.
  void ReleaseTileset(TTileSet* tileSet);
  // Releases the tileset and removes it from the list; the box keeps
  // showing the tileset it showed. False, changing nothing, when the list
  // refuses (a read-only tileset).
  bool RemoveTileset(TTileSet* tileSet);

  // Lists the wall styles again (after a wall tileset came or went, or its
  // file changed) when they show; the style selected stays selected while it
  // is still offered.
  void RefreshWallStyles();

  // Redraws the preview in the engine's orientation.
  void RedrawPreview();

  // TPlacementPalette. The wall styles are those of every wall tileset.
  void ShowWallStyles() override;
  void ShowTilesets() override;
  void OrientationChanged() override { RedrawPreview(); }
  void ShowDoors() override;

  // The text "Corrupt" or "Empty" as the palette and preview write it.
  static const QString kCorrupt;
  static const QString kEmpty;

 signals:
  // What the palette tells whoever shows it; without a listener the palette
  // keeps its state as plain data only (the tool and the tests).
  // The pictures were rebuilt: the palette grid shows numItems items.
  void ItemsChanged(int numItems);
  // The palette grid is to select an item, and answers through
  // grdTileGroupsSelect.
  void SelectItemRequested(int index);
  // The boxes, their hint or visibility, the status text or the preview
  // changed.
  void StateChanged();
  // A tileset is about to load (its progress goes to the status bar), and
  // has finished or failed.
  void TilesetLoadStarted();
  void TilesetLoadFinished();

 private:
  QImage PalettePicture(TTileGroup& group) const;
  // A picture of size in the screen's coordinates at the palette's ratio.
  QImage NewPicture(int width, int height) const;
  // Selects item index through the palette grid when one listens.
  void SelectItem(int index);
  // Selects palette item 0, or makes the current group none when nothing is
  // listed.
  void SelectFirst();
  void FillFromBoxes();
  void Changed();
  // Brings back the category shown before the door tool chose "Doors".
  void LeaveDoors();

  TPlacementEngine& fEngine;
  TTilesetList& fTilesets;

  int fTilesetIndex = -1;
  QString fTilesetHint;
  bool fControlsVisible = true;
  QStringList fCategories;
  int fCategoryIndex = -1;

  int fCellWidth = kCellSize;
  int fCellHeight = kCellSize;
  TTileCatList fCatList;
  // The wall styles' names while they show, one per listed group.
  QStringList fWallNames;
  TTilePaletteList fPictures;
  int fSelected = -1;
  // The door tool switched the category box; the category shown before.
  bool fDoorsShown = false;
  int fCategoryBeforeDoors = -1;

  QString fStatusText;
  QImage fPreview;
  qreal fRatio = 1;
  const TGroupPainter* fGroupPainter;
};
