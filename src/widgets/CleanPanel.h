#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

class QVBoxLayout;

// A panel with a caption bar drawn in its frame: a 20-pixel strip in the
// caption colour across the top, and a 2-pixel flat bevel in the same colour
// around the area below it, where Client() holds the panel's controls.
class TCleanPanel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QColor CaptionColor READ CaptionColor WRITE SetCaptionColor)
  Q_PROPERTY(QColor CaptionTextColor READ CaptionTextColor WRITE SetCaptionTextColor)
  Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)

 public:
  static constexpr int kCaptionHeight = 20;
  static constexpr int kBevelWidth = 2;
  // How far the caption's text starts from the left edge.
  static constexpr int kCaptionIndent = 10;

  explicit TCleanPanel(const QString& caption = QString(), QWidget* parent = nullptr);

  QString Caption() const { return fCaption; }
  void SetCaption(const QString& caption);
  // The strip's and the bevel's colour; invalid for the highlight colour.
  QColor CaptionColor() const;
  void SetCaptionColor(const QColor& color);
  // The caption's colour; invalid for the highlighted-text colour.
  QColor CaptionTextColor() const;
  void SetCaptionTextColor(const QColor& color);
  // The margin between the bevel and the client area.
  int BorderWidth() const { return fBorderWidth; }
  void SetBorderWidth(int width);

  // Where the panel's controls go.
  QWidget* Client() const { return fClient; }
  QRect CaptionRect() const;

  QSize sizeHint() const override { return QSize(100, 100); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void UpdateMargins();

  QString fCaption;
  QColor fCaptionColor;
  QColor fCaptionTextColor;
  int fBorderWidth = 5;
  QVBoxLayout* fLayout = nullptr;
  QWidget* fClient = nullptr;
};
