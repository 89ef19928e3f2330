#pragma once

#include "editor/Palette.h"

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class TGrafxButton;
class TArrangeGrid;
class TPlacementEngine;

// The left-hand column of the main window: the "Tile Preview" panel (the
// selected group in its orientation, with four small rotate and flip
// buttons) above the "Palette" panel (tileset and category boxes over the
// grid of group previews). It shows the palette logic's state and passes the
// user's choices back to it; the logic itself lives in TPalette.
class TPaletteColumn : public QWidget {
  Q_OBJECT

 public:
  // Neither is owned; the column follows the palette's signals.
  TPaletteColumn(TPalette& palette, TPlacementEngine& engine, QWidget* parent = nullptr);
  ~TPaletteColumn() override;

  // The actions the four preview buttons run and follow.
  void SetPreviewActions(QAction* flipHorizontal, QAction* rotateCClockwise, QAction* flipVertical,
                         QAction* rotateClockwise);
  // Enabled states and backgrounds: the tileset box, and the category box
  // with the palette grid. The palette grid repaints.
  void SetEnabledStates(bool tilesetBox, bool categoryAndPalette);
  // Shows the palette's state: boxes, hint, visibility, preview, status.
  void Refresh();
  // The wall style box shows the wall styles while the room tool is active,
  // with the engine's style chosen.
  void UpdateWallStyleBox();
  QComboBox* WallStyleBox() const { return fWallStyleBox; }
  // Places the preview image in the middle of its panel and the four
  // buttons beside it.
  void Panel2Resize();

  TArrangeGrid* Grid() const { return fGrid; }
  QComboBox* TilesetBox() const { return fTilesetBox; }
  QComboBox* CategoryBox() const { return fCategoryBox; }
  QWidget* TilesetControls() const { return fTilesetControls; }
  QLabel* PreviewImage() const { return fPreviewImage; }
  // 0 flip horizontal, 1 rotate counter-clockwise, 2 flip vertical, 3 rotate
  // clockwise.
  TGrafxButton* PreviewButton(int index) const { return fPreviewButtons[index]; }

 signals:
  // The selected group's text for the status bar.
  void StatusText(const QString& text);
  // A tileset starts and ends loading.
  void TilesetLoadStarted();
  void TilesetLoadFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What the palette tells.
  void ItemsChanged(int numItems);
  void SelectItem(int index);
  void BeginTilesetLoad();
  void EndTilesetLoad();

  QWidget* BuildPreviewPanel();
  QWidget* BuildPalettePanel();

  TPalette& fPalette;
  TPlacementEngine& fEngine;
  QWidget* fPreviewArea = nullptr;
  QLabel* fPreviewImage = nullptr;
  TGrafxButton* fPreviewButtons[4] = {};
  QWidget* fTilesetControls = nullptr;
  QComboBox* fTilesetBox = nullptr;
  QComboBox* fCategoryBox = nullptr;
  QWidget* fWallStyleControls = nullptr;
  QComboBox* fWallStyleBox = nullptr;
  TArrangeGrid* fGrid = nullptr;
};
