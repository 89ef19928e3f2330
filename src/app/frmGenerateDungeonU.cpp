#include "frmGenerateDungeonU.h"

#include "Application.h"
#include "DialogParts.h"
#include "HelpWindow.h"
#include "base/Busy.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"
#include "render/MapRender.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace {

constexpr int kMaxSide = 200;
// The dialog starts from the tiles the command-line tool uses by default.
const TDungeonTileNames kDefaults;

// Shows the first of the texts the box lists, else the entry at fallback
// (or the last there is).
void SelectFirstOf(QComboBox* box, std::initializer_list<QString> texts, int fallback) {
  for (const QString& text : texts) {
    const int index = text.isEmpty() ? -1 : box->findText(text);
    if (index >= 0) {
      box->setCurrentIndex(index);
      return;
    }
  }
  box->setCurrentIndex(std::min(fallback, box->count() - 1));
}

}  // namespace

TfrmGenerateDungeon::TfrmGenerateDungeon(QWidget* owner, TTilesetList& tilesets)
    : QDialog(owner), fTilesets(tilesets) {
  setObjectName(QStringLiteral("frmGenerateDungeon"));
  setWindowTitle(QStringLiteral("Generate Dungeon"));
  setProperty("HelpContext", kGenerateDungeonHelpContext);
  const TDungeonOptions defaults;

  auto* layoutBox = new QGroupBox(QStringLiteral("Layout"), this);
  fCols = MakeSpinBox(layoutBox, TDungeonOptions::kMinSide, kMaxSide, defaults.Cols);
  fRows = MakeSpinBox(layoutBox, TDungeonOptions::kMinSide, kMaxSide, defaults.Rows);
  fCols->setSuffix(QStringLiteral(" squares"));
  fRows->setSuffix(QStringLiteral(" squares"));
  fRooms = MakeSpinBox(layoutBox, 1, TDungeonOptions::kMaxRooms, defaults.Rooms);
  fCorridorWidth = new QComboBox(layoutBox);
  fCorridorWidth->addItems({QStringLiteral("1 square"), QStringLiteral("2 squares")});
  fCorridorWidth->setCurrentIndex(defaults.CorridorWidth - 1);
  fFurnish = new QCheckBox(QStringLiteral("F&urnish the rooms"), layoutBox);
  fFurnish->setChecked(defaults.Furnish);
  fLoops = new QCheckBox(QStringLiteral("Add loo&ps"), layoutBox);
  fLoops->setChecked(defaults.Loops);
  fSeed = MakeSpinBox(layoutBox, 0, std::numeric_limits<int>::max(), int(defaults.Seed));
  fNewSeed = new QPushButton(QStringLiteral("&New seed"), layoutBox);
  auto* seedRow = new QHBoxLayout;
  seedRow->addWidget(fSeed, 1);
  seedRow->addWidget(fNewSeed);
  auto* layoutForm = new QFormLayout(layoutBox);
  layoutForm->addRow(QStringLiteral("&Columns:"), fCols);
  layoutForm->addRow(QStringLiteral("&Rows:"), fRows);
  layoutForm->addRow(QStringLiteral("R&ooms:"), fRooms);
  layoutForm->addRow(QStringLiteral("Corridor &width:"), fCorridorWidth);
  layoutForm->addRow(QString(), fFurnish);
  layoutForm->addRow(QString(), fLoops);
  auto* seedLabel = new QLabel(QStringLiteral("&Seed:"), layoutBox);
  seedLabel->setBuddy(fSeed);
  layoutForm->addRow(seedLabel, seedRow);

  auto* tilesBox = new QGroupBox(QStringLiteral("Tiles"), this);
  fTileset = new QComboBox(tilesBox);
  fFloor = new QComboBox(tilesBox);
  fCorridorFloor = new QComboBox(tilesBox);
  fWallStyle = new QComboBox(tilesBox);
  fDoor = new QComboBox(tilesBox);
  auto* tilesForm = new QFormLayout(tilesBox);
  tilesForm->addRow(QStringLiteral("&Tileset:"), fTileset);
  tilesForm->addRow(QStringLiteral("&Floor:"), fFloor);
  tilesForm->addRow(QStringLiteral("Corridor f&loor:"), fCorridorFloor);
  tilesForm->addRow(QStringLiteral("Wall st&yle:"), fWallStyle);
  tilesForm->addRow(QStringLiteral("&Doors:"), fDoor);

  // Both forms share one label width, so their fields line up.
  int labelWidth = 0;
  for (QFormLayout* form : {layoutForm, tilesForm})
    for (int row = 0; row < form->rowCount(); ++row)
      if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole))
        labelWidth = std::max(labelWidth, item->widget()->sizeHint().width());
  for (QFormLayout* form : {layoutForm, tilesForm})
    for (int row = 0; row < form->rowCount(); ++row)
      if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole))
        item->widget()->setMinimumWidth(labelWidth);

  fPreview = new QLabel(this);
  fPreview->setObjectName(QStringLiteral("imgPreview"));
  fPreview->setFixedSize(kPreviewSide + 2, kPreviewSide + 2);
  fPreview->setAlignment(Qt::AlignCenter);
  fPreview->setFrameShape(QFrame::StyledPanel);
  fPreview->setFrameShadow(QFrame::Sunken);
  fNote = new QLabel(this);
  fNote->setObjectName(QStringLiteral("lblNote"));
  fNote->setWordWrap(true);
  fNote->setFixedWidth(kPreviewSide + 2);
  // Room for two lines, so that a note coming and going moves nothing.
  fNote->setMinimumHeight(2 * fNote->fontMetrics().lineSpacing());
  fNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* options = new QVBoxLayout;
  options->addWidget(layoutBox);
  options->addWidget(tilesBox);
  options->addStretch(1);
  auto* preview = new QVBoxLayout;
  preview->addWidget(fPreview);
  preview->addWidget(fNote);
  preview->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(options);
  columns->addLayout(preview);

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  fOK = buttons->button(QDialogButtonBox::Ok);
  fOK->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this,
          Guarded([] { ShowHelpContext(kGenerateDungeonHelpContext); }));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);

  fTimer = new QTimer(this);
  fTimer->setSingleShot(true);
  fTimer->setInterval(kPreviewDelayMs);
  connect(fTimer, &QTimer::timeout, this, Guarded([this] { UpdatePreview(); }));

  FillTilesets();
  FillWallStyles();
  FillGroups();
  UpdatePreview();

  for (QSpinBox* spin : {fCols, fRows, fRooms, fSeed})
    connect(spin, &QSpinBox::valueChanged, this, [this] { SchedulePreview(); });
  for (QComboBox* box : {fCorridorWidth, fFloor, fCorridorFloor, fWallStyle, fDoor})
    connect(box, &QComboBox::currentIndexChanged, this, [this] { SchedulePreview(); });
  for (QCheckBox* box : {fFurnish, fLoops})
    connect(box, &QCheckBox::toggled, this, [this] { SchedulePreview(); });
  connect(fTileset, &QComboBox::currentIndexChanged, this, Guarded([this] {
            FillGroups();
            SchedulePreview();
          }));
  connect(fNewSeed, &QPushButton::clicked, this, [this] {
    const int old = fSeed->value();
    int seed = old;
    while (seed == old)
      seed = int(QRandomGenerator::global()->bounded(quint32(std::numeric_limits<int>::max())));
    fSeed->setValue(seed);
  });

  FixAndCentre(this, owner);
}

TfrmGenerateDungeon::~TfrmGenerateDungeon() {
  for (TTileSet* tileSet : fLoadedHere)
    if (fTilesets.IndexOf(tileSet) >= 0) tileSet->Unload();
}

void TfrmGenerateDungeon::FillTilesets() {
  const QStringList names = TilesetNames(fTilesets);
  int chosen = -1;
  for (int entry = 1; entry < fTilesets.Count(); ++entry) {
    const TTileSet* tileSet = fTilesets.Items(entry);
    if (!tileSet) continue;
    fTileset->addItem(names.at(entry - 1), entry);
    if (chosen < 0 && names.at(entry - 1) == kDefaults.Tileset) chosen = fTileset->count() - 1;
  }
  fTileset->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

TTileSet* TfrmGenerateDungeon::ChosenTileset() const {
  if (fTileset->currentIndex() < 0) return nullptr;
  const int entry = fTileset->currentData().toInt();
  return entry >= 1 && entry < fTilesets.Count() ? fTilesets.Items(entry) : nullptr;
}

void TfrmGenerateDungeon::FillWallStyles() {
  fStyles = WallStyles(fTilesets);
  for (const TWallStyle& style : fStyles)
    fWallStyle->addItem(style.Name);
  const int stone = FindWallStyle(fStyles, kDefaults.WallStyle);
  fWallStyle->setCurrentIndex(stone >= 0 ? stone : 0);
}

void TfrmGenerateDungeon::FillGroups() {
  const QString floor = fFloor->currentText();
  const QString corridor = fCorridorFloor->currentText();
  const QString door = fDoor->currentText();
  for (QComboBox* box : {fFloor, fCorridorFloor, fDoor}) {
    box->blockSignals(true);
    box->clear();
  }
  fFloors.clear();
  fDoors.clear();

  TTileSet* tileSet = ChosenTileset();
  // A tileset that fails to load says so itself and offers no groups.
  if (tileSet && !tileSet->Loaded() && tileSet->EnsureLoaded()) fLoadedHere.push_back(tileSet);
  if (tileSet && tileSet->Loaded()) {
    for (const auto& group : tileSet->Groups()) {
      if (group->FType() == gtFloor)
        fFloors.push_back(group.get());
      else if (IsDoorGroup(*group))
        fDoors.push_back(group.get());
    }
  }
  fCorridorFloor->addItem(QStringLiteral("Same as the rooms"));
  for (const TTileGroup* group : fFloors) {
    fFloor->addItem(group->GroupName());
    fCorridorFloor->addItem(group->GroupName());
  }
  fDoor->addItem(QStringLiteral("None (open doorways)"));
  for (const TTileGroup* group : fDoors)
    fDoor->addItem(group->GroupName());
  SelectFirstOf(fFloor, {floor, kDefaults.Floor}, 0);
  SelectFirstOf(fCorridorFloor, {corridor}, 0);
  // Without the usual door, the tileset's first door.
  SelectFirstOf(fDoor, {door, kDefaults.Door}, 1);
  for (QComboBox* box : {fFloor, fCorridorFloor, fDoor})
    box->blockSignals(false);
}

TDungeonOptions TfrmGenerateDungeon::Options() const {
  TDungeonOptions options;
  options.Cols = fCols->value();
  options.Rows = fRows->value();
  options.Rooms = fRooms->value();
  options.CorridorWidth = fCorridorWidth->currentIndex() + 1;
  options.Seed = quint32(fSeed->value());
  options.Furnish = fFurnish->isChecked();
  options.Loops = fLoops->isChecked();
  return options;
}

TDungeonTiles TfrmGenerateDungeon::Tiles() const {
  TDungeonTiles tiles;
  const auto at = [](const std::vector<const TTileGroup*>& groups, int index) {
    return index >= 0 && index < int(groups.size()) ? groups[size_t(index)] : nullptr;
  };
  tiles.Floor = at(fFloors, fFloor->currentIndex());
  tiles.CorridorFloor = at(fFloors, fCorridorFloor->currentIndex() - 1);
  tiles.Door = at(fDoors, fDoor->currentIndex() - 1);
  const int style = fWallStyle->currentIndex();
  if (style >= 0 && style < int(fStyles.size())) tiles.WallStyle = fStyles[size_t(style)].Group;
  if (const TTileSet* tileSet = ChosenTileset(); tileSet && tileSet->Loaded())
    tiles.Furniture = FurnitureGroups(*tileSet);
  return tiles;
}

bool TfrmGenerateDungeon::PreviewPending() const {
  return fTimer->isActive();
}

QString TfrmGenerateDungeon::Note() const {
  return fNote->text();
}

void TfrmGenerateDungeon::SchedulePreview() {
  fTimer->start();
}

void TfrmGenerateDungeon::UpdatePreview() {
  fTimer->stop();
  QString note;
  bool suits = false;
  try {
    TBusyCursor busy;
    TMapDefaults scratch;
    scratch.MaxUndo = 1;
    TTileMap map(scratch);
    const TDungeonReport report = GenerateDungeon(map, Options(), Tiles());
    const qreal ratio = devicePixelRatioF();
    fPicture = DungeonPreviewPicture(map, int(kPreviewSide * ratio));
    fPicture.setDevicePixelRatio(ratio);
    note = report.Shortfall;
    suits = true;
  } catch (const TError& error) {
    // Tiles that cannot make a dungeon: the preview says why, and OK waits.
    fPicture = QImage();
    note = error.Message();
  }
  fPreview->setPixmap(QPixmap::fromImage(fPicture));
  fNote->setText(note);
  fOK->setEnabled(suits);
}

void TfrmGenerateDungeon::accept() {
  try {
    CheckDungeonTiles(Tiles());
  } catch (const TError& error) {
    ShowMessage(error.Message(), windowTitle(), TMsgIcon::Warning, mbOK, this);
    return;
  }
  QDialog::accept();
}

QImage DungeonPreviewPicture(const TTileMap& map, int side) {
  const int squares = std::max(1, std::max(map.Width(), map.Height()) / kSubCellsPerCell);
  // The smallest even cell size (all RenderMap draws) that fills the side,
  // then reduced to fit.
  const int cell = std::max(2, ((side + squares - 1) / squares + 1) / 2 * 2);
  QImage picture = RenderMap(map, cell);
  if (picture.width() > side || picture.height() > side)
    picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return picture;
}
