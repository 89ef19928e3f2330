// Reading a tileset-shaped compound file of about 4 MB from memory and
// extracting every stream, and writing it again.
#include "storage/CompoundFile.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

QByteArray Pattern(int size, quint32 seed) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (int i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = char(seed >> 23);
  }
  return bytes;
}

// 40 groups with their text properties (mini stream) and a "Tiles" storage
// of four tile streams of about 25 KB each.
std::unique_ptr<TStorage> TilesetTree() {
  auto root = std::make_unique<TStorage>();
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("TilesetName"), QStringLiteral("Bench"));
  for (int g = 0; g < 40; ++g) {
    TStorage& group = root->CreateStorage(QStringLiteral("Group %1").arg(g));
    for (const char* name : {"PatWidth", "PatHeight", "PlaceType", "GroupName", "Category"})
      WriteProperty(group, QString::fromLatin1(name), QString::number(g));
    TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
    for (int t = 0; t < 4; ++t)
      tiles.CreateStream(QStringLiteral("%1.0").arg(t),
                         Pattern(24000 + 512 * t + g, quint32(g * 4 + t)));
  }
  return root;
}

quint64 TouchAll(const TStorage& root) {
  quint64 sum = 0;
  ForEachElement(root, [&sum](const TStorage& storage, int i) {
    if (storage.TypeAt(i) != TElementType::Stream) return;
    const QByteArray& data = storage.StreamAt(i);
    qsizetype k = 0;
    for (; k + 8 <= data.size(); k += 8) {
      quint64 word;
      std::memcpy(&word, data.constData() + k, 8);
      sum += word;
    }
    for (; k < data.size(); ++k)
      sum += quint8(data[k]);
  });
  return sum;
}

void BM_ReadTileset(benchmark::State& state) {
  const QByteArray file = SerializeCompoundFile(*TilesetTree());
  for (auto _ : state) {
    const auto tree = ParseCompoundFile(file);
    benchmark::DoNotOptimize(TouchAll(*tree));
  }
  state.SetBytesProcessed(state.iterations() * file.size());
  state.counters["file_bytes"] = double(file.size());
}
BENCHMARK(BM_ReadTileset)->Unit(benchmark::kMillisecond);

void BM_WriteTileset(benchmark::State& state) {
  const auto tree = TilesetTree();
  qint64 size = 0;
  for (auto _ : state) {
    const QByteArray file = SerializeCompoundFile(*tree);
    size = file.size();
    benchmark::DoNotOptimize(file.constData());
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_WriteTileset)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
