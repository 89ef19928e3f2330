#include "TilesetDocument.h"

#include "base/Error.h"
#include "storage/Guid.h"
#include "tiles/PictureCutter.h"
#include "tiles/PictureFile.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetWriter.h"
#include "tiles/WallStrip.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <vector>

namespace {

const QString kWallCategory = QStringLiteral("Walls");
// Sub-tiles are cut at the supplied tilesets' size.
constexpr int kSubTileSize = 150;

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// The same path, compared the way the file system compares names.
bool SamePath(const QString& a, const QString& b) {
  const QString left = QFileInfo(a).absoluteFilePath();
  const QString right = QFileInfo(b).absoluteFilePath();
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return left.compare(right, Qt::CaseInsensitive) == 0;
#else
  return left == right;
#endif
}

// A group of the given shape without a tileset, filled from a picture.
std::unique_ptr<TTileGroup> CutGroup(const QImage& picture, int across, int down, quint8 type,
                                     quint8 place, std::optional<QRgb> key) {
  TGroupDefaults defaults;
  defaults.PatWidth = across;
  defaults.PatHeight = down;
  defaults.FType = type;
  defaults.PlaceType = place;
  auto group = std::make_unique<TTileGroup>(nullptr, defaults);
  TCutOptions options;
  options.Across = across;
  options.Down = down;
  options.SubTileSize = kSubTileSize;
  options.KeyColor = key;
  CutPictureIntoGroup(picture, options, *group);
  return group;
}

// The columns and rows the stored tiles reach.
QSize TileExtent(const TTileGroup& group) {
  QSize extent(0, 0);
  for (int x = 0; x < group.PatWidth(); ++x)
    for (int y = 0; y < group.PatHeight(); ++y)
      if (group.StoredTile(x, y)) extent = extent.expandedTo(QSize(x + 1, y + 1));
  return extent;
}

// The refusal of a new group whose name another group has.
TError NameTakenError(const QString& name) {
  return TError(QStringLiteral("A group named %1 is already in the tileset. Each group needs a "
                               "name of its own.")
                    .arg(Quoted(name)));
}

}  // namespace

TTilesetDocument::TTilesetDocument(QStringList suppliedFiles)
    : fSuppliedFiles(std::move(suppliedFiles)), fTileSet(std::make_unique<TTileSet>()) {
  New(false);
}

TTilesetDocument::~TTilesetDocument() = default;

void TTilesetDocument::New(bool walls) {
  fTileSet = std::make_unique<TTileSet>();
  fTileSet->EnsureLoaded();  // no file: nothing to read later
  fTileSet->SetTilesetName(walls ? QStringLiteral("New Walls") : QStringLiteral("New Tileset"));
  fFileName.clear();
  fWalls = walls;
  fReadOnly = false;
  fModified = false;
}

bool TTilesetDocument::Open(const QString& path) {
  auto tileSet = std::make_unique<TTileSet>();
  if (!tileSet->Open(path)) return false;
  fReadOnly = tileSet->ReadOnly();
  fTileSet = std::move(tileSet);
  fFileName = QFileInfo(path).absoluteFilePath();
  fWalls = QFileInfo(path).suffix().compare(QLatin1String("wls"), Qt::CaseInsensitive) == 0;
  fModified = false;
  return true;
}

bool TTilesetDocument::IsSupplied(const QString& path) const {
  for (const QString& supplied : fSuppliedFiles)
    if (SamePath(supplied, path)) return true;
  return false;
}

bool TTilesetDocument::NeedsNewName() const {
  return fFileName.isEmpty() || IsSupplied(fFileName) || fReadOnly;
}

int TTilesetDocument::GroupCount() const {
  return int(fTileSet->Groups().size());
}

void TTilesetDocument::CheckIndex(int index) const {
  if (index < 0 || index >= GroupCount()) throw TIndexError(index);
}

TTileGroup& TTilesetDocument::Group(int index) const {
  CheckIndex(index);
  return *fTileSet->Groups()[size_t(index)];
}

QStringList TTilesetDocument::Categories() const {
  QStringList categories;
  if (fWalls)
    categories << kWallCategory;
  else
    categories << QStringLiteral("Floor tiles") << QStringLiteral("Placeables")
               << QStringLiteral("Doors");
  for (const auto& group : fTileSet->Groups())
    if (!group->Category().isEmpty() &&
        !categories.contains(group->Category(), Qt::CaseInsensitive))
      categories << group->Category();
  return categories;
}

bool TTilesetDocument::NameTaken(const QString& name) const {
  for (const auto& group : fTileSet->Groups())
    if (group->GroupName().compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QString TTilesetDocument::UniqueGroupName(const QString& base) const {
  if (!NameTaken(base)) return base;
  for (int n = 2;; ++n) {
    const QString name = QStringLiteral("%1 %2").arg(base).arg(n);
    if (!NameTaken(name)) return name;
  }
}

int TTilesetDocument::AddPictureGroups(const QImage& picture, const TPictureGroups& how) {
  if (fWalls)
    throw TError(
        QStringLiteral("A wall tileset holds wall styles only. Add a wall strip instead."));
  if (picture.isNull()) throw TError(QStringLiteral("The picture is empty or could not be read."));
  CheckPictureSize(picture.size());
  const QString name = how.Name.trimmed();
  if (name.isEmpty()) throw TError(QStringLiteral("The new group needs a name."));

  const bool sheet = how.SheetColumns * how.SheetRows > 1;
  const std::vector<QImage> pieces =
      sheet ? SplitSheet(picture, how.SheetColumns, how.SheetRows) : std::vector<QImage>{picture};
  QStringList names;
  for (size_t i = 0; i < pieces.size(); ++i) {
    names << (sheet ? QStringLiteral("%1 %2").arg(name).arg(i + 1) : name);
    if (NameTaken(names.back())) throw NameTakenError(names.back());
  }
  // Every piece is cut before the first joins the tileset, so a piece that
  // fails leaves the tileset as it was.
  std::vector<std::unique_ptr<TTileGroup>> groups;
  for (size_t i = 0; i < pieces.size(); ++i) {
    auto group = CutGroup(pieces[i], how.Across, how.Down, how.FType, how.PlaceType, how.KeyColor);
    group->SetGroupName(names[int(i)]);
    group->SetGroupDescr(how.Description);
    group->SetCategory(how.Category.trimmed());
    groups.push_back(std::move(group));
  }
  const int first = GroupCount();
  for (auto& group : groups)
    fTileSet->InsertGroup(GroupCount(), std::move(group));
  fModified = true;
  return first;
}

int TTilesetDocument::AddWallStyle(const QImage& strip, const QString& name,
                                   std::optional<QRgb> keyColor) {
  if (!fWalls)
    throw TError(
        QStringLiteral("Wall styles belong in a wall tileset. Start one with New Wall "
                       "Tileset."));
  if (strip.isNull()) throw TError(QStringLiteral("The picture is empty or could not be read."));
  CheckPictureSize(strip.size());
  CheckWallStrip(strip.size());
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty()) throw TError(QStringLiteral("The new wall style needs a name."));
  if (NameTaken(trimmed)) throw NameTakenError(trimmed);
  auto group = CutWallStyle(strip, trimmed, keyColor, kSubTileSize);
  const int index = GroupCount();
  fTileSet->InsertGroup(index, std::move(group));
  fModified = true;
  return index;
}

int TTilesetDocument::DuplicateGroup(int index) {
  const TTileGroup& source = Group(index);
  TGroupDefaults shape;
  shape.PatWidth = source.PatWidth();
  shape.PatHeight = source.PatHeight();
  shape.FType = source.FType();
  shape.PlaceType = source.PlaceType();
  auto copy = std::make_unique<TTileGroup>(nullptr, shape);
  copy->SetGroupName(UniqueGroupName(source.GroupName()));
  copy->SetGroupDescr(source.GroupDescr());
  copy->SetCategory(source.Category());
  for (int x = 0; x < source.PatWidth(); ++x)
    for (int y = 0; y < source.PatHeight(); ++y) {
      const TTile* tile = source.StoredTile(x, y);
      if (!tile) continue;
      TTile& target = copy->GetOrCreateTile(x, y);
      for (int q = 0; q < 4; ++q) {
        target.SubTile(q).SetImage(tile->SubTile(q).Image());
        target.SubTile(q).SetTransparentColor(tile->SubTile(q).TransparentColor());
        target.SubTile(q).SetGuid(NewGuidText());
      }
    }
  fTileSet->InsertGroup(index + 1, std::move(copy));
  fModified = true;
  return index + 1;
}

void TTilesetDocument::DeleteGroup(int index) {
  CheckIndex(index);
  fTileSet->TakeGroup(index);
  fModified = true;
}

void TTilesetDocument::MoveGroup(int from, int to) {
  CheckIndex(from);
  CheckIndex(to);
  if (from == to) return;
  fTileSet->InsertGroup(to, fTileSet->TakeGroup(from));
  fModified = true;
}

// The refusal Validate gives a group whose pattern outgrew its picture.
static TError PatternTooLarge(const QString& name, QSize pattern, QSize extent) {
  return TError(QStringLiteral("The pattern of %1 is %2 × %3 squares, larger than its picture "
                               "of %4 × %5 squares.")
                    .arg(Quoted(name))
                    .arg(pattern.width())
                    .arg(pattern.height())
                    .arg(extent.width())
                    .arg(extent.height()));
}

void TTilesetDocument::SetPatternSize(int index, int width, int height) {
  TTileGroup& group = Group(index);
  if (fWalls && (width != kWallStripPieces || height != 1))
    throw TError(QStringLiteral("A wall style always holds its twelve pieces in one row."));
  const QSize extent = TileExtent(group);
  if (width < 1 || height < 1 || width > extent.width() || height > extent.height())
    throw PatternTooLarge(group.GroupName(), QSize(width, height), extent);
  if (width == group.PatWidth() && height == group.PatHeight()) return;
  group.SetPatWidth(width);
  group.SetPatHeight(height);
  fModified = true;
}

void TTilesetDocument::Validate() const {
  if (fTileSet->TilesetName().trimmed().isEmpty())
    throw TError(QStringLiteral("The tileset needs a name."));
  if (GroupCount() == 0)
    throw TError(QStringLiteral("The tileset holds no groups. Add a group from a picture first."));
  for (int i = 0; i < GroupCount(); ++i) {
    const TTileGroup& group = Group(i);
    const QString name = group.GroupName().trimmed();
    if (name.isEmpty()) throw TError(QStringLiteral("Group %1 needs a name.").arg(i + 1));
    for (int j = 0; j < i; ++j)
      if (Group(j).GroupName().trimmed().compare(name, Qt::CaseInsensitive) == 0)
        throw TError(QStringLiteral("Two groups are named %1. Each group needs a name of its own.")
                         .arg(Quoted(name)));
    const QSize extent = TileExtent(group);
    if (extent.isEmpty())
      throw TError(QStringLiteral("The group %1 holds no tiles.").arg(Quoted(name)));
    if (group.PatWidth() > extent.width() || group.PatHeight() > extent.height())
      throw PatternTooLarge(name, QSize(group.PatWidth(), group.PatHeight()), extent);
    if (fWalls && (group.PatWidth() != kWallStripPieces || group.PatHeight() != 1))
      throw TError(QStringLiteral("The wall style %1 needs its twelve pieces in one row.")
                       .arg(Quoted(name)));
  }
}

void TTilesetDocument::SaveAs(const QString& path) {
  if (IsSupplied(path))
    throw TError(QStringLiteral("%1 is rewritten every time Tessellan starts. Save the tileset "
                                "under another name.")
                     .arg(QDir::toNativeSeparators(path)));
  Validate();
  SaveTilesetFile(*fTileSet, path);
  fFileName = QFileInfo(path).absoluteFilePath();
  fReadOnly = false;
  fModified = false;
}
