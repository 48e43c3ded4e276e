// The project as text on a project of 64 eight-second clips: show with the copies' hashes
// remembered, diff of two projects that differ in one clip against sha256sum of the two
// differing copies and one decode of the clip, and apply against the window's Save Project.
// Run: build/bench/commands/bench/bench_text_form   (configure with --preset bench)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "commands/CommandRegistry.h"
#include "common/bench/RatioReporter.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/Editor.h"
#include "project/tests/Fakes.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;

bool Shell(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// An eight-second tone of `hertz` as a 128 kbit/s MP3.
bool MakeClip(const std::string& path, int hertz) {
  return Shell("sox -n -r 44100 -c 1 -t wav - synth 8 sine " + std::to_string(hertz) +
               " 2>/dev/null | lame --quiet -b 128 - '" + path + "'");
}

// P: a saved project of 64 clips, each input of mode 0 playing four of them; Q: a copy of P
// whose clip 017 is another tone. The hashes are kept in the folder's own cache.
struct Projects {
  testing::TempFolder dir;
  std::string p = dir / "P", q = dir / "Q";
  bool ready = false;

  Projects() {
    setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
    fs::create_directories(p);
    if (!MakeClip(dir / "tone.mp3", 440) || !MakeClip(dir / "other.mp3", 660)) return;
    std::vector<std::pair<int, std::string>> names;
    for (int n = 1; n <= 64; ++n) {
      char file[16];
      std::snprintf(file, sizeof file, "/%03d.mp3", n);
      fs::copy_file(dir / "tone.mp3", p + file);
      names.emplace_back(n, dir / ("sources/Clip " + std::to_string(n) + ".mp3"));
    }
    testing::WriteFile(p + "/m3fn.txt", testing::NameMapBytes(names));
    testing::WriteFile(p + "/plist.cfg", testing::PlayListBytes()
                                             .Saved()
                                             .Slot(0, {1, 2, 3, 4})
                                             .Slot(1, {5, 6, 7, 8})
                                             .Slot(2, {17})
                                             .Bytes());
    testing::FakeHost host;
    testing::FakeAudioPlayer player;
    Editor editor(host, player, dir.Path());
    editor.OpenProjectFolder(p);
    editor.SpeedButton9Click();
    fs::copy(p, q);
    fs::copy_file(dir / "other.mp3", q + "/017.mp3", fs::copy_options::overwrite_existing);
    // A file changed within the last tick of its file system's clock is never remembered: the
    // copies are let age past it, so that the hashes are remembered from the first run on.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    ready = true;
  }
};

Projects& Shared() {
  static Projects projects;
  return projects;
}

int RunCommand(const char* name, std::vector<std::string> arguments, bool json = false,
               std::string* printed = nullptr) {
  std::ostringstream out, err;
  CommandContext context{out, err, "", false, false, nullptr, {}};
  CommandInput input;
  input.Arguments = std::move(arguments);
  if (json) input.Options["json"] = "";
  const int status = static_cast<int>(FindCommand(name)->Run(input, context));
  if (printed) *printed = out.str();
  return status;
}

void BM_ShowRemembered(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  RunCommand("show", {projects.p});  // the hashes are remembered from here on
  for (auto _ : state) {
    if (RunCommand("show", {projects.p}) != 0) state.SkipWithError("show failed");
  }
}

void BM_Sha256sumAll(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  const std::string command = "sha256sum '" + projects.p + "'/*.mp3 >/dev/null";
  for (auto _ : state) {
    if (!Shell(command)) state.SkipWithError("sha256sum failed");
  }
}

void BM_DiffOneClip(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  RunCommand("diff", {projects.p, projects.q});  // the hashes are remembered from here on
  for (auto _ : state) {
    if (RunCommand("diff", {projects.p, projects.q}) != 1) state.SkipWithError("diff failed");
  }
}

// What the diff cannot do without: hash the two differing copies and decode the clip.
void BM_Sha256sumAndDecode(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  const std::string command = "sha256sum '" + projects.p + "/017.mp3' '" + projects.q +
                              "/017.mp3' >/dev/null && mpg123 -q -t '" + projects.p + "/017.mp3'";
  for (auto _ : state) {
    if (!Shell(command)) state.SkipWithError("sha256sum or mpg123 failed");
  }
}

// The same, decoding both copies as a comparison of their audio must.
void BM_Sha256sumAndDecodeBoth(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  const std::string a = projects.p + "/017.mp3", b = projects.q + "/017.mp3";
  const std::string command = "sha256sum '" + a + "' '" + b + "' >/dev/null && mpg123 -q -t '" + a +
                              "' && mpg123 -q -t '" + b + "'";
  for (auto _ : state) {
    if (!Shell(command)) state.SkipWithError("sha256sum or mpg123 failed");
  }
}

void BM_ApplyShown(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  std::string json;
  RunCommand("show", {projects.p}, true, &json);
  const std::string text = projects.dir / "P.json";
  testing::WriteFile(text, json);
  for (auto _ : state) {
    if (RunCommand("apply", {projects.p, text}) != 0) state.SkipWithError("apply failed");
  }
}

void BM_WindowSaveProject(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  testing::FakeHost host;
  testing::FakeAudioPlayer player;
  Editor editor(host, player, projects.dir.Path());
  editor.OpenProjectFolder(projects.p);
  for (auto _ : state) editor.SpeedButton9Click();
}

// The window's Load Project and Save Project, for what apply does besides the save.
void BM_WindowOpenAndSave(benchmark::State& state) {
  Projects& projects = Shared();
  if (!projects.ready) return state.SkipWithError("sox or lame failed");
  testing::FakeHost host;
  testing::FakeAudioPlayer player;
  for (auto _ : state) {
    Editor editor(host, player, projects.dir.Path());
    editor.OpenProjectFolder(projects.p);
    editor.SpeedButton9Click();
  }
}

BENCHMARK(BM_ShowRemembered)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Sha256sumAll)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DiffOneClip)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Sha256sumAndDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Sha256sumAndDecodeBoth)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ApplyShown)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_WindowSaveProject)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_WindowOpenAndSave)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace pwx

int main(int argc, char** argv) {
  return pwx::bench::RunWithRatios(argc, argv,
                                   {{"BM_ShowRemembered", "BM_Sha256sumAll"},
                                    {"BM_DiffOneClip", "BM_Sha256sumAndDecode"},
                                    {"BM_DiffOneClip", "BM_Sha256sumAndDecodeBoth"},
                                    {"BM_ApplyShown", "BM_WindowSaveProject"},
                                    {"BM_ApplyShown", "BM_WindowOpenAndSave"}});
}
