#include "conventions.h"

#include <cstdint>

#include "normcalc/core.h"

namespace normcalc::cli {

namespace {

// 0.5 and 2 exactly: biased exponents 16382 and 16384, the integer bit alone.
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr Extended kHalf = Extended::FromBits(Extended::kExponentBias - 1, kIntegerBit);
constexpr Extended kTwo = Extended::FromBits(Extended::kExponentBias + 1, kIntegerBit);
constexpr Extended kZero;

Extended P(double x) { return Extended::FromDouble(XToP(x)); }

}  // namespace

// The comparison is an Extended one so that a NaN raises EInvalidOp here, as
// the lookup's own first comparison would. -0 counts as >= 0: Phi(-0) = 0.5.
double Cdf(double x) {
  if (Extended::FromDouble(x) >= kZero) return (kHalf + P(x)).ToDouble();
  return (kHalf - P(-x)).ToDouble();
}

double Sf(double x) {
  if (Extended::FromDouble(x) >= kZero) return (kHalf - P(x)).ToDouble();
  return (kHalf + P(-x)).ToDouble();
}

double TwoSided(double x) {
  const double distance = Extended::FromDouble(x).Abs().ToDouble();
  return (kTwo * (kHalf - P(distance))).ToDouble();
}

double Ppf(double q) {
  const Extended probability = Extended::FromDouble(q);
  if (probability >= kHalf) return PToX((probability - kHalf).ToDouble());
  return -PToX((kHalf - probability).ToDouble());
}

}  // namespace normcalc::cli
