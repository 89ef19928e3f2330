#include "frmAboutU.h"

#include "Application.h"
#include "DialogParts.h"
#include "HelpWindow.h"
#include "ProgramVersion.h"
#include "WebBrowser.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <utility>

namespace {

TSystemInfoFinder& Finder() {
  static TSystemInfoFinder finder = FindSystemInfoProgram;
  return finder;
}

// The box's artwork: a corner of a battle map, a flagstone floor in a
// room whose walls meet in a corner, a door in the right wall, and the
// program's name on a banner below.
class TAboutArt : public QWidget {
 public:
  explicit TAboutArt(QWidget* parent) : QWidget(parent) { setFixedSize(176, 208); }

 protected:
  void paintEvent(QPaintEvent*) override {
    constexpr int kCell = 24;
    constexpr int kCells = 6;
    constexpr int kLeft = 16;
    constexpr int kTop = 12;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0xf3, 0xec, 0xdc));

    // Flagstones, each a slightly different shade so the floor looks laid.
    const QRect floor(kLeft, kTop, kCell * kCells, kCell * kCells);
    for (int r = 0; r < kCells; ++r) {
      for (int c = 0; c < kCells; ++c) {
        const int shade = 0xb4 + ((c * 7 + r * 13) % 5) * 6;
        p.fillRect(kLeft + c * kCell, kTop + r * kCell, kCell, kCell,
                   QColor(shade, shade - 6, shade - 16));
      }
    }
    p.setPen(QPen(QColor(0x5a, 0x52, 0x48), 1));
    for (int i = 0; i <= kCells; ++i) {
      p.drawLine(kLeft + i * kCell, kTop, kLeft + i * kCell, floor.bottom() + 1);
      p.drawLine(kLeft, kTop + i * kCell, floor.right() + 1, kTop + i * kCell);
    }

    // A table with two stools, set on the half-cell raster.
    p.setPen(QPen(QColor(0x4a, 0x2e, 0x16), 1.5));
    p.setBrush(QColor(0x9c, 0x6a, 0x3c));
    p.drawRoundedRect(QRectF(kLeft + 2.5 * kCell, kTop + 2.5 * kCell, 2 * kCell, kCell), 3, 3);
    p.setBrush(QColor(0x7d, 0x52, 0x2c));
    p.drawEllipse(QPointF(kLeft + 3 * kCell, kTop + 2.1 * kCell), 5, 5);
    p.drawEllipse(QPointF(kLeft + 4 * kCell, kTop + 3.9 * kCell), 5, 5);

    // Walls along the top and the left, joined in the corner, and the
    // right wall with a door in it.
    const QColor wall(0x3b, 0x36, 0x31);
    const int thick = 7;
    p.setPen(Qt::NoPen);
    p.setBrush(wall);
    p.drawRect(kLeft - thick / 2, kTop - thick / 2, floor.width() + thick, thick);
    p.drawRect(kLeft - thick / 2, kTop - thick / 2, thick, floor.height() + thick);
    const int rightX = floor.right() + 1 - thick / 2;
    p.drawRect(rightX, kTop, thick, 2 * kCell);
    p.drawRect(rightX, kTop + 3 * kCell, thick, 3 * kCell + thick / 2);
    p.setBrush(QColor(0x8a, 0x4b, 0x1e));
    p.setPen(QPen(QColor(0x3a, 0x1e, 0x0a), 1));
    p.drawRect(QRectF(rightX + 1, kTop + 2 * kCell, thick - 2, kCell));
    p.setBrush(QColor(0xd8, 0xb0, 0x40));
    p.drawEllipse(QPointF(rightX + thick / 2.0, kTop + 2.5 * kCell + 4), 1.5, 1.5);

    // The banner with the name.
    const QRectF banner(6, floor.bottom() + 10, width() - 12, 36);
    QLinearGradient fill(banner.topLeft(), banner.bottomLeft());
    fill.setColorAt(0, QColor(0x7a, 0x1f, 0x1f));
    fill.setColorAt(1, QColor(0x52, 0x12, 0x12));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0xd8, 0xb0, 0x40), 1.5));
    p.drawRoundedRect(banner, 4, 4);
    QFont title = font();
    title.setFamily(QStringLiteral("serif"));
    title.setPixelSize(22);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0xf6, 0xe7, 0xb8));
    p.drawText(banner, Qt::AlignCenter, QStringLiteral("Tessellan"));
  }
};

}  // namespace

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  QFont link = font();
  link.setUnderline(true);
  setFont(link);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colours.color(QPalette::Link));
  setPalette(colours);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit Clicked();
}

TSystemInfoFinder SetSystemInfoFinder(TSystemInfoFinder finder) {
  if (!finder) finder = FindSystemInfoProgram;
  return std::exchange(Finder(), std::move(finder));
}

QString FindSystemInfoProgram() {
  // Desktop programs that show the machine's hardware and system details.
  for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter", "i-nex"}) {
    const QString path = QStandardPaths::findExecutable(QLatin1String(name));
    if (!path.isEmpty()) return path;
  }
  return QString();
}

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About ") + ApplicationTitle());
  setProperty("HelpContext", 9);
  setModal(true);

  auto* name = new QLabel(ApplicationTitle(), this);
  QFont nameFont = name->font();
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
  nameFont.setBold(true);
  name->setFont(nameFont);
  fVersion = new QLabel(
      QStringLiteral("Version ") + GetFileVersionText(QCoreApplication::applicationFilePath()),
      this);
  fVersion->setObjectName(QStringLiteral("lblVersion"));
  auto* blurb = new QLabel(
      QStringLiteral("An editor for square-gridded battle maps: paint floors, place objects "
                     "and draw walls, then print them at the scale of your miniatures."),
      this);
  blurb->setWordWrap(true);
  auto* credit =
      new QLabel(QStringLiteral("Artwork and program by the Tessellan developers."), this);
  credit->setWordWrap(true);
  fWebLink = new TLinkLabel(kTessellanWebAddress, this);
  fWebLink->setObjectName(QStringLiteral("lblWebAddress"));
  connect(fWebLink, &TLinkLabel::Clicked, this,
          Guarded([] { OpenInDefaultBrowser(kTessellanWebAddress); }));

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(fVersion);
  text->addSpacing(8);
  text->addWidget(blurb);
  text->addWidget(credit);
  text->addSpacing(8);
  text->addWidget(fWebLink);
  text->addStretch();

  fTechSupport = new QPushButton(QStringLiteral("Tech Support"), this);
  fTechSupport->setObjectName(QStringLiteral("btnTechSupport"));
  fTechSupport->setAutoDefault(false);
  fSystemInfo = new QPushButton(QStringLiteral("System Info"), this);
  fSystemInfo->setObjectName(QStringLiteral("btnSystemInfo"));
  fSystemInfo->setAutoDefault(false);
  fOK = new QPushButton(QStringLiteral("OK"), this);
  fOK->setObjectName(QStringLiteral("btnOK"));
  fOK->setDefault(true);
  // OK comes last, so that without "System Info" it moves up to that place.
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(fTechSupport);
  buttons->addWidget(fSystemInfo);
  buttons->addWidget(fOK);
  buttons->addStretch();
  auto* buttonBox = new QWidget(this);
  buttonBox->setLayout(buttons);

  auto* right = new QHBoxLayout;
  right->addLayout(text, 1);
  auto* column = new QVBoxLayout;
  column->addWidget(buttonBox);
  right->addLayout(column);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(new TAboutArt(this), 0, Qt::AlignTop);
  layout->addSpacing(8);
  layout->addLayout(right, 1);
  setMinimumWidth(520);

  fSystemInfoProgram = Finder()();
  fSystemInfo->setVisible(!fSystemInfoProgram.isEmpty());

  connect(fOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(fTechSupport, &QPushButton::clicked, this,
          Guarded([] { ShowHelpTopic(QStringLiteral("TechnicalSupport.html")); }));
  connect(fSystemInfo, &QPushButton::clicked, this,
          Guarded([this] { QProcess::startDetached(fSystemInfoProgram, {}); }));
  FixAndCentre(this, owner);
}

void TfrmAbout::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // Without a window frame the box draws its own: a dark outer line and a
  // light inner one, so it stands out on any background.
  QPainter p(this);
  p.setPen(palette().color(QPalette::Shadow));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(palette().color(QPalette::Light));
  p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void ShowAbout(QWidget* owner) {
  TfrmAbout about(owner);
  about.exec();
}
