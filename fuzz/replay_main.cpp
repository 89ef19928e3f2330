// Replays fuzz inputs through a target's entry function without libFuzzer:
// every file in the folders (or the files) named on the command line is fed
// to LLVMFuzzerTestOneInput once. A crash or sanitizer report fails the run,
// and so does a peak resident size above 1 GB, the limit the fuzzing runs
// set: an input that decodes to gigabytes is a failure, not a slow pass.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <sys/resource.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

constexpr long kRssLimitMb = 1024;

long PeakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

void Replay(const std::filesystem::path& file, int& count) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ++count;
  if (PeakResidentMb() > kRssLimitMb) {
    std::fprintf(stderr, "%s: the resident size reached %ld MB, above the limit of %ld MB\n",
                 file.string().c_str(), PeakResidentMb(), kRssLimitMb);
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        if (entry.is_regular_file()) Replay(entry.path(), count);
    } else if (std::filesystem::is_regular_file(path)) {
      Replay(path, count);
    }
  }
  std::printf("replayed %d inputs\n", count);
  return 0;
}
