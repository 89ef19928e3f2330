#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

// The Options dialog: the defaults of new maps on one page, the length of
// the recent-files list on another. It reads and writes the settings bag
// only; OK runs the map-name check on the default name first.
class TfrmOptions : public QDialog {
 public:
  explicit TfrmOptions(QWidget* owner);

  // Shows the settings' values.
  void Fill();
  // Writes the dialog's values into the settings as decimal text.
  void Apply() const;

  QTabWidget* Pages() const { return fPages; }
  QLineEdit* MapNameEdit() const { return fName; }
  QComboBox* GridSizeList() const { return fGridSize; }
  QSpinBox* WidthSpin() const { return fWidth; }
  QSpinBox* HeightSpin() const { return fHeight; }
  QSpinBox* RecentFilesSpin() const { return fRecentFiles; }
  QPushButton* OKButton() const { return fOK; }

  void accept() override;

 private:
  QTabWidget* fPages;
  QLineEdit* fName;
  QComboBox* fGridSize;
  QSpinBox* fWidth;
  QSpinBox* fHeight;
  QSpinBox* fRecentFiles;
  QPushButton* fOK;
};

// Shows the dialog modally; on OK the settings hold the new values. The
// caller rebuilds what depends on them.
void ShowOptions(QWidget* owner);
