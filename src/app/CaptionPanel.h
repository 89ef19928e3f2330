#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QVBoxLayout;

// A framed panel with a coloured caption strip along its top, holding other
// controls below it: the "Tile Preview", "Palette" and "Map" panels.
class TCaptionPanel : public QFrame {
 public:
  explicit TCaptionPanel(const QString& caption, QWidget* parent = nullptr);

  QString Caption() const;
  void SetCaption(const QString& caption);
  // Where the panel's controls go.
  QWidget* Client() const { return fClient; }

 private:
  QLabel* fCaption = nullptr;
  QWidget* fClient = nullptr;
};
