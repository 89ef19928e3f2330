// Feeds arbitrary bytes to the compound-file reader and walks the whole tree
// it returns. Whatever parses must also survive a round trip through the
// writer unchanged.
#include "storage/CompoundFile.h"
#include "storage/Storage.h"

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// Every stream's bytes are touched, so a stream that points outside its
// buffer shows up under the sanitizers.
quint64 Walk(const TStorage& root) {
  quint64 sum = 0;
  ForEachElement(root, [&sum](const TStorage& storage, int i) {
    sum += quint64(storage.NameAt(i).size());
    if (storage.TypeAt(i) == TElementType::Stream)
      for (char c : storage.StreamAt(i))
        sum += quint8(c);
  });
  return sum;
}

bool SameTree(const TStorage& a, const TStorage& b) {
  // The writer sorts the elements of a storage, so compare by name; an
  // explicit stack of storage pairs, as the tree may be deep.
  std::vector<std::pair<const TStorage*, const TStorage*>> pending{{&a, &b}};
  while (!pending.empty()) {
    const auto [x, y] = pending.back();
    pending.pop_back();
    if (x->ElementCount() != y->ElementCount()) return false;
    for (int i = 0; i < x->ElementCount(); ++i) {
      if (x->TypeAt(i) == TElementType::Storage) {
        const TStorage* other = y->FindStorage(x->NameAt(i));
        if (!other) return false;
        pending.emplace_back(&x->StorageAt(i), other);
      } else {
        const QByteArray* other = y->FindStream(x->NameAt(i));
        if (!other || *other != x->StreamAt(i)) return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  std::unique_ptr<TStorage> tree;
  try {
    tree = ParseCompoundFile(bytes);
  } catch (const TStorageError&) {
    return 0;
  }
  volatile quint64 sink = Walk(*tree);
  (void)sink;

  QByteArray written;
  try {
    written = SerializeCompoundFile(*tree);
  } catch (const TStorageError&) {
    return 0;  // names the writer refuses, such as "a/b"
  }
  try {
    if (!SameTree(*tree, *ParseCompoundFile(written))) std::abort();
  } catch (const TStorageError&) {
    std::abort();  // what we write must read back
  }
  return 0;
}
