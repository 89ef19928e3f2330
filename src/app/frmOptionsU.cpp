#include "frmOptionsU.h"

#include "DialogParts.h"
#include "DialogRunner.h"
#include "app/settings/SettingsStore.h"
#include "map/SubCells.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

constexpr int kMaxSquares = 100;
constexpr int kMaxRecentFiles = 9;

void SetNumber(const char* name, int value) {
  Settings().SetValue(QLatin1String(name), QString::number(value));
}

}  // namespace

TfrmOptions::TfrmOptions(QWidget* owner)
    : TMapFieldsDialog(owner, {"frmOptions", "Default Map Settings", "Default Map Name:", 4,
                               kMaxSquares, 1, TMapNameKind::DefaultMapName}) {
  setWindowTitle(QStringLiteral("Options"));
  auto* application = new QWidget(Pages());
  fRecentFiles = MakeSpinBox(application, 0, kMaxRecentFiles, 0);
  auto* recentLabel = new QLabel(QStringLiteral("&Recently Used File List:"), application);
  recentLabel->setBuddy(fRecentFiles);
  auto* recentRow = new QHBoxLayout(application);
  recentRow->addWidget(recentLabel);
  recentRow->addWidget(fRecentFiles);
  recentRow->addWidget(new QLabel(QStringLiteral("entries"), application));
  recentRow->addStretch();
  Pages()->addTab(application, QStringLiteral("Application Settings"));
  Finish(owner);
}

void TfrmOptions::Fill() {
  fRecentFiles->setValue(IntSetting(QStringLiteral("MRULen")));
  MapNameEdit()->setText(Settings().Value(QStringLiteral("DefMapName")));
  WidthSpin()->setValue(IntSetting(QStringLiteral("DefMapWidth")) / kSubCellsPerCell);
  HeightSpin()->setValue(IntSetting(QStringLiteral("DefMapHeight")) / kSubCellsPerCell);
  GridSizeList()->setCurrentIndex(
      GridSizeIndex(GridSizes[IntSetting(QStringLiteral("DefTileSize"))]));
}

void TfrmOptions::Apply() const {
  SetNumber("MRULen", fRecentFiles->value());
  Settings().SetValue(QStringLiteral("DefMapName"), MapNameEdit()->text());
  SetNumber("DefMapWidth", WidthSpin()->value() * kSubCellsPerCell);
  SetNumber("DefMapHeight", HeightSpin()->value() * kSubCellsPerCell);
  SetNumber("DefTileSize", GridSizeList()->currentIndex());
}

void ShowOptions(QWidget* owner) {
  TfrmOptions dialog(owner);
  dialog.Fill();
  if (RunDialog(dialog) == QDialog::Accepted) dialog.Apply();
}
