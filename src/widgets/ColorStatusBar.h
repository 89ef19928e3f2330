#pragma once

#include <QColor>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QStatusBar>
#include <QString>
#include <QStringList>

#include <vector>

class QFontMetrics;
class QPainter;
class TColorStatusBar;
class TImageList;

// The colours of one status panel; an invalid colour stands for the system
// colour of that part (button face, button highlight, button shadow).
struct TStatusPanelColors {
  QColor BackColor;
  QColor BorderHighLightColor;
  QColor BorderShadowColor;
  QColor FlatBorderColor;
};

enum class TStatusPanelAlignment { Left, Right, Center };
enum class TStatusPanelBevel { Lowered, None, Raised, Flat };
enum class TStatusPanelStyle { Text, OwnerDraw };

// One panel of a TColorStatusBar. The bar owns its panels; every change of a
// panel repaints the bar, which lays the panels out again before it paints.
class TColorStatusPanel : public QObject {
  Q_OBJECT

 public:
  TStatusPanelAlignment Alignment() const { return fAlignment; }
  void SetAlignment(TStatusPanelAlignment alignment);
  TStatusPanelBevel Bevel() const { return fBevel; }
  void SetBevel(TStatusPanelBevel bevel);
  const TStatusPanelColors& Colors() const { return fColors; }
  void SetColors(const TStatusPanelColors& colors);
  // The panel is as wide as its text and picture instead of Width.
  bool FitToContent() const { return fFitToContent; }
  void SetFitToContent(bool fit);
  // The picture of the bar's image list, -1 for none.
  int ImageIndex() const { return fImageIndex; }
  void SetImageIndex(int index);
  QString Text() const { return fText; }
  void SetText(const QString& text);
  QString Hint() const { return fHint; }
  void SetHint(const QString& hint) { fHint = hint; }
  // A spring panel takes the width the bar has to spare.
  bool Spring() const { return fSpring; }
  void SetSpring(bool spring);
  TStatusPanelStyle Style() const { return fStyle; }
  void SetStyle(TStatusPanelStyle style);
  int Tag() const { return fTag; }
  void SetTag(int tag) { fTag = tag; }
  bool Visible() const { return fVisible; }
  void SetVisible(bool visible);
  int Width() const { return fWidth; }
  void SetWidth(int width);

  // Where the last layout put the panel, in bar coordinates.
  QRect Rect() const { return fRect; }
  // The width the panel needs for its text and picture.
  int ContentWidth(const QFontMetrics& metrics) const;
  bool HasImage() const;

 signals:
  void Click();
  void DblClick();
  // The panel's hint is about to be shown.
  void HintShow();

 private:
  friend class TColorStatusBar;
  explicit TColorStatusPanel(TColorStatusBar* bar);
  void Changed();

  TColorStatusBar* fBar;  // not owned: the bar owns the panel
  TStatusPanelAlignment fAlignment = TStatusPanelAlignment::Left;
  TStatusPanelBevel fBevel = TStatusPanelBevel::Lowered;
  TStatusPanelColors fColors;
  bool fFitToContent = false;
  int fImageIndex = -1;
  QString fText;
  QString fHint;
  bool fSpring = false;
  TStatusPanelStyle fStyle = TStatusPanelStyle::Text;
  int fTag = 0;
  bool fVisible = true;
  int fWidth = 50;
  QRect fRect;
};

// A status bar of individually styled panels, each with its own bevel,
// colours, picture, hint and click events, or one line of text across the
// whole bar in simple mode. It is a QStatusBar so that a main window can hold
// it, but it paints everything itself: a status tip shown by the window never
// replaces the panels. The bottom right corner sizes the window.
class TColorStatusBar : public QStatusBar {
  Q_OBJECT
  Q_PROPERTY(bool SimplePanel READ SimplePanel WRITE SetSimplePanel)
  Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)
  Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)
  Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE SetUseSystemFont)

 public:
  // The bar's height on a 96 dpi screen.
  static constexpr int kBaseHeight = 19;
  // The gap between neighbouring panels.
  static constexpr int kPanelGap = 2;

  explicit TColorStatusBar(QWidget* parent = nullptr);
  ~TColorStatusBar() override;

  int PanelCount() const { return static_cast<int>(fPanels.size()); }
  TColorStatusPanel* AddPanel();
  // Adds panels of the given widths (the main window's 24/200/50 and so on).
  void AddPanels(const std::vector<int>& widths);
  TColorStatusPanel* Panel(int index) const;
  void ClearPanels();

  // The pictures of the panels' ImageIndex (not owned; none when null).
  const TImageList* Images() const { return fImages; }
  void SetImages(const TImageList* images);

  bool SimplePanel() const { return fSimplePanel; }
  void SetSimplePanel(bool simple);
  QString SimpleText() const { return fSimpleText; }
  void SetSimpleText(const QString& text);
  // The bar's own hint, shown in simple mode.
  QString Hint() const { return fHint; }
  void SetHint(const QString& hint) { fHint = hint; }
  bool SizeGrip() const { return fSizeGrip; }
  void SetSizeGrip(bool grip);
  bool UseSystemFont() const { return fUseSystemFont; }
  void SetUseSystemFont(bool use);
  // The bar's background; invalid for the button face.
  QColor Color() const { return fColor; }
  void SetColor(const QColor& color);

  // Shortcuts for the panels by index, so code written for a plain status
  // bar with labels reads the same.
  QString PanelText(int panel) const;
  void SetPanelText(int panel, const QString& text);
  void SetPanelImage(int panel, int imageIndex);
  bool PanelHasImage(int panel) const;
  QString PanelHint(int panel) const;
  void SetPanelHint(int panel, const QString& hint);

  // Computes every panel's rectangle for the current width; painting does
  // this first.
  void UpdatePanelRects();
  // The panel whose rectangle holds pos, -1 for none.
  int PanelAt(const QPoint& pos) const;
  // The Width a panel other than the last needs to show each of the texts
  // whole in the bar's font.
  int PanelWidthFor(const QStringList& texts) const;
  // The room kept for the size grip: one vertical scroll bar wide.
  int GripWidth() const;
  // The size grip's corner; empty when no grip is shown.
  QRect GripRect() const;
  QFont TextFont() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The bar's own events, raised in simple mode.
  void Click();
  void DblClick();
  void HintShow();
  // Paints an owner-drawn panel into its rectangle.
  void DrawPanel(QPainter& painter, TColorStatusPanel* panel, const QRect& rect);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  friend class TColorStatusPanel;
  void PanelChanged();
  void UpdateHeight();
  bool ShowsGrip() const;
  void PaintPanel(QPainter& painter, TColorStatusPanel& panel, QRect rect, bool last);
  void ShowHint(const QPoint& pos, const QPoint& globalPos);

  std::vector<TColorStatusPanel*> fPanels;  // owned through QObject parenting
  const TImageList* fImages = nullptr;
  bool fSimplePanel = false;
  QString fSimpleText;
  QString fHint;
  bool fSizeGrip = true;
  bool fUseSystemFont = true;
  QColor fColor;
  // Sizing the window by hand where the platform cannot do it.
  bool fSizing = false;
  QPoint fSizingStart;
  QSize fSizingStartSize;
};
