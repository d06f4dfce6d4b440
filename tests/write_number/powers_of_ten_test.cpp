// The power tables against exact big-integer powers, and ScaleByPowerOfTen's
// choice of entries against the x87 unit.
#include <boost/multiprecision/cpp_int.hpp>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "exact_arithmetic.h"
#include "normcalc/numtext_stages.h"
#include "x87_long_double.h"

namespace normcalc {
namespace {

struct Bits {
  std::uint16_t signExponent;
  std::uint64_t significand;
  bool operator==(const Bits&) const = default;
};

Bits BitsOf(Extended x) { return {x.SignExponent(), x.Significand()}; }

// The extended value nearest to 10^n (ties to even), from the exact power.
Bits NearestExtendedPowerOfTen(unsigned n) {
  const exact::Binary nearest = exact::NearestExtendedPowerOf10(static_cast<int>(n));
  return {exact::BiasedExponent(nearest), static_cast<std::uint64_t>(nearest.significand)};
}

std::ostream& operator<<(std::ostream& out, const Bits& bits) {
  return out << std::hex << bits.signExponent << ":" << bits.significand << std::dec;
}

// Each table entry is reached alone: 10^n for n below 32 is PowersOfTenLow[n]
// times nothing else, 10^(32 j) is 1 x PowersOfTenMid[j], and 10^(512 k) is
// 1 x PowersOfTenHigh[k].
TEST(PowersOfTen, EveryEntryIsTheNearestExtendedToTheExactPower) {
  std::vector<unsigned> powers;
  for (unsigned n = 0; n < 32; ++n) powers.push_back(n);
  for (unsigned j = 1; j <= 15; ++j) powers.push_back(32 * j);
  for (unsigned k = 1; k <= 9; ++k) powers.push_back(512 * k);
  const Extended one = Extended::FromUInt64(1);
  for (unsigned n : powers) {
    EXPECT_EQ(BitsOf(ScaleByPowerOfTen(one, static_cast<int>(n))), NearestExtendedPowerOfTen(n))
        << "10^" << n;
  }
}

TEST(PowersOfTen, PowersUpToTheTwentySeventhAreExact) {
  const Extended one = Extended::FromUInt64(1);
  std::uint64_t power = 1;
  for (int n = 0; n <= 19; ++n, power *= 10) {
    EXPECT_EQ(BitsOf(ScaleByPowerOfTen(one, n)), BitsOf(Extended::FromUInt64(power))) << n;
  }
  for (int n = 0; n <= 27; ++n) {
    // Dividing an exact power by itself gives exactly one.
    Extended p = ScaleByPowerOfTen(one, n);
    EXPECT_EQ(BitsOf(ScaleByPowerOfTen(p, -n)), BitsOf(one)) << n;
  }
}

#ifdef NORMCALC_HAVE_X87

// On x86 the long double is the x87 extended format; its multiplication and
// division round as the extended arithmetic must, so it checks the chain of
// at most three products or quotients for every power a double can need.
long double X87Scale(long double value, int power) {
  const bool divide = power < 0;
  const unsigned magnitude = static_cast<unsigned>(divide ? -power : power);
  auto apply = [&](unsigned n) {
    const long double factor = x87::ToLongDouble(NearestExtendedPowerOfTen(n));
    value = divide ? value / factor : value * factor;
  };
  if (magnitude == 0) return value;
  apply(magnitude % 32);
  if (magnitude >= 32 && (magnitude / 32) % 16 != 0) apply(32 * ((magnitude / 32) % 16));
  if (magnitude >= 512) apply(512 * (magnitude / 512));
  return value;
}

TEST(ScaleByPowerOfTen, MatchesTheX87ChainOfTabulatedPowers) {
  const double values[] = {
      0.341344279839592, 4.9406564584124654e-324, 1.7976931348623157e308, 3.98891954e-6, 0.1,
      12345.678};
  for (double v : values) {
    const Extended x = Extended::FromDouble(v);
    for (int power = -700; power <= 700; ++power) {
      const long double expected = X87Scale(static_cast<long double>(v), power);
      EXPECT_EQ(BitsOf(ScaleByPowerOfTen(x, power)), x87::FromLongDouble<Bits>(expected))
          << v << " x 10^" << power;
    }
  }
  // The high table, for extended values far outside the double range.
  const Bits tiny{0x0010, 0xC000000000000000};
  const Bits huge{0x7FE0, 0xF000000000000001};
  for (int power : {4949, 4700, 4608, 4096, 1024, 1535, 2047, 3000}) {
    EXPECT_EQ(
        BitsOf(ScaleByPowerOfTen(Extended::FromBits(tiny.signExponent, tiny.significand), power)),
        x87::FromLongDouble<Bits>(X87Scale(x87::ToLongDouble(tiny), power)))
        << power;
    EXPECT_EQ(
        BitsOf(ScaleByPowerOfTen(Extended::FromBits(huge.signExponent, huge.significand), -power)),
        x87::FromLongDouble<Bits>(X87Scale(x87::ToLongDouble(huge), -power)))
        << -power;
  }
}

#endif

}  // namespace
}  // namespace normcalc
