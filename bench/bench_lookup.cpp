// XToP and PToX beside Boost.Math's normal cdf and quantile, on the same
// inputs in the same run. Boost answers the same questions by formula
// (P = cdf(X) - 1/2, X = quantile(P + 1/2)); the ratio lines at the end give
// our time over Boost's, so below 1.0 means the table lookup is faster.
#include <benchmark/benchmark.h>

#include <boost/math/distributions/normal.hpp>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "normcalc/core.h"
#include "ratio_report.h"

namespace {

constexpr std::size_t kInputCount = 4096;  // a power of two: the index wraps by masking
constexpr unsigned kSeed = 20240611;

// What users type: X mostly within the table (0 to 3.98), a few beyond either
// end to meet the clamps, in steps of 0.0001 as a typed value would be; P from
// 0 to just under one half.
const std::vector<double>& XInputs() {
  static const std::vector<double> inputs = [] {
    std::mt19937 engine(kSeed);
    std::uniform_int_distribution<int> tenThousandths(-1000, 42000);
    std::vector<double> v(kInputCount);
    for (double& x : v) x = tenThousandths(engine) / 10000.0;
    return v;
  }();
  return inputs;
}

const std::vector<double>& PInputs() {
  static const std::vector<double> inputs = [] {
    std::mt19937 engine(kSeed + 1);
    std::uniform_int_distribution<int> hundredThousandths(0, 49999);
    std::vector<double> v(kInputCount);
    for (double& p : v) p = hundredThousandths(engine) / 100000.0;
    return v;
  }();
  return inputs;
}

template <typename Lookup>
void RunOver(benchmark::State& state, const std::vector<double>& inputs, Lookup lookup) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lookup(inputs[i]));
    i = (i + 1) & (kInputCount - 1);
  }
}

const boost::math::normal_distribution<double> kStandardNormal;

void XToP(benchmark::State& state) { RunOver(state, XInputs(), normcalc::XToP); }
void BoostCdf(benchmark::State& state) {
  RunOver(state, XInputs(), [](double x) { return boost::math::cdf(kStandardNormal, x) - 0.5; });
}
void PToX(benchmark::State& state) { RunOver(state, PInputs(), normcalc::PToX); }
void BoostQuantile(benchmark::State& state) {
  RunOver(state, PInputs(),
          [](double p) { return boost::math::quantile(kStandardNormal, p + 0.5); });
}

// Not a lookup: the Extended arithmetic that any PToX call performs after its
// search (the difference d, the interpolation step, two roundings to double),
// on the rows the search would find. It shows how much of a call is spent in
// Extended, which no search can save.
void PToXArithmeticOnly(benchmark::State& state) {
  using normcalc::Extended;
  struct Step {
    double value;
    std::size_t row;  // 0-based, with a neighbour on each side
  };
  static const std::vector<Step> steps = [] {
    std::vector<Step> v;
    for (double p : PInputs()) {
      const int row = normcalc::TableNearestRow(p, normcalc::NormalTable, 2);
      if (row > 1 && row < normcalc::kNormalTableRows) v.push_back({p, std::size_t(row - 1)});
    }
    v.resize(kInputCount, v.front());
    return v;
  }();
  const auto& t = normcalc::NormalTable;
  std::size_t i = 0;
  for (auto _ : state) {
    const Step& s = steps[i];
    const double d = (Extended::FromDouble(t[s.row][1]) - Extended::FromDouble(s.value)).ToDouble();
    const std::size_t low = d > 0 ? s.row - 1 : s.row;
    const Extended product = Extended::FromDouble(d) * (Extended::FromDouble(t[low + 1][0]) -
                                                        Extended::FromDouble(t[low][0]));
    const Extended quotient =
        product / (Extended::FromDouble(t[low + 1][1]) - Extended::FromDouble(t[low][1]));
    benchmark::DoNotOptimize((Extended::FromDouble(t[s.row][0]) - quotient).ToDouble());
    i = (i + 1) & (kInputCount - 1);
  }
}

BENCHMARK(XToP);
BENCHMARK(BoostCdf);
BENCHMARK(PToX);
BENCHMARK(BoostQuantile);
BENCHMARK(PToXArithmeticOnly);

}  // namespace

int main(int argc, char** argv) {
  // Goal: the table lookup at least as fast as the closed-form peer.
  return normcalc::bench::RunWithRatios(argc, argv,
                                        {{"XToP", "BoostCdf", 1.0},
                                         {"PToX", "BoostQuantile", 1.0},
                                         {"PToXArithmeticOnly", "BoostQuantile"}});
}
