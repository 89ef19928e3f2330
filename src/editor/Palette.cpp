#include "Palette.h"

#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetNames.h"
#include "tiles/WallStyles.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMetaMethod>
#include <QPainter>
#include <QPalette>
#include <QRect>

#include <exception>

const QString TPalette::kCorrupt = QStringLiteral("Corrupt");
const QString TPalette::kEmpty = QStringLiteral("Empty");

namespace {

const QString kFloorCategory = QStringLiteral("Floors");
const QString kDoorCategory = QStringLiteral("Doors");

QColor SystemColour(QPalette::ColorRole role, const QColor& fallback) {
  return qGuiApp ? QGuiApplication::palette().color(role) : fallback;
}

QColor WindowColour() {
  return SystemColour(QPalette::Base, Qt::white);
}

QColor ButtonFaceColour() {
  return SystemColour(QPalette::Button, QColor(240, 240, 240));
}

// Writes text with its top-left corner at (x, y) on a transparent
// background.
void WriteText(QPainter& painter, int x, int y, const QString& text) {
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

int IndexOfText(const QStringList& list, const QString& text) {
  for (int i = 0; i < list.size(); ++i)
    if (list[i].compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Palette lists

void TTileCatList::Fill(TTileSet* tileSet, const QString& category) {
  fGroups.clear();
  if (!tileSet) return;
  const int count = tileSet->GroupCount();
  for (int i = 0; i < count; ++i) {
    TTileGroup* group = tileSet->GroupAt(i);
    if (group->Category().compare(category, Qt::CaseInsensitive) == 0) fGroups.push_back(group);
  }
}

QStringList CategoriesOf(TTileSet& tileSet) {
  QStringList categories;
  const int count = tileSet.GroupCount();
  for (int i = 0; i < count; ++i) {
    const QString& category = tileSet.GroupAt(i)->Category();
    if (IndexOfText(categories, category) < 0) categories.append(category);
  }
  return categories;
}

// ---------------------------------------------------------------------------
// TPalette

namespace {

class TPreviewPainter : public TGroupPainter {
 public:
  void DrawGroup(const TTileGroup& group, QPainter& canvas, const QRect& rect,
                 int orientation) const override {
    group.DrawPreview(canvas, rect, orientation);
  }
};

const TPreviewPainter kPreviewPainter;

}  // namespace

TPalette::TPalette(TPlacementEngine& engine, TTilesetList& tilesets)
    : fEngine(engine), fTilesets(tilesets), fGroupPainter(&kPreviewPainter) {
  fPreview = NewPicture(kPreviewSize, kPreviewSize);
  fPreview.fill(WindowColour());
  fEngine.SetPalette(this);
}

QImage TPalette::NewPicture(int width, int height) const {
  QImage picture(qRound(width * fRatio), qRound(height * fRatio), QImage::Format_RGB888);
  picture.setDevicePixelRatio(fRatio);
  return picture;
}

void TPalette::SetDevicePixelRatio(qreal ratio) {
  if (ratio <= 0 || ratio == fRatio) return;
  fRatio = ratio;
  RebuildPalette();
  RedrawPreview();
}

void TPalette::SetGroupPainter(const TGroupPainter* painter) {
  fGroupPainter = painter ? painter : &kPreviewPainter;
  RebuildPalette();
  RedrawPreview();
}

TPalette::~TPalette() {
  fEngine.SetPalette(nullptr);
}

QStringList TPalette::TilesetNames() const {
  return ::TilesetNames(fTilesets);
}

void TPalette::Changed() {
  emit StateChanged();
}

void TPalette::Start() {
  fControlsVisible = true;
  fTilesetIndex = fTilesets.Count() > 1 ? 0 : -1;
  TTileSet* tileSet = fTilesetIndex >= 0 ? fTilesets.Items(1) : nullptr;
  fEngine.SetCurrentTileset(tileSet);
  fTilesetHint.clear();
  // A tileset that fails to load reports it once; the lists below only read
  // loaded tilesets, so the palette then stays empty instead of asking again.
  if (tileSet && tileSet->EnsureLoaded())
    fTilesetHint = QStringLiteral("Author: ") + tileSet->AuthorName() +
                   QStringLiteral("\r\nDescription: ") + tileSet->Information();
  FillCategories();
  const int floors = IndexOfText(fCategories, kFloorCategory);
  if (floors > 0) {
    fCategoryIndex = floors;
    fCatList.Fill(tileSet, fCategories[floors]);
    RebuildPalette();
  }
  fEngine.SetToolValue(etPlaceTiles);
  SelectFirst();
  Changed();
}

void TPalette::FillCategories() {
  fCategories.clear();
  fCategoryIndex = -1;
  fCatList.Clear();
  TTileSet* tileSet = fEngine.CurrentTileset();
  if (tileSet && tileSet->Loaded()) {
    fCategories = CategoriesOf(*tileSet);
    if (!fCategories.isEmpty()) {
      fCategoryIndex = 0;
      fCatList.Fill(tileSet, fCategories[0]);
    }
  }
  RebuildPalette();
  Changed();
}

QImage TPalette::PalettePicture(TTileGroup& group) const {
  QImage picture = NewPicture(fCellWidth, fCellHeight);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  // The drawing area leaves a margin of 4 pixels left and top, 3 right and
  // bottom.
  const int left = 4;
  const int top = 4;
  const int right = fCellWidth - 3;
  const int bottom = fCellHeight - 3;
  const QRect area(left, top, right - left, bottom - top);

  QString marker;
  QColor fill = Qt::white;
  if (!group.TileAt(0, 0, 0)) {
    marker = kEmpty;
  } else {
    try {
      fGroupPainter->DrawGroup(group, painter, area, 0);
    } catch (const std::exception&) {
      // Placement refuses a group whose pictures cannot be drawn.
      group.SetCorrupt(true);
      marker = kCorrupt;
      fill = WindowColour();
    }
  }
  if (!marker.isEmpty()) {
    painter.fillRect(area, fill);
    painter.setPen(ButtonFaceColour());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    const QFontMetrics metrics = painter.fontMetrics();
    WriteText(painter, (right - left) / 2 - metrics.horizontalAdvance(marker) / 2 + 4,
              (bottom - top) / 2 - metrics.height() / 2 + 3, marker);
  }
  return picture;
}

void TPalette::RebuildPalette() {
  fPictures.Clear();
  for (int i = 0; i < fCatList.Count(); ++i)
    fPictures.Add(PalettePicture(*fCatList.At(i)));
  if (fSelected >= fPictures.Count()) fSelected = -1;
  emit ItemsChanged(fPictures.Count());
}

void TPalette::SelectItem(int index) {
  // A palette grid that listens selects the item and answers through
  // grdTileGroupsSelect; without one the palette selects it itself.
  if (isSignalConnected(QMetaMethod::fromSignal(&TPalette::SelectItemRequested)))
    emit SelectItemRequested(index);
  else
    grdTileGroupsSelect(index);
}

void TPalette::SelectFirst() {
  if (!fCatList.IsEmpty()) {
    SelectItem(0);
    return;
  }
  fSelected = -1;
  fEngine.SetCurrentGroup(nullptr);
  fStatusText.clear();
  RedrawPreview();
  Changed();
}

void TPalette::grdTileGroupsSelect(int Index) {
  if (Index < 0 || Index >= fCatList.Count()) return;
  fSelected = Index;
  fEngine.SetOrientation(0);
  TTileGroup* group = fCatList.At(Index);
  fEngine.SetCurrentGroup(group);
  fStatusText = ItemName(Index);
  if (!group->GroupDescr().isEmpty()) fStatusText += QStringLiteral(" - ") + group->GroupDescr();
  RedrawPreview();
  // The eraser and the wall tool keep their own grid set-up.
  if (fEngine.Tool() == etPlaceTiles) fEngine.SetupPlacement();
  Changed();
}

QString TPalette::ItemName(int index) const {
  if (index < 0 || index >= fCatList.Count()) return QString();
  if (!fControlsVisible && index < fWallNames.size()) return fWallNames[index];
  return fCatList.At(index)->GroupName();
}

void TPalette::grdTileGroupsDrawItem(int Index, bool /*Selected*/, const QRect& Bounds,
                                     QPainter& Dest) const {
  if (Index < 0 || Index >= fPictures.Count()) return;
  Dest.drawImage(Bounds.topLeft(), fPictures.At(Index));
}

void TPalette::RedrawPreview() {
  if (fPreview.devicePixelRatio() != fRatio) fPreview = NewPicture(kPreviewSize, kPreviewSize);
  fPreview.fill(WindowColour());
  const TTileGroup* group = fEngine.CurrentGroup();
  if (group) {
    QPainter painter(&fPreview);
    try {
      fGroupPainter->DrawGroup(*group, painter, QRect(0, 0, kPreviewSize, kPreviewSize),
                               fEngine.Orientation());
    } catch (const std::exception&) {
      const QFontMetrics metrics = painter.fontMetrics();
      WriteText(painter, kPreviewSize / 2 - metrics.horizontalAdvance(kCorrupt) / 2,
                kPreviewSize / 2 - metrics.height() / 2, kCorrupt);
    }
  }
  Changed();
}

void TPalette::cbxCategoryChange(int index) {
  if (index < 0 || index >= fCategories.size()) return;
  fCategoryIndex = index;
  TTileSet* tileSet = fEngine.CurrentTileset();
  fCatList.Clear();
  if (tileSet && tileSet->Loaded()) fCatList.Fill(tileSet, fCategories[index]);
  RebuildPalette();
  SelectFirst();
  Changed();
}

void TPalette::cbxTilesetChange(int index) {
  // The box is hidden while the wall styles show.
  if (!fControlsVisible) return;
  const int entry = index + 1;
  if (entry < 1 || entry >= fTilesets.Count()) return;
  TTileSet* next = fTilesets.Items(entry);
  if (next == fEngine.CurrentTileset()) return;
  fTilesetIndex = index;

  emit TilesetLoadStarted();
  try {
    if (fTilesets.Count() > 1) {
      TTileSet* previous = fEngine.CurrentTileset();
      if (previous && previous != fTilesets.Items(0)) previous->Unload();
      fEngine.SetCurrentTileset(next);
      if (next && next->EnsureLoaded()) {
        fTilesetHint = QStringLiteral("Author: ") + next->AuthorName() +
                       QStringLiteral("\r\nDescription: ") + next->Information();
        FillCategories();
      } else {
        // The previous tileset's groups are gone: show an empty palette, not
        // a list of freed groups or a description of another tileset.
        ClearPalette();
      }
    }
    fEngine.SetToolValue(etPlaceTiles);
    SelectFirst();
  } catch (...) {
    emit TilesetLoadFinished();
    throw;
  }
  emit TilesetLoadFinished();
  Changed();
  fEngine.UpdateControls();
}

void TPalette::ClearPalette() {
  fTilesetHint.clear();
  fCategories.clear();
  fCategoryIndex = -1;
  fCatList.Clear();
  RebuildPalette();
}

TTileSet* TPalette::ShownTileset() const {
  const int entry = fTilesetIndex + 1;
  return entry >= 1 && entry < fTilesets.Count() ? fTilesets.Items(entry) : nullptr;
}

void TPalette::SelectTileset(int entry) {
  if (!fControlsVisible) fEngine.gaRoomExecute();
  cbxTilesetChange(entry - 1);
}

void TPalette::ReleaseTileset(TTileSet* tileSet) {
  if (!tileSet) return;
  if (!fControlsVisible) fEngine.gaRoomExecute();
  if (ShownTileset() == tileSet) {
    int other = -1;
    for (int i = 1; i < fTilesets.Count() && other < 0; ++i)
      if (fTilesets.Items(i) && fTilesets.Items(i) != tileSet) other = i;
    if (other > 0) {
      cbxTilesetChange(other - 1);
    } else {
      fTilesetIndex = -1;
      fEngine.SetCurrentTileset(nullptr);
      ClearPalette();
      SelectFirst();
    }
  }
  tileSet->Unload();
  Changed();
  fEngine.UpdateControls();
}

bool TPalette::RemoveTileset(TTileSet* tileSet) {
  if (!tileSet || tileSet->ReadOnly()) return false;
  ReleaseTileset(tileSet);
  const TTileSet* shown = ShownTileset();
  if (!fTilesets.Remove(tileSet)) return false;
  // Entries after the removed one moved up by one.
  const int shownEntry = shown ? fTilesets.IndexOf(shown) : -1;
  fTilesetIndex = shownEntry >= 1 ? shownEntry - 1 : -1;
  Changed();
  fEngine.UpdateControls();
  return true;
}

void TPalette::ShowWallStyles() {
  if (fDoorsShown) {
    // The boxes keep the category, the palette shows the wall styles.
    fDoorsShown = false;
    if (fCategoryBeforeDoors >= 0 && fCategoryBeforeDoors < fCategories.size())
      fCategoryIndex = fCategoryBeforeDoors;
  }
  fControlsVisible = false;
  TTileSet* walls = fTilesets.Count() > 0 ? fTilesets.Items(0) : nullptr;
  fEngine.SetCurrentTileset(walls);
  fCatList.Clear();
  fWallNames.clear();
  // Without the supplied wall tileset walls are disabled altogether.
  if (walls)
    for (const TWallStyle& style : WallStyles(fTilesets)) {
      fCatList.Append(style.Group);
      fWallNames << style.Name;
    }
  RebuildPalette();
  SelectFirst();
  Changed();
}

void TPalette::RefreshWallStyles() {
  // The rooms' wall style may belong to a wall tileset read again.
  if (const TTileGroup* style = fEngine.WallStyle()) {
    bool listed = false;
    for (const TWallStyle& wall : WallStyles(fTilesets))
      listed = listed || wall.Group == style;
    if (!listed) fEngine.SetWallStyle(nullptr);
  }
  if (fControlsVisible) return;
  const TTileGroup* selected = fEngine.CurrentGroup();
  // The selection may belong to a tileset that just left: let go of it
  // before anything else looks at it.
  fEngine.SetCurrentGroup(nullptr);
  ShowWallStyles();
  for (int i = 0; i < fCatList.Count(); ++i)
    if (fCatList.At(i) == selected && i != fSelected) {
      SelectItem(i);
    }
}

void TPalette::ShowTilesets() {
  LeaveDoors();
  if (fControlsVisible) return;
  fControlsVisible = true;
  fWallNames.clear();
  FillFromBoxes();
  RebuildPalette();
  SelectFirst();
  Changed();
}

void TPalette::FillFromBoxes() {
  TTileSet* tileSet = ShownTileset();
  fEngine.SetCurrentTileset(tileSet);
  fCatList.Clear();
  if (tileSet && tileSet->Loaded() && fCategoryIndex >= 0 && fCategoryIndex < fCategories.size())
    fCatList.Fill(tileSet, fCategories[fCategoryIndex]);
}

void TPalette::ShowDoors() {
  const int doors = IndexOfText(fCategories, kDoorCategory);
  if (doors < 0 || !fControlsVisible) return;
  TTileGroup* current = fEngine.CurrentGroup();
  if (!fDoorsShown) {
    fDoorsShown = true;
    fCategoryBeforeDoors = fCategoryIndex;
  }
  if (doors != fCategoryIndex) cbxCategoryChange(doors);
  // A door picked before the tool stays picked.
  for (int i = 0; i < fCatList.Count(); ++i)
    if (fCatList.At(i) == current && i != fSelected) {
      SelectItem(i);
    }
}

void TPalette::LeaveDoors() {
  if (!fDoorsShown) return;
  fDoorsShown = false;
  if (fCategoryBeforeDoors >= 0 && fCategoryBeforeDoors < fCategories.size() &&
      fCategoryBeforeDoors != fCategoryIndex)
    cbxCategoryChange(fCategoryBeforeDoors);
}
