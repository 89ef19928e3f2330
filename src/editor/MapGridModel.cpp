#include "MapGridModel.h"
#include "OutlinePattern.h"

#include <algorithm>

namespace {

// Division rounding towards minus infinity: a mouse dragged left of or above
// the control (the capture keeps reporting it) must land in a negative cell,
// not in cell 0 as truncation would put it.
int FloorDiv(int a, int b) {
  int q = a / b;
  if (a % b != 0 && (a < 0) != (b < 0)) --q;
  return q;
}

int FloorMod(int a, int b) {
  return a - FloorDiv(a, b) * b;
}

// One axis of SetSelection's normalisation: a last value beyond the first is
// clamped to the grid, otherwise the two ends are exchanged.
void NormaliseAxis(int& first, int& last, int& firstSub, int& lastSub, int count, int subCount) {
  if (last > first) {
    if (last >= count) {
      last = count - 1;
      lastSub = subCount - 1;
    }
  } else {
    std::swap(first, last);
    std::swap(firstSub, lastSub);
    // Only a caller passing a negative last value gets here; a selection
    // starting off the grid would name cells that do not exist.
    if (first < 0) {
      first = 0;
      firstSub = 0;
    }
  }
}

// Whether point p lies in the triangle a, b, c, borders included.
bool InTriangle(int px, int py, int ax, int ay, int bx, int by, int cx, int cy) {
  auto side = [](long long x1, long long y1, long long x2, long long y2, long long x3,
                 long long y3) { return (x2 - x1) * (y3 - y1) - (y2 - y1) * (x3 - x1); };
  const long long d1 = side(ax, ay, bx, by, px, py);
  const long long d2 = side(bx, by, cx, cy, px, py);
  const long long d3 = side(cx, cy, ax, ay, px, py);
  const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

// One axis of a footprint of `cells` cells centred on content pixel p: the
// first cell and sub-cell of the raster position nearest to centring it, on
// a raster of whole cells (perCell 1) or of sub-cells, kept within `count`
// cells where the footprint fits.
void CentredAxis(int p, int cellSize, int perCell, int count, int cells, int& cell, int& sub) {
  const int unit = std::max(1, cellSize / perCell);
  const int first = std::clamp(FloorDiv(2 * p - cells * cellSize + unit, 2 * unit), 0,
                               std::max(0, (count - cells) * perCell));
  cell = first / perCell;
  sub = first % perCell;
}

}  // namespace

TMapGridModel::TMapGridModel() = default;

// ---------------------------------------------------------------------------
// Properties

void TMapGridModel::SetCellWidth(int value) {
  if (value <= 0) return;
  fCellWidth = value;
  UpdateScrollLimits();
  DropOutline(TOutlineKind::Hover);
  DropOutline(TOutlineKind::Selection);
  RedrawAll();
  Show();
}

void TMapGridModel::SetCellHeight(int value) {
  if (value <= 0) return;
  fCellHeight = value;
  UpdateScrollLimits();
  DropOutline(TOutlineKind::Hover);
  DropOutline(TOutlineKind::Selection);
  RedrawAll();
  Show();
}

void TMapGridModel::SetCellColCount(int value) {
  if (value < 0) return;
  // The repaint of the new last column must cover whole cells.
  const TSelectType selectType = fSelectType;
  fSelectType = TSelectType::FullCell;
  const int old = fColCount;
  if (value < old && fView && !fSuspended)
    fView->EraseArea({value * fCellWidth - fScrollX, -fScrollY, old * fCellWidth - fScrollX + 1,
                      fRowCount * fCellHeight - fScrollY + 1});
  fColCount = value;
  if (fSel.FirstCol >= 0 && (fSel.LastCol > value - 1 || fSel.FirstCol > value - 1))
    fSel.FirstCol = fSel.LastCol = -1;
  const int scrollX = fScrollX;
  UpdateScrollLimits();
  if (fScrollX != scrollX) {
    // The view shifted: every column is somewhere else now.
    RedrawAll();
  } else {
    // Growing draws every new column; both cases draw the closing line.
    const int first = value > old ? old : value - 1;
    RedrawRegion(first, 0, value - 1, fRowCount - 1);
  }
  DropOutline(TOutlineKind::Hover);
  DropOutline(TOutlineKind::Selection);
  fSelectType = selectType;
  Show();
}

void TMapGridModel::SetCellRowCount(int value) {
  if (value < 0) return;
  const TSelectType selectType = fSelectType;
  fSelectType = TSelectType::FullCell;
  const int old = fRowCount;
  if (value < old && fView && !fSuspended)
    fView->EraseArea({-fScrollX, value * fCellHeight - fScrollY,
                      fColCount * fCellWidth - fScrollX + 1, old * fCellHeight - fScrollY + 1});
  fRowCount = value;
  if (fSel.FirstRow >= 0 && (fSel.LastRow > value - 1 || fSel.FirstRow > value - 1))
    fSel.FirstRow = fSel.LastRow = -1;
  const int scrollY = fScrollY;
  UpdateScrollLimits();
  if (fScrollY != scrollY) {
    RedrawAll();
  } else {
    const int first = value > old ? old : value - 1;
    // A negative first column would mean "everything": rows start at column 0.
    if (first < 0)
      RedrawAll();
    else
      RedrawRegion(0, first, fColCount - 1, value - 1);
  }
  DropOutline(TOutlineKind::Hover);
  DropOutline(TOutlineKind::Selection);
  fSelectType = selectType;
  Show();
}

void TMapGridModel::SetSubCellColCount(int value) {
  if (value <= 0) return;
  fSubColCount = value;
  RedrawAll();
  Show();
}

void TMapGridModel::SetSubCellRowCount(int value) {
  if (value <= 0) return;
  fSubRowCount = value;
  RedrawAll();
  Show();
}

void TMapGridModel::SetKeepSelection(bool value) {
  fKeepSelection = value;
  if (value) {
    DropOutline(TOutlineKind::Selection);
  } else {
    HideOutline(TOutlineKind::Selection);
    if (fOutlineOn && fOutlineOwner == TOutlineKind::Selection && !fButtonHeld) StopOutline();
    Show();
  }
}

void TMapGridModel::SetCursorRectWidth(int value) {
  if (value >= 1) fCursorWidth = value;
}

void TMapGridModel::SetCursorRectHeight(int value) {
  if (value >= 1) fCursorHeight = value;
}

bool TMapGridModel::MouseOnGrid() const {
  return fCurCol >= 0 && fCurCol <= fColCount - 1 && fCurRow >= 0 && fCurRow <= fRowCount - 1;
}

// ---------------------------------------------------------------------------
// Selection

void TMapGridModel::SetSelection(int firstCol, int lastCol, int firstRow, int lastRow,
                                 int firstSubCol, int lastSubCol, int firstSubRow, int lastSubRow) {
  if (fSelectType != TSelectType::SubCell) firstSubCol = lastSubCol = firstSubRow = lastSubRow = 0;
  if (firstCol < 0 || firstCol > fColCount - 1 || firstRow < 0 || firstRow > fRowCount - 1) return;
  NormaliseAxis(firstCol, lastCol, firstSubCol, lastSubCol, fColCount, fSubColCount);
  NormaliseAxis(firstRow, lastRow, firstSubRow, lastSubRow, fRowCount, fSubRowCount);
  fSel = {firstCol, lastCol, firstRow, lastRow, firstSubCol, lastSubCol, firstSubRow, lastSubRow};
}

bool TMapGridModel::IsCellSelected(int col, int row) const {
  if (fSel.FirstCol < 0 || fSel.FirstRow < 0 || fSel.LastCol < 0 || fSel.LastRow < 0) return false;
  return col >= std::min(fSel.FirstCol, fSel.LastCol) &&
         col <= std::max(fSel.FirstCol, fSel.LastCol) &&
         row >= std::min(fSel.FirstRow, fSel.LastRow) &&
         row <= std::max(fSel.FirstRow, fSel.LastRow);
}

TMapSelection TMapGridModel::MapSelection() const {
  TMapSelection selection;
  selection.Type = fSelectType;
  selection.FootprintWidth = fCursorWidth;
  selection.FootprintHeight = fCursorHeight;
  selection.Edge = fHotEdge;
  if (!HasSelection()) return selection;
  const bool sub = fSelectType == TSelectType::SubCell;
  const int left = fSel.FirstCol * fSubColCount + (sub ? fSel.FirstSubCol : 0);
  const int top = fSel.FirstRow * fSubRowCount + (sub ? fSel.FirstSubRow : 0);
  const int right = (fSel.LastCol + 1) * fSubColCount - 1 + (sub ? fSel.LastSubCol : 0);
  const int bottom = (fSel.LastRow + 1) * fSubRowCount - 1 + (sub ? fSel.LastSubRow : 0);
  selection.SubCells = QRect(QPoint(left, top), QPoint(right, bottom));
  return selection;
}

// ---------------------------------------------------------------------------
// Geometry

int TMapGridModel::SubCellWidth() const {
  return std::max(1, fCellWidth / fSubColCount);
}

int TMapGridModel::SubCellHeight() const {
  return std::max(1, fCellHeight / fSubRowCount);
}

TPixelRect TMapGridModel::FootprintRect(int col, int row, int subCol, int subRow) const {
  int x = col * fCellWidth - fScrollX;
  int y = row * fCellHeight - fScrollY;
  if (fSelectType == TSelectType::SubCell) {
    x += subCol * SubCellWidth();
    y += subRow * SubCellHeight();
  }
  TPixelRect rect{x + 1, y + 1, x + fCursorWidth * fCellWidth, y + fCursorHeight * fCellHeight};
  rect.Right = std::min(rect.Right, fColCount * fCellWidth - fScrollX);
  rect.Bottom = std::min(rect.Bottom, fRowCount * fCellHeight - fScrollY);
  return rect;
}

TPixelRect TMapGridModel::SelectionRect() const {
  if (fSel.FirstCol < 0 || fSel.FirstRow < 0) return {};
  // While dragging the stored values are not yet normalised.
  TGridSelection n = fSel;
  NormaliseAxis(n.FirstCol, n.LastCol, n.FirstSubCol, n.LastSubCol, fColCount, fSubColCount);
  NormaliseAxis(n.FirstRow, n.LastRow, n.FirstSubRow, n.LastSubRow, fRowCount, fSubRowCount);
  const bool sub = fSelectType == TSelectType::SubCell;
  const int sw = sub ? SubCellWidth() : 0;
  const int sh = sub ? SubCellHeight() : 0;
  TPixelRect rect{n.FirstCol * fCellWidth + n.FirstSubCol * sw - fScrollX + 1,
                  n.FirstRow * fCellHeight + n.FirstSubRow * sh - fScrollY + 1,
                  (n.LastCol + 1) * fCellWidth + n.LastSubCol * sw - fScrollX,
                  (n.LastRow + 1) * fCellHeight + n.LastSubRow * sh - fScrollY};
  rect.Right = std::min(rect.Right, fColCount * fCellWidth - fScrollX);
  rect.Bottom = std::min(rect.Bottom, fRowCount * fCellHeight - fScrollY);
  if (fSelectType == TSelectType::Edge)
    rect = fEdgeSnap ? OnEdgeRect(n.FirstCol, n.FirstRow, fHotEdge) : EdgeBand(rect, fHotEdge);
  return rect;
}

TPixelRect TMapGridModel::EdgeBand(const TPixelRect& rect, TCellEdge edge) {
  TPixelRect band = rect;
  switch (edge) {
    case TCellEdge::Top:
      band.Bottom = rect.Top + rect.Height() / 4;
      break;
    case TCellEdge::Right:
      band.Left = rect.Right - rect.Width() / 4;
      break;
    case TCellEdge::Bottom:
      band.Top = rect.Bottom - rect.Height() / 4;
      break;
    case TCellEdge::Left:
      band.Right = rect.Left + rect.Width() / 4;
      break;
  }
  return band;
}

std::optional<TCellEdge> TMapGridModel::EdgeAt(int px, int py) const {
  const int left = FloorDiv(px, fCellWidth) * fCellWidth;
  const int top = FloorDiv(py, fCellHeight) * fCellHeight;
  const int right = left + fCellWidth;
  const int bottom = top + fCellHeight;
  const int cx = left + fCellWidth / 2;
  const int cy = top + fCellHeight / 2;
  // Tested in this order, so a point on a shared border goes to the first.
  if (InTriangle(px, py, left, top, right, top, cx, cy)) return TCellEdge::Top;
  if (InTriangle(px, py, right, top, right, bottom, cx, cy)) return TCellEdge::Right;
  if (InTriangle(px, py, right, bottom, left, bottom, cx, cy)) return TCellEdge::Bottom;
  if (InTriangle(px, py, left, bottom, left, top, cx, cy)) return TCellEdge::Left;
  return std::nullopt;
}

TCellPosition TMapGridModel::FootprintOrigin() const {
  if (!fCentreFootprint || fSelectRange || fSelectType == TSelectType::Edge)
    return {fCurCol, fCurRow, fCurSubCol, fCurSubRow};
  const bool sub = fSelectType == TSelectType::SubCell;
  TCellPosition origin;
  CentredAxis(fCurX, fCellWidth, sub ? fSubColCount : 1, fColCount, fCursorWidth, origin.Col,
              origin.SubCol);
  CentredAxis(fCurY, fCellHeight, sub ? fSubRowCount : 1, fRowCount, fCursorHeight, origin.Row,
              origin.SubRow);
  return origin;
}

void TMapGridModel::UpdateCurrent(int x, int y) {
  const int px = x + fScrollX;
  const int py = y + fScrollY;
  fCurX = px;
  fCurY = py;
  fCurCol = FloorDiv(px, fCellWidth);
  fCurRow = FloorDiv(py, fCellHeight);
  // With a cell size that the sub-cell count does not divide, the last
  // pixels of a cell would name a sub-cell beyond the cell.
  fCurSubCol = std::min(FloorMod(px, fCellWidth) / SubCellWidth(), fSubColCount - 1);
  fCurSubRow = std::min(FloorMod(py, fCellHeight) / SubCellHeight(), fSubRowCount - 1);
  fSnapped = false;
  if (fSelectType != TSelectType::Edge || !fEdgeSnap || fButtonHeld) return;
  if (const auto snap = fEdgeSnap->SnapEdge(px, py)) {
    fCurCol = snap->first.x();
    fCurRow = snap->first.y();
    fCurSubCol = fCurSubRow = 0;
    fHotEdge = snap->second;
    fSnapped = true;
  }
}

TPixelRect TMapGridModel::OnEdgeRect(int col, int row, TCellEdge edge) const {
  const bool across = edge == TCellEdge::Top || edge == TCellEdge::Bottom;
  const int width = (across ? fCursorWidth : fCursorHeight) * fCellWidth;
  const int height = (across ? fCursorHeight : fCursorWidth) * fCellHeight;
  // The middle of the edge, in control pixels.
  int mx = col * fCellWidth + fCellWidth / 2 - fScrollX;
  int my = row * fCellHeight + fCellHeight / 2 - fScrollY;
  switch (edge) {
    case TCellEdge::Top:
      my -= fCellHeight / 2;
      break;
    case TCellEdge::Right:
      mx += fCellWidth - fCellWidth / 2;
      break;
    case TCellEdge::Bottom:
      my += fCellHeight - fCellHeight / 2;
      break;
    case TCellEdge::Left:
      mx -= fCellWidth / 2;
      break;
  }
  const int left = mx - width / 2;
  const int top = my - height / 2;
  return {left + 1, top + 1, left + width, top + height};
}

// ---------------------------------------------------------------------------
// Scrolling

void TMapGridModel::SetControlSize(int width, int height) {
  const bool suspended = fSuspended;
  fSuspended = true;
  fWidth = std::max(0, width);
  fHeight = std::max(0, height);
  UpdateScrollLimits();
  fSuspended = suspended;
  RedrawAll();
  Show();
}

void TMapGridModel::SetScrollBarThickness(int value) {
  if (value < 0) return;
  fScrollBarThickness = value;
  const int x = fScrollX;
  const int y = fScrollY;
  UpdateScrollLimits();
  if (x != fScrollX || y != fScrollY) {
    RedrawAll();
    Show();
  }
}

void TMapGridModel::UpdateScrollLimits() {
  const int contentWidth = fCellWidth * fColCount;
  const int contentHeight = fCellHeight * fRowCount;
  const int sb = fScrollBarThickness;
  int maxX = std::max(0, contentWidth - (fWidth - 1));
  int maxY = std::max(0, contentHeight - (fHeight - 1));
  if (maxY > 0) maxX = std::max(0, sb + contentWidth - (fWidth - 1));
  if (maxX > 0) {
    const bool verticalBefore = maxY > 0;
    maxY = std::max(0, sb + contentHeight - (fHeight - 1));
    // The horizontal bar has made the vertical one necessary: the vertical
    // bar now covers the right edge, which must stay reachable.
    if (!verticalBefore && maxY > 0) maxX = std::max(0, sb + contentWidth - (fWidth - 1));
  }
  fScrollMaxX = maxX;
  fScrollMaxY = maxY;
  if (fView) fView->SetScrollRanges(maxX, maxY);
  ClampScroll();
  emit ViewMoved();
}

bool TMapGridModel::ClampScroll() {
  const int x = std::min(fScrollX, fScrollMaxX);
  const int y = std::min(fScrollY, fScrollMaxY);
  const bool moved = x != fScrollX || y != fScrollY;
  fScrollX = x;
  fScrollY = y;
  if (fView) fView->SetScrollPositions(fScrollX, fScrollY);
  return moved;
}

int TMapGridModel::ScrollTarget(TScrollBarKind bar, TScrollRequest request, int thumbPos) const {
  const bool horizontal = bar == TScrollBarKind::Horizontal;
  const int position = horizontal ? fScrollX : fScrollY;
  const int limit = horizontal ? fScrollMaxX : fScrollMaxY;
  switch (request) {
    case TScrollRequest::LineUp:
      return position - 1;
    case TScrollRequest::LineDown:
      return position + 1;
    case TScrollRequest::PageUp:
      return position - limit / 10;
    case TScrollRequest::PageDown:
      return position + limit / 10;
    case TScrollRequest::ThumbPosition:
    case TScrollRequest::ThumbTrack:
      return thumbPos;
    case TScrollRequest::Other:
      break;
  }
  return position;
}

void TMapGridModel::Scroll(TScrollBarKind bar, TScrollRequest request, int thumbPos) {
  if (request == TScrollRequest::Other) return;
  ScrollTo(bar, ScrollTarget(bar, request, thumbPos));
}

void TMapGridModel::ScrollTo(TScrollBarKind bar, int position) {
  const bool horizontal = bar == TScrollBarKind::Horizontal;
  const int limit = horizontal ? fScrollMaxX : fScrollMaxY;
  position = std::clamp(position, 0, limit);
  int& current = horizontal ? fScrollX : fScrollY;
  if (position == current) {
    if (fView) fView->SetScrollPositions(fScrollX, fScrollY);
    return;
  }
  current = position;
  if (fView) fView->SetScrollPositions(fScrollX, fScrollY);
  emit ViewMoved();
  if (!fKeepSelection) StopOutline();
  DropOutline(TOutlineKind::Hover);
  DropOutline(TOutlineKind::Selection);
  RedrawAll();
  if (fKeepSelection && HasSelection()) OutlineSelection();
  Show();
}

// ---------------------------------------------------------------------------
// Mouse

void TMapGridModel::TrackPosition(int x, int y) {
  if (!fKnowMouse || x != fMouseX || y != fMouseY) MouseMove(x, y);
}

void TMapGridModel::MousePress(int x, int y, TMouseButton button) {
  if (!fEnabled) return;
  TrackPosition(x, y);
  if (fSwallowPress) {
    fSwallowPress = false;
    return;
  }
  fPressNoted = true;
  if (fView) fView->TakeFocus();
  UpdateCurrent(x, y);
  emit MousePressed(button, x, y);

  if (button == TMouseButton::Left || fRightClickSelect) {
    fSel = TGridSelection{};
    if (!MouseOnGrid() || (fView && fView->DragActive())) return;
    if (button == TMouseButton::Left) fButtonHeld = true;
    if (fAllowSelection) {
      const TCellPosition at = FootprintOrigin();
      SetSelection(at.Col, at.Col + fCursorWidth - 1, at.Row, at.Row + fCursorHeight - 1, at.SubCol,
                   at.SubCol, at.SubRow, at.SubRow);
      HideOutline(TOutlineKind::Hover);
      OutlineSelection();
    }
    if (fView) fView->CaptureMouse();
    Show();
  } else {
    fButtonHeld = false;
    HideOutline(TOutlineKind::Selection);
    if (!fKeepSelection) StopOutline();
    EmptyHover();
    Show();
    if (fView) fView->ProcessMessages();
  }
}

bool TMapGridModel::HeldDragApplies() const {
  return fButtonHeld && !(fView && fView->DragActive()) && fAllowSelection;
}

void TMapGridModel::MouseMove(int x, int y) {
  if (!fEnabled) return;
  fKnowMouse = true;
  fMouseX = x;
  fMouseY = y;
  emit MouseMoved(x, y);
  UpdateCurrent(x, y);

  if (!MouseOnGrid()) {
    if (!fKeepSelection) StopOutline();
    EmptyHover();
    Show();
    if (fView) fView->ProcessMessages();
    return;
  }
  if (!fButtonHeld && fSelectType == TSelectType::Edge && !fSnapped) {
    if (const std::optional<TCellEdge> edge = EdgeAt(x + fScrollX, y + fScrollY)) fHotEdge = *edge;
  }
  if (HeldDragApplies()) {
    fSel.LastCol = fCurCol;
    fSel.LastRow = fCurRow;
    fSel.LastSubCol = fCurSubCol;
    fSel.LastSubRow = fCurSubRow;
    if (!fSelectRange) {
      fSel.LastCol = fSel.FirstCol + fCursorWidth - 1;
      fSel.LastRow = fSel.FirstRow + fCursorHeight - 1;
      fSel.LastSubCol = fSel.FirstSubCol;
      fSel.LastSubRow = fSel.FirstSubRow;
    }
    if (fSelectType == TSelectType::Edge) {
      if (fHotEdge == TCellEdge::Top || fHotEdge == TCellEdge::Bottom) {
        fSel.LastRow = fSel.FirstRow + fCursorHeight - 1;
        fSel.LastSubRow = fSel.FirstSubRow;
      } else {
        fSel.LastCol = fSel.FirstCol + fCursorWidth - 1;
        fSel.LastSubCol = fSel.FirstSubCol;
      }
    }
    OutlineSelection();
  } else {
    UpdateHover();
  }
  Show();
}

void TMapGridModel::MouseRelease(int x, int y, TMouseButton button) {
  if (!fEnabled) return;
  TrackPosition(x, y);
  if (!fPressNoted) return;
  fPressNoted = false;
  emit MouseReleased(button, x, y);
  if (button != TMouseButton::Left && !fRightClickSelect) return;
  fButtonHeld = false;
  if (fView && fView->DragActive()) return;
  if (MouseOnGrid() && !fSelectRange && fAllowSelection) {
    fSel.LastCol = fSel.FirstCol + fCursorWidth - 1;
    fSel.LastRow = fSel.FirstRow + fCursorHeight - 1;
    fSel.LastSubCol = fSel.FirstSubCol;
    fSel.LastSubRow = fSel.FirstSubRow;
  }
  if (fView) fView->ReleaseMouse();
  if (fAllowSelection) {
    SetSelection(fSel.FirstCol, fSel.LastCol, fSel.FirstRow, fSel.LastRow, fSel.FirstSubCol,
                 fSel.LastSubCol, fSel.FirstSubRow, fSel.LastSubRow);
    try {
      emit Selected(MapSelection());
    } catch (...) {
      // The grid stays usable when acting on the selection fails.
      FinishRelease();
      throw;
    }
  }
  FinishRelease();
}

void TMapGridModel::FinishRelease() {
  // The receiver of Selected has repainted what it changed; the selection
  // outline goes unless KeepSelection keeps it.
  HideOutline(TOutlineKind::Selection);
  if (fAllowSelection) {
    if (fKeepSelection && HasSelection())
      OutlineSelection();
    else if (fOutlineOn && fOutlineOwner == TOutlineKind::Selection)
      StopOutline();
  }
  UpdateHover();
  Show();
}

void TMapGridModel::DoubleClick() {
  if (!fEnabled) return;
  fSwallowPress = true;
  emit DoubleClicked();
}

void TMapGridModel::MouseLeave() {
  fKnowMouse = false;
  HideOutline(TOutlineKind::Hover);
  Show();
  if (!fKeepSelection) StopOutline();
}

void TMapGridModel::ContextMenu() {
  HideOutline(TOutlineKind::Hover);
  RedrawAll();
  Show();
}

void TMapGridModel::Tick() {
  if (fOutlineOn) StepOutline();
}

// ---------------------------------------------------------------------------
// Hover and the outlines

void TMapGridModel::UpdateHover() {
  if (fButtonHeld || !MouseOnGrid() || !fHotTrack) return;
  const bool onEdge = fSelectType == TSelectType::Edge && fEdgeSnap;
  const TCellPosition at = FootprintOrigin();
  fHoverRect = onEdge ? OnEdgeRect(fCurCol, fCurRow, fHotEdge)
                      : FootprintRect(at.Col, at.Row, at.SubCol, at.SubRow);
  StartOutline(TOutlineKind::Hover, fSelectType == TSelectType::Edge && !onEdge
                                        ? EdgeBand(fHoverRect, fHotEdge)
                                        : fHoverRect);
}

void TMapGridModel::EmptyHover() {
  fHoverRect = {};
  HideOutline(TOutlineKind::Hover);
  if (fOutlineOn && fOutlineOwner == TOutlineKind::Hover) StopOutline();
}

void TMapGridModel::HideOutline(TOutlineKind kind) {
  SetShown(kind, TGridOutline{});
}

void TMapGridModel::DropOutline(TOutlineKind kind) {
  HideOutline(kind);
  if (kind == TOutlineKind::Hover) fHoverRect = {};
  if (fOutlineOn && fOutlineOwner == kind) StopOutline();
}

void TMapGridModel::OutlineSelection() {
  StartOutline(TOutlineKind::Selection, SelectionRect());
}

void TMapGridModel::StartOutline(TOutlineKind owner, const TPixelRect& rect) {
  if (rect.IsEmpty()) {
    if (fOutlineOn && fOutlineOwner == owner) StopOutline();
    HideOutline(owner);
    return;
  }
  fOutlineOn = true;
  fOutlineOwner = owner;
  fOutlineRect = rect;
  StepOutline();
}

void TMapGridModel::StepOutline() {
  fPhase = NextOutlinePhase(fPhase);
  SetShown(fOutlineOwner, TGridOutline{fOutlineRect, fPhase});
  Show();
}

void TMapGridModel::SetShown(TOutlineKind kind, const TGridOutline& outline) {
  TGridOutline& shown = fShown[kind == TOutlineKind::Hover ? 0 : 1];
  if (shown == outline) return;
  shown = outline;
  if (fView) fView->ShowOutlines(fShown[1], fShown[0]);
}

void TMapGridModel::Show() {
  if (fView) fView->Show();
}

// ---------------------------------------------------------------------------
// Painting

void TMapGridModel::BeginUpdate() {
  DropOutline(TOutlineKind::Hover);
  DropOutline(TOutlineKind::Selection);
  StopOutline();
  fSuspended = true;
}

void TMapGridModel::EndUpdate() {
  fSuspended = false;
  RedrawAll();
  Show();
}

void TMapGridModel::ForgetHover() {
  DropOutline(TOutlineKind::Hover);
}

void TMapGridModel::RedrawRegion(int firstCol, int firstRow, int lastCol, int lastRow,
                                 int firstSubCol, int firstSubRow, int lastSubCol, int lastSubRow) {
  if (fSuspended || !fView) return;
  fView->PaintRegion(RedrawRangeFor(firstCol, firstRow, lastCol, lastRow, firstSubCol, firstSubRow,
                                    lastSubCol, lastSubRow));
}

void TMapGridModel::RedrawSubCells(const QRect& subCells) {
  if (fSuspended || !fView) return;
  const QRect cells =
      subCells.intersected(QRect(0, 0, fColCount * fSubColCount, fRowCount * fSubRowCount));
  if (cells.isEmpty()) return;
  const int sw = SubCellWidth();
  const int sh = SubCellHeight();
  TRedrawRange range;
  range.FirstSubCol = cells.left();
  range.LastSubCol = cells.right();
  range.FirstSubRow = cells.top();
  range.LastSubRow = cells.bottom();
  range.Region = {cells.left() * sw - fScrollX, cells.top() * sh - fScrollY,
                  (cells.right() + 1) * sw - fScrollX, (cells.bottom() + 1) * sh - fScrollY};
  fView->PaintRegion(range);
  Show();
}

TRedrawRange TMapGridModel::RedrawRangeFor(int firstCol, int firstRow, int lastCol, int lastRow,
                                           int firstSubCol, int firstSubRow, int lastSubCol,
                                           int lastSubRow) const {
  if (fSelectType != TSelectType::SubCell) firstSubCol = firstSubRow = lastSubCol = lastSubRow = 0;
  const int subCols = fColCount * fSubColCount;
  const int subRows = fRowCount * fSubRowCount;
  TRedrawRange range;
  range.FirstSubCol = firstCol < 0 ? 0 : firstCol * fSubColCount + firstSubCol;
  range.LastSubCol = lastCol < 0
                         ? subCols - 1
                         : std::min((lastCol + 1) * fSubColCount - 1 + lastSubCol, subCols - 1);
  range.FirstSubRow = firstRow < 0 ? 0 : firstRow * fSubRowCount + firstSubRow;
  range.LastSubRow = lastRow < 0
                         ? subRows - 1
                         : std::min((lastRow + 1) * fSubRowCount - 1 + lastSubRow, subRows - 1);
  if (firstCol < 0) {
    range.Region = {0, 0, fWidth, fHeight};
  } else {
    const int sw = SubCellWidth();
    const int sh = SubCellHeight();
    range.Region = {range.FirstSubCol * sw - fScrollX, range.FirstSubRow * sh - fScrollY,
                    (range.LastSubCol + 1) * sw - fScrollX, (range.LastSubRow + 1) * sh - fScrollY};
  }
  return range;
}

void TMapGridModel::ForEachSubCell(const TRedrawRange& range,
                                   const std::function<void(const TSubCellPaint&)>& paint) const {
  const TPixelRect clip = range.Region.Intersected({0, 0, fWidth, fHeight});
  if (clip.IsEmpty()) return;
  const int sw = SubCellWidth();
  const int sh = SubCellHeight();
  const TSubCellGeometry geometry(sw, sh, -fScrollX, -fScrollY);
  const int subCols = fColCount * fSubColCount;
  const int subRows = fRowCount * fSubRowCount;
  for (int j = range.FirstSubRow; j <= range.LastSubRow; ++j) {
    if ((j / fSubRowCount) * fCellHeight - fScrollY >= clip.Bottom) break;
    const int top = geometry.EdgeY(j);
    // A sub-row outside the region shows nothing (a bottom line just above
    // it still does).
    if (top + sh < clip.Top || top >= clip.Bottom) continue;
    for (int i = range.FirstSubCol; i <= range.LastSubCol; ++i) {
      if ((i / fSubColCount) * fCellWidth - fScrollX >= clip.Right) break;
      const int left = geometry.EdgeX(i);
      if (left + sw < clip.Left || left >= clip.Right) continue;
      TSubCellPaint cell;
      cell.Col = i / fSubColCount;
      cell.Row = j / fSubRowCount;
      cell.SubCol = i % fSubColCount;
      cell.SubRow = j % fSubRowCount;
      cell.Rect = {left, top, left + sw, top + sh};
      cell.Selected = IsCellSelected(cell.Col, cell.Row);
      cell.LineRect = {std::max(left, 0), std::max(top, 0), left + sw, top + sh};
      cell.Lines = TSubCellGeometry::LinesOf(i, j, subCols, subRows, fSubColCount, fSubRowCount);
      paint(cell);
    }
  }
}
