#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

class QTimer;

enum class TToggleState { Up, Down };

// Which of a picture button's pictures is painted.
enum class TGrafxPicture { None, Normal, HiLight, Pushed, Disabled };

// A button drawn entirely from pictures: one for each of normal, highlighted
// (mouse over), pushed and disabled, falling back to the normal picture.
// Magenta (255, 0, 255) pixels are transparent. A toggle button stays down
// between clicks; a repeating one clicks again and again while held.
class TGrafxButton : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QPixmap PicNormal READ PicNormal WRITE SetPicNormal)
  Q_PROPERTY(QPixmap PicHiLight READ PicHiLight WRITE SetPicHiLight)
  Q_PROPERTY(QPixmap PicPushed READ PicPushed WRITE SetPicPushed)
  Q_PROPERTY(QPixmap PicDisabled READ PicDisabled WRITE SetPicDisabled)
  Q_PROPERTY(bool Toggle READ Toggle WRITE SetToggle)
  Q_PROPERTY(bool Repeating READ Repeating WRITE SetRepeating)

 public:
  // The first repeat follows the press after this delay, the next ones
  // after the interval.
  static constexpr int kRepeatDelay = 400;
  static constexpr int kRepeatInterval = 50;

  explicit TGrafxButton(QWidget* parent = nullptr);

  QPixmap PicNormal() const { return Picture(TGrafxPicture::Normal); }
  // Also sizes the button to the picture.
  void SetPicNormal(const QPixmap& picture);
  QPixmap PicHiLight() const { return Picture(TGrafxPicture::HiLight); }
  void SetPicHiLight(const QPixmap& picture) { SetPicture(TGrafxPicture::HiLight, picture); }
  QPixmap PicPushed() const { return Picture(TGrafxPicture::Pushed); }
  void SetPicPushed(const QPixmap& picture) { SetPicture(TGrafxPicture::Pushed, picture); }
  QPixmap PicDisabled() const { return Picture(TGrafxPicture::Disabled); }
  void SetPicDisabled(const QPixmap& picture) { SetPicture(TGrafxPicture::Disabled, picture); }

  bool Toggle() const { return fToggle; }
  void SetToggle(bool toggle);
  TToggleState ToggleState() const { return fToggleState; }
  void SetToggleState(TToggleState state);
  bool Repeating() const { return fRepeating; }
  void SetRepeating(bool repeating) { fRepeating = repeating; }

  // The picture the button paints in its present state.
  TGrafxPicture CurrentPicture() const;
  // The timer of the repeated clicks.
  QTimer* RepeatTimer() const { return fRepeatTimer; }

  QSize sizeHint() const override;

 signals:
  void Click();
  void MouseEnter();
  void MouseLeave();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QPixmap Picture(TGrafxPicture which) const;
  void SetPicture(TGrafxPicture which, const QPixmap& picture);
  void RepeatClick();

  // The pictures as assigned and as painted (magenta made transparent),
  // indexed by TGrafxPicture.
  std::array<QPixmap, 5> fPictures;
  std::array<QPixmap, 5> fPainted;
  bool fToggle = false;
  TToggleState fToggleState = TToggleState::Up;
  bool fRepeating = false;
  bool fMouseOver = false;
  bool fPressed = false;
  QTimer* fRepeatTimer = nullptr;
};
