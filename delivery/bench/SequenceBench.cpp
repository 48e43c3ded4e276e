// An input's timeline and render against the work they stand on.
//   timeline of all 15 inputs of mode 7 against one frame-header scan (the check's scan) of
//   the clips those inputs play;
//   render of a sequence of about ten minutes against mpg123 decoding the same copies.
// Run (configure with --preset bench):
//   PWX_BENCH_PROJECT=$(scripts/make-bench-project.sh 1) build/bench/delivery/bench/bench_sequence
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "audio/ClipFiles.h"
#include "audio/ClipProbe.h"
#include "common/IntegerText.h"
#include "common/bench/RatioReporter.h"
#include "common/tests/TempFolder.h"
#include "delivery/InputSequence.h"
#include "delivery/SequenceRender.h"
#include "project/ProjectFolder.h"

namespace pwx {
namespace {

// The bench project in mode 7: input s plays 2 to 4 clips from 4s + 1 on, once to three times.
ProjectSnapshot BenchProject() {
  const char* folder = std::getenv("PWX_BENCH_PROJECT");
  if (!folder) {
    std::fprintf(stderr, "PWX_BENCH_PROJECT names no folder (scripts/make-bench-project.sh 1)\n");
    std::exit(2);
  }
  ProjectSnapshot read = ReadProjectFolder(std::string(folder) + "/");
  AlarmProject project = read.Project;
  project.Mode = {"7", 7};
  for (int s = 0; s < 15; ++s) {
    AlarmSlot& slot = project.Slots[static_cast<std::size_t>(s)];
    for (int k = 0; k < kClipsPerSlot; ++k) {
      slot.Clips[static_cast<std::size_t>(k)] =
          k < 2 + s % 3 ? ThreeDigits((4 * s + k) % kLibrarySize + 1) : kNoClip;
    }
    slot.Repeat = std::to_string(1 + s % 3);
  }
  return SnapshotOf(project, read.Image, read.WorkDir);
}

const ProjectSnapshot& Project() {
  static const ProjectSnapshot project = BenchProject();
  return project;
}

void BM_Timeline15Inputs(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SequencesOfMode(Project()));
}
BENCHMARK(BM_Timeline15Inputs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameScanOfTheClipsUsed(benchmark::State& state) {
  std::set<int> used;
  for (int s = 0; s < 15; ++s) {
    for (const auto& clip : Project().Project.Slots[static_cast<std::size_t>(s)].Clips) {
      if (clip != kNoClip) used.insert(std::stoi(clip));
    }
  }
  ProbeFileOptions scan;
  scan.Depth = ProbeDepth::Scan;
  for (auto _ : state) {
    for (int clip : used) {
      benchmark::DoNotOptimize(ProbeClipFile(ProjectCopyPath(Project().WorkDir, clip), scan));
    }
  }
}
BENCHMARK(BM_FrameScanOfTheClipsUsed)->Unit(benchmark::kMillisecond)->UseRealTime();

// Input bI15 repeated until it plays at least ten minutes.
InputSequence TenMinutes() {
  ProjectSnapshot project = Project();
  AlarmSlot& slot = project.Project.Slots[0];
  ClipTimings timings(project);
  const double once = SequenceOfInput(project, 0, timings).Total / 1;
  slot.Repeat = std::to_string(static_cast<int>(600 / once) + 1);
  project = SnapshotOf(project.Project, project.Image, project.WorkDir);
  ClipTimings again(project);
  return SequenceOfInput(project, 0, again);
}

void BM_RenderTenMinutes(benchmark::State& state) {
  const InputSequence sequence = TenMinutes();
  testing::TempFolder out;
  for (auto _ : state) RenderSequence(Project(), sequence, out / "render.wav");
  state.counters["realtime_x"] = benchmark::Counter(
      sequence.Total * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderTenMinutes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Mpg123DecodeTenMinutes(benchmark::State& state) {
  const InputSequence sequence = TenMinutes();
  std::string command = "mpg123 -q -e f32 -w /dev/null";
  for (const auto& s : sequence.Segments)
    command += " " + ProjectCopyPath(Project().WorkDir, s.Clip);
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("mpg123 failed");
  }
}
BENCHMARK(BM_Mpg123DecodeTenMinutes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace pwx

int main(int argc, char** argv) {
  return pwx::bench::RunWithRatios(argc, argv,
                                   {{"BM_Timeline15Inputs", "BM_FrameScanOfTheClipsUsed"},
                                    {"BM_RenderTenMinutes", "BM_Mpg123DecodeTenMinutes"}});
}
