// Exporting a 50 x 50 square map with every layer occupied, at 100 and 300
// pixels per square, to PNG (zlib level 6) and JPEG (quality 90): time and
// peak memory of `tessellan-tool export` run as a child process, so each
// case's peak is its own. Beside it, Tiled's tmxrasterizer rendering a map
// of the same size and the same count of tiles (three full layers of 50 x 50
// tiles, tile size = pixels per square) to PNG at its default zlib level, 6,
// the level of our PNG writer too.
#include "render/MapRender.h"
#include "support/BenchMap.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct TChildRun {
  double Seconds = 0;
  double PeakMB = 0;
  double CpuSeconds = 0;  // user and system: less at the mercy of other load
  int Status = -1;
};

// Runs a program to its end, its output dropped, under /usr/bin/time, which
// reports the program's own peak resident size and processor time (a child forked from this
// process would count this process's pages as its own peak).
TChildRun RunChild(const std::vector<std::string>& args) {
  const std::string peakFile = BenchWorkDir().filePath(QStringLiteral("peak.txt")).toStdString();
  std::vector<std::string> command{"/usr/bin/time", "-f", "%M %U %S", "-o", peakFile};
  command.insert(command.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (const std::string& arg : command)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  TChildRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  QFile peak(QString::fromStdString(peakFile));
  if (peak.open(QIODevice::ReadOnly)) {
    const QList<QByteArray> fields = peak.readAll().trimmed().split(' ');
    if (fields.size() == 3) {
      run.PeakMB = fields[0].toDouble() / 1024.0;
      run.CpuSeconds = fields[1].toDouble() + fields[2].toDouble();
    }
  }
  return run;
}

void Report(benchmark::State& state, const TChildRun& run, const QString& out) {
  state.SetIterationTime(run.Seconds);
  state.counters["peak_rss_MB"] = run.PeakMB;
  state.counters["cpu_s"] = run.CpuSeconds;
  state.counters["file_MB"] = QFileInfo(out).size() / 1e6;
  if (run.Status != 0) state.SkipWithError("the program failed");
}

// args: pixels per square, 0 PNG / 1 JPEG.
void ExportFifty(benchmark::State& state) {
  const int ppg = int(state.range(0));
  const bool jpeg = state.range(1) != 0;
  const std::string map = FiftySquareMapPath().toStdString();
  const QString out =
      BenchWorkDir().filePath(jpeg ? QStringLiteral("fifty.jpg") : QStringLiteral("fifty.png"));
  TChildRun run;
  for (auto _ : state) {
    run =
        RunChild({TESSELLAN_TOOL, "export", map, out.toStdString(), "--ppg", std::to_string(ppg)});
    state.SetIterationTime(run.Seconds);
  }
  Report(state, run, out);
}

// A tileset picture of eight tiles of the size: six squares cut from the
// exported picture itself (floor, barrel and walls, so that the peer
// compresses the same kind of pixels), and two transparent tiles. The map
// holds three full layers of 50 x 50 tiles drawn from it, as many tiles as
// the exported map: the six squares, then two layers of transparent ones.
QString PeerMap(int tile) {
  const QString dir = BenchWorkDir().path();
  TTileMap fifty;
  fifty.LoadFromFile(FiftySquareMapPath());
  TMapRenderer renderer(fifty, tile);
  QImage band(renderer.Width(), tile, QImage::Format_RGB32);
  renderer.RenderRows(band, 0);
  QImage sheet(8 * tile, tile, QImage::Format_ARGB32);
  sheet.fill(Qt::transparent);
  QPainter painter(&sheet);
  for (int i = 0; i < 6; ++i)
    painter.drawImage(i * tile, 0, band, (i + 1) * tile, 0, tile, tile);
  painter.end();
  const QString sheetPath = dir + QStringLiteral("/peer-%1.png").arg(tile);
  sheet.save(sheetPath);

  const QString path = dir + QStringLiteral("/peer-%1.tmx").arg(tile);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  QTextStream xml(&file);
  xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
         "width=\"50\" height=\"50\" tilewidth=\""
      << tile << "\" tileheight=\"" << tile << "\" infinite=\"0\">\n"
      << " <tileset firstgid=\"1\" name=\"sheet\" tilewidth=\"" << tile << "\" tileheight=\""
      << tile << "\" tilecount=\"8\" columns=\"8\">\n"
      << "  <image source=\"" << QFileInfo(sheetPath).fileName() << "\" width=\"" << 8 * tile
      << "\" height=\"" << tile << "\"/>\n </tileset>\n";
  for (int layer = 0; layer < 3; ++layer) {
    xml << " <layer id=\"" << layer + 1 << "\" name=\"l" << layer
        << "\" width=\"50\" height=\"50\">\n  <data encoding=\"csv\">\n";
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 50; ++x) {
        const int gid = layer == 0 ? 1 + (x * 7 + y * 3) % 6 : layer == 1 ? 7 : 8;
        xml << gid << (x == 49 && y == 49 ? "" : ",");
      }
      xml << "\n";
    }
    xml << "  </data>\n </layer>\n";
  }
  xml << "</map>\n";
  return path;
}

void PeerTmxRasterizer(benchmark::State& state) {
  const int tile = int(state.range(0));
  const std::string map = PeerMap(tile).toStdString();
  const QString out = BenchWorkDir().filePath(QStringLiteral("peer.png"));
  TChildRun run;
  for (auto _ : state) {
    run = RunChild({"/usr/bin/tmxrasterizer", map, out.toStdString()});
    state.SetIterationTime(run.Seconds);
  }
  Report(state, run, out);
}

}  // namespace

BENCHMARK(ExportFifty)
    ->ArgsProduct({{100, 300}, {0, 1}})
    ->ArgNames({"ppg", "jpeg"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(PeerTmxRasterizer)
    ->Arg(100)
    ->Arg(300)
    ->ArgName("tile")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
