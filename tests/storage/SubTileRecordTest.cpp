#include "storage/Guid.h"
#include "storage/Png.h"
#include "storage/SubTileRecord.h"
#include "support/RawPng.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kGuidA = QStringLiteral("{33FA80D4-9933-476A-8B8C-4FC1EDE16FD7}");
const QString kGuidB = QStringLiteral("{00000001-0002-0003-0405-060708090A0B}");

// A picture in which neighbouring pixels differ in every channel.
QImage Pattern(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < width; ++x) {
      line[3 * x] = uchar(x * 37 + y * 11);
      line[3 * x + 1] = uchar(x * 5 + y * 71 + 3);
      line[3 * x + 2] = uchar((x ^ y) * 29 + 100);
    }
  }
  return image;
}

QByteArray Record(const QImage& image, const QString& guid, qint32 colour) {
  QByteArray out;
  WriteSubTileRecord(out, image, guid, colour);
  return out;
}

// ---------------------------------------------------------------------------
// Every colour type and bit depth, plain and interlaced, flattens to the
// expected 8-bit RGB.

struct TFormatCase {
  int ColorType;
  int BitDepth;
  bool Interlaced;
};

void PrintTo(const TFormatCase& c, std::ostream* os) {
  *os << "type " << c.ColorType << ", depth " << c.BitDepth << (c.Interlaced ? ", interlaced" : "");
}

class PngFormats : public testing::TestWithParam<TFormatCase> {};

TEST_P(PngFormats, DecodeToTheExpectedRgbPixels) {
  const TFormatCase format = GetParam();
  TRawPng png;
  png.Width = 13;  // not a multiple of 8: partial bytes at low depths
  png.Height = 11;
  png.ColorType = format.ColorType;
  png.BitDepth = format.BitDepth;
  png.Interlaced = format.Interlaced;
  const int range = 1 << format.BitDepth;
  png.Sample = [range](int x, int y, int c) {
    return int((x * 7919u + y * 104729u + c * 15485863u + 12345u) % unsigned(range));
  };
  if (format.ColorType == 3) {
    for (int i = 0; i < range; ++i) {
      png.Palette.push_back(uchar(i * 3 + 1));
      png.Palette.push_back(uchar(255 - i));
      png.Palette.push_back(uchar(i * 7));
    }
    png.Transparency = QByteArray(2, '\0');  // must not turn into alpha
  }
  if (format.ColorType == 0) png.Transparency = QByteArray(2, '\0');
  if (format.ColorType == 2) png.Transparency = QByteArray(6, '\0');

  // The 8-bit value a sample stands for.
  auto level = [&](int v) {
    if (format.BitDepth == 16) return v >> 8;
    if (format.BitDepth == 8) return v;
    return v * 255 / (range - 1);
  };
  const QByteArray data = png.Encode() + QByteArray("next record");
  qsizetype offset = 0;
  const QImage image = DecodePng(data, offset);
  ASSERT_EQ(image.format(), QImage::Format_RGB888);
  ASSERT_EQ(image.size(), QSize(png.Width, png.Height));
  EXPECT_EQ(offset, data.size() - 11);

  for (int y = 0; y < png.Height; ++y)
    for (int x = 0; x < png.Width; ++x) {
      int r, g, b;
      if (format.ColorType == 3) {
        const int i = png.Sample(x, y, 0);
        r = png.Palette[size_t(3 * i)];
        g = png.Palette[size_t(3 * i + 1)];
        b = png.Palette[size_t(3 * i + 2)];
      } else if (format.ColorType & 2) {
        r = level(png.Sample(x, y, 0));
        g = level(png.Sample(x, y, 1));
        b = level(png.Sample(x, y, 2));
      } else {
        r = g = b = level(png.Sample(x, y, 0));
      }
      const uchar* p = image.constScanLine(y) + 3 * x;
      ASSERT_EQ(QColor(p[0], p[1], p[2]), QColor(r, g, b)) << "pixel " << x << "," << y;
    }
}

std::vector<TFormatCase> AllFormats() {
  const std::vector<std::pair<int, std::vector<int>>> depths = {
      {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
  std::vector<TFormatCase> cases;
  for (const auto& [type, list] : depths)
    for (int depth : list)
      for (bool interlaced : {false, true})
        cases.push_back({type, depth, interlaced});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AllColourTypes, PngFormats, testing::ValuesIn(AllFormats()),
                         [](const testing::TestParamInfo<TFormatCase>& info) {
                           return "type" + std::to_string(info.param.ColorType) + "_depth" +
                                  std::to_string(info.param.BitDepth) +
                                  (info.param.Interlaced ? "_interlaced" : "");
                         });

// ---------------------------------------------------------------------------

TEST(Png, StopsExactlyAfterIendEvenWithChunksAfterTheImage) {
  TRawPng png;
  png.Width = 3;
  png.Height = 2;
  png.Sample = [](int x, int y, int c) { return x + y + c; };
  png.ExtraChunkType = "tEXt";
  png.ExtraChunkData = QByteArray("Comment\0after the image", 23);
  const QByteArray encoded = png.Encode();
  // Anything after IEND, even another signature, is left for the next reader.
  const QByteArray data = QByteArray("xy") + encoded + encoded;
  qsizetype offset = 2;
  DecodePng(data, offset);
  EXPECT_EQ(offset, 2 + encoded.size());
  DecodePng(data, offset);
  EXPECT_EQ(offset, data.size());
}

TEST(Png, RefusesDamagedAndOversizedImages) {
  auto decode = [](const QByteArray& data) {
    qsizetype offset = 0;
    DecodePng(data, offset);
  };
  TRawPng png;
  png.Sample = [](int, int, int) { return 7; };
  const QByteArray good = png.Encode();

  // Cut short anywhere, including inside IEND's CRC.
  for (qsizetype n = 0; n < good.size(); ++n)
    EXPECT_THROW(decode(good.left(n)), TPngError) << "cut at " << n;

  QByteArray badCrc = good;
  badCrc[good.indexOf("IDAT") + 6] = char(badCrc[good.indexOf("IDAT") + 6] ^ 0x40);
  EXPECT_THROW(decode(badCrc), TPngError);
  EXPECT_THROW(decode(QByteArray("GIF89a and more bytes")), TPngError);
  qsizetype past = good.size() + 1;
  EXPECT_THROW(DecodePng(good, past), TPngError);

  // 4096 is the largest side allowed; the check comes before any allocation.
  png.Width = 4096;
  png.Height = 1;
  EXPECT_NO_THROW(decode(png.Encode()));
  for (QSize size : {QSize(4097, 1), QSize(1, 4097), QSize(100000, 100000)}) {
    png.Width = size.width();
    png.Height = size.height();
    EXPECT_THROW(decode(png.SignatureAndHeader() + PngChunk("IEND", {})), TPngError);
  }
  png.Width = 0;
  png.Height = 5;
  EXPECT_THROW(decode(png.Encode()), TPngError);
}

TEST(Png, EncodeDecodeRoundTripIsPixelExact) {
  // 150 pixels: a row of 450 bytes padded in memory to 452.
  for (QSize size : {QSize(150, 150), QSize(1, 1), QSize(7, 3)}) {
    const QImage original = Pattern(size.width(), size.height());
    const QByteArray encoded = EncodePng(original);
    // An 8-bit RGB image, as every reader expects.
    EXPECT_EQ(encoded.at(24), 8);
    EXPECT_EQ(encoded.at(25), 2);
    qsizetype offset = 0;
    EXPECT_EQ(DecodePng(encoded, offset), original);
    EXPECT_EQ(offset, encoded.size());
  }
  // Other formats are flattened first.
  QImage argb(4, 4, QImage::Format_ARGB32);
  argb.fill(qRgba(10, 20, 30, 40));
  qsizetype offset = 0;
  const QImage decoded = DecodePng(EncodePng(argb), offset);
  EXPECT_EQ(decoded, argb.convertToFormat(QImage::Format_RGB888));
  EXPECT_THROW(EncodePng(QImage()), TPngError);
}

TEST(Png, EncodedImagesReadTheSameInAnotherDecoder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QImage original = Pattern(31, 17);
  const QString path = dir.filePath(QStringLiteral("a.png"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(EncodePng(original));
  file.close();
  QProcess convert;
  convert.start(QStringLiteral("convert"),
                {path, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-")});
  ASSERT_TRUE(convert.waitForFinished(30000));
  ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
  const QByteArray pixels = convert.readAllStandardOutput();
  ASSERT_EQ(pixels.size(), 31 * 17 * 3);
  for (int y = 0; y < 17; ++y)
    EXPECT_EQ(pixels.mid(y * 93, 93),
              QByteArray(reinterpret_cast<const char*>(original.constScanLine(y)), 93));
}

// ---------------------------------------------------------------------------

TEST(SubTileRecord, FourRecordsBackToBackReadAsExactlyFour) {
  const QImage images[4] = {Pattern(150, 150), Pattern(2, 3), Pattern(3, 2), Pattern(1, 1)};
  const qint32 colours[4] = {-1, 0x02737373, 0, 0x00FFFFFF};
  QByteArray stream;
  for (int i = 0; i < 4; ++i)
    WriteSubTileRecord(stream, images[i], i % 2 ? kGuidA : kGuidB, colours[i]);

  qsizetype offset = 0;
  for (int i = 0; i < 4; ++i) {
    const TSubTileRecord record = ReadSubTileRecord(stream, offset);
    EXPECT_EQ(record.Image, images[i]) << i;
    EXPECT_EQ(record.Guid, i % 2 ? kGuidA : kGuidB) << i;
    EXPECT_EQ(record.TransparentColor, colours[i]) << i;
  }
  EXPECT_EQ(offset, stream.size());
  EXPECT_THROW(ReadSubTileRecord(stream, offset), TPngError);
}

TEST(SubTileRecord, TrailerBytesReadAsIdentityAndSignedColour) {
  const QByteArray png = EncodePng(Pattern(2, 2));
  const QByteArray guid("\xD4\x80\xFA\x33\x33\x99\x6A\x47\x8B\x8C\x4F\xC1\xED\xE1\x6F\xD7", 16);
  struct {
    QByteArray Bytes;
    qint32 Colour;
  } const cases[] = {
      {QByteArray("\xFF\xFF\xFF\xFF", 4), -1},
      {QByteArray("\x73\x73\x73\x02", 4), 0x02737373},
      {QByteArray("\x00\x00\x00\x80", 4), qint32(0x80000000)},
  };
  for (const auto& c : cases) {
    const QByteArray data = png + guid + c.Bytes;
    qsizetype offset = 0;
    const TSubTileRecord record = ReadSubTileRecord(data, offset);
    EXPECT_EQ(record.Guid, kGuidA);
    EXPECT_EQ(record.TransparentColor, c.Colour);
    EXPECT_EQ(offset, data.size());
    // And written back byte for byte.
    EXPECT_EQ(Record(record.Image, record.Guid, record.TransparentColor).right(20), guid + c.Bytes);
  }
}

TEST(SubTileRecord, ARecordCutShortFailsAndLeavesTheOffset) {
  const QByteArray full = Record(Pattern(5, 4), kGuidA, 0x02737373);
  const qsizetype pngSize = full.size() - 20;
  for (qsizetype n = 0; n < full.size(); ++n) {
    const QByteArray data = QByteArray("ab") + full.left(n);
    qsizetype offset = 2;
    try {
      ReadSubTileRecord(data, offset);
      ADD_FAILURE() << "a record of " << n << " bytes was accepted";
    } catch (const TPngError&) {
      EXPECT_LT(n, pngSize) << "the image was complete";
    } catch (const TError& e) {
      EXPECT_GE(n, pngSize) << "the image was cut short";
      EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(offset, 2);
  }
}

TEST(SubTileRecord, WritingABadIdentityAppendsNothing) {
  QByteArray out("keep");
  EXPECT_THROW(WriteSubTileRecord(out, Pattern(2, 2), QStringLiteral("not a guid"), -1), TError);
  EXPECT_EQ(out, QByteArray("keep"));
}

}  // namespace
