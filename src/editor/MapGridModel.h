#pragma once

#include "editor/PixelRect.h"
#include "map/SubCells.h"
#include "render/MapGeometry.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

// How the mouse picks on the map grid: whole cells, cells on the half-cell
// raster, or cell edges (walls).
enum class TSelectType { FullCell, SubCell, Edge };

enum class TMouseButton { Left, Right, Middle };

enum class TScrollBarKind { Horizontal, Vertical };

// What a scroll bar asks for; the thumb requests carry the position.
enum class TScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Other };

// The grid's two outlines: the footprint under the mouse and the selection.
enum class TOutlineKind { Hover, Selection };

// An outline as the grid shows it: the moving dashed border of a rectangle
// at a phase of its pattern (OutlinePattern.h); an empty rectangle shows
// nothing.
struct TGridOutline {
  TPixelRect Rect;
  std::uint8_t Phase = 0;

  friend bool operator==(const TGridOutline& a, const TGridOutline& b) {
    return a.Rect == b.Rect && (a.Rect.IsEmpty() || a.Phase == b.Phase);
  }
  friend bool operator!=(const TGridOutline& a, const TGridOutline& b) { return !(a == b); }
};

// The grid's selection in cells and sub-cells; all -1 while there is none.
struct TGridSelection {
  int FirstCol = -1;
  int LastCol = -1;
  int FirstRow = -1;
  int LastRow = -1;
  int FirstSubCol = -1;
  int LastSubCol = -1;
  int FirstSubRow = -1;
  int LastSubRow = -1;

  friend bool operator==(const TGridSelection& a, const TGridSelection& b) {
    return a.FirstCol == b.FirstCol && a.LastCol == b.LastCol && a.FirstRow == b.FirstRow &&
           a.LastRow == b.LastRow && a.FirstSubCol == b.FirstSubCol &&
           a.LastSubCol == b.LastSubCol && a.FirstSubRow == b.FirstSubRow &&
           a.LastSubRow == b.LastSubRow;
  }
};

// A finished selection as the grid hands it on: the selected sub-cells (whole
// cells' worth, on the half-cell raster in SubCell mode), how they were
// picked, the footprint in cells, and the cell edge Edge mode acts on. The
// grid's sub-cells are the map's, so whoever acts on it needs nothing else
// from the grid.
struct TMapSelection {
  QRect SubCells;
  TSelectType Type = TSelectType::FullCell;
  int FootprintWidth = 1;
  int FootprintHeight = 1;
  TCellEdge Edge = TCellEdge::Top;
};

// A cell of the grid and a sub-cell within it.
struct TCellPosition {
  int Col = 0;
  int Row = 0;
  int SubCol = 0;
  int SubRow = 0;
};

// Part of the picture to repaint: a region in control pixels and the range
// of sub-columns and sub-rows (over the whole grid) whose cells are drawn.
struct TRedrawRange {
  TPixelRect Region;
  int FirstSubCol = 0;
  int LastSubCol = -1;
  int FirstSubRow = 0;
  int LastSubRow = -1;
};

// One sub-cell of a repaint: where it lies and which grid lines it carries.
// Lines are drawn on LineRect, the sub-cell's rectangle with a negative left
// or top pulled to 0: the top and left lines along its top and left edge,
// the right and bottom lines one pixel beyond it (closing the grid; see
// DrawCellLines).
struct TSubCellPaint {
  int Col = 0;
  int Row = 0;
  int SubCol = 0;
  int SubRow = 0;
  TPixelRect Rect;
  bool Selected = false;
  TPixelRect LineRect;
  TCellLines Lines;
};

// What the grid needs from whoever shows it: the off-screen picture of the
// cells, the outlines shown over it, scroll bars, focus and mouse capture.
// The widget implements it; without a view the model only computes (the
// command-line tool and the tests drive it that way).
class TMapGridView {
 public:
  virtual ~TMapGridView() = default;
  // Fills the range's region with the background colour and draws every
  // sub-cell ForEachSubCell yields for it. Everything else a view may leave
  // alone: the defaults do nothing.
  virtual void PaintRegion(const TRedrawRange& range) = 0;
  // Fills an area with the window colour.
  virtual void EraseArea(const TPixelRect& /*area*/) {}
  // The outlines to show over the picture changed; the picture itself holds
  // none.
  virtual void ShowOutlines(const TGridOutline& /*selection*/, const TGridOutline& /*hover*/) {}
  // Brings the picture and the outlines to the screen.
  virtual void Show() {}
  virtual void SetScrollRanges(int /*maxX*/, int /*maxY*/) {}
  virtual void SetScrollPositions(int /*x*/, int /*y*/) {}
  virtual void TakeFocus() {}
  virtual void CaptureMouse() {}
  virtual void ReleaseMouse() {}
  virtual void ProcessMessages() {}
  virtual bool DragActive() const { return false; }
};

// Where the pointer snaps to in Edge mode, when the grid has one: the cell
// edge for a point in content pixels, or none to pick the edge by the
// triangles of the cell under the pointer.
class TEdgeSnap {
 public:
  virtual ~TEdgeSnap() = default;
  virtual std::optional<std::pair<QPoint, TCellEdge>> SnapEdge(int px, int py) const = 0;
};

// The map grid's behaviour, free of any widget: a grid of CellColCount x
// CellRowCount cells, each split into sub-cells, scrolled over a control of a
// given size. It turns mouse positions into cells, sub-cells and edges,
// follows presses and drags into a selection by the footprint and selection
// rules, keeps the hover and selection outlines, and tells its view what to
// repaint and which outlines to show over the picture. Everything is in
// pixels; events are
// plain calls, so a scripted drag yields exactly the selection a user's mouse
// would make; what follows from them goes out as signals.
class TMapGridModel : public QObject {
  Q_OBJECT

 public:
  TMapGridModel();

  // The view is not owned; nullptr detaches it.
  void SetView(TMapGridView* view) { fView = view; }

  // --- Properties (setters ignore values out of range) ---
  int CellWidth() const { return fCellWidth; }
  void SetCellWidth(int value);
  int CellHeight() const { return fCellHeight; }
  void SetCellHeight(int value);
  int CellColCount() const { return fColCount; }
  void SetCellColCount(int value);
  int CellRowCount() const { return fRowCount; }
  void SetCellRowCount(int value);
  int SubCellColCount() const { return fSubColCount; }
  void SetSubCellColCount(int value);
  int SubCellRowCount() const { return fSubRowCount; }
  void SetSubCellRowCount(int value);
  bool HotTrack() const { return fHotTrack; }
  void SetHotTrack(bool value) { fHotTrack = value; }
  bool SelectRange() const { return fSelectRange; }
  void SetSelectRange(bool value) { fSelectRange = value; }
  bool KeepSelection() const { return fKeepSelection; }
  void SetKeepSelection(bool value);
  bool AllowSelection() const { return fAllowSelection; }
  void SetAllowSelection(bool value) { fAllowSelection = value; }
  // The footprint in cells; values below 1 are ignored.
  int CursorRectWidth() const { return fCursorWidth; }
  void SetCursorRectWidth(int value);
  int CursorRectHeight() const { return fCursorHeight; }
  void SetCursorRectHeight(int value);
  TSelectType SelectType() const { return fSelectType; }
  void SetSelectType(TSelectType value) { fSelectType = value; }
  bool RightClickSelect() const { return fRightClickSelect; }
  void SetRightClickSelect(bool value) { fRightClickSelect = value; }
  bool Enabled() const { return fEnabled; }
  void SetEnabled(bool value) { fEnabled = value; }
  // In Edge mode with a snap (not owned; nullptr for none), the pointer
  // picks the edge the snap names, and the outline shows the footprint
  // centred on that edge, turned to lie along it.
  void SetEdgeSnap(const TEdgeSnap* snap) { fEdgeSnap = snap; }
  const TEdgeSnap* EdgeSnap() const { return fEdgeSnap; }
  // A footprint placed once per click (no range, no edge) is centred on the
  // pointer, on the raster of the select type, and kept whole on the grid
  // where it fits. Off, it hangs from the cell or sub-cell under the
  // pointer, which is how a scripted drag names where a footprint goes.
  bool CentreFootprint() const { return fCentreFootprint; }
  void SetCentreFootprint(bool value) { fCentreFootprint = value; }

  // The cell and sub-cell under the mouse.
  int CurCol() const { return fCurCol; }
  int CurRow() const { return fCurRow; }
  int CurSubCol() const { return fCurSubCol; }
  int CurSubRow() const { return fCurSubRow; }
  // Where a press now would put the footprint's first cell and sub-cell.
  TCellPosition FootprintOrigin() const;
  // Whether the last mouse position lies on a cell of the grid.
  bool MouseOnGrid() const;
  // The cell edge Edge mode acts on.
  TCellEdge HotEdge() const { return fHotEdge; }

  // --- Selection ---
  const TGridSelection& Selection() const { return fSel; }
  bool HasSelection() const { return fSel.FirstCol >= 0 && fSel.FirstRow >= 0; }
  // Normalises and stores a selection (ignored when the first cell is off
  // the grid).
  void SetSelection(int firstCol, int lastCol, int firstRow, int lastRow, int firstSubCol,
                    int lastSubCol, int firstSubRow, int lastSubRow);
  // Whether the cell lies within the selection's columns and rows.
  bool IsCellSelected(int col, int row) const;
  // The selection as Selected hands it on (no sub-cells while there is
  // none).
  TMapSelection MapSelection() const;

  // --- Control size and scrolling ---
  int ControlWidth() const { return fWidth; }
  int ControlHeight() const { return fHeight; }
  // The control's bounds changed: recomputes the scroll limits and repaints.
  void SetControlSize(int width, int height);
  int ScrollBarThickness() const { return fScrollBarThickness; }
  void SetScrollBarThickness(int value);
  int ScrollX() const { return fScrollX; }
  int ScrollY() const { return fScrollY; }
  int ScrollMaxX() const { return fScrollMaxX; }
  int ScrollMaxY() const { return fScrollMaxY; }
  void UpdateScrollLimits();
  // The position a scroll bar request leads to (not yet clamped).
  int ScrollTarget(TScrollBarKind bar, TScrollRequest request, int thumbPos = 0) const;
  void Scroll(TScrollBarKind bar, TScrollRequest request, int thumbPos = 0);
  // Moves one scroll position (clamped to its limit) and repaints.
  void ScrollTo(TScrollBarKind bar, int position);

  // --- Mouse and other events ---
  // A press or release at a point other than the last known mouse position
  // is preceded by a move there, as a real mouse's would be.
  void MousePress(int x, int y, TMouseButton button);
  void MouseMove(int x, int y);
  void MouseRelease(int x, int y, TMouseButton button);
  // The toolkit's double-click notice, which stands in for the second press
  // (the widget passes that press on afterwards; it is swallowed, and with it
  // the release that follows).
  void DoubleClick();
  void MouseLeave();
  // Before the context menu opens: removes the hover outline and repaints.
  void ContextMenu();
  // The 100 ms animation step of the outline.
  void Tick();

  // --- Painting ---
  // Repaints cells firstCol..lastCol x firstRow..lastRow (sub-cell offsets
  // count in SubCell mode only); a negative first column repaints everything.
  void RedrawRegion(int firstCol, int firstRow, int lastCol, int lastRow, int firstSubCol = 0,
                    int firstSubRow = 0, int lastSubCol = 0, int lastSubRow = 0);
  void RedrawAll() { RedrawRegion(-1, -1, -1, -1); }
  // Repaints the sub-cells of a rectangle (over the whole grid, in sub-cell
  // units) that lie on the grid, and shows them.
  void RedrawSubCells(const QRect& subCells);
  TRedrawRange RedrawRangeFor(int firstCol, int firstRow, int lastCol, int lastRow, int firstSubCol,
                              int firstSubRow, int lastSubCol, int lastSubRow) const;
  // Calls paint for every sub-cell of the range that shows within its region
  // and the control, row by row, left to right.
  void ForEachSubCell(const TRedrawRange& range,
                      const std::function<void(const TSubCellPaint&)>& paint) const;
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return fSuspended; }
  void ForgetHover();

  // --- Geometry (control pixels) ---
  int SubCellWidth() const;
  int SubCellHeight() const;
  // The hover rectangle for the footprint at a cell and sub-cell.
  TPixelRect FootprintRect(int col, int row, int subCol, int subRow) const;
  // The rectangle outlining the selection (empty when there is none).
  TPixelRect SelectionRect() const;
  // A rectangle reduced to the band along an edge, a quarter of its size
  // thick.
  static TPixelRect EdgeBand(const TPixelRect& rect, TCellEdge edge);
  // The footprint centred on an edge of a cell and turned to lie along it.
  TPixelRect OnEdgeRect(int col, int row, TCellEdge edge) const;
  // The edge whose triangle of the cell holds the content point (px, py), or
  // none.
  std::optional<TCellEdge> EdgeAt(int px, int py) const;
  const TPixelRect& HoverRect() const { return fHoverRect; }
  // The rectangle the outline is animated on (empty when stopped).
  TPixelRect OutlineRect() const { return fOutlineOn ? fOutlineRect : TPixelRect{}; }
  std::uint8_t OutlinePhase() const { return fPhase; }
  // What each outline shows now. The animated one moves on every Tick; the
  // selection's stays where it stopped while KeepSelection keeps it and the
  // hover has taken over the animation.
  const TGridOutline& ShownOutline(TOutlineKind kind) const {
    return fShown[kind == TOutlineKind::Hover ? 0 : 1];
  }

 signals:
  // A press and drag ended in a selection. Whatever the receiver changes it
  // repaints itself (the map reports its changes); the grid only takes its
  // outline off afterwards.
  void Selected(const TMapSelection& selection);
  void MousePressed(TMouseButton button, int x, int y);
  void MouseMoved(int x, int y);
  void MouseReleased(TMouseButton button, int x, int y);
  void DoubleClicked();
  // The part of the grid the control shows moved or changed its size: a
  // scroll, a new cell size or count, a new control size.
  void ViewMoved();

 private:
  void FinishRelease();
  void UpdateCurrent(int x, int y);
  bool HeldDragApplies() const;
  void UpdateHover();
  void EmptyHover();
  // Takes an outline off the screen; the animation may go on and bring it
  // back with the next step.
  void HideOutline(TOutlineKind kind);
  // Hides an outline for good: its rectangle is forgotten and its
  // animation stops.
  void DropOutline(TOutlineKind kind);
  void OutlineSelection();
  void StartOutline(TOutlineKind owner, const TPixelRect& rect);
  void StopOutline() { fOutlineOn = false; }
  void StepOutline();
  void SetShown(TOutlineKind kind, const TGridOutline& outline);
  void Show();
  void TrackPosition(int x, int y);
  bool ClampScroll();

  TMapGridView* fView = nullptr;

  int fCellWidth = 32;
  int fCellHeight = 32;
  int fColCount = 10;
  int fRowCount = 5;
  int fSubColCount = kSubCellsPerCell;
  int fSubRowCount = kSubCellsPerCell;
  bool fHotTrack = true;
  bool fSelectRange = true;
  bool fKeepSelection = false;
  bool fAllowSelection = true;
  int fCursorWidth = 2;
  int fCursorHeight = 2;
  TSelectType fSelectType = TSelectType::FullCell;
  bool fRightClickSelect = false;
  bool fEnabled = true;
  const TEdgeSnap* fEdgeSnap = nullptr;
  bool fSnapped = false;
  bool fCentreFootprint = false;

  // The content pixel under the mouse.
  int fCurX = 0;
  int fCurY = 0;
  int fCurCol = 0;
  int fCurRow = 0;
  int fCurSubCol = 0;
  int fCurSubRow = 0;
  TCellEdge fHotEdge = TCellEdge::Top;
  bool fKnowMouse = false;
  int fMouseX = 0;
  int fMouseY = 0;

  TGridSelection fSel;

  int fWidth = 0;
  int fHeight = 0;
  int fScrollBarThickness = 16;
  int fScrollX = 0;
  int fScrollY = 0;
  int fScrollMaxX = 0;
  int fScrollMaxY = 0;

  bool fButtonHeld = false;
  bool fPressNoted = false;
  bool fSwallowPress = false;
  bool fSuspended = false;

  TPixelRect fHoverRect;
  bool fOutlineOn = false;
  TPixelRect fOutlineRect;
  TOutlineKind fOutlineOwner = TOutlineKind::Hover;
  std::uint8_t fPhase = 0;
  // Hover, then selection.
  TGridOutline fShown[2];
};
