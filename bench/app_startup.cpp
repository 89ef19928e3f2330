// Start-up of the editor as a user meets it: the settings read, the supplied
// tilesets written and loaded, the main window made, shown and idle.
#include "app/frmMainU.h"
#include "app/settings/SettingsStore.h"
#include "tiles/TilesetList.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

void Startup(benchmark::State& state) {
  QTemporaryDir tilesets;
  for (auto _ : state) {
    LoadSettings();
    TilesetList().LoadInstalled(tilesets.path());
    TfrmMain window;
    window.show();
    // Idle: every event the showing caused has been handled.
    while (!window.windowHandle()->isExposed())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.CurrentMap());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(Startup)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
