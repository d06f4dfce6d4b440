// WriteNumber beside std::to_chars (general format, precision 15) and
// snprintf("%.15G") on the calculator's typical results, in the same run. Each
// peer also makes a std::string of its text, as WriteNumber must; the ratio
// lines at the end give our time over each peer's.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "normcalc/numtext.h"

namespace {

// Results the calculator shows: P for X = 1 and for X = 1.96, X for a P of
// about 0.475, a tiny P, the largest P in the table, and zero.
constexpr double kTypicalResults[] = {0.341344279839592, 1.95997183815153, 3.98892280401339e-7,
                                      0.49996719678728, 0.0};
constexpr std::size_t kResultCount = std::size(kTypicalResults);
constexpr int kShownPrecision = 15;

template <typename Write>
void RunOver(benchmark::State& state, Write write) {
  std::size_t i = 0;
  for (auto _ : state) {
    std::string text = write(kTypicalResults[i]);
    benchmark::DoNotOptimize(text.data());
    if (++i == kResultCount) i = 0;
  }
}

void WriteNumber(benchmark::State& state) {
  RunOver(state, [](double v) { return normcalc::WriteNumber(v); });
}

void ToChars(benchmark::State& state) {
  RunOver(state, [](double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general,
                                      kShownPrecision);
    return std::string(buffer, result.ptr);
  });
}

void Snprintf(benchmark::State& state) {
  RunOver(state, [](double v) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.15G", v);
    return std::string(buffer, static_cast<std::size_t>(length));
  });
}

BENCHMARK(WriteNumber);
BENCHMARK(ToChars);
BENCHMARK(Snprintf);

// The console report as usual, then one line per peer with ns/call and the
// ratio of our time to the peer's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration)
        nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    PrintRatio("WriteNumber", "ToChars");
    PrintRatio("WriteNumber", "Snprintf");
  }

 private:
  void PrintRatio(const std::string& ours, const std::string& peer) {
    const auto a = nanoseconds_.find(ours);
    const auto b = nanoseconds_.find(peer);
    if (a == nanoseconds_.end() || b == nanoseconds_.end()) return;
    std::printf("%-11s %7.1f ns/call  %-8s %7.1f ns/call  ratio %.2f\n", ours.c_str(), a->second,
                peer.c_str(), b->second, a->second / b->second);
  }

  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
