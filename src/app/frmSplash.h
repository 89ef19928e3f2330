#pragma once

#include <QWidget>

class QLabel;

// The window shown while the tilesets load: borderless, 600 × 400, centred,
// a picture filling it and the progress text at (7, 215).
class TfrmSplash : public QWidget {
 public:
  explicit TfrmSplash(QWidget* parent = nullptr);

  QLabel* ProgressLabel() const { return flblTileset; }
  // Shows a progress text at once, processing pending events.
  void SplashProgress(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* flblTileset;
};
