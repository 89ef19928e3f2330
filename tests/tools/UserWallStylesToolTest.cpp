// A wall style of the user's own, headless: built from a strip with
// tileset-build, installed with tileset-install, listed by tileset-list,
// painted by an edit script and exported as a Universal VTT file whose
// walls are the room's outline.
#include "support/RunProgram.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

class UserWallStylesTool : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fDir.isValid());
    // The tool's settings and tileset folder are this test's own.
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      fSaved.push_back({name, qgetenv(name)});
      qputenv(name, Path(name).toLocal8Bit());
      QDir().mkpath(Path(name));
    }
    QDir().mkpath(Path("XDG_CONFIG_HOME/Varnholt"));
    Write("XDG_CONFIG_HOME/Varnholt/Tessellan.ini",
          "[1.00.000]\nTilesetDir=" + Folder().toUtf8() + "\n");
    QDir().mkpath(Folder());
  }
  void TearDown() override {
    for (const auto& [name, value] : fSaved)
      qputenv(name, value);
  }

  QString Path(const QString& name) const { return fDir.filePath(name); }
  QString Folder() const { return Path("Tilesets"); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static TProgramRun Tool(const QStringList& arguments) {
    const TProgramRun run = RunTool(arguments);
    return run;
  }

  QTemporaryDir fDir;
  std::vector<std::pair<const char*, QByteArray>> fSaved;
};

TEST_F(UserWallStylesTool, BuiltInstalledPaintedAndExportedWithItsWalls) {
  // Twelve pieces side by side, each its own shade, on a transparent ground.
  QImage strip(1200, 100, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  {
    QPainter painter(&strip);
    for (int n = 0; n < 12; ++n)
      painter.fillRect(n * 100 + 10, 10, 80, 80, QColor(100 + n * 10, 60, 40));
  }
  ASSERT_TRUE(strip.save(Path("brick.png")));
  Write("walls.json", R"({"TilesetName": "Brick Walls", "Groups": [
      {"GroupName": "Brick", "GroupDescr": "Red brick", "WallStrip": "brick.png"}]})");

  // A wall strip needs a wall tileset, and a wall tileset wall strips.
  TProgramRun run = Tool({"tileset-build", Path("walls.json"), Path("Brick.tls")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Err.contains("\"WallStrip\" of group 1 (\"Brick\") belongs in a wall tileset"))
      << run.Err.constData();
  run = Tool({"tileset-build", Path("walls.json"), Path("Brick.wls")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();

  run = Tool({"tileset-install", Path("Brick.wls")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_EQ(run.Out.trimmed(), QDir(Folder()).filePath("Brick.wls").toUtf8());
  EXPECT_TRUE(QFile::exists(QDir(Folder()).filePath("Brick.wls")));
  // Installing it again asks for --replace; a map is refused as a map.
  run = Tool({"tileset-install", Path("Brick.wls")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Err.contains("--replace")) << run.Err.constData();
  EXPECT_EQ(Tool({"tileset-install", "--replace", Path("Brick.wls")}).ExitCode, 0);

  run = Tool({"tileset-list"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  const QJsonObject list = QJsonDocument::fromJson(run.Out).object();
  QStringList tilesets;
  for (const QJsonValue& value : list["Tilesets"].toArray())
    tilesets << value["Name"].toString();
  QStringList styles;
  for (const QJsonValue& value : list["WallStyles"].toArray())
    styles << value["Name"].toString() + "/" + value["FileName"].toString();
  EXPECT_EQ(tilesets, QStringList{"ExampleTileset"});
  EXPECT_EQ(styles, (QStringList{"Standard/Walls.wls", "Stone/Walls.wls", "Brick/Brick.wls"}));

  Write("room.txt",
        "walls Brick\ndrag 1 1 4 1 edge top\ndrag 1 3 4 3 edge bottom\n"
        "drag 1 1 1 3 edge left\ndrag 4 1 4 3 edge right\n");
  run = Tool({"edit", "new", Path("room.tqm"), Path("room.txt")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  run = Tool({"tileset-install", Path("room.tqm")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Err.contains("This file is a map, not a tileset.")) << run.Err.constData();

  run = Tool({"export", Path("room.tqm"), Path("room.dd2vtt"), "--ppg", "20"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_FALSE(run.Err.contains("left out")) << run.Err.constData();
  QFile vtt(Path("room.dd2vtt"));
  ASSERT_TRUE(vtt.open(QIODevice::ReadOnly));
  std::set<QString> lines;
  for (const QJsonValue& line : QJsonDocument::fromJson(vtt.readAll())["line_of_sight"].toArray()) {
    QStringList points;
    for (const QJsonValue& point : line.toArray())
      points << QStringLiteral("%1,%2").arg(point["x"].toDouble()).arg(point["y"].toDouble());
    lines.insert(points.join(' '));
  }
  // The closed outline of the room, 4 × 3 squares from (1, 1).
  EXPECT_EQ(lines, (std::set<QString>{"1,1 5,1", "1,4 5,4", "1,1 1,4", "5,1 5,4"}));
}

}  // namespace
