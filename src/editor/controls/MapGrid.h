#pragma once

#include "editor/MapGridModel.h"
#include "editor/SavedPixels.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>

class QKeyEvent;
class QMenu;
class QPainter;
class QTimer;

// The map grid control: shows a grid of cells over which the user points at
// cells, half-cells or edges. Its behaviour lives in the model (Model());
// this widget supplies the mouse, the 100 ms outline timer, two scroll bars
// and an off-screen picture as large as the control, into which everything
// is drawn and which paint events only copy to the screen. Hover and
// selection outlines are drawn over saved pixels and removed by restoring
// them, so moving the mouse never repaints cells.
class TMapGrid : public QAbstractScrollArea, private TMapGridView {
  Q_OBJECT

 public:
  explicit TMapGrid(QWidget* parent = nullptr);
  ~TMapGrid() override;

  TMapGridModel& Model() { return fModel; }
  const TMapGridModel& Model() const { return fModel; }

  // The background of the grid (the owner sets the window colour while the
  // grid is enabled and the button-face colour while it is disabled).
  QColor Color() const { return fColor; }
  void SetColor(const QColor& color);
  // The context menu; not owned.
  QMenu* PopupMenu() const { return fPopupMenu; }
  void SetPopupMenu(QMenu* menu) { fPopupMenu = menu; }

  const QImage& Picture() const { return fPicture; }
  QTimer* OutlineTimer() const { return fTimer; }

 signals:
  // Paints one sub-cell: cell (ACol, ARow), sub-cell (ASubCol, ASubRow)
  // within it, its rectangle in control pixels, the canvas of the grid's
  // off-screen picture and whether the cell lies in the selection. The
  // receiver draws inside the rectangle only.
  void DrawSubCell(int ACol, int ARow, int ASubCol, int ASubRow, const QRect& Rect,
                   QPainter& CtrlCanvas, bool IsSelected);
  // Keys, which the grid has none of its own for; without a receiver they go
  // to the parent.
  void KeyPressed(QKeyEvent* event);
  void KeyReleased(QKeyEvent* event);
  // Ctrl + mouse wheel: one zoom step in or out about a point of the control.
  void ZoomRequested(bool zoomIn, const QPoint& at);

 protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  // TMapGridView
  void PaintRegion(const TRedrawRange& range) override;
  void EraseArea(const TPixelRect& area) override;
  void SavePixels(TSavedArea area, const TPixelRect& rect) override;
  void RestorePixels(TSavedArea area) override;
  void ForgetPixels(TSavedArea area) override;
  void DrawOutline(const TPixelRect& rect, std::uint8_t phase) override;
  void Show() override;
  void SetScrollRanges(int maxX, int maxY) override;
  void SetScrollPositions(int x, int y) override;
  void TakeFocus() override;

  TSavedPixels& Saved(TSavedArea area) {
    return area == TSavedArea::Hover ? fHoverPixels : fSelectionPixels;
  }
  // Keeps the saved copies equal to the picture after it changed underneath.
  void Repainted(const TPixelRect& area);
  void ResizeToControl();

  TMapGridModel fModel;
  QImage fPicture;
  TSavedPixels fHoverPixels;
  TSavedPixels fSelectionPixels;
  TPixelRect fDirty;
  QColor fColor;
  QMenu* fPopupMenu = nullptr;
  QTimer* fTimer = nullptr;
  bool fSyncingBars = false;
  // While the middle button drags the view: where it was pressed and the
  // scroll positions then.
  bool fPanning = false;
  QPoint fPanStart;
  QPoint fPanScroll;
  // Wheel turns add up until they make a whole step.
  int fWheelAngle = 0;
};
