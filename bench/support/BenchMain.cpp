// The main of the benchmarks that paint or drive widgets: they need an
// application object, on the offscreen platform unless another is asked for.
// Built a second time with TESSELLAN_BENCH_SCALE_FACTOR for the variants that
// run as on a high-resolution screen.
#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef TESSELLAN_BENCH_SCALE_FACTOR
  qputenv("QT_SCALE_FACTOR", TESSELLAN_BENCH_SCALE_FACTOR);
#endif
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
