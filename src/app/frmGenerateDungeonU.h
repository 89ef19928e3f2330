#pragma once

#include "generate/DungeonGenerator.h"
#include "tiles/WallStyles.h"

#include <QDialog>
#include <QImage>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;
class TTileGroup;
class TTileSet;
class TTilesetList;

// The Generate Dungeon dialog: the dungeon's size in squares, its rooms,
// corridor width, extras and seed, the tiles it is built from, and a
// preview of the result that follows the options a moment after each
// change. Under the preview it says when fewer rooms fit than were asked
// for, or why the chosen tiles cannot make a dungeon (OK then waits).
// The tilesets' groups are read through the tileset list; a tileset the
// dialog had to load is unloaded again when the dialog goes, so the groups
// it hands out live as long as the dialog.
class TfrmGenerateDungeon : public QDialog {
 public:
  // The preview's side in screen pixels.
  static constexpr int kPreviewSide = 360;
  // How long the preview waits after a change, so that typing a number or
  // holding a spin box's arrow builds one dungeon, not one per step.
  static constexpr int kPreviewDelayMs = 150;

  TfrmGenerateDungeon(QWidget* owner, TTilesetList& tilesets);
  ~TfrmGenerateDungeon() override;

  TDungeonOptions Options() const;
  // The groups chosen, with the chosen tileset's furniture.
  TDungeonTiles Tiles() const;

  QSpinBox* ColsSpin() const { return fCols; }
  QSpinBox* RowsSpin() const { return fRows; }
  QSpinBox* RoomsSpin() const { return fRooms; }
  QComboBox* CorridorWidthBox() const { return fCorridorWidth; }
  QComboBox* TilesetBox() const { return fTileset; }
  QComboBox* FloorBox() const { return fFloor; }
  QComboBox* CorridorFloorBox() const { return fCorridorFloor; }
  QComboBox* WallStyleBox() const { return fWallStyle; }
  QComboBox* DoorBox() const { return fDoor; }
  QCheckBox* FurnishBox() const { return fFurnish; }
  QCheckBox* LoopsBox() const { return fLoops; }
  QSpinBox* SeedSpin() const { return fSeed; }
  QPushButton* NewSeedButton() const { return fNewSeed; }
  QPushButton* OKButton() const { return fOK; }

  // The preview as shown, and whether a change still waits to be shown.
  QImage PreviewImage() const { return fPicture; }
  bool PreviewPending() const;
  // The text under the preview: the shortfall or the problem, or empty.
  QString Note() const;

  // Builds the preview of the current options at once.
  void UpdatePreview();

  void accept() override;

 private:
  void FillTilesets();
  void FillWallStyles();
  // Lists the groups of the chosen tileset, keeping the chosen names where
  // the new tileset has them.
  void FillGroups();
  void SchedulePreview();
  TTileSet* ChosenTileset() const;

  TTilesetList& fTilesets;
  // Tilesets loaded for this dialog alone.
  std::vector<TTileSet*> fLoadedHere;
  std::vector<const TTileGroup*> fFloors;
  std::vector<const TTileGroup*> fDoors;
  std::vector<TWallStyle> fStyles;

  QSpinBox* fCols;
  QSpinBox* fRows;
  QSpinBox* fRooms;
  QComboBox* fCorridorWidth;
  QComboBox* fTileset;
  QComboBox* fFloor;
  QComboBox* fCorridorFloor;
  QComboBox* fWallStyle;
  QComboBox* fDoor;
  QCheckBox* fFurnish;
  QCheckBox* fLoops;
  QSpinBox* fSeed;
  QPushButton* fNewSeed;
  QLabel* fPreview;
  QLabel* fNote;
  QPushButton* fOK = nullptr;
  QTimer* fTimer;
  QImage fPicture;
};

// The picture of a map for a preview square of side pixels: the whole map
// drawn at the smallest even cell size that fills the side, then reduced
// smoothly to fit it.
QImage DungeonPreviewPicture(const TTileMap& map, int side);
