#include "AddPictureDialog.h"

#include "tiles/PictureCutter.h"
#include "tiles/TileObjects.h"
#include "tiles/WallStrip.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int kThumbnail = 240;
// A wall strip is shown large enough to check each piece by eye.
constexpr int kWallPieceThumbnail = 56;

// Whether any pixel of the picture is less than opaque.
bool HasTransparency(const QImage& picture) {
  if (!picture.hasAlphaChannel()) return false;
  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(row[x]) < 255) return true;
  }
  return false;
}

// The commonest colour of the picture's outer edge and the share of the
// edge it covers: a background left for keying out runs round the picture,
// while the art itself rarely fills the edge with one colour.
std::pair<QRgb, double> CommonestEdgeColor(const QImage& picture) {
  if (picture.isNull()) return {qRgb(255, 0, 255), 0.0};
  QHash<QRgb, int> counts;
  int total = 0;
  const auto count = [&](int x, int y) {
    ++counts[picture.pixel(x, y) | 0xFF000000];
    ++total;
  };
  const int right = picture.width() - 1;
  const int bottom = picture.height() - 1;
  for (int x = 0; x <= right; ++x) {
    count(x, 0);
    count(x, bottom);
  }
  for (int y = 1; y < bottom; ++y) {
    count(0, y);
    count(right, y);
  }
  QRgb best = 0;
  int bestCount = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    if (it.value() > bestCount) {
      best = it.key();
      bestCount = it.value();
    }
  return {best, double(bestCount) / total};
}

QSpinBox* CountSpin(QWidget* parent, int maximum) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(1, maximum);
  return spin;
}

}  // namespace

TAddPictureDialog::TAddPictureDialog(QWidget* owner, const QImage& picture, const QString& name,
                                     const QStringList& categories, bool wallStrip)
    : QDialog(owner), fPicture(picture), fWallStrip(wallStrip) {
  setObjectName(QStringLiteral("AddPictureDialog"));
  setWindowTitle(wallStrip ? QStringLiteral("Add Wall Style")
                           : QStringLiteral("Add Group from Picture"));
  const auto [edge, share] = CommonestEdgeColor(picture);
  fKeyColor = edge;
  // Objects drawn on a flat background are keyed by default; floors cover
  // their squares whole, and pictures with alpha bring their transparency.
  fProposeKey = !picture.hasAlphaChannel() && share >= 0.5;

  auto* thumbnail = new QLabel(this);
  thumbnail->setObjectName(QStringLiteral("Thumbnail"));
  const QSize shown =
      wallStrip ? WallStripSize(kWallPieceThumbnail) : QSize(kThumbnail, kThumbnail);
  // Drawn at the screen's own pixels, so a scaled screen shows it sharp.
  const qreal ratio = devicePixelRatioF();
  QPixmap pixmap = QPixmap::fromImage(
      picture.scaled(shown * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  pixmap.setDevicePixelRatio(ratio);
  thumbnail->setPixmap(pixmap);
  thumbnail->setAlignment(Qt::AlignCenter);
  thumbnail->setMinimumSize(shown.width(), std::min(shown.height(), kThumbnail / 2));
  auto* size =
      new QLabel(QStringLiteral("%1 × %2 pixels").arg(picture.width()).arg(picture.height()), this);

  auto* form = new QFormLayout;
  fName = new QLineEdit(name, this);
  fName->setObjectName(QStringLiteral("Name"));
  form->addRow(QStringLiteral("&Name:"), fName);
  if (!wallStrip) {
    fDescription = new QLineEdit(this);
    form->addRow(QStringLiteral("&Description:"), fDescription);
    fCategory = new QComboBox(this);
    fCategory->setEditable(true);
    fCategory->addItems(categories);
    form->addRow(QStringLiteral("&Category:"), fCategory);
    fType = new QComboBox(this);
    fType->setObjectName(QStringLiteral("Type"));
    for (const char* type : GroupTypeNames)
      fType->addItem(QString::fromLatin1(type));
    // A picture with see-through parts is an object to set on the floor.
    if (HasTransparency(picture)) fType->setCurrentIndex(gtObjects);
    form->addRow(QStringLiteral("&Type:"), fType);
    fPlacement = new QComboBox(this);
    for (const char* place : PlaceTypeNames)
      fPlacement->addItem(QString::fromLatin1(place));
    form->addRow(QStringLiteral("&Placement:"), fPlacement);

    auto* sheet = new QHBoxLayout;
    fSheetColumns = CountSpin(this, kMaxSquares);
    fSheetRows = CountSpin(this, kMaxSquares);
    sheet->addWidget(fSheetColumns);
    sheet->addWidget(new QLabel(QStringLiteral("across by"), this));
    sheet->addWidget(fSheetRows);
    sheet->addWidget(new QLabel(QStringLiteral("down"), this));
    sheet->addStretch();
    form->addRow(QStringLiteral("Groups in the picture:"), sheet);

    fProposals = new QComboBox(this);
    fProposals->setObjectName(QStringLiteral("Proposals"));
    form->addRow(QStringLiteral("Square size:"), fProposals);
    auto* squares = new QHBoxLayout;
    fAcross = CountSpin(this, kMaxSquares);
    fDown = CountSpin(this, kMaxSquares);
    squares->addWidget(fAcross);
    squares->addWidget(new QLabel(QStringLiteral("across by"), this));
    squares->addWidget(fDown);
    squares->addWidget(new QLabel(QStringLiteral("down"), this));
    squares->addStretch();
    form->addRow(QStringLiteral("Squares per group:"), squares);
    connect(fSheetColumns, &QSpinBox::valueChanged, this, [this] { FillProposals(); });
    connect(fSheetRows, &QSpinBox::valueChanged, this, [this] { FillProposals(); });
    connect(fType, &QComboBox::currentIndexChanged, this, [this](int type) {
      if (!fKeyChosen) fUseKey->setChecked(fProposeKey && type == gtObjects);
    });
    connect(fProposals, &QComboBox::activated, this, [this](int i) { ProposalChosen(i); });
    connect(fAcross, &QSpinBox::valueChanged, this, [this] { CountsEdited(); });
    connect(fDown, &QSpinBox::valueChanged, this, [this] { CountsEdited(); });
  }

  auto* transparency = new QHBoxLayout;
  fUseKey = new QCheckBox(QStringLiteral("&Key colour:"), this);
  fUseKey->setToolTip(
      QStringLiteral("Without a key colour the picture's own transparency is used."));
  fKeyButton = new QPushButton(this);
  fKeyButton->setFixedWidth(80);
  transparency->addWidget(fUseKey);
  transparency->addWidget(fKeyButton);
  transparency->addStretch();
  form->addRow(QStringLiteral("Transparency:"), transparency);
  fUseKey->setChecked(fProposeKey && wallStrip);
  connect(fUseKey, &QCheckBox::clicked, this, [this] { fKeyChosen = true; });
  connect(fKeyButton, &QPushButton::clicked, this, [this] { PickKeyColor(); });
  ShowKeyColor();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(thumbnail);
  layout->addWidget(size, 0, Qt::AlignHCenter);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (!wallStrip) FillProposals();
}

void TAddPictureDialog::FillProposals() {
  const QSize piece(fPicture.width() / fSheetColumns->value(),
                    fPicture.height() / fSheetRows->value());
  fProposals->clear();
  for (const TSquareCount& count : ProposeSquareCounts(piece))
    fProposals->addItem(QStringLiteral("%1 px per square: %2 × %3 squares")
                            .arg(count.SquareSize)
                            .arg(count.Across)
                            .arg(count.Down),
                        QSize(count.Across, count.Down));
  if (fProposals->count() > 0) ProposalChosen(0);
}

void TAddPictureDialog::ProposalChosen(int index) {
  const QSize count = fProposals->itemData(index).toSize();
  fSettingCounts = true;
  fAcross->setValue(count.width());
  fDown->setValue(count.height());
  fSettingCounts = false;
  CountsEdited();
}

void TAddPictureDialog::CountsEdited() {
  if (fSettingCounts) return;
  const QSize count(fAcross->value(), fDown->value());
  // A count set by hand that no proposal makes gets an entry of its own.
  const int byHand = fProposals->findData(QStringLiteral("by hand"), Qt::UserRole + 1);
  if (byHand >= 0) fProposals->removeItem(byHand);
  for (int i = 0; i < fProposals->count(); ++i)
    if (fProposals->itemData(i).toSize() == count) {
      fProposals->setCurrentIndex(i);
      return;
    }
  const QSize piece(fPicture.width() / fSheetColumns->value(),
                    fPicture.height() / fSheetRows->value());
  const int wide = piece.width() / count.width();
  const int high = piece.height() / count.height();
  fProposals->addItem(
      (wide == high ? QStringLiteral("%1 px per square").arg(wide)
                    : QStringLiteral("%1 × %2 px per square").arg(wide).arg(high)) +
          QStringLiteral(": %1 × %2 squares, set by hand").arg(count.width()).arg(count.height()),
      count);
  fProposals->setItemData(fProposals->count() - 1, QStringLiteral("by hand"), Qt::UserRole + 1);
  fProposals->setCurrentIndex(fProposals->count() - 1);
}

void TAddPictureDialog::PickKeyColor() {
  const QColor color =
      QColorDialog::getColor(QColor(fKeyColor), this, QStringLiteral("Key Colour"));
  if (!color.isValid()) return;
  fKeyColor = color.rgb();
  fUseKey->setChecked(true);
  fKeyChosen = true;
  ShowKeyColor();
}

void TAddPictureDialog::ShowKeyColor() {
  fKeyButton->setText(QColor(fKeyColor).name());
  fKeyButton->setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                                .arg(QColor(fKeyColor).name(), qGray(fKeyColor) < 128
                                                                   ? QStringLiteral("white")
                                                                   : QStringLiteral("black")));
}

TPictureGroups TAddPictureDialog::Choice() const {
  TPictureGroups choice;
  choice.Name = fName->text();
  if (fUseKey->isChecked()) choice.KeyColor = fKeyColor;
  if (fWallStrip) return choice;
  choice.Description = fDescription->text();
  choice.Category = fCategory->currentText();
  choice.FType = quint8(fType->currentIndex());
  choice.PlaceType = quint8(fPlacement->currentIndex());
  choice.Across = fAcross->value();
  choice.Down = fDown->value();
  choice.SheetColumns = fSheetColumns->value();
  choice.SheetRows = fSheetRows->value();
  return choice;
}
