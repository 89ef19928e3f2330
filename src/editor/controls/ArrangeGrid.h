#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>

#include <cstdint>

class QKeyEvent;
class QPainter;
class QTimer;

// The palette grid: NumItems items of CellWidth x CellHeight pixels laid out
// row by row in as many columns as the client width holds, scrolled
// vertically, one of them selected and outlined by a moving dashed border.
// It knows item indices only; the owner draws each item on DrawItem. All
// drawing goes to an off-screen picture of the client area, at the screen's
// device pixel ratio, that paint events copy to the screen.
class TArrangeGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TArrangeGrid(QWidget* parent = nullptr);

  int NumItems() const { return fNumItems; }
  // Negative values are ignored; a selection beyond the new count is
  // dropped without an ItemSelected.
  void SetNumItems(int value);
  int CellWidth() const { return fCellWidth; }
  void SetCellWidth(int value);
  int CellHeight() const { return fCellHeight; }
  void SetCellHeight(int value);
  // The selected item, -1 for none.
  int Selected() const { return fSelected; }
  // Selects an item (indices outside the items are ignored) and emits
  // ItemSelected, also when it was selected already.
  void SetSelected(int index);
  QColor Color() const { return fColor; }
  void SetColor(const QColor& color);

  // Columns of the layout: the client width in whole cells, at least one.
  int Columns() const;
  // The item under a client point, or -1 when the point names none.
  int ItemAt(int x, int y) const;
  QRect ItemRect(int index) const;
  int ScrollPos() const { return fScroll; }
  int ScrollLimit() const { return fScrollLimit; }

  // Fills the picture with Color and, while enabled, draws every item.
  void RedrawAll();
  // One step of the selected item's outline animation.
  void TickOutline();
  const QImage& Picture() const { return fPicture; }
  QTimer* OutlineTimer() const { return fTimer; }

 signals:
  void ItemSelected(int Index);
  // Paints one item into Bounds on the off-screen picture.
  void DrawItem(int Index, bool Selected, const QRect& Bounds, QPainter& Dest);
  void MousePressed(Qt::MouseButton button, const QPoint& position);
  void MouseReleased(Qt::MouseButton button, const QPoint& position);
  // Before the grid's own arrow-key handling.
  void KeyPressed(QKeyEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollLimit();
  QImage NewPicture() const;
  // The picture's extent in the client's coordinates.
  QRect PictureBounds() const;
  bool ItemsDrawn() const;
  void RedrawItem(int index, bool selected);
  void Show() { viewport()->update(); }

  int fNumItems = 0;
  int fCellWidth = 10;
  int fCellHeight = 10;
  int fSelected = -1;
  QColor fColor;
  int fScroll = 0;
  int fScrollLimit = 0;
  QImage fPicture;
  bool fPressNoted = false;
  bool fSyncingBar = false;
  bool fInLayout = false;
  bool fLayoutAgain = false;
  std::uint8_t fPhase = 0;
  QTimer* fTimer = nullptr;
};
