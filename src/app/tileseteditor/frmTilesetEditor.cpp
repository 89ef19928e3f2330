#include "frmTilesetEditor.h"

#include "AddPictureDialog.h"
#include "GroupPreview.h"
#include "app/Application.h"
#include "app/DialogRunner.h"
#include "app/FileDialogs.h"
#include "app/HelpWindow.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "tiles/PictureCutter.h"
#include "tiles/PictureFile.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStrip.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Tileset Editor");
const QString kTilesetFilter = QStringLiteral(
    "Tessellan Tilesets (*.tls)|*.tls|Tessellan Wall Tilesets (*.wls)|*.wls|All Files (*.*)|*.*");

QString PictureFilter() {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats())
    patterns << QStringLiteral("*.") + QString::fromLatin1(format);
  const QString list = patterns.join(QLatin1Char(' '));
  return QStringLiteral("Pictures (%1)|%2|All Files (*.*)|*.*")
      .arg(list, patterns.join(QLatin1Char(';')));
}

// The document's categories, then those of the installed tilesets that are
// read already, each once regardless of case.
QStringList OfferedCategories(const TTilesetDocument& document) {
  QStringList categories = document.Categories();
  for (int i = 0; i < TilesetList().Count(); ++i) {
    const TTileSet* tileSet = TilesetList().Items(i);
    if (!tileSet || !tileSet->Loaded()) continue;
    // Wall styles belong to the wall tileset only.
    if (tileSet == TilesetList().Items(0) && !document.IsWallTileset()) continue;
    for (const auto& group : tileSet->Groups())
      if (!group->Category().isEmpty() &&
          !categories.contains(group->Category(), Qt::CaseInsensitive))
        categories << group->Category();
  }
  return categories;
}

QPushButton* Button(const QString& text, QWidget* parent, const char* name) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace

TfrmTilesetEditor::TfrmTilesetEditor(QStringList suppliedFiles, QWidget* parent)
    : QMainWindow(parent), fDocument(std::move(suppliedFiles)) {
  setObjectName(QStringLiteral("frmTilesetEditor"));
  setWindowFlag(Qt::Window);
  setProperty("HelpContext", kTilesetEditorHelpContext);
  BuildMenu();

  auto* central = new QWidget(this);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildTilesetFields());
  left->addWidget(BuildGroupList(), 1);
  auto* middle = new QVBoxLayout;
  middle->addWidget(BuildGroupFields());
  middle->addStretch();
  fPreview = new TGroupPreview(central);
  auto* layout = new QHBoxLayout(central);
  layout->addLayout(left, 3);
  layout->addLayout(middle, 3);
  layout->addWidget(fPreview, 4);
  setCentralWidget(central);
  statusBar();
  resize(1260, 720);
  ShowDocument();
}

TfrmTilesetEditor::~TfrmTilesetEditor() = default;

void TfrmTilesetEditor::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  const auto add = [this, file](const char* name, const QString& text, const QString& keys,
                                auto handler) {
    QAction* action = file->addAction(text);
    action->setObjectName(QLatin1String(name));
    if (!keys.isEmpty()) action->setShortcut(QKeySequence(keys));
    connect(action, &QAction::triggered, this, Guarded(handler));
  };
  add("teNew", QStringLiteral("&New Tileset"), QString(), [this] { NewTileset(false); });
  add("teNewWalls", QStringLiteral("New &Wall Tileset"), QString(), [this] { NewTileset(true); });
  add("teOpen", QStringLiteral("&Open..."), QStringLiteral("Ctrl+O"), [this] { OpenWithDialog(); });
  file->addSeparator();
  add("teSave", QStringLiteral("&Save"), QStringLiteral("Ctrl+S"), [this] { Save(); });
  add("teSaveAs", QStringLiteral("Save &As..."), QString(), [this] { SaveAs(); });
  file->addSeparator();
  add("teClose", QStringLiteral("&Close"), QString(), [this] { close(); });
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  QAction* topic = help->addAction(QStringLiteral("Tileset Editor &Help"));
  topic->setObjectName(QStringLiteral("teHelp"));
  connect(topic, &QAction::triggered, this,
          Guarded([] { ShowHelpTopic(QStringLiteral("TilesetEditor.html")); }));
}

QWidget* TfrmTilesetEditor::BuildTilesetFields() {
  auto* box = new QGroupBox(QStringLiteral("Tileset"), this);
  fTilesetName = new QLineEdit(box);
  fTilesetName->setObjectName(QStringLiteral("TilesetName"));
  fAuthor = new QLineEdit(box);
  fAuthor->setObjectName(QStringLiteral("AuthorName"));
  fInformation = new QPlainTextEdit(box);
  fInformation->setObjectName(QStringLiteral("Information"));
  fInformation->setMaximumHeight(72);
  fURL = new QLineEdit(box);
  fURL->setObjectName(QStringLiteral("URL"));
  auto* form = new QFormLayout(box);
  form->addRow(QStringLiteral("&Name:"), fTilesetName);
  form->addRow(QStringLiteral("&Author:"), fAuthor);
  form->addRow(QStringLiteral("&Information:"), fInformation);
  form->addRow(QStringLiteral("&Web address:"), fURL);
  const auto edited = Guarded([this] { TilesetFieldEdited(); });
  for (QLineEdit* edit : {fTilesetName, fAuthor, fURL})
    connect(edit, &QLineEdit::textEdited, this, edited);
  connect(fInformation, &QPlainTextEdit::textChanged, this, edited);
  return box;
}

QWidget* TfrmTilesetEditor::BuildGroupList() {
  auto* box = new QGroupBox(QStringLiteral("Groups"), this);
  fGroupList = new QListWidget(box);
  fGroupList->setObjectName(QStringLiteral("GroupList"));
  fAddButton = Button(QString(), box, "AddGroup");
  fUpButton = Button(QStringLiteral("Move &Up"), box, "MoveUp");
  fDownButton = Button(QStringLiteral("Move D&own"), box, "MoveDown");
  fDuplicateButton = Button(QStringLiteral("Duplicat&e"), box, "Duplicate");
  fDeleteButton = Button(QStringLiteral("&Delete"), box, "Delete");
  auto* buttons = new QGridLayout;
  buttons->addWidget(fAddButton, 0, 0, 1, 2);
  buttons->addWidget(fUpButton, 1, 0);
  buttons->addWidget(fDownButton, 1, 1);
  buttons->addWidget(fDuplicateButton, 2, 0);
  buttons->addWidget(fDeleteButton, 2, 1);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(fGroupList, 1);
  layout->addLayout(buttons);
  connect(fGroupList, &QListWidget::currentRowChanged, this, Guarded([this] { ShowGroup(); }));
  connect(fAddButton, &QPushButton::clicked, this, Guarded([this] { AddFromPicture(); }));
  connect(fUpButton, &QPushButton::clicked, this, Guarded([this] { MoveSelected(-1); }));
  connect(fDownButton, &QPushButton::clicked, this, Guarded([this] { MoveSelected(1); }));
  connect(fDuplicateButton, &QPushButton::clicked, this, Guarded([this] { DuplicateSelected(); }));
  connect(fDeleteButton, &QPushButton::clicked, this, Guarded([this] { DeleteSelected(); }));
  return box;
}

QWidget* TfrmTilesetEditor::BuildGroupFields() {
  auto* box = new QGroupBox(QStringLiteral("Group"), this);
  fGroupFields = box;
  fGroupName = new QLineEdit(box);
  fGroupName->setObjectName(QStringLiteral("GroupName"));
  fGroupDescr = new QLineEdit(box);
  fGroupDescr->setObjectName(QStringLiteral("GroupDescr"));
  fCategory = new QComboBox(box);
  fCategory->setObjectName(QStringLiteral("Category"));
  fCategory->setEditable(true);
  fType = new QComboBox(box);
  fType->setObjectName(QStringLiteral("FType"));
  fPlacement = new QComboBox(box);
  fPlacement->setObjectName(QStringLiteral("PlaceType"));
  for (const char* place : PlaceTypeNames)
    fPlacement->addItem(QString::fromLatin1(place));
  fPatWidth = new QSpinBox(box);
  fPatWidth->setObjectName(QStringLiteral("PatWidth"));
  fPatHeight = new QSpinBox(box);
  fPatHeight->setObjectName(QStringLiteral("PatHeight"));
  for (QSpinBox* spin : {fPatWidth, fPatHeight}) {
    spin->setRange(1, kMaxSquares);
    spin->setKeyboardTracking(false);
  }
  auto* pattern = new QHBoxLayout;
  pattern->addWidget(fPatWidth);
  pattern->addWidget(new QLabel(QStringLiteral("across by"), box));
  pattern->addWidget(fPatHeight);
  pattern->addWidget(new QLabel(QStringLiteral("down"), box));
  pattern->addStretch();
  auto* form = new QFormLayout(box);
  form->addRow(QStringLiteral("Na&me:"), fGroupName);
  form->addRow(QStringLiteral("De&scription:"), fGroupDescr);
  form->addRow(QStringLiteral("&Category:"), fCategory);
  form->addRow(QStringLiteral("&Type:"), fType);
  form->addRow(QStringLiteral("P&lacement:"), fPlacement);
  form->addRow(QStringLiteral("Pattern si&ze:"), pattern);

  const auto edited = Guarded([this] { GroupFieldEdited(); });
  connect(fGroupName, &QLineEdit::textEdited, this, edited);
  connect(fGroupDescr, &QLineEdit::textEdited, this, edited);
  connect(fCategory, &QComboBox::currentTextChanged, this, edited);
  connect(fType, &QComboBox::currentIndexChanged, this, edited);
  connect(fPlacement, &QComboBox::currentIndexChanged, this, edited);
  const auto pattern_edited = Guarded([this] { PatternEdited(); });
  connect(fPatWidth, &QSpinBox::valueChanged, this, pattern_edited);
  connect(fPatHeight, &QSpinBox::valueChanged, this, pattern_edited);
  return box;
}

// ---------------------------------------------------------------------------
// Showing the document

void TfrmTilesetEditor::ShowDocument() {
  fFilling = true;
  const TTileSet& tileSet = fDocument.TileSet();
  fTilesetName->setText(tileSet.TilesetName());
  fAuthor->setText(tileSet.AuthorName());
  fInformation->setPlainText(tileSet.Information());
  fURL->setText(tileSet.URL());
  fType->clear();
  if (fDocument.IsWallTileset()) {
    fType->addItem(QStringLiteral("Walls"));
    fAddButton->setText(QStringLiteral("Add Wall St&yle from Strip..."));
  } else {
    for (const char* type : GroupTypeNames)
      fType->addItem(QString::fromLatin1(type));
    fAddButton->setText(QStringLiteral("Add Group from &Picture..."));
  }
  fFilling = false;
  FillGroupList();
  SelectGroup(fDocument.GroupCount() > 0 ? 0 : -1);
  UpdateCaption();
}

void TfrmTilesetEditor::FillGroupList() {
  const bool filling = fFilling;
  fFilling = true;
  const int row = fGroupList->currentRow();
  fGroupList->clear();
  for (int i = 0; i < fDocument.GroupCount(); ++i) {
    const TTileGroup& group = fDocument.Group(i);
    fGroupList->addItem(QStringLiteral("%1   (%2 × %3, %4)")
                            .arg(group.GroupName())
                            .arg(group.PatWidth())
                            .arg(group.PatHeight())
                            .arg(group.Category()));
  }
  fGroupList->setCurrentRow(std::min(row, fGroupList->count() - 1));
  fFilling = filling;
}

void TfrmTilesetEditor::SelectGroup(int index) {
  fGroupList->setCurrentRow(index);
  ShowGroup();
}

int TfrmTilesetEditor::SelectedGroup() const {
  return fGroupList->currentRow();
}

TTileGroup* TfrmTilesetEditor::CurrentGroup() const {
  const int row = fGroupList->currentRow();
  return row >= 0 && row < fDocument.GroupCount() ? &fDocument.Group(row) : nullptr;
}

void TfrmTilesetEditor::ShowGroup() {
  if (fFilling) return;
  fFilling = true;
  const TTileGroup* group = CurrentGroup();
  const bool walls = fDocument.IsWallTileset();
  fGroupFields->setEnabled(group != nullptr);
  fCategory->clear();
  fCategory->addItems(OfferedCategories(fDocument));
  if (group) {
    fGroupName->setText(group->GroupName());
    fGroupDescr->setText(group->GroupDescr());
    fCategory->setCurrentText(group->Category());
    fType->setCurrentIndex(walls ? 0 : std::min<int>(group->FType(), 1));
    fPlacement->setCurrentIndex(std::min<int>(group->PlaceType(), 2));
    fPatWidth->setValue(group->PatWidth());
    fPatHeight->setValue(group->PatHeight());
  } else {
    fGroupName->clear();
    fGroupDescr->clear();
    fCategory->setCurrentText(QString());
  }
  // A wall style's shape and use are fixed by the wall tool.
  for (QWidget* fixed : {static_cast<QWidget*>(fCategory), static_cast<QWidget*>(fType),
                         static_cast<QWidget*>(fPlacement), static_cast<QWidget*>(fPatWidth),
                         static_cast<QWidget*>(fPatHeight)})
    fixed->setEnabled(!walls);
  fPreview->SetGroup(group, walls);
  fFilling = false;
  UpdateButtons();
}

void TfrmTilesetEditor::UpdateButtons() {
  const int row = fGroupList->currentRow();
  const int count = fDocument.GroupCount();
  fUpButton->setEnabled(row > 0);
  fDownButton->setEnabled(row >= 0 && row + 1 < count);
  fDuplicateButton->setEnabled(row >= 0);
  fDeleteButton->setEnabled(row >= 0);
}

void TfrmTilesetEditor::UpdateCaption() {
  const QString file = fDocument.FileName().isEmpty()
                           ? QStringLiteral("not saved yet")
                           : QDir::toNativeSeparators(fDocument.FileName());
  setWindowTitle(kCaption + QStringLiteral(" - ") + fDocument.TileSet().TilesetName() +
                 (fDocument.Modified() ? QStringLiteral(" *") : QString()));
  statusBar()->showMessage(fDocument.IsSupplied(fDocument.FileName())
                               ? file + QStringLiteral("  (supplied: saved under a new name)")
                               : file);
}

// ---------------------------------------------------------------------------
// Edits

void TfrmTilesetEditor::TilesetFieldEdited() {
  if (fFilling) return;
  TTileSet& tileSet = fDocument.TileSet();
  tileSet.SetTilesetName(fTilesetName->text());
  tileSet.SetAuthorName(fAuthor->text());
  tileSet.SetInformation(fInformation->toPlainText());
  tileSet.SetURL(fURL->text());
  fDocument.SetModified();
  UpdateCaption();
}

void TfrmTilesetEditor::GroupFieldEdited() {
  TTileGroup* group = CurrentGroup();
  if (fFilling || !group) return;
  group->SetGroupName(fGroupName->text());
  group->SetGroupDescr(fGroupDescr->text());
  group->SetCategory(fCategory->currentText());
  if (!fDocument.IsWallTileset()) {
    group->SetFType(quint8(fType->currentIndex()));
    group->SetPlaceType(quint8(fPlacement->currentIndex()));
  }
  fDocument.SetModified();
  FillGroupList();
  fPreview->SetGroup(group, fDocument.IsWallTileset());
  UpdateCaption();
}

void TfrmTilesetEditor::PatternEdited() {
  const int row = fGroupList->currentRow();
  if (fFilling || row < 0) return;
  try {
    fDocument.SetPatternSize(row, fPatWidth->value(), fPatHeight->value());
  } catch (const TError&) {
    ShowGroup();  // back to the size the group has
    throw;
  }
  FillGroupList();
  ShowGroup();
  UpdateCaption();
}

void TfrmTilesetEditor::MoveSelected(int step) {
  const int row = fGroupList->currentRow();
  if (row < 0) return;
  fDocument.MoveGroup(row, row + step);
  FillGroupList();
  SelectGroup(row + step);
  UpdateCaption();
}

void TfrmTilesetEditor::DuplicateSelected() {
  const int row = fGroupList->currentRow();
  if (row < 0) return;
  const int copy = fDocument.DuplicateGroup(row);
  FillGroupList();
  SelectGroup(copy);
  UpdateCaption();
}

void TfrmTilesetEditor::DeleteSelected() {
  const int row = fGroupList->currentRow();
  if (row < 0) return;
  const QString name = fDocument.Group(row).GroupName();
  if (ShowMessage(QStringLiteral("Delete the group \"%1\"?").arg(name), kCaption,
                  TMsgIcon::Question, mbYes | mbNo, this) != TMsgAnswer::Yes)
    return;
  fDocument.DeleteGroup(row);
  FillGroupList();
  SelectGroup(std::min(row, fDocument.GroupCount() - 1));
  UpdateCaption();
}

void TfrmTilesetEditor::AddFromPicture() {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Open;
  request.Title = fDocument.IsWallTileset() ? QStringLiteral("Wall Strip")
                                            : QStringLiteral("Add Group from Picture");
  request.Filter = PictureFilter();
  request.Owner = this;
  const QString path = RunFileDialog(request);
  if (!path.isEmpty()) AddPictureFile(path);
}

void TfrmTilesetEditor::AddPictureFile(const QString& path) {
  const QImage picture = ReadPicture(path);
  const bool walls = fDocument.IsWallTileset();
  // The strip is checked before anything else is asked.
  if (walls) CheckWallStrip(picture.size());
  TAddPictureDialog dialog(this, picture,
                           fDocument.UniqueGroupName(QFileInfo(path).completeBaseName()),
                           OfferedCategories(fDocument), walls);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  const TPictureGroups choice = dialog.Choice();
  const int first = walls ? fDocument.AddWallStyle(picture, choice.Name, choice.KeyColor)
                          : fDocument.AddPictureGroups(picture, choice);
  FillGroupList();
  SelectGroup(first);
  UpdateCaption();
}

// ---------------------------------------------------------------------------
// Files

bool TfrmTilesetEditor::ConfirmDiscard() {
  if (!fDocument.Modified()) return true;
  switch (ShowMessage(
      QStringLiteral("Save changes to the tileset \"%1\"?").arg(fDocument.TileSet().TilesetName()),
      kCaption, TMsgIcon::Question, mbYes | mbNo | mbCancel, this)) {
    case TMsgAnswer::Yes:
      return Save();
    case TMsgAnswer::No:
      return true;
    default:
      return false;
  }
}

bool TfrmTilesetEditor::NewTileset(bool walls) {
  if (!ConfirmDiscard()) return false;
  fDocument.New(walls);
  ShowDocument();
  return true;
}

bool TfrmTilesetEditor::OpenFile(const QString& path) {
  if (!ConfirmDiscard()) return false;
  if (!fDocument.Open(path)) return false;
  ShowDocument();
  return true;
}

void TfrmTilesetEditor::OpenWithDialog() {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Open;
  request.Title = QStringLiteral("Open Tileset");
  request.Directory = TilesetList().Directory();
  request.Filter = kTilesetFilter;
  request.DefaultExt = QStringLiteral("TLS");
  request.Owner = this;
  const QString path = RunFileDialog(request);
  if (!path.isEmpty()) OpenFile(path);
}

bool TfrmTilesetEditor::Save() {
  if (fDocument.NeedsNewName()) return SaveAs();
  return SaveTo(fDocument.FileName());
}

bool TfrmTilesetEditor::SaveAs() {
  // Checked before the dialog, so nobody picks a name for a tileset that
  // cannot be saved.
  fDocument.Validate();
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Save;
  request.Title = QStringLiteral("Save Tileset As");
  request.Filter = kTilesetFilter;
  const bool walls = fDocument.IsWallTileset();
  request.DefaultExt = walls ? QStringLiteral("WLS") : QStringLiteral("TLS");
  const QString suffix = walls ? QStringLiteral(".wls") : QStringLiteral(".tls");
  const QFileInfo current(fDocument.FileName());
  // A new tileset, or a supplied one under a new name, goes to the tileset
  // folder, where it is listed at once.
  request.Directory = fDocument.FileName().isEmpty() || fDocument.IsSupplied(fDocument.FileName())
                          ? TilesetList().Directory()
                          : current.absolutePath();
  // A supplied file is offered a name of its own.
  request.FileName =
      fDocument.IsSupplied(fDocument.FileName())
          ? current.completeBaseName() + QStringLiteral(" (mine)") + suffix
          : (fDocument.FileName().isEmpty() ? fDocument.TileSet().TilesetName() + suffix
                                            : current.fileName());
  request.Owner = this;
  const QString path = RunFileDialog(request);
  if (path.isEmpty()) return false;
  return SaveTo(path);
}

bool TfrmTilesetEditor::SaveTo(const QString& path) {
  fDocument.SaveAs(path);
  UpdateCaption();
  emit TilesetSaved(fDocument.FileName());
  return true;
}

void TfrmTilesetEditor::closeEvent(QCloseEvent* event) {
  bool close = false;
  try {
    close = ConfirmDiscard();
  } catch (...) {
    ShowCurrentException();
  }
  event->setAccepted(close);
}
