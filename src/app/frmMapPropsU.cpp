#include "frmMapPropsU.h"

#include "DialogRunner.h"
#include "app/settings/SettingsStore.h"
#include "map/SubCells.h"
#include "map/TileMapObjects.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

// Spin boxes count squares; the map counts sub-cells.
constexpr int kMaxSquares = 50;

}  // namespace

TfrmMapProps::TfrmMapProps(QWidget* owner, bool newMap)
    : TMapFieldsDialog(owner, {"frmMapProps", "Properties", "Map Name:", 2, kMaxSquares, 10,
                               TMapNameKind::MapName}) {
  setWindowTitle(newMap ? QStringLiteral("New Map") : QStringLiteral("Map Properties"));
  auto* additional = new QWidget(Pages());
  fAuthor = new QLineEdit(additional);
  fDescription = new QPlainTextEdit(additional);
  fDescription->setMinimumSize(320, 96);
  auto* form = new QFormLayout(additional);
  form->addRow(QStringLiteral("Author:"), fAuthor);
  form->addRow(QStringLiteral("Description:"), fDescription);
  Pages()->addTab(additional, QStringLiteral("Additional"));
  Finish(owner);
  OKButton()->setEnabled(false);
  connect(MapNameEdit(), &QLineEdit::textChanged, this,
          [this](const QString& text) { OKButton()->setEnabled(!text.isEmpty()); });
}

void TfrmMapProps::Fill(const TTileMap& map) {
  MapNameEdit()->setText(map.MapName());
  // The name is what the user came to type: it holds the focus when the
  // dialog opens, with its text selected so that typing replaces it.
  MapNameEdit()->selectAll();
  MapNameEdit()->setFocus();
  fAuthor->setText(map.AuthorName());
  fDescription->setPlainText(map.Information());
  // The spin boxes bring a map wider than they allow to their bound.
  WidthSpin()->setValue(map.Width() / kSubCellsPerCell);
  HeightSpin()->setValue(map.Height() / kSubCellsPerCell);
  GridSizeList()->setCurrentIndex(GridSizeIndex(map.TileSize()));
}

void TfrmMapProps::Apply(TTileMap& map) const {
  map.SetMapName(MapNameEdit()->text());
  map.SetAuthorName(fAuthor->text());
  map.SetInformation(fDescription->toPlainText());
  map.SetWidth(WidthSpin()->value() * kSubCellsPerCell);
  map.SetHeight(HeightSpin()->value() * kSubCellsPerCell);
  map.SetTileSize(GridSizes[GridSizeList()->currentIndex()]);
  map.SetModified(true);
  Settings().SetValue(QStringLiteral("Author"), fAuthor->text());
}

bool EditMapProperties(QWidget* owner, TTileMap& map, bool newMap) {
  TfrmMapProps dialog(owner, newMap);
  dialog.Fill(map);
  if (RunDialog(dialog) != QDialog::Accepted) return false;
  dialog.Apply(map);
  return true;
}
