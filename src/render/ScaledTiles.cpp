#include "ScaledTiles.h"

#include <algorithm>
#include <vector>

std::size_t TScaledTileCache::THashKey::operator()(const TKey& key) const {
  quint64 x = key.PictureId * 0x9E3779B97F4A7C15ull;
  x ^= ((quint64(uint(key.Width)) << 32) | uint(key.Height)) * 0xC2B2AE3D27D4EB4Full;
  x ^= quint64(uint(key.Variant));
  x ^= x >> 29;
  return std::size_t(x);
}

const QImage& TScaledTileCache::Picture(const TSubTile& subTile, int orientation, bool transparent,
                                        const QSize& size) {
  CheckOrientation(orientation);
  // A sub-tile without a transparent colour draws the same either way.
  const bool keyed = transparent && subTile.TransparentColor() != -1;
  const int variant = orientation * 2 + keyed;
  const quint64 id = subTile.PictureId();
  TRecent& recent = fRecent[id % kRecentSlots];
  if (recent.PictureId == id && recent.Width == size.width() && recent.Height == size.height()) {
    if (TEntry* entry = recent.Entries[variant]) {
      entry->LastUse = ++fUses;
      return entry->Picture;
    }
  } else {
    recent = TRecent{id, size.width(), size.height(), {}};
  }
  const TKey key{id, size.width(), size.height(), variant};
  auto found = fPictures.find(key);
  if (found == fPictures.end()) {
    QImage picture = subTile.Picture(orientation, keyed, size);
    const qint64 bytes = picture.sizeInBytes();
    if (MakeRoom(bytes)) recent = TRecent{id, size.width(), size.height(), {}};
    found = fPictures.emplace(key, TEntry{std::move(picture), 0}).first;
    fBytes += bytes;
  }
  found->second.LastUse = ++fUses;
  recent.Entries[variant] = &found->second;
  return found->second.Picture;
}

bool TScaledTileCache::MakeRoom(qint64 bytes) {
  if (fBytes + bytes <= fLimit || fPictures.empty()) return false;
  // The half used longest ago goes.
  std::vector<quint64> uses;
  uses.reserve(fPictures.size());
  for (const auto& entry : fPictures)
    uses.push_back(entry.second.LastUse);
  const auto last = uses.begin() + std::ptrdiff_t(std::max<std::size_t>(uses.size() / 2, 1) - 1);
  std::nth_element(uses.begin(), last, uses.end());
  const quint64 oldest = *last;
  for (auto it = fPictures.begin(); it != fPictures.end();) {
    if (it->second.LastUse <= oldest) {
      fBytes -= it->second.Picture.sizeInBytes();
      it = fPictures.erase(it);
    } else {
      ++it;
    }
  }
  std::fill(fRecent.begin(), fRecent.end(), TRecent());
  return true;
}

void TScaledTileCache::Clear() {
  fPictures.clear();
  fBytes = 0;
  std::fill(fRecent.begin(), fRecent.end(), TRecent());
}
