#pragma once

#include "MapFieldsDialog.h"

class QLineEdit;
class QPlainTextEdit;
class TTileMap;

// The Map Properties dialog, which is also the New Map dialog: the map's
// name, printed grid size and size in squares on one page, its author and
// description on another. OK stays disabled while the name is empty.
class TfrmMapProps : public TMapFieldsDialog {
 public:
  TfrmMapProps(QWidget* owner, bool newMap);

  // Shows the map's values.
  void Fill(const TTileMap& map);
  // Writes the dialog's values into the map and marks it modified; the author
  // also becomes the Author setting.
  void Apply(TTileMap& map) const;

  QLineEdit* AuthorEdit() const { return fAuthor; }
  QPlainTextEdit* DescriptionEdit() const { return fDescription; }

 private:
  QLineEdit* fAuthor;
  QPlainTextEdit* fDescription;
};

// Shows the dialog for a map, modally; true when the user pressed OK (the
// map then holds the new values). In new-map mode the caption is "New Map".
bool EditMapProperties(QWidget* owner, TTileMap& map, bool newMap);
