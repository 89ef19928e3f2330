// The generate command: a dungeon made, printed and exported from the
// command line, the same file for the same seed, and bad arguments refused
// before anything is written.
#include "support/RunProgram.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Reads a Universal VTT file with Python's json and prints its grid size,
// how many wall lines and portals it has, and whether every portal lies on
// the grid's lines, in the middle of a square's edge.
const char* const kVttReader = R"(
import json, sys
d = json.load(open(sys.argv[1]))
size = d['resolution']['map_size']
mid = lambda v: abs(v - round(v) - 0.5) < 1e-6 or abs(v - round(v) + 0.5) < 1e-6
whole = lambda v: abs(v - round(v)) < 1e-6
on_edges = all((whole(p['position']['x']) and mid(p['position']['y'])) or
               (mid(p['position']['x']) and whole(p['position']['y'])) for p in d['portals'])
print('%dx%d %s %s %s' % (size['x'], size['y'], len(d['line_of_sight']) > 0,
                          len(d['portals']) > 0, on_edges))
)";

class GenerateToolTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QByteArray Read(const char* name) const {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
  }

  QTemporaryDir dir;
};

// A game master's evening: a dungeon with the defaults, printed at scale
// and exported for a virtual tabletop; the same seed again gives the same
// file, another seed another dungeon; too many rooms for a small map give
// the rooms that fit and a line that says so.
TEST_F(GenerateToolTest, ADungeonIsMadePrintedAndExportedAndTheSameSeedGivesTheSameFile) {
  TProgramRun run = RunTool({QStringLiteral("generate"), Path("dungeon.tqm")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_TRUE(run.Err.isEmpty()) << run.Err.constData();
  run = RunTool({QStringLiteral("generate"), Path("again.tqm"), QStringLiteral("--seed"),
                 QStringLiteral("1")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_EQ(Read("again.tqm"), Read("dungeon.tqm"));
  run =
      RunTool({QStringLiteral("generate"), Path("other.tqm"), QStringLiteral("--seed=2"),
               QStringLiteral("--furnish"), QStringLiteral("--loops"), QStringLiteral("--corridor"),
               QStringLiteral("Dirt"), QStringLiteral("--corridor-width"), QStringLiteral("2")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_NE(Read("other.tqm"), Read("dungeon.tqm"));

  run = RunTool({QStringLiteral("print"), Path("dungeon.tqm"), QStringLiteral("--pdf"),
                 Path("dungeon.pdf"), QStringLiteral("--dpi"), QStringLiteral("100")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  const TProgramRun info = RunProgram(QStringLiteral("pdfinfo"), {Path("dungeon.pdf")});
  ASSERT_EQ(info.ExitCode, 0) << info.Err.constData();
  // 40 squares of an inch are more than one Letter page each way.
  EXPECT_TRUE(info.Out.contains("612 x 792 pts (letter)")) << info.Out.constData();
  const int pagesAt = info.Out.indexOf("Pages:");
  ASSERT_GE(pagesAt, 0);
  EXPECT_GT(info.Out.mid(pagesAt + 6, 12).trimmed().split('\n').front().toInt(), 1);

  run = RunTool({QStringLiteral("export"), Path("dungeon.tqm"), Path("dungeon.dd2vtt"),
                 QStringLiteral("--ppg"), QStringLiteral("20")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_TRUE(run.Err.isEmpty()) << run.Err.constData();
  const TProgramRun vtt =
      RunProgram(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kVttReader), Path("dungeon.dd2vtt")});
  EXPECT_EQ(vtt.Out.trimmed(), "40x40 True True True") << vtt.Err.constData();

  run = RunTool({QStringLiteral("generate"), Path("crowded.tqm"), QStringLiteral("--width"),
                 QStringLiteral("10"), QStringLiteral("--height"), QStringLiteral("10"),
                 QStringLiteral("--rooms"), QStringLiteral("30")});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Err.startsWith("Only ")) << run.Err.constData();
  EXPECT_TRUE(run.Err.contains(" of the 30 rooms asked for fit in 10 \xC3\x97 10 squares.\n"))
      << run.Err.constData();
  EXPECT_TRUE(QFile::exists(Path("crowded.tqm")));
}

// Each bad argument exits with 1 and a message naming the fault, and
// writes nothing.
TEST_F(GenerateToolTest, BadArgumentsAreRefusedAndWriteNothing) {
  const struct {
    QStringList Arguments;
    const char* Message;
  } cases[] = {
      {{QStringLiteral("--width"), QStringLiteral("0")}, "--width takes a whole number from 5 to"},
      {{QStringLiteral("--height"), QStringLiteral("-3")}, "--height takes a whole number from 5"},
      {{QStringLiteral("--rooms"), QStringLiteral("0")}, "--rooms takes a whole number from 1"},
      {{QStringLiteral("--seed"), QStringLiteral("twelve")}, "--seed takes a whole number from 0"},
      {{QStringLiteral("--floor"), QStringLiteral("Carpet")},
       "The tileset \"ExampleTileset\" has no group named \"Carpet\"."},
      {{QStringLiteral("--floor"), QStringLiteral("Barrel")}, "\"Barrel\" is not a floor group."},
      {{QStringLiteral("--door"), QStringLiteral("Grass")}, "\"Grass\" is not a door group."},
      {{QStringLiteral("--walls"), QStringLiteral("Wattle")}, "No wall style is named \"Wattle\"."},
      {{QStringLiteral("--tileset"), QStringLiteral("Garden")},
       "No installed tileset is named \"Garden\"."},
  };
  for (const auto& test : cases) {
    const QString out = Path("refused.tqm");
    const TProgramRun run = RunTool(QStringList{QStringLiteral("generate"), out} + test.Arguments);
    EXPECT_EQ(run.ExitCode, 1) << test.Message;
    EXPECT_TRUE(run.Err.startsWith(test.Message)) << run.Err.constData();
    EXPECT_FALSE(QFile::exists(out)) << test.Message;
  }
}

}  // namespace
