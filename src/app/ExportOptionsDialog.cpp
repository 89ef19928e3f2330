#include "ExportOptionsDialog.h"

#include "DialogParts.h"
#include "HelpWindow.h"
#include "base/Error.h"
#include "base/MessageService.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TExportOptionsDialog::TExportOptionsDialog(QWidget* owner, const TTileMap& map,
                                           const TExportOptions& options)
    : QDialog(owner), fMap(map), fFormat(options.Format) {
  setObjectName(QStringLiteral("ExportOptions"));
  setWindowTitle(QStringLiteral("Export Options"));
  setProperty("HelpContext", kExportHelpContext);
  auto* layout = new QVBoxLayout(this);

  auto* form = new QFormLayout;
  static const char* const kFormatNames[] = {"Bitmap picture (BMP)", "PNG picture", "JPEG picture",
                                             "Universal VTT file"};
  form->addRow(QStringLiteral("Format:"),
               new QLabel(QString::fromUtf8(kFormatNames[int(options.Format)]), this));
  fPixels = MakeSpinBox(this, kMinPixelsPerSquare, kMaxPixelsPerSquare, options.PixelsPerSquare);
  fPixels->setObjectName(QStringLiteral("PixelsPerSquare"));
  form->addRow(QStringLiteral("&Pixels per grid square:"), fPixels);
  fSize = new QLabel(this);
  fSize->setObjectName(QStringLiteral("PictureSize"));
  // Wide enough for the largest picture, so the dialog keeps its size.
  fSize->setMinimumWidth(fSize->fontMetrics().horizontalAdvance(
      QStringLiteral("60,000 × 60,000 pixels, 99,999.9 MB")));
  form->addRow(QStringLiteral("Picture size:"), fSize);
  layout->addLayout(form);

  auto* layers = new QGroupBox(QStringLiteral("Layers"), this);
  auto* layerBoxes = new QVBoxLayout(layers);
  auto layerBox = [&](const QString& caption, TLayerFlag flag) {
    auto* box = new QCheckBox(caption, layers);
    box->setChecked(options.Layers & flag);
    layerBoxes->addWidget(box);
    connect(box, &QCheckBox::toggled, this, &TExportOptionsDialog::UpdateSize);
    return box;
  };
  fBase = layerBox(QStringLiteral("&Base (floors)"), lfBase);
  fObjects = layerBox(QStringLiteral("&Objects"), lfObjects);
  fWalls = layerBox(QStringLiteral("&Walls"), lfWalls);
  layout->addWidget(layers);

  fGrid = new QCheckBox(QStringLiteral("&Grid lines"), this);
  fGrid->setChecked(options.GridLines);
  layout->addWidget(fGrid);

  fProblem = new QLabel(this);
  fProblem->setObjectName(QStringLiteral("Problem"));
  fProblem->setWordWrap(true);
  layout->addWidget(fProblem);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  fOK = buttons->button(QDialogButtonBox::Ok);
  fOK->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(fPixels, &QSpinBox::valueChanged, this, &TExportOptionsDialog::UpdateSize);
  UpdateSize();
  FixAndCentre(this, owner);
}

QCheckBox* TExportOptionsDialog::LayerBox(TLayerFlag layer) const {
  return layer == lfBase ? fBase : layer == lfObjects ? fObjects : fWalls;
}

TExportOptions TExportOptionsDialog::Options() const {
  TExportOptions options;
  options.PixelsPerSquare = fPixels->value();
  options.Layers =
      quint8((fBase->isChecked() ? lfBase : 0) | (fObjects->isChecked() ? lfObjects : 0) |
             (fWalls->isChecked() ? lfWalls : 0));
  options.GridLines = fGrid->isChecked();
  options.Format = fFormat;
  return options;
}

void TExportOptionsDialog::UpdateSize() {
  const TExportSize size = ExportPictureSize(fMap, fPixels->value());
  const QLocale locale;
  // The uncompressed picture, as a bitmap file holds it; the other formats
  // compress it.
  fSize->setText(QStringLiteral("%1 × %2 pixels, %3 MB")
                     .arg(locale.toString(size.Width), locale.toString(size.Height),
                          locale.toString(double(size.Bytes) / (1024.0 * 1024.0), 'f', 1)));
  // Options that cannot be exported say why at once, and OK waits.
  QString problem;
  try {
    CheckExportOptions(fMap, Options());
  } catch (const TError& error) {
    problem = error.Message();
  }
  fProblem->setText(problem);
  fProblem->setVisible(!problem.isEmpty());
  fOK->setEnabled(problem.isEmpty());
}

void TExportOptionsDialog::accept() {
  try {
    CheckExportOptions(fMap, Options());
  } catch (const TError& error) {
    ShowMessage(error.Message(), windowTitle(), TMsgIcon::Warning, mbOK, this);
    return;
  }
  QDialog::accept();
}
