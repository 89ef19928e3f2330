#include "frmSplash.h"

#include "base/Busy.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kSquare = 40;

// A stretch of flagstone floor under a title: the grid a map is painted on.
void PaintSplash(QPainter& painter) {
  QLinearGradient ground(0, 0, kWidth, kHeight);
  ground.setColorAt(0, QColor(58, 52, 46));
  ground.setColorAt(1, QColor(28, 25, 22));
  painter.fillRect(0, 0, kWidth, kHeight, ground);
  for (int y = 0; y < kHeight; y += kSquare)
    for (int x = 0; x < kWidth; x += kSquare) {
      // A fixed pattern of lighter and darker stones.
      const int shade = ((x * 7 + y * 13) / kSquare) % 5;
      painter.fillRect(x + 1, y + 1, kSquare - 2, kSquare - 2,
                       QColor(92 + shade * 6, 84 + shade * 5, 72 + shade * 4, 110));
    }
  painter.setPen(QPen(QColor(20, 18, 16, 160), 1));
  for (int x = 0; x <= kWidth; x += kSquare)
    painter.drawLine(x, 0, x, kHeight);
  for (int y = 0; y <= kHeight; y += kSquare)
    painter.drawLine(0, y, kWidth, y);

  painter.fillRect(0, 120, kWidth, 120, QColor(16, 14, 12, 200));
  QFont title = painter.font();
  title.setPixelSize(56);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(QColor(236, 214, 168));
  painter.drawText(QRect(0, 126, kWidth, 70), Qt::AlignCenter, QStringLiteral("Tessellan"));
  QFont subtitle = painter.font();
  subtitle.setPixelSize(16);
  subtitle.setBold(false);
  painter.setFont(subtitle);
  painter.setPen(QColor(200, 190, 170));
  painter.drawText(QRect(0, 190, kWidth, 20), Qt::AlignCenter,
                   QStringLiteral("Battle maps at the scale of your miniatures"));
}

}  // namespace

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setFixedSize(kWidth, kHeight);
  flblTileset = new QLabel(this);
  flblTileset->setObjectName(QStringLiteral("lblTileset"));
  flblTileset->setAttribute(Qt::WA_TranslucentBackground);
  flblTileset->setStyleSheet(QStringLiteral("color: rgb(236, 214, 168);"));
  flblTileset->setGeometry(7, 215, kWidth - 14, 20);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

void TfrmSplash::SplashProgress(const QString& text) {
  flblTileset->setText(text);
  flblTileset->repaint();
  ProcessPendingMessages();
}

void TfrmSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintSplash(painter);
}
