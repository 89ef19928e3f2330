#include "TileObjects.h"

#include "DevicePixels.h"
#include "ImageTransforms.h"
#include "base/Convert.h"
#include "storage/Png.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"
#include "storage/SubTileRecord.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QRect>

#include <atomic>
#include <cmath>

const int kSubTileFor[kOrientationCount][4] = {
    {0, 1, 2, 3}, {2, 0, 3, 1}, {3, 2, 1, 0}, {1, 3, 0, 2},
    {1, 0, 3, 2}, {2, 3, 0, 1}, {0, 2, 1, 3}, {3, 1, 2, 0},
};

const char* const GroupTypeNames[2] = {"Floor Tiles", "Objects"};
const char* const PlaceTypeNames[3] = {"Random", "Fixed", "Pattern"};

namespace {

// Bounds on a group's grid. Supplied groups are a dozen cells at most; the
// bounds only keep a damaged file from allocating without limit.
constexpr int kMaxGroupSide = 4096;
constexpr int kMaxGroupCells = 65536;

int IntOrZero(const QString& text) {
  return StrToIntDef(text, 0);
}

}  // namespace

void CheckOrientation(int orientation) {
  if (orientation < 0 || orientation >= kOrientationCount)
    throw TError(QStringLiteral("%1 is not a valid orientation.").arg(orientation));
}

bool SwapsSides(int orientation) {
  return orientation == 1 || orientation == 3 || orientation == 6 || orientation == 7;
}

// ---------------------------------------------------------------------------
// TSubTile

namespace {

quint64 NewPictureId() {
  static std::atomic<quint64> last{0};
  return ++last;
}

}  // namespace

TSubTile::TSubTile() : fPictureId(NewPictureId()) {}

TSubTile::~TSubTile() = default;

std::unique_ptr<TSubTile> TSubTile::Clone() const {
  // QImage shares its pixels until either side writes, so the copy costs
  // nothing until then; it draws the same picture, so it keeps the id.
  return std::make_unique<TSubTile>(*this);
}

void TSubTile::SetImage(QImage image) {
  fImage = std::move(image);
  fPictureId = NewPictureId();
}

void TSubTile::SetTransparentColor(qint32 color) {
  if (color == fTransparentColor) return;
  fTransparentColor = color;
  fPictureId = NewPictureId();
}

QImage TSubTile::Picture(int orientation, bool transparent, const QSize& size) const {
  CheckOrientation(orientation);
  if (size.isEmpty()) return QImage();
  // Stretched to the size before the turn: an orientation that exchanges
  // the sides is stretched to the exchanged size.
  const bool swap = SwapsSides(orientation);
  const QImage scaled = ScaleImage(fImage, swap ? size.height() : size.width(),
                                   swap ? size.width() : size.height(), fTransparentColor);
  const bool keyed = transparent && fTransparentColor != -1;
  return ColourKeyed(OrientImage(scaled, orientation), keyed ? fTransparentColor : -1);
}

void TSubTile::Draw(QPainter& canvas, const QRect& rect, int orientation, bool transparent) const {
  CheckOrientation(orientation);
  const QRect device = DeviceRect(canvas, rect);
  if (device.isEmpty()) return;
  // The stretch happens here rather than in the painter: a painter's filter
  // would blend keyed pixels into their neighbours.
  DrawDevicePicture(canvas, rect, device, Picture(orientation, transparent, device.size()));
}

// ---------------------------------------------------------------------------
// TTile

TTile::TTile(TTileGroup* group, int x, int y) : fX(x), fY(y), fGroup(group) {
  for (int q = 0; q < 4; ++q)
    fSubTiles[size_t(q)].SetOwner(this, q);
}

const TSubTile& TTile::SubTileFor(int quadrant, int orientation) const {
  CheckOrientation(orientation);
  if (quadrant < 0 || quadrant > 3)
    throw TError(QStringLiteral("%1 is not a valid quadrant.").arg(quadrant));
  return fSubTiles[size_t(kSubTileFor[orientation][quadrant])];
}

void TTile::Draw(QPainter& canvas, const QRect& rect, int orientation) const {
  // Edges as exclusive right and bottom; the midpoints truncate toward zero.
  const int left = rect.x();
  const int top = rect.y();
  const int right = rect.x() + rect.width();
  const int bottom = rect.y() + rect.height();
  const int midX = left + (right - left) / 2;
  const int midY = top + (bottom - top) / 2;
  const QRect quadrants[4] = {
      QRect(left, top, midX - left, midY - top),
      QRect(midX, top, right - midX, midY - top),
      QRect(left, midY, midX - left, bottom - midY),
      QRect(midX, midY, right - midX, bottom - midY),
  };
  const bool transparent = fGroup && fGroup->FType() == gtObjects;
  for (int q = 0; q < 4; ++q)
    SubTileFor(q, orientation).Draw(canvas, quadrants[q], orientation, transparent);
}

// ---------------------------------------------------------------------------
// TTileGroup

TTileGroup::TTileGroup(TTileSet* tileSet, const TGroupDefaults& defaults)
    : fFType(defaults.FType), fPlaceType(defaults.PlaceType), fTileSet(tileSet) {
  SetPatWidth(defaults.PatWidth);
  SetPatHeight(defaults.PatHeight);
}

TTileGroup::~TTileGroup() = default;

void TTileGroup::LoadFromStorage(const TStorage& storage) {
  // The order of the reads decides which missing property is reported.
  SetPatWidth(IntOrZero(ReadProperty(storage, QStringLiteral("PatWidth"))));
  SetPatHeight(IntOrZero(ReadProperty(storage, QStringLiteral("PatHeight"))));
  fFType = quint8(IntOrZero(ReadProperty(storage, QStringLiteral("FType"))) & 0xFF);
  fGroupName = ReadProperty(storage, QStringLiteral("GroupName"));
  fGroupDescr = ReadProperty(storage, QStringLiteral("GroupDescr"));
  fCategory = ReadProperty(storage, QStringLiteral("Category"));
  fPlaceType = quint8(IntOrZero(ReadProperty(storage, QStringLiteral("PlaceType"))) & 0xFF);

  const TStorage* tiles = storage.FindStorage(QStringLiteral("Tiles"));
  if (!tiles)
    throw TStorageError(
        QStringLiteral("Invalid file format detected: the tile group \"%1\" has no tiles.")
            .arg(fGroupName));

  for (int i = 0; i < tiles->ElementCount(); ++i) {
    if (tiles->TypeAt(i) != TElementType::Stream) continue;
    const QString& name = tiles->NameAt(i);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0) throw TConvertError(QStringLiteral("'%1' is not a valid tile position").arg(name));
    const int x = StrToInt(name.left(dot));
    const int y = StrToInt(name.mid(dot + 1));
    if (x < 0 || x >= fPatWidth || y < 0 || y >= fPatHeight)
      throw TError(QStringLiteral("The tile \"%1\" lies outside the %2 × %3 grid of the tile "
                                  "group \"%4\".")
                       .arg(name)
                       .arg(fPatWidth)
                       .arg(fPatHeight)
                       .arg(fGroupName));
    TTile& tile = GetOrCreateTile(x, y);

    const QByteArray& data = tiles->StreamAt(i);
    qsizetype offset = 0;
    for (int q = 0; q < 4; ++q) {
      TSubTileRecord record;
      try {
        record = ReadSubTileRecord(data, offset);
      } catch (const TPngError&) {
        // A tile stream that does not even start with an image is not a
        // tileset's tile stream at all.
        if (q == 0)
          throw TError(QStringLiteral("Invalid file format detected, unable to load tile group."));
        throw;
      }
      TSubTile& subTile = tile.SubTile(q);
      subTile.SetImage(std::move(record.Image));
      subTile.SetGuid(record.Guid);
      subTile.SetTransparentColor(record.TransparentColor);
    }
  }
}

void TTileGroup::SetPatWidth(int width) {
  if (width < 0)
    throw TError(QStringLiteral("A tile group cannot have a negative width (%1).").arg(width));
  Resize(width, fPatHeight);
}

void TTileGroup::SetPatHeight(int height) {
  if (height < 0)
    throw TError(QStringLiteral("A tile group cannot have a negative height (%1).").arg(height));
  Resize(fPatWidth, height);
}

void TTileGroup::Resize(int width, int height) {
  if (width > kMaxGroupSide || height > kMaxGroupSide || qint64(width) * height > kMaxGroupCells)
    throw TError(
        QStringLiteral("A tile group of %1 × %2 cells is too large.").arg(width).arg(height));
  // Removed cells free their tiles from the last column (or row) down, each
  // column over all rows, before the survivors move to the new grid.
  for (int x = fPatWidth - 1; x >= width; --x)
    for (int y = 0; y < fPatHeight; ++y)
      Cell(x, y).reset();
  for (int x = 0; x < qMin(width, fPatWidth); ++x)
    for (int y = fPatHeight - 1; y >= height; --y)
      Cell(x, y).reset();

  std::vector<std::unique_ptr<TTile>> resized(size_t(width) * size_t(height));
  for (int x = 0; x < qMin(width, fPatWidth); ++x)
    for (int y = 0; y < qMin(height, fPatHeight); ++y)
      resized[size_t(x) * size_t(height) + size_t(y)] = std::move(Cell(x, y));
  fTiles = std::move(resized);
  fPatWidth = width;
  fPatHeight = height;
}

TTile* TTileGroup::StoredTile(int x, int y) const {
  if (x < 0 || x >= fPatWidth || y < 0 || y >= fPatHeight) return nullptr;
  return fTiles[size_t(x) * size_t(fPatHeight) + size_t(y)].get();
}

TTile* TTileGroup::TileAt(int x, int y, int orientation) const {
  CheckOrientation(orientation);
  if (fPlaceType == ptRandom) orientation = 0;
  const int w = fPatWidth;
  const int h = fPatHeight;
  int sx = x;
  int sy = y;
  switch (orientation) {
    case 1:
      sx = y, sy = h - 1 - x;
      break;
    case 2:
      sx = w - 1 - x, sy = h - 1 - y;
      break;
    case 3:
      sx = w - 1 - y, sy = x;
      break;
    case 4:
      sx = w - 1 - x, sy = y;
      break;
    case 5:
      sx = x, sy = h - 1 - y;
      break;
    case 6:
      sx = y, sy = x;
      break;
    case 7:
      sx = w - 1 - y, sy = h - 1 - x;
      break;
    default:
      break;
  }
  return StoredTile(sx, sy);
}

TTile& TTileGroup::GetOrCreateTile(int x, int y) {
  if (x < 0 || x >= fPatWidth || y < 0 || y >= fPatHeight)
    throw TError(QStringLiteral("The cell (%1, %2) lies outside the %3 × %4 grid of the tile "
                                "group \"%5\".")
                     .arg(x)
                     .arg(y)
                     .arg(fPatWidth)
                     .arg(fPatHeight)
                     .arg(fGroupName));
  std::unique_ptr<TTile>& cell = Cell(x, y);
  if (!cell) cell = std::make_unique<TTile>(this, x, y);
  return *cell;
}

void TTileGroup::Clear() {
  for (auto& tile : fTiles)
    tile.reset();
}

void TTileGroup::DrawPreview(QPainter& canvas, const QRect& rect, int orientation) const {
  CheckOrientation(orientation);
  const QColor background =
      qGuiApp ? QGuiApplication::palette().color(QPalette::Base) : QColor(Qt::white);
  canvas.fillRect(rect, background);

  int columns = 1;
  int rows = 1;
  if (fPlaceType >= 1 && fPlaceType <= 3) {
    columns = SwapsSides(orientation) ? fPatHeight : fPatWidth;
    rows = SwapsSides(orientation) ? fPatWidth : fPatHeight;
  }
  // An empty grid has nothing to lay out (and would divide by zero).
  if (columns <= 0 || rows <= 0) return;

  const int width = rect.width();
  const int height = rect.height();
  int size = qMin(width / columns, height / rows);
  if (size > 0 && size % 2 == 1) --size;
  if (size > 64) size = 64;
  if (size <= 0) return;

  // Half of an odd count is a half cell: the real division centres it.
  const int left = rect.x() + width / 2 - int(std::trunc(columns / 2.0 * size));
  const int top = rect.y() + height / 2 - int(std::trunc(rows / 2.0 * size));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      if (const TTile* tile = TileAt(c, r, orientation))
        tile->Draw(canvas, QRect(left + c * size, top + r * size, size, size), orientation);
}
