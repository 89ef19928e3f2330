#include "GrfxBtn.h"

#include <QEnterEvent>
#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

const QRgb kTransparentColour = qRgb(255, 0, 255);

int Slot(TGrafxPicture which) {
  return static_cast<int>(which);
}

// The picture with its magenta pixels cleared.
QPixmap WithoutMagenta(const QPixmap& picture) {
  if (picture.isNull()) return picture;
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xffffff) == (kTransparentColour & 0xffffff) && qAlpha(line[x]) == 255)
        line[x] = 0;
    }
  }
  QPixmap result = QPixmap::fromImage(image);
  result.setDevicePixelRatio(picture.devicePixelRatio());
  return result;
}

}  // namespace

TGrafxButton::TGrafxButton(QWidget* parent) : QWidget(parent) {
  resize(30, 30);
  fRepeatTimer = new QTimer(this);
  fRepeatTimer->setObjectName(QStringLiteral("tmrRepeat"));
  fRepeatTimer->setTimerType(Qt::PreciseTimer);
  connect(fRepeatTimer, &QTimer::timeout, this, &TGrafxButton::RepeatClick);
}

QPixmap TGrafxButton::Picture(TGrafxPicture which) const {
  return fPictures[Slot(which)];
}

void TGrafxButton::SetPicture(TGrafxPicture which, const QPixmap& picture) {
  fPictures[Slot(which)] = picture;
  fPainted[Slot(which)] = WithoutMagenta(picture);
  update();
}

void TGrafxButton::SetPicNormal(const QPixmap& picture) {
  SetPicture(TGrafxPicture::Normal, picture);
  if (!picture.isNull()) resize(picture.deviceIndependentSize().toSize());
  updateGeometry();
}

QSize TGrafxButton::sizeHint() const {
  const QPixmap& normal = fPictures[Slot(TGrafxPicture::Normal)];
  return normal.isNull() ? QSize(30, 30) : normal.deviceIndependentSize().toSize();
}

void TGrafxButton::SetToggle(bool toggle) {
  fToggle = toggle;
  update();
}

void TGrafxButton::SetToggleState(TToggleState state) {
  fToggleState = state;
  update();
}

TGrafxPicture TGrafxButton::CurrentPicture() const {
  TGrafxPicture which = TGrafxPicture::Normal;
  if (!isEnabled())
    which = TGrafxPicture::Disabled;
  else if (fToggle && fToggleState == TToggleState::Down)
    which = TGrafxPicture::Pushed;
  else if (fMouseOver)
    which = fPressed ? TGrafxPicture::Pushed : TGrafxPicture::HiLight;
  if (fPictures[Slot(which)].isNull()) which = TGrafxPicture::Normal;
  if (fPictures[Slot(which)].isNull()) which = TGrafxPicture::None;
  return which;
}

void TGrafxButton::paintEvent(QPaintEvent*) {
  const TGrafxPicture which = CurrentPicture();
  if (which == TGrafxPicture::None) return;
  QPainter(this).drawPixmap(0, 0, fPainted[Slot(which)]);
}

void TGrafxButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  fPressed = true;
  fMouseOver = rect().contains(event->position().toPoint());
  repaint();
  if (fRepeating) fRepeatTimer->start(kRepeatDelay);
}

void TGrafxButton::mouseMoveEvent(QMouseEvent* event) {
  // While the button is held the pointer is grabbed: no enter or leave
  // arrives, so the move decides whether it is over the button.
  if (!fPressed) return QWidget::mouseMoveEvent(event);
  const bool over = rect().contains(event->position().toPoint());
  if (over != fMouseOver) {
    fMouseOver = over;
    update();
  }
}

void TGrafxButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !fPressed) return QWidget::mouseReleaseEvent(event);
  fPressed = false;
  fRepeatTimer->stop();
  fMouseOver = rect().contains(event->position().toPoint());
  if (fMouseOver) {
    if (fToggle)
      fToggleState = fToggleState == TToggleState::Up ? TToggleState::Down : TToggleState::Up;
    repaint();
    emit Click();
  } else {
    update();
  }
}

void TGrafxButton::RepeatClick() {
  fRepeatTimer->setInterval(kRepeatInterval);
  emit Click();
}

void TGrafxButton::enterEvent(QEnterEvent* event) {
  fMouseOver = true;
  if (!(fToggle && fToggleState == TToggleState::Down)) update();
  emit MouseEnter();
  QWidget::enterEvent(event);
}

void TGrafxButton::leaveEvent(QEvent* event) {
  fMouseOver = false;
  update();
  emit MouseLeave();
  QWidget::leaveEvent(event);
}

void TGrafxButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) repaint();
  QWidget::changeEvent(event);
}
