#include "frmOptionsU.h"

#include "DialogParts.h"
#include "DialogRunner.h"
#include "MapNameCheck.h"
#include "app/settings/SettingsStore.h"
#include "map/SubCells.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMaxSquares = 100;
constexpr int kMaxRecentFiles = 9;

void SetNumber(const char* name, int value) {
  Settings().SetValue(QLatin1String(name), QString::number(value));
}

}  // namespace

TfrmOptions::TfrmOptions(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(QStringLiteral("Options"));
  setProperty("HelpContext", 4);

  fPages = new QTabWidget(this);
  auto* defaults = new QWidget(fPages);
  fName = new QLineEdit(defaults);
  fName->setObjectName(QStringLiteral("edtMapName"));
  fGridSize = MakeGridSizeList(defaults);
  fWidth = MakeSpinBox(defaults, 1, kMaxSquares, 1);
  fHeight = MakeSpinBox(defaults, 1, kMaxSquares, 1);
  auto* defaultsForm = new QFormLayout(defaults);
  defaultsForm->addRow(QStringLiteral("Default Map Name:"), fName);
  defaultsForm->addRow(QStringLiteral("Printed Grid Size:"), fGridSize);
  defaultsForm->addRow(QStringLiteral("Map Width (columns):"), fWidth);
  defaultsForm->addRow(QStringLiteral("Map Height (rows):"), fHeight);
  fPages->addTab(defaults, QStringLiteral("Default Map Settings"));

  auto* application = new QWidget(fPages);
  fRecentFiles = MakeSpinBox(application, 0, kMaxRecentFiles, 0);
  auto* recentLabel = new QLabel(QStringLiteral("&Recently Used File List:"), application);
  recentLabel->setBuddy(fRecentFiles);
  auto* recentRow = new QHBoxLayout(application);
  recentRow->addWidget(recentLabel);
  recentRow->addWidget(fRecentFiles);
  recentRow->addWidget(new QLabel(QStringLiteral("entries"), application));
  recentRow->addStretch();
  fPages->addTab(application, QStringLiteral("Application Settings"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fPages);
  layout->addWidget(MakeOKCancel(this, &fOK));
  FixAndCentre(this, owner);
}

void TfrmOptions::Fill() {
  fRecentFiles->setValue(IntSetting(QStringLiteral("MRULen")));
  fName->setText(Settings().Value(QStringLiteral("DefMapName")));
  fWidth->setValue(IntSetting(QStringLiteral("DefMapWidth")) / kSubCellsPerCell);
  fHeight->setValue(IntSetting(QStringLiteral("DefMapHeight")) / kSubCellsPerCell);
  fGridSize->setCurrentIndex(GridSizeIndex(GridSizes[IntSetting(QStringLiteral("DefTileSize"))]));
}

void TfrmOptions::Apply() const {
  SetNumber("MRULen", fRecentFiles->value());
  Settings().SetValue(QStringLiteral("DefMapName"), fName->text());
  SetNumber("DefMapWidth", fWidth->value() * kSubCellsPerCell);
  SetNumber("DefMapHeight", fHeight->value() * kSubCellsPerCell);
  SetNumber("DefTileSize", fGridSize->currentIndex());
}

void TfrmOptions::accept() {
  if (CheckMapName(*fName, TMapNameKind::DefaultMapName, this)) QDialog::accept();
}

void ShowOptions(QWidget* owner) {
  TfrmOptions dialog(owner);
  dialog.Fill();
  if (RunDialog(dialog) == QDialog::Accepted) dialog.Apply();
}
