// Every command of the tool that writes a file, run over an earlier file
// that it may not replace: the command fails with the reason, the earlier
// file stays byte for byte with its permissions, and nothing is left beside
// it. The file system refuses through a file-size limit (anyone can set
// one) and, where the test may mount one, a full tmpfs; and every command
// refuses a read-only target alike, even for root.
#include "SuppliedTilesets.h"
#include "map/TileMapObjects.h"
#include "storage/Guid.h"
#include "support/FileSizeLimit.h"
#include "support/Tmpfs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Larger than no output of the commands below, smaller than every one.
constexpr qint64 kLimit = 4096;

QImage Noise(int size, quint32 seed) {
  QRandomGenerator random(seed);
  QImage image(size, size, QImage::Format_RGB888);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      image.setPixel(x, y, random.generate() | 0xFF000000u);
  return image;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList Listing(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

// The inputs every command reads: a map of 10 x 8 squares of noise, an edit
// script, a tileset manifest with its picture, and the supplied walls.
struct TInputs {
  explicit TInputs(const QString& dir) : Dir(dir) {
    TTileMap map;
    map.SetWidth(20);
    map.SetHeight(16);
    std::vector<std::unique_ptr<TSubTile>> tiles;
    for (int i = 0; i < 8; ++i) {
      tiles.push_back(std::make_unique<TSubTile>());
      tiles.back()->SetImage(Noise(32, quint32(i + 1)));
      tiles.back()->SetGuid(NewGuidText());
    }
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x)
        map.PlaceTile(mlBase, x, y, *tiles[size_t(x * 3 + y) % tiles.size()], 0);
    EXPECT_TRUE(map.SaveToFile(Path("map.tqm")));
    WriteBytes(Path("script.txt"), "nudge right\n");
    EXPECT_TRUE(Noise(128, 99).save(Path("floor.png"), "PNG"));
    WriteBytes(Path("tiles.json"), R"({"TilesetName": "Noise", "Groups": [
        {"GroupName": "Static", "Category": "Floor tiles", "FType": 0, "PlaceType": 0,
         "Picture": "floor.png", "Across": 2}]})");
  }
  QString Path(const char* name) const { return QDir(Dir).filePath(QLatin1String(name)); }
  QString Dir;
};

struct TWritingCommand {
  const char* Target;
  std::function<QStringList(const TInputs& in, const QString& out)> Arguments;
};

// The format follows the target's extension.
QStringList ExportArguments(const TInputs& in, const QString& out) {
  return QStringList{"export", in.Path("map.tqm"), out};
}

const TWritingCommand kCommands[] = {
    {"new.tqm",
     [](const TInputs&, const QString& out) {
       return QStringList{"map-new", out};
     }},
    {"resaved.tqm",
     [](const TInputs& in, const QString& out) {
       return QStringList{"map-resave", in.Path("map.tqm"), out};
     }},
    {"edited.tqm",
     [](const TInputs& in, const QString& out) {
       return QStringList{"edit", in.Path("map.tqm"), out, in.Path("script.txt")};
     }},
    {"export.png", ExportArguments},
    {"export.jpg", ExportArguments},
    {"export.bmp", ExportArguments},
    {"export.dd2vtt", ExportArguments},
    {"render.png",
     [](const TInputs& in, const QString& out) {
       return QStringList{"render", in.Path("map.tqm"), out};
     }},
    {"sheet.png",
     [](const TInputs&, const QString& out) {
       return QStringList{"tileset-sheet", GeneratedFile(QStringLiteral("Walls.wls")), out};
     }},
    {"built.tls",
     [](const TInputs& in, const QString& out) {
       return QStringList{"tileset-build", in.Path("tiles.json"), out};
     }},
    {"printed.pdf",
     [](const TInputs& in, const QString& out) {
       return QStringList{"print", in.Path("map.tqm"), "--pdf", out};
     }},
};

// A file system that refuses writes: how the tool is run on it, and the
// reason it gives.
class TRefusingFileSystem {
 public:
  virtual ~TRefusingFileSystem() = default;
  // The folder the targets go into, or empty when this system is not
  // available here (the reason in Skip).
  virtual QString Folder() = 0;
  // Called once the targets are in place.
  virtual void Fill() {}
  virtual TProgramRun Run(const QStringList& arguments) = 0;
  virtual const char* Reason() const = 0;
  QString Skip;
};

class TFileSizeLimitSystem : public TRefusingFileSystem {
 public:
  QString Folder() override { return fDir.path(); }
  TProgramRun Run(const QStringList& arguments) override {
    TChildLimits limits;
    limits.FileSize = kLimit;
    return RunToolWithLimits(arguments, limits);
  }
  const char* Reason() const override { return kFileTooLarge; }

 private:
  QTemporaryDir fDir;
};

// A tmpfs of 2 MB, filled to the last byte once the targets are in.
class TFullTmpfs : public TRefusingFileSystem {
 public:
  TFullTmpfs() : fTmpfs(QStringLiteral("2m")) {}
  QString Folder() override {
    Skip = fTmpfs.Skip();
    return fTmpfs.Path();
  }
  void Fill() override { fTmpfs.Fill(); }
  TProgramRun Run(const QStringList& arguments) override { return RunTool(arguments); }
  const char* Reason() const override { return "No space left on device"; }

 private:
  TTmpfs fTmpfs;
};

// Targets whose owner-write bit is clear, on a file system with room.
class TReadOnlyTargets : public TRefusingFileSystem {
 public:
  QString Folder() override { return fDir.path(); }
  void Fill() override {
    for (const QString& name : QDir(fDir.path()).entryList(QDir::Files))
      ASSERT_TRUE(QFile::setPermissions(QDir(fDir.path()).filePath(name),
                                        QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  }
  TProgramRun Run(const QStringList& arguments) override { return RunTool(arguments); }
  const char* Reason() const override { return "the file is read-only"; }

 private:
  QTemporaryDir fDir;
};

struct TFileSystemCase {
  const char* Name;
  std::function<std::unique_ptr<TRefusingFileSystem>()> Make;
};

void PrintTo(const TFileSystemCase& system, std::ostream* out) {
  *out << system.Name;
}

class RefusedWrites : public testing::TestWithParam<TFileSystemCase> {};

}  // namespace

TEST_P(RefusedWrites, EveryWritingCommandFailsAndKeepsTheEarlierFile) {
  QTemporaryDir inputDir;
  ASSERT_TRUE(inputDir.isValid());
  const TInputs in(inputDir.path());

  const std::unique_ptr<TRefusingFileSystem> system = GetParam().Make();
  const QString folder = system->Folder();
  if (folder.isEmpty()) GTEST_SKIP() << qPrintable(system->Skip);
  for (const TWritingCommand& command : kCommands)
    WriteBytes(QDir(folder).filePath(QLatin1String(command.Target)),
               QByteArray("the earlier ") + command.Target);
  system->Fill();
  const QStringList before = Listing(folder);
  const QFileDevice::Permissions permissions =
      QFileInfo(QDir(folder).filePath(QLatin1String(kCommands[0].Target))).permissions();

  for (const TWritingCommand& command : kCommands) {
    SCOPED_TRACE(command.Target);
    const QString target = QDir(folder).filePath(QLatin1String(command.Target));
    const TProgramRun run = system->Run(command.Arguments(in, target));
    EXPECT_EQ(run.ExitCode, 1);
    const QString expected = QStringLiteral("The file \"%1\" could not be written: %2.")
                                 .arg(target, QLatin1String(system->Reason()));
    EXPECT_TRUE(QString::fromLocal8Bit(run.Err).contains(expected)) << run.Err.constData();
    EXPECT_EQ(ReadBytes(target), QByteArray("the earlier ") + command.Target);
    EXPECT_EQ(QFileInfo(target).permissions(), permissions);
    EXPECT_EQ(Listing(folder), before);
  }
}

// Each command's output is larger than the limit, so each of them meets it.
TEST(RefusedWritesOutputs, EveryOutputIsLargerThanTheLimit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const TInputs in(dir.path());
  for (const TWritingCommand& command : kCommands) {
    SCOPED_TRACE(command.Target);
    const QString target = dir.filePath(QLatin1String(command.Target));
    const TProgramRun run = RunTool(command.Arguments(in, target));
    ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
    EXPECT_GT(QFileInfo(target).size(), kLimit);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Systems, RefusedWrites,
    testing::Values(
        TFileSystemCase{"FileSizeLimit", [] { return std::make_unique<TFileSizeLimitSystem>(); }},
        TFileSystemCase{"FullTmpfs", [] { return std::make_unique<TFullTmpfs>(); }},
        TFileSystemCase{"ReadOnlyTargets", [] { return std::make_unique<TReadOnlyTargets>(); }}),
    [](const testing::TestParamInfo<TFileSystemCase>& info) {
      return std::string(info.param.Name);
    });
