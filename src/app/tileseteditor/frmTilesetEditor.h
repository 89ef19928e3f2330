#pragma once

#include "TilesetDocument.h"

#include <QMainWindow>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class TGroupPreview;
class TTileGroup;

// The Tileset Editor: a window of its own in which a tileset's texts and
// groups are edited, groups are made from pictures (wall styles from a strip
// of the twelve wall pieces), and the result is saved. The window only shows
// the document and forwards the user's edits to it.
class TfrmTilesetEditor : public QMainWindow {
  Q_OBJECT

 public:
  // suppliedFiles: files the program rewrites at every start; the editor
  // opens them but saves them under a new name.
  explicit TfrmTilesetEditor(QStringList suppliedFiles, QWidget* parent = nullptr);
  ~TfrmTilesetEditor() override;

  TTilesetDocument& Document() { return fDocument; }

  // The File menu's commands. Each asks first when unsaved changes would be
  // lost; false when the user cancelled or the step failed.
  bool NewTileset(bool walls);
  bool OpenFile(const QString& path);
  void OpenWithDialog();
  bool Save();
  bool SaveAs();
  // Asks for a picture, then how to cut it; AddPictureFile skips the first.
  void AddFromPicture();
  void AddPictureFile(const QString& path);

  // Shows the document again after it changed behind the window's back.
  void ShowDocument();
  void SelectGroup(int index);
  int SelectedGroup() const;
  QListWidget* GroupList() const { return fGroupList; }
  TGroupPreview* Preview() const { return fPreview; }

 signals:
  // A tileset file was written.
  void TilesetSaved(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  QWidget* BuildTilesetFields();
  QWidget* BuildGroupList();
  QWidget* BuildGroupFields();
  bool ConfirmDiscard();
  bool SaveTo(const QString& path);
  void FillGroupList();
  void ShowGroup();
  void UpdateCaption();
  void UpdateButtons();
  void TilesetFieldEdited();
  void GroupFieldEdited();
  void PatternEdited();
  void MoveSelected(int step);
  void DuplicateSelected();
  void DeleteSelected();
  TTileGroup* CurrentGroup() const;

  TTilesetDocument fDocument;
  bool fFilling = false;
  QLineEdit* fTilesetName = nullptr;
  QLineEdit* fAuthor = nullptr;
  QPlainTextEdit* fInformation = nullptr;
  QLineEdit* fURL = nullptr;
  QListWidget* fGroupList = nullptr;
  QPushButton* fAddButton = nullptr;
  QPushButton* fUpButton = nullptr;
  QPushButton* fDownButton = nullptr;
  QPushButton* fDuplicateButton = nullptr;
  QPushButton* fDeleteButton = nullptr;
  QWidget* fGroupFields = nullptr;
  QLineEdit* fGroupName = nullptr;
  QLineEdit* fGroupDescr = nullptr;
  QComboBox* fCategory = nullptr;
  QComboBox* fType = nullptr;
  QComboBox* fPlacement = nullptr;
  QSpinBox* fPatWidth = nullptr;
  QSpinBox* fPatHeight = nullptr;
  TGroupPreview* fPreview = nullptr;
};
