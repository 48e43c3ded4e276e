// Importing a 10 MiB clip through the editor against the system's `cp` of the same file,
// with and without `sync` of the copy.
// Run: build/bench/project/bench/bench_import   (configure with --preset bench)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "common/bench/RatioReporter.h"
#include "common/tests/TempFolder.h"
#include "project/Editor.h"
#include "project/tests/Fakes.h"

namespace pwx {
namespace {

constexpr std::size_t kClipBytes = 10 * 1048576;

struct Setup {
  testing::TempFolder start;
  std::string source;
  Setup() {
    source = start / "source.mp3";
    testing::WriteFile(source, std::string(kClipBytes, '\x5A'));
    std::filesystem::create_directories(start / "P");
    testing::WriteFile(start / "PRJ.cfg", start.Dir() + "P/\r\n");
    start.MakeCurrent();
  }
};

void BM_EditorImport(benchmark::State& state) {
  Setup setup;
  testing::FakeHost host;
  testing::FakeAudioPlayer player;
  Editor editor(host, player, setup.start.Path());
  editor.FormActivate();
  editor.StringGrid1Click(12, 1);
  for (auto _ : state) {
    host.fileAnswers.push_back(setup.source);
    editor.StringGrid1DblClick();
  }
  if (!host.errorBoxes.empty()) state.SkipWithError(host.errorBoxes.front().c_str());
}

void BM_SystemCp(benchmark::State& state) {
  Setup setup;
  const std::string command = "cp '" + setup.source + "' '" + (setup.start / "P/012.mp3") + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
}

// The editor pushes the copy through to the disk before it renames it into place; `sync` of
// the copy does the same after `cp`, for a like-for-like figure.
void BM_SystemCpAndSync(benchmark::State& state) {
  Setup setup;
  const std::string copy = setup.start / "P/012.mp3";
  const std::string command = "cp '" + setup.source + "' '" + copy + "' && sync '" + copy + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp or sync failed");
  }
}

BENCHMARK(BM_EditorImport)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SystemCp)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SystemCpAndSync)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace pwx

int main(int argc, char** argv) {
  return pwx::bench::RunWithRatios(
      argc, argv, {{"BM_EditorImport", "BM_SystemCp"}, {"BM_EditorImport", "BM_SystemCpAndSync"}});
}
