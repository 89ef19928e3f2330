#include "widgets/ButtonArt.h"
#include "widgets/dmSharedBmpResources.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// How many pixels of a picture are painted.
int Painted(const QImage& image) {
  int painted = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      painted += qAlpha(image.pixel(x, y)) > 0;
  }
  return painted;
}

TEST(SharedBmpResourcesTest, EveryPictureIsItsOwnAtBothSizesAndBothRatios) {
  const TdmSharedBmpResources& shared = dmSharedBmpResources();
  EXPECT_EQ(shared.IndexOf(QStringLiteral("modified")), TdmSharedBmpResources::kModifiedImage);
  const QStringList names = ButtonArtNames();
  ASSERT_EQ(shared.imgSmallButtons.Count(), names.size());
  ASSERT_EQ(shared.imgLargeButtons.Count(), names.size());
  QSet<QByteArray> seen;
  for (int i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i].toStdString());
    for (const TImageList* list : {&shared.imgSmallButtons, &shared.imgLargeButtons}) {
      for (const qreal ratio : {1.0, 2.0}) {
        const QImage image = list->Pixmap(i, ratio).toImage();
        EXPECT_EQ(image.size(), QSize(list->Width(), list->Height()) * ratio);
        EXPECT_GT(Painted(image), image.width() * image.height() / 8);
      }
    }
    // No two commands share a picture.
    const QImage small = shared.imgSmallButtons.Pixmap(i).toImage();
    const QByteArray bytes(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes());
    EXPECT_FALSE(seen.contains(bytes));
    seen.insert(bytes);
  }
  const QImage cursor = EyedropperPixmap().toImage();
  EXPECT_GT(qAlpha(cursor.pixel(EyedropperHotSpot())), 0);
}

}  // namespace
