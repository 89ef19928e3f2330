#include "MapTestSupport.h"

#include "storage/Guid.h"

#include <gtest/gtest.h>

#include <sstream>

std::unique_ptr<TSubTile> MakeSubTile(int seed, int side) {
  QImage image(side, side, QImage::Format_RGB888);
  for (int y = 0; y < side; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < side; ++x) {
      row[3 * x] = uchar(seed * 37 + x * 11);
      row[3 * x + 1] = uchar(seed * 91 + y * 13);
      row[3 * x + 2] = uchar((seed * 53) ^ (x * y));
    }
  }
  auto subTile = std::make_unique<TSubTile>();
  subTile->SetImage(image);
  subTile->SetGuid(NewGuidText());
  subTile->SetTransparentColor(seed % 2 ? 0x02000000 | (seed * 0x010203 & 0xFFFFFF) : -1);
  return subTile;
}

TTilePalette::TTilePalette(int count, int side) {
  for (int i = 0; i < count; ++i)
    fTiles.push_back(MakeSubTile(i + 1, side));
}

int TTilePalette::IndexOf(const TSubTile& subTile) const {
  for (size_t i = 0; i < fTiles.size(); ++i)
    if (fTiles[i]->SameGuid(subTile)) return int(i);
  return -1;
}

char TTilePalette::LetterOf(const TSubTile& subTile) const {
  const int index = IndexOf(subTile);
  return index >= 0 && index < 26 ? char('a' + index) : '?';
}

std::string Picture(const TTileMap& map, int layer, const TTilePalette& palette) {
  std::string text;
  for (int y = 0; y < map.Height(); ++y) {
    if (y > 0) text += '\n';
    for (int x = 0; x < map.Width(); ++x) {
      const TMapTile* tile = map.GetTile(layer, x, y);
      text += tile ? palette.LetterOf(*tile->SubTile()) : '.';
    }
  }
  return text;
}

void Paint(TTileMap& map, int layer, const TTilePalette& palette, const std::string& picture) {
  std::istringstream rows(picture);
  std::string row;
  int y = 0;
  while (rows >> row) {
    for (int x = 0; x < int(row.size()); ++x) {
      if (row[size_t(x)] == '.') continue;
      ASSERT_NE(map.PlaceTile(layer, x, y, palette[row[size_t(x)] - 'a'], 0), nullptr);
    }
    ++y;
  }
}

bool TMapState::operator==(const TMapState& other) const {
  if (Width != other.Width || Height != other.Height) return false;
  for (int layer = 0; layer < kLayerCount; ++layer)
    if (Cells[layer] != other.Cells[layer]) return false;
  return true;
}

TMapState Snapshot(const TTileMap& map) {
  TMapState state;
  state.Width = map.Width();
  state.Height = map.Height();
  for (int layer = 0; layer < kLayerCount; ++layer)
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x) {
        TCellState cell;
        if (const TMapTile* tile = map.GetTile(layer, x, y)) {
          cell.Guid = tile->SubTile()->Guid();
          cell.Orientation = tile->Orientation();
        }
        state.Cells[layer].push_back(cell);
      }
  return state;
}

void ExpectConsistent(const TTileMap& map) {
  for (int layer = 0; layer < kLayerCount; ++layer) {
    ASSERT_EQ(map.Layer(layer).Width(), map.Width());
    ASSERT_EQ(map.Layer(layer).Height(), map.Height());
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x)
        if (const TMapTile* tile = map.GetTile(layer, x, y)) {
          ASSERT_GE(tile->TileIndex(), 0);
          ASSERT_LT(tile->TileIndex(), map.EmbeddedTiles().Count());
          EXPECT_EQ(tile->X(), x);
          EXPECT_EQ(tile->Y(), y);
          EXPECT_EQ(tile->Map(), &map);
        }
  }
}

QByteArray PixelBytes(const QImage& image) {
  QByteArray bytes;
  for (int y = 0; y < image.height(); ++y)
    bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                 qsizetype(image.width()) * 3);
  return bytes;
}
