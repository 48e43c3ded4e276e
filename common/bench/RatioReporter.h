#pragma once

// Benchmarks compare the editor with the command-line tool that does the same work. This
// reporter prints the usual table and, at the end, each pair's ratio of wall times.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pwx::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Pairs of (ours, baseline) benchmark names, as registered.
  explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
      : pairs_(std::move(pairs)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        seconds_[run.run_name.function_name] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [ours, baseline] : pairs_) {
      const auto a = seconds_.find(ours);
      const auto b = seconds_.find(baseline);
      if (a == seconds_.end() || b == seconds_.end() || b->second <= 0) continue;
      std::printf("ratio %s / %s = %.3g (%.3g ms against %.3g ms)\n", ours.c_str(),
                  baseline.c_str(), a->second / b->second, a->second * 1e3, b->second * 1e3);
    }
  }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::map<std::string, double> seconds_;
};

// main() of a benchmark that reports its ratios.
inline int RunWithRatios(int argc, char** argv,
                         std::vector<std::pair<std::string, std::string>> pairs) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(std::move(pairs));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace pwx::bench
