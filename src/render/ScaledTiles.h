#pragma once

#include "tiles/TileObjects.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <unordered_map>
#include <vector>

// The sub-tile pictures one renderer has drawn, stretched and turned,
// ready to copy: each sub-tile's picture in an orientation, colour keyed or
// not, at a size in device pixels (TSubTile::Picture). A map's repaint copies
// them instead of stretching its full-resolution images again. Each renderer
// owns one (the map grid's painter, an export, a print job), so the map's
// own pictures are never touched by drawing.
//
// The cache is bounded in bytes: past the bound it lets go of the half of
// its pictures used longest ago, so a long export or a zoomed screen keeps
// what it draws now.
class TScaledTileCache {
 public:
  static constexpr qint64 kDefaultLimit = qint64(128) << 20;

  explicit TScaledTileCache(qint64 byteLimit = kDefaultLimit) : fLimit(byteLimit) {}
  TScaledTileCache(const TScaledTileCache&) = delete;
  TScaledTileCache& operator=(const TScaledTileCache&) = delete;

  // The picture of a sub-tile in an orientation at size device pixels, made
  // on first use. Valid until the next call. Raises TError for an
  // orientation outside 0..7.
  const QImage& Picture(const TSubTile& subTile, int orientation, bool transparent,
                        const QSize& size);

  // Lets go of every picture.
  void Clear();
  int Count() const { return int(fPictures.size()); }
  qint64 Bytes() const { return fBytes; }

 private:
  struct TKey {
    quint64 PictureId = 0;
    int Width = 0;
    int Height = 0;
    int Variant = 0;  // orientation * 2 + keyed

    friend bool operator==(const TKey& a, const TKey& b) {
      return a.PictureId == b.PictureId && a.Width == b.Width && a.Height == b.Height &&
             a.Variant == b.Variant;
    }
  };
  struct THashKey {
    std::size_t operator()(const TKey& key) const;
  };
  struct TEntry {
    QImage Picture;
    quint64 LastUse = 0;
  };
  // Recent answers by sub-tile picture, looked at before the map: one slot
  // per picture id (modulo the slot count) with its pictures at one size,
  // every orientation and keying. Repainting a screen asks for the same
  // pictures thousands of times; this makes the answer an array lookup.
  struct TRecent {
    quint64 PictureId = 0;
    int Width = 0;
    int Height = 0;
    TEntry* Entries[2 * kOrientationCount] = {};
  };
  static constexpr std::size_t kRecentSlots = 1024;

  // Lets go of the older half when the bytes would pass the bound; true
  // when it did.
  bool MakeRoom(qint64 bytes);

  qint64 fLimit;
  qint64 fBytes = 0;
  quint64 fUses = 0;
  std::unordered_map<TKey, TEntry, THashKey> fPictures;
  std::vector<TRecent> fRecent = std::vector<TRecent>(kRecentSlots);
};
