#include "MapFieldsDialog.h"

#include "DialogParts.h"
#include "app/settings/SettingsStore.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

TMapFieldsDialog::TMapFieldsDialog(QWidget* owner, const TLayout& layout)
    : QDialog(owner), fNameKind(layout.NameKind) {
  setObjectName(QLatin1String(layout.ObjectName));
  setProperty("HelpContext", layout.HelpContext);

  fPages = new QTabWidget(this);
  auto* page = new QWidget(fPages);
  fName = new QLineEdit(page);
  fName->setObjectName(QStringLiteral("edtMapName"));
  fGridSize = new QComboBox(page);
  for (const char* name : GridSizeNames)
    fGridSize->addItem(QString::fromUtf8(name));
  fWidth = MakeSpinBox(page, 1, layout.MaxSquares, layout.InitialSquares);
  fHeight = MakeSpinBox(page, 1, layout.MaxSquares, layout.InitialSquares);
  auto* form = new QFormLayout(page);
  form->addRow(QString::fromUtf8(layout.NameLabel), fName);
  form->addRow(QStringLiteral("Printed Grid Size:"), fGridSize);
  form->addRow(QStringLiteral("Map Width (columns):"), fWidth);
  form->addRow(QStringLiteral("Map Height (rows):"), fHeight);
  fPages->addTab(page, QString::fromUtf8(layout.PageTitle));
}

void TMapFieldsDialog::Finish(QWidget* owner) {
  auto* buttons = new QDialogButtonBox(this);
  fOK = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  fOK->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fPages);
  layout->addWidget(buttons);
  FixAndCentre(this, owner);
}

void TMapFieldsDialog::accept() {
  if (CheckMapName(*fName, fNameKind, this)) QDialog::accept();
}
