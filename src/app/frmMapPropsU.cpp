#include "frmMapPropsU.h"

#include "DialogParts.h"
#include "DialogRunner.h"
#include "MapNameCheck.h"
#include "app/settings/SettingsStore.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Spin boxes count squares; the map counts sub-cells.
constexpr int kMaxSquares = 50;

}  // namespace

TfrmMapProps::TfrmMapProps(QWidget* owner, bool newMap) : QDialog(owner) {
  setObjectName(QStringLiteral("frmMapProps"));
  setWindowTitle(newMap ? QStringLiteral("New Map") : QStringLiteral("Map Properties"));
  setProperty("HelpContext", 2);

  fPages = new QTabWidget(this);
  auto* properties = new QWidget(fPages);
  fName = new QLineEdit(properties);
  fName->setObjectName(QStringLiteral("edtMapName"));
  fGridSize = MakeGridSizeList(properties);
  fWidth = MakeSpinBox(properties, 1, kMaxSquares, 10);
  fHeight = MakeSpinBox(properties, 1, kMaxSquares, 10);
  auto* propertiesForm = new QFormLayout(properties);
  propertiesForm->addRow(QStringLiteral("Map Name:"), fName);
  propertiesForm->addRow(QStringLiteral("Printed Grid Size:"), fGridSize);
  propertiesForm->addRow(QStringLiteral("Map Width (columns):"), fWidth);
  propertiesForm->addRow(QStringLiteral("Map Height (rows):"), fHeight);
  fPages->addTab(properties, QStringLiteral("Properties"));

  auto* additional = new QWidget(fPages);
  fAuthor = new QLineEdit(additional);
  fDescription = new QPlainTextEdit(additional);
  fDescription->setMinimumSize(320, 120);
  auto* additionalForm = new QFormLayout(additional);
  additionalForm->addRow(QStringLiteral("Author:"), fAuthor);
  additionalForm->addRow(QStringLiteral("Description:"), fDescription);
  fPages->addTab(additional, QStringLiteral("Additional"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fPages);
  layout->addWidget(MakeOKCancel(this, &fOK));
  fOK->setEnabled(false);
  connect(fName, &QLineEdit::textChanged, this,
          [this](const QString& text) { fOK->setEnabled(!text.isEmpty()); });
  FixAndCentre(this, owner);
}

void TfrmMapProps::Fill(const TTileMap& map) {
  fName->setText(map.MapName());
  fAuthor->setText(map.AuthorName());
  fDescription->setPlainText(map.Information());
  // The spin boxes bring a map wider than they allow to their bound.
  fWidth->setValue(map.Width() / kSubCellsPerCell);
  fHeight->setValue(map.Height() / kSubCellsPerCell);
  fGridSize->setCurrentIndex(GridSizeIndex(map.TileSize()));
}

void TfrmMapProps::Apply(TTileMap& map) const {
  map.SetMapName(fName->text());
  map.SetAuthorName(fAuthor->text());
  map.SetInformation(fDescription->toPlainText());
  map.SetWidth(fWidth->value() * kSubCellsPerCell);
  map.SetHeight(fHeight->value() * kSubCellsPerCell);
  map.SetTileSize(GridSizes[fGridSize->currentIndex()]);
  map.SetModified(true);
  Settings().SetValue(QStringLiteral("Author"), fAuthor->text());
}

void TfrmMapProps::accept() {
  if (CheckMapName(*fName, TMapNameKind::MapName, this)) QDialog::accept();
}

bool EditMapProperties(QWidget* owner, TTileMap& map, bool newMap) {
  TfrmMapProps dialog(owner, newMap);
  dialog.Fill(map);
  if (RunDialog(dialog) != QDialog::Accepted) return false;
  dialog.Apply(map);
  return true;
}
