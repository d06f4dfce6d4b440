// Property: for seeded random doubles, the text WriteNumber gives reads back,
// through a correctly rounding reader, to within one unit in the 15th
// significant digit of the value.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"
#include "reference_digits.h"

namespace normcalc {
namespace {

constexpr int kShownDigits = 15;
// "-", a digit, the separator, 14 digits, "E-" and three exponent digits.
constexpr std::size_t kLongestText = 22;
constexpr std::uint64_t kSeed = 20240601;
constexpr int kSamplesPerKind = 40000;

std::vector<double> SampleDoubles() {
  std::mt19937_64 random(kSeed);
  std::vector<double> values;
  // Every finite double, by uniform bit patterns: mostly the scientific form.
  for (int i = 0; i < kSamplesPerKind; ++i) {
    double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
  }
  // The calculator's own results: X in [0, 4], P in [0, 0.5], and tiny P.
  std::uniform_real_distribution<double> uniform(0.0, 4.0);
  std::uniform_real_distribution<double> decades(-12.0, 16.0);
  for (int i = 0; i < kSamplesPerKind; ++i) {
    values.push_back(uniform(random));
    values.push_back(std::pow(10.0, decades(random)));
  }
  // The two binades where the decade estimate is one too high.
  std::uniform_int_distribution<std::uint64_t> fraction(0, (std::uint64_t{1} << 52) - 1);
  for (int exponent : {-681, -877}) {
    for (int i = 0; i < kSamplesPerKind / 10; ++i) {
      values.push_back(
          std::ldexp(1.0 + std::ldexp(static_cast<double>(fraction(random)), -52), exponent));
    }
  }
  return values;
}

TEST(WriteNumber, TextReadsBackWithinOneUnitOfTheFifteenthDigit) {
  int failures = 0;
  for (double v : SampleDoubles()) {
    const std::string text = WriteNumber(v, '.');
    EXPECT_LE(text.size(), kLongestText) << text;

    double readBack = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), readBack);
    ASSERT_EQ(error, std::errc()) << text;
    ASSERT_EQ(end, text.data() + text.size()) << text;
    if (v == 0) {
      EXPECT_EQ(readBack, 0.0) << text;
      continue;
    }
    EXPECT_EQ(std::signbit(readBack), std::signbit(v)) << text;

    const testing::ReferenceForm expected = testing::CorrectlyRounded(v, kShownDigits);
    const testing::ReferenceForm got = testing::CorrectlyRounded(readBack, kShownDigits);
    if (!testing::WithinOneUnit(expected, got)) {
      ADD_FAILURE() << std::hexfloat << v << std::defaultfloat << " gave " << text;
      if (++failures == 20) return;
    }
  }
}

}  // namespace
}  // namespace normcalc
