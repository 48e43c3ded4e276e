// Opening a project whose m3fn.txt is one line of 400 MB, against `wc -l`, which reads the
// same file and counts its lines (the least the reader must do too). The peak memory of the
// whole process is shown beside the editor's time.
//
// Run: cmake --preset bench && cmake --build --preset bench &&
// build/bench/devicefiles/bench/bench_name_map
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>

#include "common/bench/RatioReporter.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/NameMapFile.h"

namespace pwx {
namespace {

constexpr std::size_t kMapBytes = 400u * 1024 * 1024;

// The hostile file, written once in pieces, so that writing it costs no memory.
const testing::TempFolder& HugeMapFolder() {
  static const testing::TempFolder folder;
  static const bool written = [] {
    std::ofstream out(folder / "m3fn.txt", std::ios::binary);
    out << "\xEF\xBB\xBF";
    const std::string piece(1 << 20, 'x');
    for (std::size_t done = 0; done < kMapBytes; done += piece.size()) out << piece;
    out << "\r\n";
    return true;
  }();
  (void)written;
  return folder;
}

double PeakMebibytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void LoadHugeNameMap(benchmark::State& state) {
  const std::string dir = HugeMapFolder().Dir();
  for (auto _ : state) {
    AudioLibrary library;
    DiagnosticLog log;
    benchmark::DoNotOptimize(LoadNameMap(library, dir, log));
  }
  state.counters["peak_rss_MiB"] = PeakMebibytes();
}

void WcLinesOfHugeNameMap(benchmark::State& state) {
  const std::string command = "wc -l '" + (HugeMapFolder() / "m3fn.txt") + "' >/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("wc failed");
  }
}

BENCHMARK(LoadHugeNameMap)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(WcLinesOfHugeNameMap)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
}  // namespace pwx

int main(int argc, char** argv) {
  return pwx::bench::RunWithRatios(argc, argv, {{"LoadHugeNameMap", "WcLinesOfHugeNameMap"}});
}
