#pragma once

#include "editor/MapGridModel.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>

class QKeyEvent;
class QMenu;
class QTimer;
class TSubCellPainter;

// The map grid control: shows a grid of cells over which the user points at
// cells, half-cells or edges. Its behaviour lives in the model (Model());
// this widget supplies the mouse, the 100 ms outline timer, two scroll bars
// and an off-screen picture of the cells as large as the control, at the
// screen's device pixel ratio. Cells are drawn into the picture only when
// they change; a paint event copies the picture to the screen and draws the
// hover and selection outlines over it, so moving the mouse never repaints
// cells.
class TMapGrid : public QAbstractScrollArea, private TMapGridView {
  Q_OBJECT

 public:
  explicit TMapGrid(QWidget* parent = nullptr);
  ~TMapGrid() override;

  TMapGridModel& Model() { return fModel; }
  const TMapGridModel& Model() const { return fModel; }

  // Paints the sub-cells (not owned; none leaves the cells empty). Setting
  // it repaints the grid.
  TSubCellPainter* OnDrawSubCell() const { return fDrawSubCell; }
  void SetOnDrawSubCell(TSubCellPainter* painter);

  // The background of the grid (the owner sets the window colour while the
  // grid is enabled and the button-face colour while it is disabled).
  QColor Color() const { return fColor; }
  void SetColor(const QColor& color);
  // The context menu; not owned.
  QMenu* PopupMenu() const { return fPopupMenu; }
  void SetPopupMenu(QMenu* menu) { fPopupMenu = menu; }

  // The cells as drawn, without outlines: control size times the device
  // pixel ratio, which the picture carries.
  const QImage& Picture() const { return fPicture; }
  // What the control shows: the picture with the outlines over it.
  QImage ShownPicture() const;
  QTimer* OutlineTimer() const { return fTimer; }

 signals:
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
  void ShowOutlines(const TGridOutline& selection, const TGridOutline& hover) override;
  void Show() override;
  void SetScrollRanges(int maxX, int maxY) override;
  void SetScrollPositions(int x, int y) override;
  void TakeFocus() override;

  // Draws the outlines over whatever painter paints the picture into.
  void PaintOutlines(QPainter& painter) const;
  void ResizeToControl();

  TMapGridModel fModel;
  TSubCellPainter* fDrawSubCell = nullptr;
  QImage fPicture;
  TGridOutline fSelectionOutline;
  TGridOutline fHoverOutline;
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
