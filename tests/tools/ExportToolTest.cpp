// The export command and model: pictures read by independent readers
// (Pillow, ImageMagick), Universal VTT geometry read by Python's json, and
// exports that fail or are cancelled.
#include "base/Error.h"
#include "export/MapExport.h"
#include "map/TileMapObjects.h"
#include "storage/Guid.h"
#include "support/RunProgram.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

// Reads an export with Pillow and prints what the checks compare: the size
// of a picture (and whether its pixels equal another picture's, or how far
// they are from them on average), or, for a Universal VTT file, its fields
// checked against the format and its walls and doors in a normal form.
const char* const kReader = R"(
import base64, io, json, sys
from PIL import Image, ImageChops, ImageStat
mode, path = sys.argv[1], sys.argv[2]
if mode == 'picture':
    im = Image.open(path); im.load()
    out = [im.format, '%dx%d' % im.size]
    if len(sys.argv) > 3:
        ref = Image.open(sys.argv[3]).convert('RGB')
        a = im.convert('RGB')
        out.append('same' if a.tobytes() == ref.tobytes() else
                   'mean %.1f' % max(ImageStat.Stat(ImageChops.difference(a, ref)).mean))
    print(' '.join(out))
else:
    d = json.load(open(path))
    assert d['format'] == 0.3
    r = d['resolution']
    assert r['map_origin'] == {'x': 0, 'y': 0}
    assert d['objects_line_of_sight'] == [] and d['lights'] == []
    assert d['environment'] == {'baked_lighting': False, 'ambient_light': 'ffffffff'}
    im = Image.open(io.BytesIO(base64.b64decode(d['image'])))
    assert im.format == 'PNG'
    assert im.size == (r['map_size']['x'] * r['pixels_per_grid'],
                       r['map_size']['y'] * r['pixels_per_grid'])
    p = lambda q: '%g,%g' % (q['x'], q['y'])
    lines = sorted(' '.join(sorted(p(q) for q in line)) for line in d['line_of_sight'])
    for line in d['line_of_sight']:
        assert len(line) >= 2
    portals = []
    for o in d['portals']:
        assert o['closed'] is True and o['freestanding'] is False
        portals.append('%s %s %.4f' % (p(o['position']),
                       ' '.join(sorted(p(q) for q in o['bounds'])), o['rotation']))
    print('; '.join(lines) + ' | ' + '; '.join(sorted(portals)))
)";

class ExportToolTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  QString Path(const QString& name) const { return dir.filePath(name); }

  // A new map of 10 x 8 squares made by an edit script.
  QString EditMap(const QString& name, const char* script) {
    const QString scriptPath = Path(name + QStringLiteral(".txt"));
    QFile file(scriptPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("addcol\naddcol\ndelrow\ndelrow\n");
    file.write(script);
    file.close();
    const QString map = Path(name + QStringLiteral(".tqm"));
    const TProgramRun run =
        RunTool({QStringLiteral("edit"), QStringLiteral("new"), map, scriptPath});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
    return map;
  }

  TProgramRun Export(const QStringList& args) {
    return RunTool(QStringList{QStringLiteral("export")} + args);
  }

  QString Read(const QStringList& args) {
    const TProgramRun run =
        RunProgram(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral("-c"), QString::fromUtf8(kReader)} + args, 60000);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
    return QString::fromUtf8(run.Out).remove(QLatin1Char('\n'));
  }

  QTemporaryDir dir;
};

const char* const kRoom = R"(
tileset ExampleTileset
group Flagstones
seed 2
drag 0 0 9 7
walls Standard
drag 1 1 8 1 edge top
drag 1 6 8 6 edge bottom
drag 1 1 1 6 edge left
drag 8 1 8 6 edge right
tool tiles
group Door, Closed
rotate cw
drag 8 3 8 3 sub 1 0
)";

// Two rooms side by side, a door in the wall they share and a fill, with the
// room, door and fill tools.
const char* const kRooms = R"(
tileset ExampleTileset
group Flagstones
tool rooms
walls Standard
drag 1 1 4 4
drag 5 1 8 4
tool doors
group Door, Closed
drag 5 2 5 2 edge left
tool fill
group Marble
drag 6 2 6 2
)";

TEST_F(ExportToolTest, PicturesAreExactlySquaresTimesPixelsAndMatchRender) {
  const QString map = EditMap(QStringLiteral("room"), kRoom);
  struct TCase {
    const char* file;
    int ppg;
    const char* options;
    const char* pillow;  // format, size, and the pixels against render's
    const char* magick;
  };
  const TCase cases[] = {
      {"room.png", 24, "", "PNG 240x192 same", "PNG 240x192"},
      {"room.bmp", 24, "", "BMP 240x192 same", "BMP3 240x192"},
      {"room.jpeg", 24, "", "JPEG 240x192 mean", "JPEG 240x192"},
      {"lined.png", 24, "--grid", "PNG 240x192 same", "PNG 240x192"},
      // Many bands, and image data compressed in many pieces.
      {"large.png", 200, "--grid", "PNG 2000x1600 same", "PNG 2000x1600"},
      // The format named, not taken from the extension; an odd size.
      {"odd.out", 25, "--format png", "PNG 250x200", "PNG 250x200"},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.file);
    const QString out = Path(QString::fromUtf8(test.file));
    const QString ppg = QString::number(test.ppg);
    const QStringList options =
        QString::fromUtf8(test.options).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const TProgramRun run = Export(QStringList{map, out, QStringLiteral("--ppg"), ppg} + options);
    ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
    QStringList args{QStringLiteral("picture"), out};
    if (test.ppg % 2 == 0) {
      // The same map drawn whole by render, with the same grid lines.
      const QString reference = Path(QStringLiteral("render-%1.png").arg(test.file));
      ASSERT_EQ(RunTool(QStringList{QStringLiteral("render"), map, reference,
                                    QStringLiteral("--cell"), ppg} +
                        options)
                    .ExitCode,
                0);
      args << reference;
    }
    const QString pillow = Read(args);
    EXPECT_TRUE(pillow.startsWith(QString::fromUtf8(test.pillow))) << pillow.toStdString();
    // JPEG at quality 90 stays close to the rendered pixels.
    if (pillow.contains(QStringLiteral("mean"))) {
      EXPECT_LT(pillow.section(QLatin1Char(' '), 3).toDouble(), 6.0) << pillow.toStdString();
    }
    const TProgramRun magick = RunProgram(
        QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%m %wx%h"), out});
    EXPECT_EQ(QString::fromUtf8(magick.Out), QString::fromUtf8(test.magick));
  }
}

TEST_F(ExportToolTest, UniversalVttCarriesWallsCutAtDoorsAndThePortals) {
  const std::string undone = std::string(kRooms) + "undo\nundo\n";
  struct TCase {
    const char* name;
    const char* script;
    const char* expected;  // line of sight | portals, in squares
  };
  const TCase cases[] = {
      {"room", kRoom, "1,1 1,7; 1,1 9,1; 1,7 9,7; 9,1 9,3; 9,4 9,7 | 9,3.5 9,3 9,4 1.5708"},
      {"line", "walls Standard\ndrag 2 2 5 2 edge top\n", "2,2 6,2 | "},
      {"corner", "walls Standard\ndrag 2 2 5 2 edge top\ndrag 2 2 2 4 edge left\n",
       "2,2 2,5; 2,2 6,2 | "},
      {"tee", "walls Standard\ndrag 1 3 6 3 edge top\ndrag 3 3 3 5 edge left\n",
       "1,3 7,3; 3,3 3,6 | "},
      // The second wall's joint puts a post in the corner between them.
      {"post", "walls Standard\ndrag 2 1 2 1 edge right\ndrag 3 2 3 2 edge top\n",
       "3,1 3,2; 3,2 4,2 | "},
      // A door across the middle of a square, in no wall, unturned.
      {"door", "tileset ExampleTileset\ngroup Door, Closed\ndrag 4 4 4 4\n",
       " | 4.5,4.5 4,4.5 5,4.5 0.0000"},
      {"empty", "", " | "},
      // One wall line between the rooms, cut exactly at the door turned to
      // the wall's side; undone, the wall is whole again.
      {"rooms", kRooms,
       "1,1 1,5; 1,1 9,1; 1,5 9,5; 5,1 5,2; 5,3 5,5; 9,1 9,5 | 5,2.5 5,2 5,3 1.5708"},
      {"undone", undone.c_str(), "1,1 1,5; 1,1 9,1; 1,5 9,5; 5,1 5,5; 9,1 9,5 | "},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.name);
    const QString map = EditMap(QString::fromUtf8(test.name), test.script);
    const QString out = Path(QString::fromUtf8(test.name) + QStringLiteral(".dd2vtt"));
    const TProgramRun run = Export({map, out, QStringLiteral("--ppg"), QStringLiteral("10")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
    EXPECT_EQ(Read({QStringLiteral("vtt"), out}), QString::fromUtf8(test.expected));
  }
}

// A progress that asks to stop once a band is written.
class TCancelAfterFirstBand : public TExportProgress {
 public:
  void Advance(int done, int total) override {
    bands = done;
    totalBands = total;
  }
  bool Cancelled() const override { return bands > 0; }
  int bands = 0;
  int totalBands = 0;
};

TEST_F(ExportToolTest, FailuresAndCancelsLeaveNoFileAndKeepTheOldOne) {
  TTileMap map;
  map.SetWidth(20);  // 10 x 8 squares
  map.SetHeight(16);
  auto wall = std::make_unique<TSubTile>();
  QImage image(8, 8, QImage::Format_RGB888);
  image.fill(Qt::darkGray);
  wall->SetImage(image);
  wall->SetGuid(NewGuidText());
  for (int x = 0; x < 4; ++x)
    map.PlaceTile(mlWall, x, 0, *wall, 0);

  // Cancelled after the first of many bands: the old file stays, and
  // nothing else is left in the folder.
  const QString keep = Path(QStringLiteral("keep.png"));
  {
    QFile old(keep);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old picture");
  }
  TExportOptions big;
  big.PixelsPerSquare = 1000;
  TCancelAfterFirstBand cancel;
  EXPECT_TRUE(ExportMap(map, nullptr, big, keep, &cancel).Cancelled);
  EXPECT_EQ(cancel.bands, 1);
  EXPECT_GT(cancel.totalBands, 10);
  // The export only read the map.
  EXPECT_EQ(map.EmbeddedTiles().At(0)->PictureId(), wall->PictureId());
  QFile old(keep);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("old picture"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.png")});

  // Options refused before anything is written.
  struct TCase {
    int squares;
    int ppg;
    quint8 layers;
    TExportFormat format;
    const char* message;
  };
  const TCase refused[] = {
      {10, 7, lfAll, TExportFormat::Png, "must be from 8 to 1000"},
      {10, 1001, lfAll, TExportFormat::Png, "must be from 8 to 1000"},
      {10, 100, 0, TExportFormat::Png, "at least one layer"},
      {61, 1000, lfAll, TExportFormat::Png, "at most 60000 pixels a side"},
      {66, 1000, lfAll, TExportFormat::Jpeg, "a JPEG picture can be at most 65535"},
      {40, 1000, lfAll, TExportFormat::Bmp, "more than a BMP file can hold"},
  };
  for (const TCase& test : refused) {
    SCOPED_TRACE(test.message);
    map.SetWidth(2 * test.squares);
    map.SetHeight(2 * test.squares);
    TExportOptions options;
    options.PixelsPerSquare = test.ppg;
    options.Layers = test.layers;
    options.Format = test.format;
    const QString out = Path(QStringLiteral("refused.out"));
    try {
      ExportMap(map, nullptr, options, out);
      ADD_FAILURE() << "exported";
    } catch (const TError& error) {
      EXPECT_TRUE(error.Message().contains(QString::fromUtf8(test.message)))
          << error.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
  }

  // Through the tool: a folder that does not exist, and wall pieces of a
  // style that is not installed, counted and left out of the walls.
  map.SetWidth(20);
  map.SetHeight(16);
  const QString mapPath = Path(QStringLiteral("strange.tqm"));
  ASSERT_TRUE(map.SaveToFile(mapPath));
  TProgramRun run = Export({mapPath, Path(QStringLiteral("no/such/folder/x.png"))});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Err.contains("could not be written")) << run.Err.constData();
  const QString vtt = Path(QStringLiteral("strange.dd2vtt"));
  run = Export({mapPath, vtt, QStringLiteral("--ppg"), QStringLiteral("8")});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_TRUE(run.Err.contains("4 wall pieces")) << run.Err.constData();
  EXPECT_EQ(Read({QStringLiteral("vtt"), vtt}), QStringLiteral(" | "));
  run = Export({mapPath, Path(QStringLiteral("x.gif"))});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Err.contains("names no export format")) << run.Err.constData();
}

}  // namespace
