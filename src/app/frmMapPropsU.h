#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TTileMap;

// The Map Properties dialog, which is also the New Map dialog: the map's
// name, printed grid size and size in squares on one page, its author and
// description on another. OK stays disabled while the name is empty and runs
// the map-name check before the dialog closes.
class TfrmMapProps : public QDialog {
 public:
  TfrmMapProps(QWidget* owner, bool newMap);

  // Shows the map's values.
  void Fill(const TTileMap& map);
  // Writes the dialog's values into the map and marks it modified; the author
  // also becomes the Author setting.
  void Apply(TTileMap& map) const;

  QTabWidget* Pages() const { return fPages; }
  QLineEdit* MapNameEdit() const { return fName; }
  QComboBox* GridSizeList() const { return fGridSize; }
  QSpinBox* WidthSpin() const { return fWidth; }
  QSpinBox* HeightSpin() const { return fHeight; }
  QLineEdit* AuthorEdit() const { return fAuthor; }
  QPlainTextEdit* DescriptionEdit() const { return fDescription; }
  QPushButton* OKButton() const { return fOK; }

  void accept() override;

 private:
  QTabWidget* fPages;
  QLineEdit* fName;
  QComboBox* fGridSize;
  QSpinBox* fWidth;
  QSpinBox* fHeight;
  QLineEdit* fAuthor;
  QPlainTextEdit* fDescription;
  QPushButton* fOK;
};

// Shows the dialog for a map, modally; true when the user pressed OK (the
// map then holds the new values). In new-map mode the caption is "New Map".
bool EditMapProperties(QWidget* owner, TTileMap& map, bool newMap);
