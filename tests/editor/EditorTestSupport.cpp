#include "EditorTestSupport.h"

#include "storage/Guid.h"

TTileGroup& TTestTiles::MakeGroup(int width, int height, quint8 type, quint8 place, char first) {
  auto group = std::make_unique<TTileGroup>();
  group->SetPatWidth(width);
  group->SetPatHeight(height);
  group->SetFType(type);
  group->SetPlaceType(place);
  char letter = first;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      TTile& tile = group->GetOrCreateTile(x, y);
      Name(tile, std::string(1, letter));
      for (int q = 0; q < 4; ++q)
        fLetterOf.insert(tile.SubTile(q).Guid(), letter);
      ++letter;
    }
  fGroups.push_back(std::move(group));
  return *fGroups.back();
}

TTileGroup& TTestTiles::MakeWallStyle(const std::set<int>& missing) {
  auto group = std::make_unique<TTileGroup>();
  group->SetPatWidth(12);
  group->SetPatHeight(1);
  group->SetFType(gtObjects);
  group->SetPlaceType(ptRandom);
  group->SetCategory(QStringLiteral("Walls"));
  group->SetGroupName(QStringLiteral("Test Walls"));
  for (int n = 0; n < 12; ++n) {
    if (missing.count(n)) continue;
    static const char kHex[] = "0123456789ab";
    Name(group->GetOrCreateTile(n, 0), std::string(1, kHex[n]));
  }
  fGroups.push_back(std::move(group));
  return *fGroups.back();
}

void TTestTiles::NameGroup(const TTileGroup& group, char first) {
  for (int y = 0; y < group.PatHeight(); ++y)
    for (int x = 0; x < group.PatWidth(); ++x) {
      const TTile* tile = group.StoredTile(x, y);
      const char letter = char(first + y * group.PatWidth() + x);
      if (!tile) continue;
      for (int q = 0; q < 4; ++q) {
        const QString& guid = tile->SubTile(q).Guid();
        fNames.insert(guid, std::string(1, letter) + char('0' + q));
        fTileOf.insert(guid, tile);
        fLetterOf.insert(guid, letter);
      }
    }
}

void TTestTiles::NameWallStyle(const TTileGroup& style) {
  static const char kHex[] = "0123456789ab";
  for (int n = 0; n < 12; ++n) {
    const TTile* tile = style.TileAt(n, 0, 0);
    if (!tile) continue;
    for (int q = 0; q < 4; ++q) {
      fNames.insert(tile->SubTile(q).Guid(), std::string(1, kHex[n]) + char('0' + q));
      fTileOf.insert(tile->SubTile(q).Guid(), tile);
    }
  }
}

void TTestTiles::Name(TTile& tile, const std::string& prefix) {
  for (int q = 0; q < 4; ++q) {
    // Every sub-tile is a small image of its own colours and identity.
    TSubTile& subTile = tile.SubTile(q);
    QImage image(4, 4, QImage::Format_RGB888);
    image.fill(QColor(prefix[0] * 3 % 256, q * 60, int(fNames.size()) % 256));
    subTile.SetImage(image);
    subTile.SetGuid(NewGuidText());
    fNames.insert(subTile.Guid(), prefix + char('0' + q));
    fTileOf.insert(subTile.Guid(), &tile);
  }
}

std::string TTestTiles::Name(const TSubTile& subTile) const {
  return fNames.value(subTile.Guid(), "??");
}

std::string TTestTiles::SubCellPicture(const TTileMap& map, int layer) const {
  std::string text;
  for (int y = 0; y < map.Height(); ++y) {
    if (y > 0) text += '\n';
    for (int x = 0; x < map.Width(); ++x) {
      if (x > 0) text += ' ';
      const TMapTile* tile = map.GetTile(layer, x, y);
      text += tile ? Name(*tile->SubTile()) : "..";
    }
  }
  return text;
}

std::string TTestTiles::CellPicture(const TTileMap& map, int layer) const {
  std::string text;
  for (int r = 0; r < map.Height() / 2; ++r) {
    if (r > 0) text += '\n';
    for (int c = 0; c < map.Width() / 2; ++c) {
      const TMapTile* first = map.GetTile(layer, 2 * c, 2 * r);
      bool empty = true;
      for (int q = 0; q < 4; ++q)
        empty &= !map.GetTile(layer, 2 * c + q % 2, 2 * r + q / 2);
      if (empty) {
        text += '.';
        continue;
      }
      char letter = '?';
      if (first && fTileOf.contains(first->SubTile()->Guid())) {
        const TTile* tile = fTileOf.value(first->SubTile()->Guid());
        const int orientation = first->Orientation();
        bool whole = true;
        for (int q = 0; q < 4; ++q) {
          const TMapTile* placed = map.GetTile(layer, 2 * c + q % 2, 2 * r + q / 2);
          whole &= placed && placed->Orientation() == orientation &&
                   placed->SubTile()->Guid() == tile->SubTileFor(q, orientation).Guid();
        }
        if (whole) letter = fLetterOf.value(first->SubTile()->Guid(), '?');
      }
      text += letter;
    }
  }
  return text;
}

TEngineRig::TEngineRig(int cols, int rows) : map(std::make_unique<TTileMap>()) {
  map->SetWidth(2 * cols);
  map->SetHeight(2 * rows);
  grid.SetControlSize(2000, 2000);
  painter.ActivateMap(map.get());
  painter.ApplyZoom();
  QObject::connect(&engine, &TPlacementEngine::UpdateControlsRequested,
                   [this] { ++updateControls; });
  QObject::connect(&grid, &TMapGridModel::Selected, &engine, &TPlacementEngine::grdMapSelect);
}

void TEngineRig::Select(TTileGroup& group) {
  engine.SetCurrentGroup(&group);
  engine.SetOrientation(0);
  engine.SetupPlacement();
}

std::string Lines(const char* text) {
  std::string s(text);
  if (!s.empty() && s.front() == '\n') s.erase(0, 1);
  return s;
}
