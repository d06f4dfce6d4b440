#include <bit>
#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "normcalc/numtext_stages.h"
#include "x87_long_double.h"

namespace normcalc {
namespace {

constexpr int kBias = 16383;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

// The extended value 1.f * 2^exponent with the given significand bits.
Extended Binade(int exponent, std::uint64_t significand, bool negative = false) {
  const int field = exponent + kBias;
  return Extended::FromBits(static_cast<std::uint16_t>(field | (negative ? 0x8000 : 0)),
                            significand);
}

struct Row {
  const char* what;
  Extended value;
  std::uint64_t bits;
};

TEST(NarrowToDouble, RangeRules) {
  const Row rows[] = {
      {"+inf", Extended::Infinity(), 0x7FF0000000000000},
      {"-inf", Extended::Infinity(true), 0xFFF0000000000000},
      {"+nan stays quiet", Extended::QuietNaN(), 0x7FF8000000000000},
      {"-nan keeps its sign", Extended::QuietNaN(true), 0xFFF8000000000000},
      {"+0", Extended(), 0},
      {"-0", Extended::FromBits(0x8000, 0), 0x8000000000000000},
      {"2^1024 is infinite", Binade(1024, kIntegerBit), 0x7FF0000000000000},
      {"largest extended", Extended::Largest(), 0x7FF0000000000000},
      {"-largest extended", -Extended::Largest(), 0xFFF0000000000000},
      {"just below 2^1024 is cut to the largest double", Binade(1023, ~std::uint64_t{0}),
       0x7FEFFFFFFFFFFFFF},
      {"top binade tie to odd is cut, not rounded", Binade(1023, 0x8000000000000C00),
       0x7FE0000000000001},
      {"top binade above the tie is cut", Binade(1023, 0x8000000000000FFF, true),
       0xFFE0000000000001},
      {"below the top binade a tie goes to even", Binade(1022, 0x8000000000000C00),
       0x7FD0000000000002},
      {"tie to even stays", Binade(0, 0x8000000000000400), 0x3FF0000000000000},
      {"above the tie rounds up", Binade(0, 0x8000000000000401), 0x3FF0000000000001},
      {"carry into the next binade", Binade(0, ~std::uint64_t{0}), 0x4000000000000000},
      {"smallest subnormal", Binade(-1074, kIntegerBit), 0x0000000000000001},
      {"subnormal tie to even", Binade(-1074, 0xC000000000000000), 0x0000000000000002},
      {"subnormal below the tie", Binade(-1074, 0xBFFFFFFFFFFFFFFF), 0x0000000000000001},
      {"just below 2^-1074 is zero", Binade(-1075, ~std::uint64_t{0}), 0},
      {"-just below 2^-1074 is -0", Binade(-1075, ~std::uint64_t{0}, true), 0x8000000000000000},
      {"subnormal carries into the smallest normal", Binade(-1023, ~std::uint64_t{0}),
       0x0010000000000000},
      {"extended subnormal", Extended::FromBits(0, 1), 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(NarrowToDouble(row.value)), row.bits) << row.what;
  }
}

#ifdef NORMCALC_HAVE_X87

// Between 2^-1074 and 2^1023 the rules are plain rounding to nearest, ties to
// even, subnormals included: what the x87 unit does when it stores an extended
// value as a double. Only x86 has that unit as its long double.
TEST(NarrowToDouble, AgreesWithTheX87UnitBetweenTheRangeRules) {
  std::mt19937_64 random(20240611);
  std::uniform_int_distribution<int> exponents(-1074, 1022);
  for (int i = 0; i < 200000; ++i) {
    const int exponent = exponents(random);
    // Half the cases sit on or next to a rounding boundary of the result.
    std::uint64_t significand = random() | kIntegerBit;
    if (i % 2 == 0) significand = (significand & ~std::uint64_t{0xFFF}) | (0x3FF + i % 3);
    const bool negative = (i & 4) != 0;
    const Extended value = Binade(exponent, significand, negative);

    const std::uint16_t signExponent = value.SignExponent();
    const double expected =
        static_cast<double>(x87::ToLongDouble(x87::Fields{signExponent, significand}));

    ASSERT_EQ(std::bit_cast<std::uint64_t>(NarrowToDouble(value)),
              std::bit_cast<std::uint64_t>(expected))
        << std::hex << signExponent << " " << significand;
  }
}

#endif  // NORMCALC_HAVE_X87

}  // namespace
}  // namespace normcalc
