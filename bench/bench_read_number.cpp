// ReadNumber beside std::strtod and fast_float on the texts a calculator box
// typically holds, in the same run. The lines at the end give ns/call for each
// reader and input and ReadNumber's time over each peer's, so below 1.0 means
// ReadNumber is faster. The peers round once to the nearest double and
// ReadNumber rounds through extended precision, so their results may differ
// in the last bit; the speed comparison is what counts here.
#include <benchmark/benchmark.h>

#include <fast_float/fast_float.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "normcalc/numtext.h"

namespace {

struct Input {
  const char* name;
  std::string text;
};

// Typed values, and 17-digit values as pasted from elsewhere.
const std::vector<Input>& Inputs() {
  static const std::vector<Input> inputs = {
      {"1.96", "1.96"},
      {"0.475", "0.475"},
      {"0.000001", "0.000001"},
      {"pasted17", "0.47500021048080554"},
      {"pasted17e", "1.2345678901234567e-5"},
  };
  return inputs;
}

double ReadWith(int reader, const std::string& text) {
  switch (reader) {
    case 0:
      return normcalc::ReadNumber(text);
    case 1:
      return std::strtod(text.c_str(), nullptr);
    default: {
      double value = 0;
      fast_float::from_chars(text.data(), text.data() + text.size(), value);
      return value;
    }
  }
}

template <int Reader>
void Read(benchmark::State& state, const std::string* text) {
  // Keep the optimiser from treating the text as a constant it can fold.
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(ReadWith(Reader, *text));
  }
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
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
    std::printf("%-10s %12s %12s %12s %14s %16s\n", "input", "ReadNumber", "strtod", "fast_float",
                "ratio/strtod", "ratio/fast_float");
    for (const Input& input : Inputs()) {
      const double ours = Find("ReadNumber", input.name);
      const double strtod = Find("strtod", input.name);
      const double fastFloat = Find("fast_float", input.name);
      if (ours <= 0 || strtod <= 0 || fastFloat <= 0) continue;
      std::printf("%-10s %9.1f ns %9.1f ns %9.1f ns %14.2f %16.2f\n", input.name, ours, strtod,
                  fastFloat, ours / strtod, ours / fastFloat);
    }
  }

 private:
  double Find(const std::string& reader, const std::string& input) const {
    const auto found = nanoseconds_.find(reader + "/" + input);
    return found == nanoseconds_.end() ? 0 : found->second;
  }

  std::map<std::string, double> nanoseconds_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Input& input : Inputs()) {
    const std::string* text = &input.text;
    benchmark::RegisterBenchmark((std::string("ReadNumber/") + input.name).c_str(), Read<0>, text);
    benchmark::RegisterBenchmark((std::string("strtod/") + input.name).c_str(), Read<1>, text);
    benchmark::RegisterBenchmark((std::string("fast_float/") + input.name).c_str(), Read<2>, text);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
