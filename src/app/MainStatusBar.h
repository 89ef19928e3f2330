#pragma once

#include <QPixmap>
#include <QStatusBar>
#include <QString>

class QLabel;

// The main window's status bar: three panels side by side (the modified
// indicator, 24 pixels; the map's grid size, 200; the selected group, taking
// the rest of the width) or, in single-text mode, one line of text across the
// whole bar, used while a tileset loads.
class TMainStatusBar : public QStatusBar {
 public:
  static constexpr int kPanelCount = 3;
  static const int kPanelWidths[kPanelCount];

  explicit TMainStatusBar(QWidget* parent = nullptr);

  QString PanelText(int panel) const;
  void SetPanelText(int panel, const QString& text);
  // A panel's picture (none when null) and its hint.
  void SetPanelImage(int panel, const QPixmap& image);
  bool PanelHasImage(int panel) const;
  void SetPanelHint(int panel, const QString& hint);
  QString PanelHint(int panel) const;
  QLabel* Panel(int panel) const { return fPanels[panel]; }

  bool SimplePanel() const { return fSimple; }
  // Switches between the panels and the single text, repainting at once.
  void SetSimplePanel(bool simple);
  QString SimpleText() const;
  void SetSimpleText(const QString& text);

 private:
  QLabel* fPanels[kPanelCount] = {};
  QLabel* fSimpleLabel = nullptr;
  bool fSimple = false;
};
