#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "exact_arithmetic.h"
#include "normcalc/numtext_stages.h"

namespace normcalc {
namespace {

using exact::Binary;

void ExpectBits(Extended actual, const Binary& expected, int n) {
  EXPECT_EQ(actual.SignExponent(), exact::BiasedExponent(expected)) << "10^" << n;
  EXPECT_EQ(actual.Significand(), static_cast<std::uint64_t>(expected.significand)) << "10^" << n;
}

TEST(PowerOfTen, TableEntriesAreTheNearestExtendedValues) {
  for (int n : {1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096}) {
    ExpectBits(PowerOfTen(n), exact::NearestExtendedPowerOf10(n), n);
  }
}

TEST(PowerOfTen, EveryPowerFollowsTheRoundedChain) {
  for (int n = 0; n <= 4932; ++n) ExpectBits(PowerOfTen(n), exact::ChainedPowerOf10(n), n);
}

TEST(PowerOfTen, ChainErrorsAddUp) {
  // The chain's 10^308 lies one unit in the last place above the nearest value.
  const Binary nearest = exact::NearestExtendedPowerOf10(308);
  const Extended power = PowerOfTen(308);
  EXPECT_EQ(power.SignExponent(), exact::BiasedExponent(nearest));
  EXPECT_EQ(power.Significand(), static_cast<std::uint64_t>(nearest.significand) + 1);
}

TEST(PowerOfTen, PowersBeyondTheExponentLimitAreInfinite) {
  for (int n : {4933, 5000, 32767, INT_MAX}) {
    const Extended power = PowerOfTen(n);
    EXPECT_EQ(power.SignExponent(), 0x7FFF) << n;
    EXPECT_EQ(power.Significand(), std::uint64_t{1} << 63) << n;
  }
}

TEST(PowerOfTen, NegativePowerIsAnInvalidOperation) { EXPECT_THROW(PowerOfTen(-1), EInvalidOp); }

}  // namespace
}  // namespace normcalc
