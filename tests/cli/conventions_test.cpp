// cdf, sf, two-sided and ppf: each the documented expression on the table's
// answer, evaluated with 64-bit significands and rounded once to double, and
// close to the true normal distribution within the table's own accuracy.
#include "conventions.h"

#include <gtest/gtest.h>

#include <bit>
#include <boost/math/special_functions/erf.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <limits>
#include <vector>

#include "normcalc/core.h"

namespace normcalc::cli {
namespace {

// A second implementation of the extended format's rounding (64-bit
// significand, ties to even), and of the conversion to double.
using Oracle = boost::multiprecision::cpp_bin_float_double_extended;

double Rounded(const Oracle& value) { return value.convert_to<double>(); }

std::vector<double> Xs() {
  std::vector<double> xs;
  // Table keys, points between them, and the region near the last rows.
  for (const int row : {2, 3, 101, 1001, 2001, 3001, 3985, 3989}) {
    xs.push_back(NormalTable[static_cast<std::size_t>(row) - 1][0]);
  }
  for (double x = 0.001; x < 4.5; x = x * 1.37 + 0.0007) xs.push_back(x);
  for (const double x : {1.0, 1.96, 2.5758293035489, 0.5, 3.9, 4.0, 10.0}) xs.push_back(x);
  return xs;
}

TEST(Conventions, EachIsItsExpressionOnXToPRoundedOnce) {
  const Oracle half = 0.5;
  for (const double magnitude : Xs()) {
    for (const double x : {magnitude, -magnitude}) {
      SCOPED_TRACE(x);
      const Oracle p = XToP(std::fabs(x));
      const double cdf = x >= 0 ? Rounded(half + p) : Rounded(half - p);
      const double sf = x >= 0 ? Rounded(half - p) : Rounded(half + p);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(Cdf(x)), std::bit_cast<std::uint64_t>(cdf));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(Sf(x)), std::bit_cast<std::uint64_t>(sf));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(TwoSided(x)),
                std::bit_cast<std::uint64_t>(Rounded(2 * (half - p))));
    }
  }
}

TEST(Conventions, PpfLooksUpTheRoundedDistanceFromOneHalf) {
  const Oracle half = 0.5;
  for (double q = 0.0003; q < 1.0; q += 0.0137) {
    SCOPED_TRACE(q);
    const double expected =
        q >= 0.5 ? PToX(Rounded(Oracle(q) - half)) : -PToX(Rounded(half - Oracle(q)));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(Ppf(q)), std::bit_cast<std::uint64_t>(expected));
  }
}

// Against the exact distribution, Phi(x) = erfc(-x / sqrt 2) / 2: the table's
// P lies below the exact integral by at most 4.62e-7 up to its last rows, and
// its X for a P by more towards P = 0.5; the bounds say how close is right.
TEST(Conventions, AgreeWithTheExactDistributionWithinTheTablesAccuracy) {
  for (const double x : {-3.0, -1.96, -1.0, -0.3, 0.0, 0.3, 1.0, 1.96, 3.0}) {
    const double exact = boost::math::erfc(-x / std::sqrt(2.0)) / 2;
    EXPECT_NEAR(Cdf(x), exact, 1e-6) << x;
    EXPECT_NEAR(Sf(x), 1 - exact, 1e-6) << x;
    EXPECT_NEAR(TwoSided(x), 2 * (1 - boost::math::erfc(-std::fabs(x) / std::sqrt(2.0)) / 2), 2e-6)
        << x;
  }
  for (const double q : {0.001, 0.025, 0.1, 0.5, 0.9, 0.975, 0.999}) {
    const double exact = -std::sqrt(2.0) * boost::math::erfc_inv(2 * q);
    EXPECT_NEAR(Ppf(q), exact, 2e-4) << q;
  }
}

TEST(Conventions, ANaNRaisesInvalidOpAsTheLookupDoes) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_THROW(Cdf(nan), EInvalidOp);
  EXPECT_THROW(Sf(-nan), EInvalidOp);
  EXPECT_THROW(TwoSided(nan), EInvalidOp);
  EXPECT_THROW(Ppf(nan), EInvalidOp);
}

}  // namespace
}  // namespace normcalc::cli
