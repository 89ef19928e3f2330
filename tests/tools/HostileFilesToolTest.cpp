// Files built to exhaust the reader: storages nested 200,000 deep, and maps
// and tilesets whose few kilobytes of pictures decode to hundreds of
// megabytes. map-info and tileset-info read them as the editor's Open and
// its tileset palette do, and must refuse them quickly, in bounded memory,
// with a message.
#include "storage/CompoundFile.h"
#include "storage/Storage.h"
#include "support/HostileFiles.h"
#include "support/RunProgram.h"
#include "support/TilesetFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <gtest/gtest.h>

namespace {

// The largest resident size of any program run so far, in MB.
long PeakChildMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

TEST(HostileFilesTool, DeepAndBombFilesAreRefusedQuicklyInBoundedMemory) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto path = [&dir](const char* name) {
    return QDir::toNativeSeparators(dir.filePath(QLatin1String(name)));
  };
  const QString deepMap = path("deep.tqm");
  const QString deepTileset = path("deep.tls");
  {
    const std::unique_ptr<TStorage> deep = MakeDeepTree(200000);
    WriteCompoundFile(deepMap, *deep);
    WriteCompoundFile(deepTileset, *deep);
  }
  // Eight 4096 × 4096 pictures: 384 MB decoded from about 20 KB.
  const QString bombMap = path("bomb.tqm");
  const QString bombTileset = path("bomb.tls");
  WriteCompoundFile(bombMap, *MakeBombMapTree(8));
  WriteTilesetFile(bombTileset, *MakeBombTilesetTree(2));
  const auto budgetError = [](const QString& file, int kilobytes) {
    return QStringLiteral(
               "The file \"%1\" holds pictures that take 384 MB when decoded, more "
               "than a file of %2 KB may hold (at most 257 MB).")
        .arg(file)
        .arg(kilobytes);
  };
  const auto kilobytes = [](const QString& file) {
    return int((QFileInfo(file).size() + 1023) / 1024);
  };
  const QString deepError =
      QStringLiteral("The file is damaged: its storages nest more than 64 levels deep.");

  struct {
    QStringList Args;
    QString Message;  // the last line of the error output
    long MaxMegabytes;
  } const cases[] = {
      {{QStringLiteral("map-info"), deepMap}, deepError, 500},
      {{QStringLiteral("tileset-info"), deepTileset}, deepError, 500},
      {{QStringLiteral("map-info"), bombMap}, budgetError(bombMap, kilobytes(bombMap)), 1000},
      {{QStringLiteral("tileset-info"), bombTileset},
       budgetError(bombTileset, kilobytes(bombTileset)),
       1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(qPrintable(c.Args.join(QLatin1Char(' '))));
    QElapsedTimer timer;
    timer.start();
    const TProgramRun run = RunTool(c.Args);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_LT(PeakChildMegabytes(), c.MaxMegabytes);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    const QStringList lines = QString::fromLocal8Bit(run.Err).trimmed().split(QLatin1Char('\n'));
    // The tileset box ends its text with the message after "\n\r\n\r".
    EXPECT_EQ(lines.last().trimmed().toStdString(), c.Message.toStdString());
  }
}
