// The closing report every benchmark here prints: after the usual console
// table, one line per pair of our operation and its named peer, with both
// times in ns/call and the ratio ours/peer, against the goal where there is one.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace normcalc::bench {

struct RatioPair {
  std::string ours;
  std::string peer;
  double goal = 0;  // the largest acceptable ratio; 0 for none
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Plain text without colour codes: these figures end up in logs and notes.
  explicit RatioReporter(std::vector<RatioPair> pairs)
      : ConsoleReporter(OO_Tabular), pairs_(std::move(pairs)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With --benchmark_repetitions the median stands for the benchmark.
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Iteration && medians_.count(name) == 0) {
        nanoseconds_[name] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        nanoseconds_[name] = run.GetAdjustedCPUTime();
        medians_.insert(name);
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::fflush(nullptr);
    for (const RatioPair& pair : pairs_) {
      const auto ours = nanoseconds_.find(pair.ours);
      const auto peer = nanoseconds_.find(pair.peer);
      if (ours == nanoseconds_.end() || peer == nanoseconds_.end() || peer->second <= 0) continue;
      const double ratio = ours->second / peer->second;
      std::printf("%-26s %8.2f ns/call  %-26s %8.2f ns/call  ratio %5.2f", pair.ours.c_str(),
                  ours->second, pair.peer.c_str(), peer->second, ratio);
      if (pair.goal > 0) {
        std::printf("  (goal <= %.1f: %s)", pair.goal, ratio <= pair.goal ? "met" : "missed");
      }
      std::printf("\n");
    }
  }

 private:
  std::vector<RatioPair> pairs_;
  std::map<std::string, double> nanoseconds_;
  std::set<std::string> medians_;
};

// The whole main of a benchmark program, once its benchmarks are registered.
inline int RunWithRatios(int argc, char** argv, std::vector<RatioPair> pairs) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(pairs));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace normcalc::bench
