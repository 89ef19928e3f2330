#include "PaletteColumn.h"
#include "Application.h"
#include "editor/PlacementEngine.h"
#include "editor/controls/ArrangeGrid.h"
#include "tiles/TileObjects.h"
#include "widgets/ButtonArt.h"
#include "widgets/CleanPanel.h"
#include "widgets/GrfxBtn.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kPreviewButtonSize = 16;
// The preview panel: its caption, the picture and a margin above and below.
constexpr int kPreviewPanelHeight = 20 + TPalette::kPreviewSize + 20;

void SetBackground(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Button, colour);
  widget->setPalette(palette);
}

}  // namespace

TPaletteColumn::TPaletteColumn(TPalette& palette, TPlacementEngine& engine, QWidget* parent)
    : QWidget(parent), fPalette(palette), fEngine(engine) {
  setObjectName(QStringLiteral("pnlPaletteColumn"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(BuildPreviewPanel());
  layout->addWidget(BuildPalettePanel(), 1);
  // The palette's pictures have the screen's pixels.
  fPalette.SetDevicePixelRatio(devicePixelRatioF());
  connect(&fPalette, &TPalette::ItemsChanged, this, &TPaletteColumn::ItemsChanged);
  connect(&fPalette, &TPalette::SelectItemRequested, this, &TPaletteColumn::SelectItem);
  connect(&fPalette, &TPalette::StateChanged, this, &TPaletteColumn::Refresh);
  connect(&fPalette, &TPalette::TilesetLoadStarted, this, &TPaletteColumn::BeginTilesetLoad);
  connect(&fPalette, &TPalette::TilesetLoadFinished, this, &TPaletteColumn::EndTilesetLoad);
}

TPaletteColumn::~TPaletteColumn() = default;

QWidget* TPaletteColumn::BuildPreviewPanel() {
  auto* panel = new TCleanPanel(QStringLiteral("Tile Preview"), this);
  panel->setObjectName(QStringLiteral("pnlPreview"));
  panel->setFixedHeight(kPreviewPanelHeight);
  fPreviewArea = panel->Client();
  fPreviewArea->setObjectName(QStringLiteral("Panel2"));
  fPreviewArea->installEventFilter(this);

  fPreviewImage = new QLabel(fPreviewArea);
  fPreviewImage->setObjectName(QStringLiteral("imgPreview"));
  fPreviewImage->setFixedSize(TPalette::kPreviewSize, TPalette::kPreviewSize);
  const char* const names[4] = {"btnFlipHorizontal", "btnRotateCClockwise", "btnFlipVertical",
                                "btnRotateClockwise"};
  const char* const pictures[4] = {"fliph", "rotccw", "flipv", "rotcw"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new TGrafxButton(fPreviewArea);
    button->setObjectName(QString::fromUtf8(names[i]));
    const QString picture = QString::fromUtf8(pictures[i]);
    const qreal ratio = devicePixelRatioF();
    button->SetPicNormal(ButtonArtPixmap(picture, kPreviewButtonSize, ratio));
    button->SetPicHiLight(ButtonArtHiLight(picture, kPreviewButtonSize, ratio));
    button->SetPicDisabled(ButtonArtDisabled(picture, kPreviewButtonSize, ratio));
    fPreviewButtons[i] = button;
  }
  return panel;
}

QWidget* TPaletteColumn::BuildPalettePanel() {
  auto* panel = new TCleanPanel(QStringLiteral("Palette"), this);
  panel->setObjectName(QStringLiteral("pnlPalette"));
  auto* layout = new QVBoxLayout(panel->Client());
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);

  fTilesetControls = new QWidget(panel->Client());
  fTilesetControls->setObjectName(QStringLiteral("pnlTilesetControls"));
  auto* boxes = new QGridLayout(fTilesetControls);
  boxes->setContentsMargins(0, 0, 0, 0);
  boxes->setVerticalSpacing(2);
  fTilesetBox = new QComboBox(fTilesetControls);
  fTilesetBox->setObjectName(QStringLiteral("cbxTileset"));
  fCategoryBox = new QComboBox(fTilesetControls);
  fCategoryBox->setObjectName(QStringLiteral("cbxCategory"));
  auto* tilesetLabel = new QLabel(QStringLiteral("Tileset:"), fTilesetControls);
  auto* categoryLabel = new QLabel(QStringLiteral("Category:"), fTilesetControls);
  tilesetLabel->setBuddy(fTilesetBox);
  categoryLabel->setBuddy(fCategoryBox);
  boxes->addWidget(tilesetLabel, 0, 0);
  boxes->addWidget(fTilesetBox, 1, 0);
  boxes->addWidget(categoryLabel, 2, 0);
  boxes->addWidget(fCategoryBox, 3, 0);
  layout->addWidget(fTilesetControls);

  // The rooms' wall style, beside the floors the palette offers.
  fWallStyleControls = new QWidget(panel->Client());
  fWallStyleControls->setObjectName(QStringLiteral("pnlWallStyle"));
  auto* wallRow = new QGridLayout(fWallStyleControls);
  wallRow->setContentsMargins(0, 0, 0, 0);
  wallRow->setVerticalSpacing(2);
  fWallStyleBox = new QComboBox(fWallStyleControls);
  fWallStyleBox->setObjectName(QStringLiteral("cbxWallStyle"));
  auto* wallLabel = new QLabel(QStringLiteral("Walls:"), fWallStyleControls);
  wallLabel->setBuddy(fWallStyleBox);
  wallRow->addWidget(wallLabel, 0, 0);
  wallRow->addWidget(fWallStyleBox, 1, 0);
  fWallStyleControls->hide();
  layout->addWidget(fWallStyleControls);

  fGrid = new TArrangeGrid(panel->Client());
  fGrid->setObjectName(QStringLiteral("grdTileGroups"));
  fGrid->SetCellWidth(TPalette::kCellSize);
  fGrid->SetCellHeight(TPalette::kCellSize);
  layout->addWidget(fGrid, 1);

  // The boxes report only what the user chose; refilling them is silent.
  connect(fTilesetBox, &QComboBox::activated, this,
          Guarded([this](int index) { fPalette.cbxTilesetChange(index); }));
  connect(fCategoryBox, &QComboBox::activated, this, Guarded([this](int index) {
            fPalette.cbxCategoryChange(index);
            fEngine.UpdateControls();
          }));
  connect(fWallStyleBox, &QComboBox::activated, this, Guarded([this](int index) {
            const std::vector<TWallStyle> styles = fEngine.WallStyles();
            if (index >= 0 && index < int(styles.size()))
              fEngine.SetWallStyle(styles[size_t(index)].Group);
          }));
  connect(fGrid, &TArrangeGrid::ItemSelected, this, Guarded([this](int index) {
            fPalette.grdTileGroupsSelect(index);
            fEngine.UpdateControls();
          }));
  connect(fGrid, &TArrangeGrid::DrawItem, this,
          [this](int index, bool selected, const QRect& bounds, QPainter& dest) {
            fPalette.grdTileGroupsDrawItem(index, selected, bounds, dest);
          });
  // Picking a group leaves the eraser for the place-tiles tool.
  connect(fGrid, &TArrangeGrid::MousePressed, this,
          Guarded([this](Qt::MouseButton, const QPoint&) { fEngine.grdTileGroupsMouseDown(); }));
  return panel;
}

void TPaletteColumn::SetPreviewActions(QAction* flipHorizontal, QAction* rotateCClockwise,
                                       QAction* flipVertical, QAction* rotateClockwise) {
  QAction* actions[4] = {flipHorizontal, rotateCClockwise, flipVertical, rotateClockwise};
  // The buttons stand for their actions: a click triggers the action, and
  // they follow its enabled state and hint.
  for (int i = 0; i < 4; ++i) {
    TGrafxButton* button = fPreviewButtons[i];
    QAction* action = actions[i];
    connect(button, &TGrafxButton::Click, action, &QAction::trigger);
    const auto follow = [button, action] {
      button->setEnabled(action->isEnabled());
      button->setToolTip(action->toolTip());
    };
    connect(action, &QAction::changed, button, follow);
    follow();
  }
}

void TPaletteColumn::SetEnabledStates(bool tilesetBox, bool categoryAndPalette) {
  const QColor window = palette().color(QPalette::Base);
  const QColor buttonFace = palette().color(QPalette::Button);
  fTilesetBox->setEnabled(tilesetBox);
  SetBackground(fTilesetBox, tilesetBox ? window : buttonFace);
  fCategoryBox->setEnabled(categoryAndPalette);
  SetBackground(fCategoryBox, categoryAndPalette ? window : buttonFace);
  fGrid->setEnabled(categoryAndPalette);
  fGrid->SetColor(categoryAndPalette ? window : buttonFace);
  fGrid->RedrawAll();
  fGrid->viewport()->update();
}

void TPaletteColumn::Refresh() {
  const QStringList names = fPalette.TilesetNames();
  {
    const QSignalBlocker blocker(fTilesetBox);
    QStringList shown;
    for (int i = 0; i < fTilesetBox->count(); ++i)
      shown << fTilesetBox->itemText(i);
    if (shown != names) {
      fTilesetBox->clear();
      fTilesetBox->addItems(names);
    }
    fTilesetBox->setCurrentIndex(fPalette.TilesetIndex());
    fTilesetBox->setToolTip(fPalette.TilesetHint());
  }
  {
    const QSignalBlocker blocker(fCategoryBox);
    QStringList shown;
    for (int i = 0; i < fCategoryBox->count(); ++i)
      shown << fCategoryBox->itemText(i);
    if (shown != fPalette.Categories()) {
      fCategoryBox->clear();
      fCategoryBox->addItems(fPalette.Categories());
    }
    fCategoryBox->setCurrentIndex(fPalette.CategoryIndex());
  }
  fTilesetControls->setVisible(fPalette.TilesetControlsVisible());
  fPreviewImage->setPixmap(QPixmap::fromImage(fPalette.Preview()));
  emit StatusText(fPalette.StatusText());
}

void TPaletteColumn::UpdateWallStyleBox() {
  const bool rooms = fEngine.Tool() == etRooms;
  fWallStyleControls->setVisible(rooms);
  if (!rooms) return;
  const std::vector<TWallStyle> styles = fEngine.WallStyles();
  if (!fEngine.WallStyle() && !styles.empty()) fEngine.SetWallStyle(styles.front().Group);
  const QSignalBlocker blocker(fWallStyleBox);
  fWallStyleBox->clear();
  for (const TWallStyle& style : styles) {
    fWallStyleBox->addItem(style.Name);
    if (style.Group == fEngine.WallStyle())
      fWallStyleBox->setCurrentIndex(fWallStyleBox->count() - 1);
  }
}

void TPaletteColumn::Panel2Resize() {
  const int imageWidth = fPreviewImage->width();
  const int imageHeight = fPreviewImage->height();
  const int left = fPreviewArea->width() / 2 - imageWidth / 2;
  const int top = fPreviewArea->height() / 2 - imageHeight / 2;
  fPreviewImage->move(left, top);
  const int bottomButtonTop = top + imageHeight - kPreviewButtonSize;
  fPreviewButtons[0]->move(left - 24, top + 4);
  fPreviewButtons[1]->move(left - 24, bottomButtonTop);
  fPreviewButtons[2]->move(left + imageWidth + 6, top);
  fPreviewButtons[3]->move(left + imageWidth + 6, bottomButtonTop);
}

bool TPaletteColumn::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fPreviewArea && event->type() == QEvent::Resize) Panel2Resize();
  return QWidget::eventFilter(watched, event);
}

void TPaletteColumn::ItemsChanged(int numItems) {
  fGrid->SetNumItems(numItems);
}

void TPaletteColumn::SelectItem(int index) {
  fGrid->SetSelected(index);
}

void TPaletteColumn::BeginTilesetLoad() {
  emit TilesetLoadStarted();
}

void TPaletteColumn::EndTilesetLoad() {
  emit TilesetLoadFinished();
}
