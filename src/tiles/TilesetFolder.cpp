#include "TilesetFolder.h"

#include "TileSet.h"
#include "TilesetList.h"
#include "WallStyles.h"
#include "base/Busy.h"
#include "base/FileName.h"
#include "base/MessageService.h"
#include "storage/WriteAsideFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

void Refuse(const QString& text, const QString& caption) {
  ShowMessage(text, caption, TMsgIcon::Warning, mbOK);
}

}  // namespace

bool IsReadOnlyTilesetFile(const QString& path) {
  const TFileStatus status = FileStatus(path);
  return status.Exists && !status.OwnerWritable;
}

QString InstallTilesetFile(const QString& path, const QString& folder, const QString& caption) {
  // The bytes that loaded are the ones installed, so the file read once is
  // both checked and copied, whatever happens to it while the user is asked.
  QByteArray bytes;
  TTileSet loaded;
  if (!loaded.Open(path, &bytes)) return QString();
  const QString fileName = QFileInfo(path).fileName();
  if (TTilesetList::IsSuppliedFile(fileName)) {
    Refuse(QStringLiteral("%1 is the name of a tileset supplied with Tessellan, which cannot be "
                          "replaced. Rename the file to add it.")
               .arg(fileName),
           caption);
    return QString();
  }
  if (TTilesetList::IsWallFileName(fileName) &&
      std::none_of(loaded.Groups().begin(), loaded.Groups().end(),
                   [](const auto& group) { return IsWallStyle(*group); })) {
    Refuse(QStringLiteral("The wall tileset %1 holds no wall style (a group of category "
                          "\"Walls\"), so the wall tool would have nothing to offer from it.")
               .arg(fileName),
           caption);
    return QString();
  }
  const QString target = QDir::toNativeSeparators(QDir(folder).filePath(fileName));
  // A file already in the tileset folder is listed as it is.
  if (CanonicalFileName(path) == CanonicalFileName(target)) return target;

  const QFileInfo existing(target);
  if (existing.isDir()) {
    Refuse(QStringLiteral("The tileset folder holds a folder named %1, so the tileset cannot be "
                          "added under that name.")
               .arg(fileName),
           caption);
    return QString();
  }
  if (existing.exists()) {
    if (IsReadOnlyTilesetFile(target)) {
      Refuse(QStringLiteral("The installed tileset file %1 is read-only and cannot be replaced.")
                 .arg(target),
             caption);
      return QString();
    }
    if (ShowMessage(QStringLiteral("A tileset file named %1 is already installed. Do you want to "
                                   "replace it?")
                        .arg(fileName),
                    caption, TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes)
      return QString();
  }

  TBusyCursor busy;
  QDir().mkpath(folder);
  // Written aside and renamed over the name, so a failure leaves the folder
  // as it was. The copy is the program's own: a read-only source gives a
  // normal file that can later be replaced or removed, and a link in the
  // folder is replaced, never written through.
  WriteFileAside(target, bytes, TWriteAsideFile::TTarget::ReplaceName);
  return target;
}
