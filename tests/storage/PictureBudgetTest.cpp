#include "storage/CompoundFile.h"
#include "storage/Guid.h"
#include "storage/PictureBudget.h"
#include "storage/Png.h"
#include "storage/SubTileRecord.h"
#include "support/HostileFiles.h"
#include "support/RawPng.h"
#include "support/TestImages.h"
#include "support/TilesetFiles.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

QByteArray Record(const QImage& image) {
  QByteArray out;
  WriteSubTileRecord(out, image, NameGuidText(QStringLiteral("budget")), -1);
  return out;
}

// The images ReadSubTileRecord decodes from the start of data, one after
// another, until a record fails.
std::vector<QSize> DecodedPictures(const QByteArray& data) {
  std::vector<QSize> sizes;
  qsizetype offset = 0;
  try {
    for (;;)
      sizes.push_back(ReadSubTileRecord(data, offset).Image.size());
  } catch (const TError&) {
  }
  return sizes;
}

QString BudgetError(const TStorage& root, qint64 fileSize) {
  try {
    CheckPictureBudget(root, fileSize, QStringLiteral("/maps/x.tqm"));
  } catch (const TStorageError& error) {
    return error.Message();
  }
  return QString();
}

}  // namespace

TEST(PictureBudget, HeadersDeclareWhatTheDecoderWouldDecode) {
  // Four records of different sizes; the last PNG carries an extra chunk.
  TRawPng grey;
  grey.Width = 7;
  grey.Height = 300;
  grey.ColorType = 0;
  grey.Sample = [](int x, int y, int) { return (x * y) & 0xFF; };
  grey.ExtraChunkType = "tEXt";
  grey.ExtraChunkData = "Comment\0made by a test";
  const QByteArray stream = Record(Solid(qRgb(1, 2, 3), 150)) + Record(Solid(qRgb(9, 9, 9), 1)) +
                            BlackPictureRecord(600) + grey.Encode() + QByteArray(20, '\x01');
  const std::vector<QSize> whole = {{150, 150}, {1, 1}, {600, 600}, {7, 300}};
  ASSERT_EQ(DeclaredPictures(stream), whole);

  // At every length the decoder reads a prefix of the declared pictures. A
  // picture cut short is declared all the same: its rows may be decoded
  // before the cut shows.
  for (qsizetype n = 0; n <= stream.size(); n += n < 300 ? 1 : 97) {
    const QByteArray part = stream.left(n);
    const std::vector<QSize> declared = DeclaredPictures(part);
    const std::vector<QSize> decoded = DecodedPictures(part);
    ASSERT_LE(decoded.size(), declared.size()) << n;
    EXPECT_LE(declared.size(), decoded.size() + 1) << n;
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), declared.begin())) << n;
  }

  // Nothing is declared by what the decoder refuses before allocating.
  TRawPng wide;
  wide.Width = kMaxImageSide + 1;
  wide.Sample = [](int, int, int) { return 0; };
  const QByteArray refused[] = {wide.Encode() + QByteArray(20, '\0'),
                                QByteArray("Version\0", 8) + stream, stream.mid(1)};
  for (const QByteArray& data : refused)
    EXPECT_TRUE(DeclaredPictures(data).empty());
}

TEST(PictureBudget, BombsAreRefusedUnreadAndRealFilesPass) {
  // A map of sixty 4096 × 4096 pictures: 2880 MB in about 150 KB.
  const auto bomb = MakeBombMapTree(60);
  const qint64 bombSize = SerializeCompoundFile(*bomb).size();
  QElapsedTimer timer;
  timer.start();
  const QString error = BudgetError(*bomb, bombSize);
  EXPECT_LT(timer.elapsed(), 1000);
  EXPECT_EQ(error.toStdString(),
            QStringLiteral("The file \"/maps/x.tqm\" holds pictures that take 2880 MB when "
                           "decoded, more than a file of %1 KB may hold (at most %2 MB).")
                .arg((bombSize + 1023) / 1024)
                .arg(256 + 64 * bombSize / (1024 * 1024))
                .toStdString());

  // A tileset of a thousand 150 × 150 tiles in flat colours, the pictures
  // that compress best, passes with room to spare, and so does a picture
  // too small to matter: it counts as 64 × 64.
  TGroupDef flat;
  flat.Name = QStringLiteral("Flat");
  flat.PatWidth = 1000;
  flat.Tiles.clear();
  for (int x = 0; x < 1000; ++x)
    flat.Tiles.emplace_back(x, 0);
  const auto tileset = MakeTilesetTree(QStringLiteral("Flat"), {flat},
                                       Record(Solid(qRgb(90, 120, 60), 150)).repeated(4));
  const qint64 tilesetSize = SerializeCompoundFile(*tileset).size();
  EXPECT_EQ(DeclaredPictureBytes(*tileset), 4000 * 150 * 150 * 3);
  EXPECT_TRUE(BudgetError(*tileset, tilesetSize).isEmpty());
  EXPECT_GT(PictureBudget(tilesetSize), 4000 * 150 * 150 * 3 * 5 / 4);

  TStorage tiny;
  tiny.CreateStream(QStringLiteral("0"), Record(Solid(qRgb(0, 0, 0), 1)));
  EXPECT_EQ(DeclaredPictureBytes(tiny), 64 * 64 * 3);
}

// Writes the deep and bomb seeds of the file fuzz targets into the corpus
// folder named by TESSELLAN_FUZZ_CORPUS_DIR (fuzz/corpus); run it by hand
// with --gtest_also_run_disabled_tests --gtest_filter='*HostileFuzzSeeds*'.
// Storages 65 deep are one level past what the reader takes; the bombs
// declare over 1 GB of pictures, the memory limit of the fuzzing runs.
TEST(HostileFuzzSeeds, DISABLED_Write) {
  const QString dir = qEnvironmentVariable("TESSELLAN_FUZZ_CORPUS_DIR");
  ASSERT_FALSE(dir.isEmpty());
  const auto write = [&dir](const char* name, const TStorage& root) {
    WriteCompoundFile(dir + QLatin1Char('/') + QLatin1String(name), root);
  };
  const auto deep = MakeDeepTree(65);
  write("compound_file/deep.cfb", *deep);
  write("map_file/deep.tqm", *deep);
  write("tileset_file/deep.tls", *deep);
  write("map_file/bomb.tqm", *MakeBombMapTree(22));
  write("tileset_file/bomb.tls", *MakeBombTilesetTree(6));
}
