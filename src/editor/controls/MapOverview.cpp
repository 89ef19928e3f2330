#include "MapOverview.h"

#include "editor/MapGridModel.h"
#include "map/MapDocument.h"
#include "map/TileMapObjects.h"
#include "render/MapDrawing.h"
#include "render/MapGeometry.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {

// Room around the picture for its frame, in control pixels.
constexpr int kMargin = 3;
constexpr int kOutlineWidth = 2;

}  // namespace

TMapOverview::TMapOverview(TMapGridModel& grid, QWidget* parent) : QWidget(parent), fGrid(grid) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(60, 60);
  setCursor(Qt::PointingHandCursor);
  // The outline follows the grid's view however it moves: scroll bars,
  // zoom, the grid's own size.
  connect(&fGrid, &TMapGridModel::ViewMoved, this, [this] { update(); });
}

void TMapOverview::SetMap(const TTileMap* map) {
  disconnect(fChanged);
  disconnect(fFreed);
  fMap = map;
  fTiles.Clear();
  fStale = true;
  update();
  if (!fMap) return;
  TMapDocument* document = &fMap->Document();
  fChanged = connect(document, &TMapDocument::Changed, this, &TMapOverview::MapChanged);
  fFreed = connect(document, &QObject::destroyed, this, [this] { SetMap(nullptr); });
}

QSize TMapOverview::sizeHint() const {
  return QSize(180, 180);
}

// ---------------------------------------------------------------------------
// The picture

void TMapOverview::MapChanged(const TMapChange& change) {
  if (change.WholeMap)
    fStale = true;
  else
    fChangedSubCells |= change.SubCells;
  update(PictureRect().toAlignedRect());
}

void TMapOverview::BringUpToDate() {
  if (!fMap) return;
  if (fStale || fPicture.devicePixelRatio() != devicePixelRatioF()) {
    Rebuild();
  } else if (!fChangedSubCells.isEmpty()) {
    DrawSubCells(fChangedSubCells);
  }
  fChangedSubCells = QRect();
}

void TMapOverview::Rebuild() {
  fStale = false;
  const int cols = fMap->Width();
  const int rows = fMap->Height();
  const double ratio = devicePixelRatioF();
  if (cols <= 0 || rows <= 0) {
    fPicture = QImage();
    return;
  }
  // As large as the control allows, but every sub-cell at least a pixel: a
  // picture larger than the control is shown reduced.
  const double across = std::max(1, width() - 2 * kMargin) * ratio;
  const double down = std::max(1, height() - 2 * kMargin) * ratio;
  fSubCell = std::max(1.0, std::min(across / cols, down / rows));
  fPicture = QImage(SubCellEdge(cols, fSubCell), SubCellEdge(rows, fSubCell), QImage::Format_RGB32);
  DrawSubCells(QRect(0, 0, cols, rows));
  fPicture.setDevicePixelRatio(ratio);
}

void TMapOverview::DrawSubCells(const QRect& subCells) {
  const QRect area = subCells & QRect(0, 0, fMap->Width(), fMap->Height());
  if (area.isEmpty() || fPicture.isNull()) return;
  // Drawn at one image pixel per device pixel; the ratio is the picture's
  // again once it is drawn.
  const double ratio = fPicture.devicePixelRatio();
  fPicture.setDevicePixelRatio(1);
  {
    QPainter painter(&fPicture);
    const QColor background = palette().color(QPalette::Base);
    const TSubCellGeometry geometry(fSubCell, fSubCell);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const QRect rect = geometry.SubCellRect(x, y);
        if (rect.isEmpty()) continue;
        painter.fillRect(rect, background);
        DrawMapSubCell(*fMap, fTiles, painter, rect, lfAll, x, y);
      }
  }
  fPicture.setDevicePixelRatio(ratio);
}

// ---------------------------------------------------------------------------
// Geometry

QRectF TMapOverview::PictureRect() const {
  if (!fMap || fPicture.isNull()) return QRectF();
  const QSizeF room(std::max(1, width() - 2 * kMargin), std::max(1, height() - 2 * kMargin));
  QSizeF size = fPicture.deviceIndependentSize();
  if (size.width() > room.width() || size.height() > room.height())
    size.scale(room, Qt::KeepAspectRatio);
  return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QSizeF TMapOverview::Content() const {
  return QSizeF(double(fGrid.CellWidth()) * fGrid.CellColCount(),
                double(fGrid.CellHeight()) * fGrid.CellRowCount());
}

QRectF TMapOverview::VisibleContent() const {
  // A scroll bar covers the far side of the control.
  const int across =
      fGrid.ControlWidth() - (fGrid.ScrollMaxY() > 0 ? fGrid.ScrollBarThickness() : 0);
  const int down =
      fGrid.ControlHeight() - (fGrid.ScrollMaxX() > 0 ? fGrid.ScrollBarThickness() : 0);
  return QRectF(fGrid.ScrollX(), fGrid.ScrollY(), across, down) & QRectF(QPointF(), Content());
}

QRectF TMapOverview::ViewRect() const {
  const QRectF picture = PictureRect();
  const QSizeF content = Content();
  if (picture.isEmpty() || content.isEmpty()) return QRectF();
  const double sx = picture.width() / content.width();
  const double sy = picture.height() / content.height();
  const QRectF visible = VisibleContent();
  return QRectF(picture.left() + visible.left() * sx, picture.top() + visible.top() * sy,
                visible.width() * sx, visible.height() * sy);
}

QPointF TMapOverview::ContentAt(const QPointF& pos) const {
  const QRectF picture = PictureRect();
  const QSizeF content = Content();
  return QPointF((pos.x() - picture.left()) * content.width() / picture.width(),
                 (pos.y() - picture.top()) * content.height() / picture.height());
}

void TMapOverview::ScrollGridTo(const QPointF& topLeft) {
  fGrid.ScrollTo(TScrollBarKind::Horizontal, qRound(topLeft.x()));
  fGrid.ScrollTo(TScrollBarKind::Vertical, qRound(topLeft.y()));
}

// ---------------------------------------------------------------------------
// Events

void TMapOverview::paintEvent(QPaintEvent*) {
  BringUpToDate();
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const QRectF picture = PictureRect();
  if (picture.isEmpty()) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(picture, fPicture);
  painter.setPen(QPen(palette().color(QPalette::Mid), 1));
  painter.drawRect(picture.adjusted(-1, -1, 0, 0));
  // The visible part in the selection colour, drawn inside its edges so
  // that a view of the whole map still shows its outline.
  const QRectF view = ViewRect();
  if (view.isEmpty()) return;
  const double inset = kOutlineWidth / 2.0;
  painter.setPen(QPen(palette().color(QPalette::Highlight), kOutlineWidth));
  painter.drawRect(view.adjusted(inset, inset, -inset, -inset));
}

void TMapOverview::resizeEvent(QResizeEvent*) {
  fStale = true;
}

void TMapOverview::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    fStale = true;
    update();
  }
}

void TMapOverview::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || PictureRect().isEmpty()) return;
  const QPointF pos = event->position();
  const QRectF visible = VisibleContent();
  // Pressed inside the outline, the view moves with the point pressed;
  // elsewhere it centres on it first.
  fGrab = ViewRect().contains(pos) ? ContentAt(pos) - visible.topLeft()
                                   : QPointF(visible.width() / 2, visible.height() / 2);
  fDragging = true;
  ScrollGridTo(ContentAt(pos) - fGrab);
}

void TMapOverview::mouseMoveEvent(QMouseEvent* event) {
  if (fDragging && !PictureRect().isEmpty()) ScrollGridTo(ContentAt(event->position()) - fGrab);
}

void TMapOverview::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) fDragging = false;
}
