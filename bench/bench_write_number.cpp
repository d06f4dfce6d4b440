// WriteNumber beside std::to_chars (general format, precision 15) and
// snprintf("%.15G") on the calculator's typical results, in the same run. Each
// peer also makes a std::string of its text, as WriteNumber must; the ratio
// lines at the end give our time over each peer's.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "normcalc/numtext.h"
#include "ratio_report.h"

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

}  // namespace

int main(int argc, char** argv) {
  return normcalc::bench::RunWithRatios(
      argc, argv, {{"WriteNumber", "ToChars", 1.5}, {"WriteNumber", "Snprintf"}});
}
