#pragma once

#include "TilesetDocument.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Asks how a picture becomes groups: the name and kind of the new group,
// how many squares it covers (proposed from the picture's size at the common
// square sizes), whether it is a sheet of several groups, and where its
// transparency comes from. For a wall strip only the name and transparency
// are asked; the strip's layout is fixed.
class TAddPictureDialog : public QDialog {
 public:
  TAddPictureDialog(QWidget* owner, const QImage& picture, const QString& name,
                    const QStringList& categories, bool wallStrip);

  // What the user chose.
  TPictureGroups Choice() const;

  QLineEdit* NameEdit() const { return fName; }
  QSpinBox* AcrossSpin() const { return fAcross; }
  QSpinBox* DownSpin() const { return fDown; }
  QSpinBox* SheetColumnsSpin() const { return fSheetColumns; }
  QSpinBox* SheetRowsSpin() const { return fSheetRows; }
  QComboBox* ProposalBox() const { return fProposals; }

 private:
  void FillProposals();
  void ProposalChosen(int index);
  // The square size box follows counts set by hand.
  void CountsEdited();
  void PickKeyColor();
  void ShowKeyColor();

  QImage fPicture;
  bool fWallStrip;
  QRgb fKeyColor;
  // Whether the picture looks keyed, and whether the user has decided.
  bool fProposeKey = false;
  bool fKeyChosen = false;
  bool fSettingCounts = false;
  QLineEdit* fName = nullptr;
  QLineEdit* fDescription = nullptr;
  QComboBox* fCategory = nullptr;
  QComboBox* fType = nullptr;
  QComboBox* fPlacement = nullptr;
  QSpinBox* fSheetColumns = nullptr;
  QSpinBox* fSheetRows = nullptr;
  QComboBox* fProposals = nullptr;
  QSpinBox* fAcross = nullptr;
  QSpinBox* fDown = nullptr;
  QCheckBox* fUseKey = nullptr;
  QPushButton* fKeyButton = nullptr;
};
