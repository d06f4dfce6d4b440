// ReadNumber beside std::strtod and fast_float on the texts a calculator box
// typically holds, in the same run. The lines at the end give ns/call for each
// reader and input and ReadNumber's time over each peer's, so below 1.0 means
// ReadNumber is faster. The peers round once to the nearest double and
// ReadNumber rounds through extended precision, so their results may differ
// in the last bit; the speed comparison is what counts here.
#include <benchmark/benchmark.h>

#include <fast_float/fast_float.h>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "normcalc/numtext.h"
#include "ratio_report.h"

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

}  // namespace

int main(int argc, char** argv) {
  for (const Input& input : Inputs()) {
    const std::string* text = &input.text;
    benchmark::RegisterBenchmark((std::string("ReadNumber/") + input.name).c_str(), Read<0>, text);
    benchmark::RegisterBenchmark((std::string("strtod/") + input.name).c_str(), Read<1>, text);
    benchmark::RegisterBenchmark((std::string("fast_float/") + input.name).c_str(), Read<2>, text);
  }
  // Goal: within 1.5 times fast_float on every input.
  std::vector<normcalc::bench::RatioPair> pairs;
  for (const Input& input : Inputs()) {
    const std::string ours = std::string("ReadNumber/") + input.name;
    pairs.push_back({ours, std::string("fast_float/") + input.name, 1.5});
    pairs.push_back({ours, std::string("strtod/") + input.name});
  }
  return normcalc::bench::RunWithRatios(argc, argv, std::move(pairs));
}
