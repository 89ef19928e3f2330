// tileset-build: makes a tileset file from a JSON manifest and pictures, for
// batch work and for asset packs kept under version control. The manifest
// uses the field names tileset-info prints; each group names a picture (a
// path relative to the manifest) and the squares it covers, or, in a wall
// tileset (an OUT name ending in ".wls"), a WallStrip of the twelve pieces.
#include "Command.h"
#include "CommandLine.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "base/MessageService.h"
#include "tiles/PictureCutter.h"
#include "tiles/PictureFile.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetWriter.h"
#include "tiles/WallStrip.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

// Where in the manifest a field is: the root, or a group by number and name.
class TManifestPlace {
 public:
  TManifestPlace() = default;
  TManifestPlace(int number, const QString& name) : fNumber(number), fName(name) {}

  [[noreturn]] void Fail(const QString& field, const QString& problem) const {
    QString where = QStringLiteral("\"%1\"").arg(field);
    if (fNumber > 0) {
      where += QStringLiteral(" of group %1").arg(fNumber);
      if (!fName.isEmpty()) where += QStringLiteral(" (\"%1\")").arg(fName);
    }
    throw TError(QStringLiteral("The field %1 %2").arg(where, problem));
  }

 private:
  int fNumber = 0;
  QString fName;
};

void CheckFields(const QJsonObject& object, const QStringList& known, const TManifestPlace& at) {
  for (auto it = object.begin(); it != object.end(); ++it)
    if (!known.contains(it.key())) at.Fail(it.key(), QStringLiteral("is not a manifest field."));
}

QString Text(const QJsonObject& object, const QString& field, bool required,
             const TManifestPlace& at) {
  const QJsonValue value = object.value(field);
  if (value.isUndefined()) {
    if (required) at.Fail(field, QStringLiteral("is missing."));
    return QString();
  }
  if (!value.isString()) at.Fail(field, QStringLiteral("must be a text."));
  if (required && value.toString().trimmed().isEmpty())
    at.Fail(field, QStringLiteral("must not be empty."));
  return value.toString();
}

// A whole number from low to high; an absent optional field gives none.
std::optional<int> Number(const QJsonObject& object, const QString& field, int low, int high,
                          bool required, const TManifestPlace& at) {
  const QJsonValue value = object.value(field);
  if (value.isUndefined()) {
    if (required) at.Fail(field, QStringLiteral("is missing."));
    return std::nullopt;
  }
  const double number = value.toDouble(-1e9);
  if (!value.isDouble() || number != std::floor(number) || number < low || number > high)
    at.Fail(field, QStringLiteral("must be a whole number from %1 to %2.").arg(low).arg(high));
  return int(number);
}

void AddGroup(TTileSet& tileSet, const QJsonValue& value, int number, const QDir& folder,
              bool walls, QSet<QString>& names) {
  if (!value.isObject())
    TManifestPlace(number, QString())
        .Fail(QStringLiteral("Groups"), QStringLiteral("must hold one object per group."));
  const QJsonObject object = value.toObject();
  const QString name =
      Text(object, QStringLiteral("GroupName"), true, TManifestPlace(number, QString()));
  const TManifestPlace at(number, name);
  // A wall tileset's groups are wall styles, each cut from a strip of the
  // twelve wall pieces; an ordinary tileset's are cut from pictures.
  const QString pictureField = walls ? QStringLiteral("WallStrip") : QStringLiteral("Picture");
  if (walls && object.contains(QStringLiteral("Picture")))
    at.Fail(QStringLiteral("Picture"),
            QStringLiteral("has no place in a wall tileset: name a \"WallStrip\" instead."));
  if (!walls && object.contains(QStringLiteral("WallStrip")))
    at.Fail(QStringLiteral("WallStrip"),
            QStringLiteral("belongs in a wall tileset: build it into a file ending in \".wls\"."));
  CheckFields(object,
              walls ? QStringList{QStringLiteral("GroupName"), QStringLiteral("GroupDescr"),
                                  QStringLiteral("WallStrip"), QStringLiteral("KeyColor")}
                    : QStringList{QStringLiteral("GroupName"), QStringLiteral("GroupDescr"),
                                  QStringLiteral("Category"), QStringLiteral("FType"),
                                  QStringLiteral("PlaceType"), QStringLiteral("Picture"),
                                  QStringLiteral("Across"), QStringLiteral("Down"),
                                  QStringLiteral("KeyColor")},
              at);
  if (names.contains(name.toLower()))
    at.Fail(QStringLiteral("GroupName"), QStringLiteral("repeats the name of an earlier group."));
  names.insert(name.toLower());

  const QString descr = Text(object, QStringLiteral("GroupDescr"), false, at);
  TCutOptions options;
  const QString key = Text(object, QStringLiteral("KeyColor"), false, at);
  if (object.contains(QStringLiteral("KeyColor"))) {
    const QColor color = QColor::fromString(key);
    if (key.size() != 7 || !key.startsWith(QLatin1Char('#')) || !color.isValid())
      at.Fail(QStringLiteral("KeyColor"), QStringLiteral("must be a colour \"#rrggbb\"."));
    options.KeyColor = color.rgb();
  }
  const QString picturePath = folder.filePath(Text(object, pictureField, true, at));
  QImage picture;
  try {
    picture = ReadPicture(picturePath);
  } catch (const TError& e) {
    at.Fail(pictureField, QStringLiteral("names a picture that cannot be used: ") + e.Message());
  }
  if (walls) {
    try {
      std::unique_ptr<TTileGroup> style = CutWallStyle(picture, name, options.KeyColor);
      style->SetGroupDescr(descr);
      tileSet.InsertGroup(int(tileSet.Groups().size()), std::move(style));
    } catch (const TError& e) {
      at.Fail(pictureField, QStringLiteral("cannot be cut: ") + e.Message());
    }
    return;
  }

  const QString category = Text(object, QStringLiteral("Category"), false, at);
  const int type = *Number(object, QStringLiteral("FType"), 0, 1, true, at);
  const int place = *Number(object, QStringLiteral("PlaceType"), 0, 2, true, at);
  std::optional<int> across = Number(object, QStringLiteral("Across"), 1, kMaxSquares, false, at);
  std::optional<int> down = Number(object, QStringLiteral("Down"), 1, kMaxSquares, false, at);
  // A count left out follows from the other at square pixels; with both left
  // out the picture is read at the best fitting common scale.
  if (across && !down)
    down = std::max(1, int(std::lround(double(picture.height()) * *across / picture.width())));
  if (down && !across)
    across = std::max(1, int(std::lround(double(picture.width()) * *down / picture.height())));
  if (!across) {
    const TSquareCount proposed = ProposeSquareCounts(picture.size()).front();
    across = proposed.Across;
    down = proposed.Down;
  }
  options.Across = *across;
  options.Down = *down;
  if (options.Across > picture.width() || options.Down > picture.height())
    at.Fail(options.Across > picture.width() ? QStringLiteral("Across") : QStringLiteral("Down"),
            QStringLiteral("asks for more squares than the picture has pixels."));

  TGroupDefaults shape;
  shape.FType = quint8(type);
  shape.PlaceType = quint8(place);
  TTileGroup& group = tileSet.AddGroup(shape);
  group.SetGroupName(name);
  group.SetGroupDescr(descr);
  group.SetCategory(category);
  try {
    CutPictureIntoGroup(picture, options, group);
  } catch (const TError& e) {
    at.Fail(QStringLiteral("Picture"), QStringLiteral("cannot be cut: ") + e.Message());
  }
}

void BuildTileset(const QString& manifestPath, const QString& outPath) {
  QFile file;
  QString error;
  if (!OpenExistingFile(file, manifestPath, QIODevice::ReadOnly, error))
    throw TError(QStringLiteral("The manifest %1 could not be read: %2.").arg(manifestPath, error));
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
  if (parseError.error != QJsonParseError::NoError)
    throw TError(QStringLiteral("The manifest %1 is not valid JSON: %2 at character %3.")
                     .arg(manifestPath, parseError.errorString())
                     .arg(parseError.offset));
  if (!document.isObject())
    throw TError(QStringLiteral("The manifest %1 must hold one JSON object.").arg(manifestPath));
  const QJsonObject root = document.object();
  const TManifestPlace top;
  CheckFields(root,
              {QStringLiteral("TilesetName"), QStringLiteral("AuthorName"),
               QStringLiteral("Information"), QStringLiteral("URL"), QStringLiteral("Groups")},
              top);

  TTileSet tileSet;
  tileSet.SetTilesetName(Text(root, QStringLiteral("TilesetName"), true, top));
  tileSet.SetAuthorName(Text(root, QStringLiteral("AuthorName"), false, top));
  tileSet.SetInformation(Text(root, QStringLiteral("Information"), false, top));
  tileSet.SetURL(Text(root, QStringLiteral("URL"), false, top));
  const QJsonValue groups = root.value(QStringLiteral("Groups"));
  if (!groups.isArray() || groups.toArray().isEmpty())
    top.Fail(QStringLiteral("Groups"), QStringLiteral("must be a list of at least one group."));

  const QDir folder = QFileInfo(manifestPath).absoluteDir();
  QSet<QString> names;
  int number = 0;
  for (const QJsonValue& group : groups.toArray())
    AddGroup(tileSet, group, ++number, folder, TTilesetList::IsWallFileName(outPath), names);
  SaveTilesetFile(tileSet, outPath);
}

int TilesetBuild(const TCommandLine& line) {
  try {
    BuildTileset(line.Argument(0), line.Argument(1));
  } catch (const TError& e) {
    ShowMessage(e.Message(), QStringLiteral("Error Building Tileset"), TMsgIcon::Warning, mbOK);
    return 1;
  }
  return 0;
}

const TCommandRegistration kBuild(
    {QStringLiteral("tileset-build"),
     QStringLiteral("MANIFEST OUT.tls|OUT.wls"),
     QStringLiteral("Build a tileset from pictures as a JSON manifest lists them (the fields "
                    "tileset-info prints, and per group Picture, Across, Down, KeyColor), or "
                    "into a .wls file a wall tileset whose groups each name a WallStrip."),
     2,
     {},
     &TilesetBuild});

}  // namespace
