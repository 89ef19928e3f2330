#pragma once

#include "render/ScaledTiles.h"

#include <QImage>
#include <QMetaObject>
#include <QPointF>
#include <QRectF>
#include <QWidget>

class TMapGridModel;
class TTileMap;
struct TMapChange;

// The whole current map drawn small, with the part the map grid shows
// outlined. A click centres the grid's view on the point clicked; a drag
// moves the view along, keeping the point pressed inside the outline under
// the pointer. The picture follows the map's change reports, drawing again
// only the sub-cells a change touched, and the outline follows the grid's
// view; nothing runs on a timer, and nothing is drawn while the control is
// hidden.
class TMapOverview : public QWidget {
  Q_OBJECT

 public:
  // The grid is not owned and outlives the control.
  explicit TMapOverview(TMapGridModel& grid, QWidget* parent = nullptr);

  // The map shown (not owned), or none. A map that is freed leaves none.
  const TTileMap* Map() const { return fMap; }
  void SetMap(const TTileMap* map);

  // Where the map's picture lies in the control, and the outline of the
  // part the grid shows (empty without a map).
  QRectF PictureRect() const;
  QRectF ViewRect() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void MapChanged(const TMapChange& change);
  // Makes the picture anew for the control's size, or draws the sub-cells
  // marked changed, when the control is shown.
  void BringUpToDate();
  void Rebuild();
  void DrawSubCells(const QRect& subCells);
  // The grid's content (all its cells) in pixels, and its visible part.
  QSizeF Content() const;
  QRectF VisibleContent() const;
  // The content point of the grid under a point of the control.
  QPointF ContentAt(const QPointF& pos) const;
  // Scrolls the grid so that the visible part's top-left lies at a content
  // point.
  void ScrollGridTo(const QPointF& topLeft);

  TMapGridModel& fGrid;
  const TTileMap* fMap = nullptr;
  QMetaObject::Connection fChanged;
  QMetaObject::Connection fFreed;
  TScaledTileCache fTiles;
  // The picture in device pixels, and the size of a sub-cell in it.
  QImage fPicture;
  double fSubCell = 0;
  bool fStale = true;
  QRect fChangedSubCells;
  // While the button drags the view: the pressed content point's offset
  // from the view's top-left.
  bool fDragging = false;
  QPointF fGrab;
};
