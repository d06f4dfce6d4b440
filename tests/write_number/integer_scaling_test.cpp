// ToDecimalForm scales most values in integers, where the scaling is one
// product by a tabulated power, rather than by Extended arithmetic. Here it
// is held to the Extended steps, written out again from the rule: estimate
// the point position, scale to an 18-digit integer (correcting a decade
// either way), then cut to the precision with half up on the first dropped
// digit. Every precision, over powers of ten and their neighbours, the
// values where rounding carries into a new decade, and random values.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "normcalc/numtext_stages.h"

namespace {

using normcalc::DecimalForm;
using normcalc::Extended;

DecimalForm ReferenceToDecimalForm(Extended value, int precision) {
  DecimalForm form;
  if (value.BiasedExponent() == 0) return form;
  if (value.BiasedExponent() == Extended::kMaxBiasedExponent) {
    if (value.Significand() == std::uint64_t{1} << 63) {
      form.PointPosition = DecimalForm::kInfinity;
      form.SignMinus = value.SignBit();
    } else {
      form.PointPosition = DecimalForm::kNaN;
    }
    return form;
  }
  const Extended ten = Extended::FromDouble(10);
  const Extended tenTo17 = Extended::FromDouble(1e17);  // exact
  const Extended tenTo18 = Extended::FromDouble(1e18);  // exact
  const std::int32_t binaryExponent = value.BiasedExponent() - Extended::kExponentBias;
  int pointPosition = static_cast<int>((binaryExponent * 19728) >> 16) + 1;
  const Extended magnitude = value.Abs();
  Extended scaled = normcalc::ScaleByPowerOfTen(magnitude, 18 - pointPosition).RoundToInteger();
  if (scaled >= tenTo18) {
    scaled = (scaled / ten).RoundToInteger();
    ++pointPosition;
  } else if (scaled < tenTo17) {
    --pointPosition;
    scaled = normcalc::ScaleByPowerOfTen(magnitude, 18 - pointPosition).RoundToInteger();
  }
  // The integer's 18 digits, from its exponent and significand.
  const int exponent = scaled.BiasedExponent() - Extended::kExponentBias;
  std::uint64_t integer = 0;
  if (!scaled.IsZero() && exponent >= 0) {
    integer = exponent > 63 ? UINT64_MAX : scaled.Significand() >> (63 - exponent);
  }
  char digits[18];
  for (int i = 17; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + integer % 10);
    integer /= 10;
  }
  int kept = precision;
  if (precision < 18 && digits[precision] >= '5') {
    int last = precision - 1;
    while (last >= 0 && digits[last] == '9') --last;
    if (last < 0) {
      digits[0] = '1';
      kept = 1;
      ++pointPosition;
    } else {
      ++digits[last];
      kept = last + 1;
    }
  } else {
    while (kept > 0 && digits[kept - 1] == '0') --kept;
  }
  form.PointPosition = static_cast<std::int16_t>(pointPosition);
  form.SignMinus = value.SignBit();
  std::copy(digits, digits + kept, form.DigitString);
  form.DigitString[kept] = '\0';
  return form;
}

std::string Describe(const DecimalForm& form) {
  return std::string(form.SignMinus ? "-" : "+") + "0." + form.DigitString + "e" +
         std::to_string(form.PointPosition);
}

bool Agrees(Extended value) {
  for (int precision = 2; precision <= 18; ++precision) {
    const DecimalForm form = normcalc::ToDecimalForm(value, precision);
    const DecimalForm expected = ReferenceToDecimalForm(value, precision);
    const bool same = form.PointPosition == expected.PointPosition &&
                      form.SignMinus == expected.SignMinus &&
                      std::strcmp(form.DigitString, expected.DigitString) == 0;
    EXPECT_TRUE(same) << "value 0x" << std::hex << value.SignExponent() << ":"
                      << value.Significand() << std::dec << " precision " << precision << ": "
                      << Describe(form) << ", expected " << Describe(expected);
    if (!same) return false;
  }
  return true;
}

bool Agrees(double value) { return Agrees(Extended::FromDouble(value)); }

TEST(IntegerScaling, AgreesAtPowersOfTenTheirNeighboursAndCarries) {
  for (int e = -20; e <= 22; ++e) {
    const double power = std::pow(10.0, e);
    for (const double base : {power, 0.5 * power, 0.125 * power}) {
      double v = base;
      for (int step = 0; step < 4; ++step) v = std::nextafter(v, 0.0);
      for (int step = 0; step < 9; ++step, v = std::nextafter(v, INFINITY)) {
        ASSERT_TRUE(Agrees(v));
        ASSERT_TRUE(Agrees(-v));
      }
    }
    // Just below a power, where cutting to p digits carries into a new decade:
    // 0.99...95 * 10^e and its neighbours, for each precision's last digit.
    for (int p = 2; p <= 17; ++p) {
      const double carry = power * (1 - 5 * std::pow(10.0, -p - 1));
      ASSERT_TRUE(Agrees(carry));
      ASSERT_TRUE(Agrees(std::nextafter(carry, 0.0)));
      ASSERT_TRUE(Agrees(std::nextafter(carry, INFINITY)));
    }
  }
}

TEST(IntegerScaling, AgreesOnRandomDoublesAndExtendedValues) {
  std::mt19937_64 engine(20240620);
  std::uniform_real_distribution<double> decades(-16.0, 20.0);
  std::uniform_int_distribution<int> exponents(-60, 70);
  for (int i = 0; i < 100'000; ++i) {
    // Doubles spread over the decades the integer scaling covers and a little
    // beyond, random bit patterns, and Extended values with 64-bit significands.
    ASSERT_TRUE(Agrees(std::pow(10.0, decades(engine))));
    ASSERT_TRUE(Agrees(std::bit_cast<double>(engine())));
    const auto biased = static_cast<std::uint16_t>(Extended::kExponentBias + exponents(engine));
    ASSERT_TRUE(Agrees(Extended::FromBits(biased, engine() | std::uint64_t{1} << 63)));
  }
}

TEST(IntegerScaling, AgreesOnTheExtremes) {
  const double values[] = {0x1p-1074, 0x1p-1022, 1e-300, 1e300, 0x1.fffffffffffffp1023, 1, 2, 10};
  for (const double v : values) ASSERT_TRUE(Agrees(v));
  ASSERT_TRUE(Agrees(Extended::Largest()));
  ASSERT_TRUE(Agrees(Extended::FromBits(1, std::uint64_t{1} << 63)));  // the least normal
}

}  // namespace
