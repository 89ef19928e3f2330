#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QPainter;
class QRect;
class TStorage;
class TTile;
class TTileGroup;
class TTileSet;

// Orientation codes: 0 as stored, 1 rotated clockwise, 2 rotated 180°,
// 3 rotated counter-clockwise, 4 mirrored left-right, 5 mirrored top-bottom,
// 6 mirrored about the main diagonal, 7 about the other diagonal.
constexpr int kOrientationCount = 8;
// True for the orientations that exchange width and height (1, 3, 6, 7).
bool SwapsSides(int orientation);
// Raises TError for a code outside 0..7.
void CheckOrientation(int orientation);

// Quadrants: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
// kSubTileFor[orientation][quadrant] is the sub-tile drawn in that quadrant.
extern const int kSubTileFor[kOrientationCount][4];

// Display names of the group types and placement types.
extern const char* const GroupTypeNames[2];
extern const char* const PlaceTypeNames[3];

enum TPlaceType : quint8 { ptRandom = 0, ptFixed = 1, ptPattern = 2 };
enum TGroupType : quint8 { gtFloor = 0, gtObjects = 1 };

// One quarter-cell image with its identity and transparent colour. Owned by
// its tile, or by a map's embedded tiles when cloned. It holds only the
// full-resolution picture: whoever draws sub-tiles at a size keeps the
// scaled copies (see render/ScaledTiles.h).
class TSubTile {
 public:
  TSubTile();
  ~TSubTile();

  // A copy with the picture, the same owning tile, quadrant, identity and
  // transparent colour.
  std::unique_ptr<TSubTile> Clone() const;
  // True when both identity texts are exactly equal.
  bool SameGuid(const TSubTile& other) const { return fGuid == other.fGuid; }

  // The full-resolution image (QImage::Format_RGB888).
  const QImage& Image() const { return fImage; }
  void SetImage(QImage image);
  // Names what the sub-tile draws, its image and transparent colour: a
  // number of this process that no other picture had or will have. Copies
  // share it; a new image or colour gives a new one. Caches of scaled
  // pictures key on it, so a freed sub-tile never lends its pictures to one
  // made later at the same address.
  quint64 PictureId() const { return fPictureId; }

  const QString& Guid() const { return fGuid; }
  void SetGuid(const QString& guid) { fGuid = guid; }
  qint32 TransparentColor() const { return fTransparentColor; }
  void SetTransparentColor(qint32 color);

  // The owning tile (not owned; none for a map's own copies that were loaded
  // from a map file) and the quadrant within it.
  TTile* Tile() const { return fTile; }
  int Quadrant() const { return fQuadrant; }
  void SetOwner(TTile* tile, int quadrant) {
    fTile = tile;
    fQuadrant = quadrant;
  }

  // The image stretched to size (as displayed, after the orientation) and
  // turned into the orientation, ready to draw: premultiplied ARGB, with
  // the pixels of TransparentColor fully transparent when transparent and
  // the sub-tile has that colour. Stretched first and turned after, so a
  // size's pixels do not depend on the orientation's order of axes.
  QImage Picture(int orientation, bool transparent, const QSize& size) const;

  // Draws the sub-tile into rect in an orientation, stretched from Image to
  // the device pixels rect covers (sharp at any device pixel ratio).
  // transparent leaves out the pixels of TransparentColor (when it has one).
  void Draw(QPainter& canvas, const QRect& rect, int orientation, bool transparent) const;

 private:
  QImage fImage;
  TTile* fTile = nullptr;
  int fQuadrant = 0;
  QString fGuid;
  qint32 fTransparentColor = -1;
  quint64 fPictureId;
};

// One cell of a tile group: four sub-tiles, one per quadrant.
class TTile {
 public:
  TTile(TTileGroup* group, int x, int y);
  TTile(const TTile&) = delete;
  TTile& operator=(const TTile&) = delete;

  TSubTile& SubTile(int quadrant) { return fSubTiles[size_t(quadrant)]; }
  const TSubTile& SubTile(int quadrant) const { return fSubTiles[size_t(quadrant)]; }
  // The sub-tile drawn in a quadrant of the displayed cell in an orientation.
  const TSubTile& SubTileFor(int quadrant, int orientation) const;

  int X() const { return fX; }
  int Y() const { return fY; }
  TTileGroup* Group() const { return fGroup; }

  // Splits rect into quadrants and draws each quadrant's sub-tile, keyed
  // transparent when the group holds objects.
  void Draw(QPainter& canvas, const QRect& rect, int orientation) const;

 private:
  std::array<TSubTile, 4> fSubTiles;
  int fX;
  int fY;
  TTileGroup* fGroup;
};

// The size, type and placement a new tile group starts with (the program's
// own defaults; the application passes the user's).
struct TGroupDefaults {
  int PatWidth = 5;
  int PatHeight = 1;
  quint8 FType = 0;
  quint8 PlaceType = 0;
};

// A pickable item of a tileset: a PatWidth × PatHeight grid of tiles.
class TTileGroup {
 public:
  explicit TTileGroup(TTileSet* tileSet = nullptr,
                      const TGroupDefaults& defaults = TGroupDefaults());
  ~TTileGroup();
  TTileGroup(const TTileGroup&) = delete;
  TTileGroup& operator=(const TTileGroup&) = delete;

  // Fills the group from its storage in a tileset file. Raises on a missing
  // property, a missing "Tiles" storage, a bad tile stream name or position,
  // or an image that does not decode.
  void LoadFromStorage(const TStorage& storage);

  int PatWidth() const { return fPatWidth; }
  int PatHeight() const { return fPatHeight; }
  // Resize the grid; removed cells free their tiles. Negative sizes raise.
  void SetPatWidth(int width);
  void SetPatHeight(int height);

  quint8 FType() const { return fFType; }
  void SetFType(quint8 type) { fFType = type; }
  quint8 PlaceType() const { return fPlaceType; }
  void SetPlaceType(quint8 type) { fPlaceType = type; }
  const QString& GroupName() const { return fGroupName; }
  void SetGroupName(const QString& name) { fGroupName = name; }
  const QString& GroupDescr() const { return fGroupDescr; }
  void SetGroupDescr(const QString& descr) { fGroupDescr = descr; }
  const QString& Category() const { return fCategory; }
  void SetCategory(const QString& category) { fCategory = category; }

  TTileSet* TileSet() const { return fTileSet; }
  void SetTileSet(TTileSet* tileSet) { fTileSet = tileSet; }
  bool Corrupt() const { return fCorrupt; }
  void SetCorrupt(bool corrupt) { fCorrupt = corrupt; }

  // The tile shown at column x, row y of the grid as displayed in an
  // orientation (Random groups ignore the orientation), or none.
  TTile* TileAt(int x, int y, int orientation) const;
  // The tile stored at (x, y), or none; (x, y) outside the grid gives none.
  TTile* StoredTile(int x, int y) const;
  // The tile stored at (x, y), created when the cell is empty. The position
  // must lie inside the grid; outside it raises TError.
  TTile& GetOrCreateTile(int x, int y);
  // Frees every tile; the grid keeps its size with every cell empty.
  void Clear();

  // Draws the whole group centred in rect on the window background colour,
  // at most 64 pixels per cell; Random groups show only their first tile.
  void DrawPreview(QPainter& canvas, const QRect& rect, int orientation) const;

 private:
  std::unique_ptr<TTile>& Cell(int x, int y) { return fTiles[size_t(x * fPatHeight + y)]; }
  void Resize(int width, int height);

  int fPatWidth = 0;
  int fPatHeight = 0;
  quint8 fFType = 0;
  quint8 fPlaceType = 0;
  QString fGroupName;
  QString fGroupDescr;
  QString fCategory;
  TTileSet* fTileSet = nullptr;
  bool fCorrupt = false;
  // Column-major: cell (x, y) at x * PatHeight + y.
  std::vector<std::unique_ptr<TTile>> fTiles;
};
