// Random decimal texts across the double range, each checked against the value
// the reader must form, rebuilt on big integers from how the text was made.
#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "exact_arithmetic.h"
#include "normcalc/numtext_stages.h"

namespace normcalc {
namespace {

// A text together with the integer and power of ten it stands for.
struct Sample {
  std::string text;
  bool negative = false;
  std::uint64_t mantissa = 0;  // the first 19 significant digits
  int scale = 0;               // value = mantissa * 10^scale
};

// Significant digits [1, 19], written with the point anywhere, or after
// leading zeros, and an explicit exponent that puts the leading digit at
// 10^lowest ... 10^highest. With `extraDigits`, up to six more digits follow
// the nineteenth and must be cut off.
struct Shape {
  bool extraDigits;
  int lowest;
  int highest;
};

Sample MakeSample(std::mt19937_64& random, const Shape& shape) {
  Sample sample;
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const int significant = shape.extraDigits ? pick(20, 25) : pick(1, 19);
  std::string digits(1, static_cast<char>('1' + pick(0, 8)));
  for (int i = 1; i < significant; ++i) digits += static_cast<char>('0' + pick(0, 9));
  const int kept = significant < 19 ? significant : 19;
  sample.mantissa = std::stoull(digits.substr(0, kept));

  sample.negative = pick(0, 1) == 1;
  if (sample.negative) {
    sample.text = "-";
  } else if (pick(0, 3) == 0) {
    sample.text = "+";
  }
  int digitsAfterPoint = 0;
  switch (pick(0, 2)) {
    case 0:  // no point
      sample.text += digits;
      break;
    case 1: {  // a point among or after the digits
      const int point = pick(1, significant);
      sample.text += digits.substr(0, point) + "." + digits.substr(point);
      digitsAfterPoint = significant - point;
      break;
    }
    default: {  // "0.000ddd"
      const int zeros = pick(0, 5);
      sample.text += (pick(0, 1) ? "0." : ".") + std::string(zeros, '0') + digits;
      digitsAfterPoint = zeros + significant;
      break;
    }
  }
  // The leading digit's decimal position is exponent + significant - 1 - digitsAfterPoint.
  const int magnitude = pick(shape.lowest, shape.highest);
  const int exponent = magnitude - (significant - 1) + digitsAfterPoint;
  sample.text += pick(0, 1) ? "e" : "E";
  if (exponent >= 0 && pick(0, 1)) sample.text += "+";
  sample.text += std::to_string(exponent);
  if (pick(0, 4) == 0) sample.text += "x1";  // junk after the number
  sample.scale = exponent - digitsAfterPoint + (significant - kept);
  return sample;
}

void CheckSamples(const Shape& shape, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  for (int i = 0; i < 50000; ++i) {
    const Sample sample = MakeSample(random, shape);
    const exact::Binary scaled = exact::ScaledMantissa(sample.mantissa, sample.scale);

    const Extended extended = ScanNumber(sample.text);
    ASSERT_EQ(extended.SignExponent(),
              exact::BiasedExponent(scaled) | (sample.negative ? 0x8000 : 0))
        << sample.text;
    ASSERT_EQ(extended.Significand(), static_cast<std::uint64_t>(scaled.significand))
        << sample.text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(ReadNumber(sample.text)),
              exact::NarrowedBits(scaled, sample.negative))
        << sample.text;
  }
}

// From below the subnormal doubles to beyond the largest one.
TEST(ReadNumber, RandomTextsGiveTheDoubleOfTheRoundedScaling) {
  CheckSamples({false, -330, 309}, 1);
}

TEST(ReadNumber, RandomTextsCutDigitsBeyondTheNineteenth) { CheckSamples({true, -330, 309}, 2); }

// Values typed into a calculator: most are divided by 10^1 ... 10^26, where
// the division is done with a reciprocal, and some by 10^27 or more.
TEST(ReadNumber, RandomTextsDividedBySmallPowers) { CheckSamples({false, -30, 19}, 3); }

}  // namespace
}  // namespace normcalc
