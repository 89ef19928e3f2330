#pragma once

#include "export/MapExport.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TTileMap;

// Asks how a map is exported in the format already chosen (shown): pixels
// per grid square, with the picture's size in pixels and megabytes following
// every change; which layers; and whether grid lines are drawn. Options
// that cannot be exported (no layer, a picture over the format's limits) are
// named below them while OK is withheld.
class TExportOptionsDialog : public QDialog {
 public:
  TExportOptionsDialog(QWidget* owner, const TTileMap& map, const TExportOptions& options);

  // The options as the controls show them (the format is the one given).
  TExportOptions Options() const;

  QSpinBox* PixelsPerSquareSpin() const { return fPixels; }
  QLabel* SizeLabel() const { return fSize; }
  QCheckBox* LayerBox(TLayerFlag layer) const;
  QCheckBox* GridLinesBox() const { return fGrid; }
  QPushButton* OKButton() const { return fOK; }
  // Why the options cannot be exported; empty and hidden when they can.
  QLabel* ProblemLabel() const { return fProblem; }

  void accept() override;

 private:
  void UpdateSize();

  const TTileMap& fMap;
  TExportFormat fFormat;
  QSpinBox* fPixels;
  QLabel* fSize;
  QCheckBox* fBase;
  QCheckBox* fObjects;
  QCheckBox* fWalls;
  QCheckBox* fGrid;
  QLabel* fProblem;
  QPushButton* fOK;
};
