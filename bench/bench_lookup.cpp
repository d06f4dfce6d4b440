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

#include "normal_table_lookup.h"
#include "normcalc/core.h"
#include "ratio_report.h"

namespace {

// A power of two, so the index wraps by masking; and more inputs than a
// branch predictor can learn, so the ordering of a branchy lookup shows.
constexpr std::size_t kInputCount = 16384;
constexpr unsigned kSeed = 20240611;

// Uniform over the table's range: X in [0, 4] (a few beyond the last key, to
// meet the clamp) and P in [0, 0.4999].
std::vector<double> UniformInputs(unsigned seed, double high) {
  std::mt19937_64 engine(seed);
  std::uniform_real_distribution<double> uniform(0.0, high);
  std::vector<double> v(kInputCount);
  for (double& value : v) value = uniform(engine);
  return v;
}

const std::vector<double>& XInputs() {
  static const std::vector<double> inputs = UniformInputs(kSeed, 4.0);
  return inputs;
}

const std::vector<double>& PInputs() {
  static const std::vector<double> inputs = UniformInputs(kSeed + 1, 0.4999);
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
// Boost's fastest policy for double: no promotion of the working precision to long double.
using FastPolicy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
const boost::math::normal_distribution<double, FastPolicy> kFastStandardNormal;

void XToP(benchmark::State& state) { RunOver(state, XInputs(), normcalc::XToP); }
void BoostCdf(benchmark::State& state) {
  RunOver(state, XInputs(), [](double x) { return boost::math::cdf(kStandardNormal, x) - 0.5; });
}
void BoostCdfFast(benchmark::State& state) {
  RunOver(state, XInputs(),
          [](double x) { return boost::math::cdf(kFastStandardNormal, x) - 0.5; });
}
void PToX(benchmark::State& state) { RunOver(state, PInputs(), normcalc::PToX); }
void BoostQuantile(benchmark::State& state) {
  RunOver(state, PInputs(),
          [](double p) { return boost::math::quantile(kStandardNormal, p + 0.5); });
}

void BoostQuantileFast(benchmark::State& state) {
  RunOver(state, PInputs(),
          [](double p) { return boost::math::quantile(kFastStandardNormal, p + 0.5); });
}

// The version without fused multiply-adds, which processors lacking them run
// (the others take the version with them through XToP and PToX).
void XToPWithoutFma(benchmark::State& state) {
  RunOver(state, XInputs(),
          [](double x) { return normcalc::detail::NormalTableLookupWithoutFma(x, 1); });
}
void PToXWithoutFma(benchmark::State& state) {
  RunOver(state, PInputs(),
          [](double p) { return normcalc::detail::NormalTableLookupWithoutFma(p, 2); });
}

// The general lookup on the same table: the halving search and the Extended
// steps on every call, which XToP and PToX reproduce by shortcuts.
void XToPGeneral(benchmark::State& state) {
  RunOver(state, XInputs(),
          [](double x) { return normcalc::TableInterpolate(x, normcalc::NormalTable, 1); });
}
void PToXGeneral(benchmark::State& state) {
  RunOver(state, PInputs(),
          [](double p) { return normcalc::TableInterpolate(p, normcalc::NormalTable, 2); });
}

// Not a lookup: the Extended arithmetic of the interpolation (the difference
// d, the interpolation step, two roundings to double), on the rows the search
// would find: what every call cost before the double-double path, which now
// leaves it to about one call in three hundred.
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
BENCHMARK(BoostCdfFast);
BENCHMARK(BoostCdf);
BENCHMARK(PToX);
BENCHMARK(BoostQuantileFast);
BENCHMARK(BoostQuantile);
BENCHMARK(XToPWithoutFma);
BENCHMARK(PToXWithoutFma);
BENCHMARK(XToPGeneral);
BENCHMARK(PToXGeneral);
BENCHMARK(PToXArithmeticOnly);

}  // namespace

int main(int argc, char** argv) {
  // Goal: the table lookup at least as fast as the closed-form peer.
  return normcalc::bench::RunWithRatios(argc, argv,
                                        {{"XToP", "BoostCdfFast", 1.0},
                                         {"PToX", "BoostQuantileFast", 1.0},
                                         {"XToPWithoutFma", "BoostCdfFast"},
                                         {"PToXWithoutFma", "BoostQuantileFast"},
                                         {"XToP", "BoostCdf"},
                                         {"PToX", "BoostQuantile"},
                                         {"PToXArithmeticOnly", "BoostQuantile"}});
}
