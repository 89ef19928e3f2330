#include "PictureBudget.h"

#include "SubTileRecord.h"

#include <QDir>

#include <algorithm>

namespace {

constexpr qint64 kMiB = 1024 * 1024;

// Every picture is decoded to 3 bytes a pixel. Real files stay well within
// the budget. A 150 × 150 picture of one flat colour, the best a tile
// compresses, takes 380 to 600 bytes as this program writes it (up to 180
// to 1), so a tileset of a thousand such tiles declares 270 MB in 2.7 MB of
// file against a budget of 420 MB; pictures with any texture compress far
// less than 64 to 1, so no number of them reaches the budget. A 4096 × 4096
// picture of one colour at one bit a pixel, by contrast, declares 48 MB in
// 2 KB (23,000 to 1).
constexpr qint64 kFixedAllowance = 256 * kMiB;
constexpr qint64 kSizeMultiple = 64;

// The tiles keep copies of every picture scaled to the drawing size and
// oriented for drawing; for a very small picture those copies, not the
// picture, take the memory, so no picture counts for less than this.
constexpr qint64 kMinPicturePixels = 64 * 64;
constexpr qint64 kBytesPerPixel = 3;

qint64 CeilMiB(qint64 bytes) {
  return (bytes + kMiB - 1) / kMiB;
}

}  // namespace

qint64 PictureBudget(qint64 fileSize) {
  return kFixedAllowance + kSizeMultiple * std::max<qint64>(fileSize, 0);
}

qint64 DeclaredPictureBytes(const TStorage& root) {
  qint64 total = 0;
  ForEachElement(root, [&total](const TStorage& storage, int i) {
    if (storage.TypeAt(i) != TElementType::Stream) return;
    for (const QSize& size : DeclaredPictures(storage.StreamAt(i)))
      total += std::max(qint64(size.width()) * size.height(), kMinPicturePixels) * kBytesPerPixel;
  });
  return total;
}

void CheckPictureBudget(const TStorage& root, qint64 fileSize, const QString& path) {
  const qint64 declared = DeclaredPictureBytes(root);
  const qint64 budget = PictureBudget(fileSize);
  if (declared <= budget) return;
  throw TStorageError(QStringLiteral("The file \"%1\" holds pictures that take %2 MB when "
                                     "decoded, more than a file of %3 KB may hold (at most %4 MB).")
                          .arg(QDir::toNativeSeparators(path))
                          .arg(CeilMiB(declared))
                          .arg((fileSize + 1023) / 1024)
                          .arg(budget / kMiB));
}
