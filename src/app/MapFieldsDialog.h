#pragma once

#include "MapNameCheck.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

// What the Map Properties and Options dialogs share: a fixed dialog centred
// on its owner's window, pages, OK (default) and Cancel (also Esc), and a
// first page with a map name, the printed grid size and a size in squares.
// OK runs the map-name check before the dialog closes.
class TMapFieldsDialog : public QDialog {
 public:
  QTabWidget* Pages() const { return fPages; }
  QLineEdit* MapNameEdit() const { return fName; }
  QComboBox* GridSizeList() const { return fGridSize; }
  QSpinBox* WidthSpin() const { return fWidth; }
  QSpinBox* HeightSpin() const { return fHeight; }
  QPushButton* OKButton() const { return fOK; }

  void accept() override;

 protected:
  struct TLayout {
    const char* ObjectName;
    const char* PageTitle;
    const char* NameLabel;
    int HelpContext;
    // The spin boxes' range is 1 to this many squares.
    int MaxSquares;
    int InitialSquares;
    TMapNameKind NameKind;
  };
  TMapFieldsDialog(QWidget* owner, const TLayout& layout);
  // Adds the buttons and fixes the size, once every page is there.
  void Finish(QWidget* owner);

 private:
  TMapNameKind fNameKind;
  QTabWidget* fPages;
  QLineEdit* fName;
  QComboBox* fGridSize;
  QSpinBox* fWidth;
  QSpinBox* fHeight;
  QPushButton* fOK = nullptr;
};
