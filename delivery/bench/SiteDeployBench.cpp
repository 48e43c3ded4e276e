// Writing the cards of a site's players, one batch, against as many single deploys of the
// template (each a run of its own, hashing everything anew) and against `cp` with `sync`
// and `sha256sum` of each card, the tools' way of writing and checking a card.
// Run: build/bench/delivery/bench/bench_site_deploy   (configure with --preset bench)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/bench/RatioReporter.h"
#include "common/tests/TempFolder.h"
#include "delivery/SiteDeploy.h"
#include "project/ProjectFolder.h"

namespace pwx {
namespace {

constexpr int kCards = 8;
constexpr int kClips = 8;
constexpr std::size_t kClipBytes = 2 * 1048576;

// A template of eight 2 MiB clips (bytes the copy does not look into), its site file of
// eight players, and a folder for each card.
struct Site {
  testing::TempFolder dir;
  Site() {
    namespace fs = std::filesystem;
    fs::create_directories(dir / "tmpl");
    std::string map;
    for (int clip = 1; clip <= kClips; ++clip) {
      const std::string name = "00" + std::to_string(clip) + ".mp3";
      testing::WriteFile(dir / ("tmpl/" + name), std::string(kClipBytes, static_cast<char>(clip)));
      map += dir / ("tmpl/" + name) + "\r\n";
    }
    testing::WriteFile(dir / "tmpl/m3fn.txt", map);
    testing::WriteFile(dir / "tmpl/plist.cfg", std::string(512, '\0'));
    testing::WriteFile(dir / "tmpl/rtu.cfg", "1,19200,E,8,1");
    testing::WriteFile(dir / "tmpl/vol.cfg", "5");
    testing::WriteFile(dir / "tmpl/Err1.mp3", std::string(4096, '\x55'));
    std::string site = "player,location,bus,device_id,volume,project\n";
    for (int n = 1; n <= kCards; ++n) {
      site += "P" + std::to_string(n) + ",Hall,1," + std::to_string(n) + ",5,tmpl\n";
    }
    testing::WriteFile(dir / "site.csv", site);
  }
  std::string Card(int n) const { return dir / ("card" + std::to_string(n)); }
  void BlankCards() const {
    for (int n = 1; n <= kCards; ++n) {
      std::filesystem::remove_all(Card(n));
      std::filesystem::create_directories(Card(n));
    }
  }
};

void BM_SiteBatch(benchmark::State& state) {
  const Site site;
  const SiteSetup setup = SetUpSite(ReadSiteFile(site.dir / "site.csv"));
  for (auto _ : state) {
    state.PauseTiming();
    site.BlankCards();
    state.ResumeTiming();
    FileHashCache cache;
    SiteCardOptions options;
    options.Cache = &cache;
    for (int n = 1; n <= kCards; ++n) {
      if (!DeploySitePlayer(setup, static_cast<std::size_t>(n - 1), site.Card(n), options)
               .Verified()) {
        state.SkipWithError("a card was not verified");
      }
    }
  }
}

void BM_SingleDeploys(benchmark::State& state) {
  const Site site;
  for (auto _ : state) {
    state.PauseTiming();
    site.BlankCards();
    state.ResumeTiming();
    for (int n = 1; n <= kCards; ++n) {
      const ProjectSnapshot project = ReadProjectFolder(site.dir / "tmpl");
      FileHashCache cache;
      PlanOptions planning;
      planning.Cache = &cache;
      DeployOptions copying;
      copying.Cache = &cache;
      const FolderLock lock(site.Card(n));
      if (!DeployToCard(PlanDeploy(project, site.Card(n), planning), copying).Verified()) {
        state.SkipWithError("a card was not verified");
      }
    }
  }
}

void BM_CpSyncSha256sum(benchmark::State& state) {
  const Site site;
  for (auto _ : state) {
    state.PauseTiming();
    site.BlankCards();
    state.ResumeTiming();
    for (int n = 1; n <= kCards; ++n) {
      const std::string card = site.Card(n);
      const std::string command = "cp '" + site.dir / "tmpl" + "'/* '" + card + "' && sync -f '" +
                                  card + "' && sha256sum '" + card + "'/* >/dev/null";
      if (std::system(command.c_str()) != 0) state.SkipWithError("cp or sha256sum failed");
    }
  }
}

BENCHMARK(BM_SiteBatch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SingleDeploys)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpSyncSha256sum)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pwx

int main(int argc, char** argv) {
  return pwx::bench::RunWithRatios(
      argc, argv, {{"BM_SiteBatch", "BM_SingleDeploys"}, {"BM_SiteBatch", "BM_CpSyncSha256sum"}});
}
