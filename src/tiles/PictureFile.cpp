#include "PictureFile.h"

#include "base/Error.h"

#include <QDir>
#include <QImageReader>

void CheckPictureSize(const QSize& size) {
  if (size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide) return;
  throw TError(QStringLiteral("The picture is %1 × %2 pixels, too large to use. Pictures may "
                              "be at most %3 × %3 pixels.")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(kMaxPictureSide));
}

QImage ReadPicture(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  if (reader.size().isValid()) CheckPictureSize(reader.size());
  QImage picture = reader.read();
  if (picture.isNull())
    throw TError(QStringLiteral("The picture %1 could not be read: %2")
                     .arg(QDir::toNativeSeparators(path), reader.errorString()));
  CheckPictureSize(picture.size());
  return picture;
}
