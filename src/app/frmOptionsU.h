#pragma once

#include "MapFieldsDialog.h"

class QSpinBox;

// The Options dialog: the defaults of new maps on one page, the length of
// the recent-files list on another. It reads and writes the settings bag
// only.
class TfrmOptions : public TMapFieldsDialog {
 public:
  explicit TfrmOptions(QWidget* owner);

  // Shows the settings' values.
  void Fill();
  // Writes the dialog's values into the settings as decimal text.
  void Apply() const;

  QSpinBox* RecentFilesSpin() const { return fRecentFiles; }

 private:
  QSpinBox* fRecentFiles;
};

// Shows the dialog modally; on OK the settings hold the new values. The
// caller rebuilds what depends on them.
void ShowOptions(QWidget* owner);
