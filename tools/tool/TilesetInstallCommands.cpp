// tileset-install and tileset-list: the installed tilesets as the editor
// keeps them, in the same folder and the same settings, so a tileset
// installed here is on the editor's palette at its next start.
#include "Command.h"
#include "CommandLine.h"
#include "InstalledTilesets.h"
#include "Json.h"
#include "app/settings/TilesetListStore.h"
#include "base/Error.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetFolder.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetNames.h"
#include "tiles/WallStyles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kAddCaption = QStringLiteral("Add Tileset");

void Print(const QByteArray& text) {
  std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

int InstallTileset(const TCommandLine& line) {
  const QString path = line.Argument(0);
  const QString folder = InstalledTilesetFolder();
  const QString fileName = QFileInfo(path).fileName();
  const QString target = QDir(folder).filePath(fileName);
  // The editor asks before it replaces an installed file; here the switch
  // answers.
  if (QFileInfo::exists(target) && !line.IsSet(QStringLiteral("replace")) &&
      QFileInfo(path).canonicalFilePath() != QFileInfo(target).canonicalFilePath())
    throw TError(QStringLiteral("A tileset file named %1 is already installed in %2. Give "
                                "--replace to replace it.")
                     .arg(fileName, QDir::toNativeSeparators(folder)));
  const QString installed = InstallTilesetFile(path, folder, kAddCaption);
  if (installed.isEmpty()) return 1;

  const bool walls = TTilesetList::IsWallFileName(fileName);
  QStringList names = walls ? LoadAddedWallTilesets() : LoadAddedTilesets();
  if (!names.contains(fileName)) {
    names << fileName;
    if (walls)
      SaveAddedWallTilesets(names);
    else
      SaveAddedTilesets(names);
  }
  Print(QDir::toNativeSeparators(installed).toUtf8() + '\n');
  return 0;
}

int ListTilesets(const TCommandLine&) {
  QTemporaryDir suppliedDir;
  TTilesetList& list = LoadInstalledTilesets(suppliedDir);
  const auto supplied = [](const TTileSet& set) {
    return TTilesetList::IsSuppliedFile(QFileInfo(set.FileName()).fileName());
  };

  TJsonWriter json;
  json.BeginObject();
  json.Key(QStringLiteral("Folder")).Value(QDir::toNativeSeparators(InstalledTilesetFolder()));
  json.Key(QStringLiteral("Tilesets")).BeginArray();
  const QStringList shown = TilesetNames(list);
  for (int i = 1; i < list.Count(); ++i) {
    const TTileSet* set = list.Items(i);
    if (!set) continue;
    json.BeginObject();
    json.Key(QStringLiteral("Name")).Value(shown[i - 1]);
    json.Key(QStringLiteral("TilesetName")).Value(set->TilesetName());
    json.Key(QStringLiteral("FileName")).Value(QFileInfo(set->FileName()).fileName());
    json.Key(QStringLiteral("Supplied")).Value(supplied(*set));
    json.EndObject();
  }
  json.EndArray();
  json.Key(QStringLiteral("WallStyles")).BeginArray();
  for (const TWallStyle& style : WallStyles(list)) {
    json.BeginObject();
    json.Key(QStringLiteral("Name")).Value(style.Name);
    json.Key(QStringLiteral("GroupName")).Value(style.Group->GroupName());
    json.Key(QStringLiteral("FileName")).Value(QFileInfo(style.TileSet->FileName()).fileName());
    json.Key(QStringLiteral("Supplied")).Value(supplied(*style.TileSet));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  Print(json.Text());
  return 0;
}

const TCommandRegistration kInstall(
    {QStringLiteral("tileset-install"),
     QStringLiteral("FILE [--replace]"),
     QStringLiteral("Install a tileset (.tls) or wall tileset (.wls) as Add Tileset does: "
                    "checked, copied into the tileset folder and kept in the settings."),
     1,
     {{QStringLiteral("replace"), QString(),
       QStringLiteral("Replace an installed file of the same name.")}},
     &InstallTileset});
const TCommandRegistration kList(
    {QStringLiteral("tileset-list"),
     QString(),
     QStringLiteral("Print the installed tilesets and wall styles as JSON, by the names the "
                    "editor shows."),
     0,
     {},
     &ListTilesets});

}  // namespace
