// ToDecimalForm and LayoutGeneral: the digits before the layout, the decade
// corrections, and the clamping of the precision.
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext_stages.h"
#include "reference_digits.h"

namespace normcalc {
namespace {

struct FormCase {
  double value;
  int precision;
  int pointPosition;
  const char* digits;
  bool signMinus;
};

const FormCase kForms[] = {
    // 10^18 x 0.42511326857393449962... rounds in extended to ...499.625 and
    // then to the integer 425113268573934500, whose 16th digit rounds the 15
    // up although the exact value would round them down.
    {0.4251132685739345, 15, 0, "425113268573935", false},
    {0.4251132685739345, 18, 0, "4251132685739345", false},
    // The estimate for 0.1 is one decade low: 0.1 x 10^19 rounds to the integer
    // 1000000000000000056, which is divided by ten to 100000000000000005.6 and
    // only then rounded to 100000000000000006.
    {0.1, 15, 0, "1", false},
    {0.1, 17, 0, "10000000000000001", false},
    {0.1, 18, 0, "100000000000000006", false},
    // A carry through every kept digit moves the point.
    {0.9999999999999999, 15, 1, "1", false},
    {999999999999999.9, 15, 16, "1", false},
    {0.1999999999999999, 15, 0, "2", false},
    {-2.5, 15, 1, "25", true},
    {1e-5, 15, -4, "1", false},
    {0.0, 15, 0, "", false},
    {-0.0, 15, 0, "", false},
    {std::numeric_limits<double>::infinity(), 15, DecimalForm::kInfinity, "", false},
    {-std::numeric_limits<double>::infinity(), 15, DecimalForm::kInfinity, "", true},
    {-std::numeric_limits<double>::quiet_NaN(), 15, DecimalForm::kNaN, "", false},
    // Precisions outside 2 to 18 act as the nearest bound.
    {0.4251132685739345, 1, 0, "43", false},
    {0.4251132685739345, -7, 0, "43", false},
    {0.4251132685739345, 19, 0, "4251132685739345", false},
    {0.4251132685739345, 1000, 0, "4251132685739345", false},
};

TEST(ToDecimalForm, RoundsToEighteenDigitsThenHalfUpAtThePrecision) {
  for (const FormCase& c : kForms) {
    DecimalForm form = ToDecimalForm(Extended::FromDouble(c.value), c.precision);
    EXPECT_EQ(form.PointPosition, c.pointPosition) << c.value << " P=" << c.precision;
    EXPECT_STREQ(form.DigitString, c.digits) << c.value << " P=" << c.precision;
    EXPECT_EQ(form.SignMinus, c.signMinus) << c.value << " P=" << c.precision;
  }
}

// For binary exponents -681 and -877 the estimate 19728 e / 65536 + 1 is one
// decade too high for the values below 10^-205 and 10^-264; the scaling is done
// again with one decade less. Just above those powers it is right.
TEST(ToDecimalForm, CorrectsTheEstimateThatIsOneDecadeHigh) {
  struct Binade {
    int exponent;
    const char* power;  // the decade boundary inside the binade
  };
  for (Binade binade : {Binade{-681, "1e-205"}, Binade{-877, "1e-264"}}) {
    double boundary = 0;
    std::from_chars(binade.power, binade.power + std::strlen(binade.power), boundary);
    const double values[] = {
        std::ldexp(1.0, binade.exponent),   std::nextafter(std::ldexp(1.0, binade.exponent), 1.0),
        std::ldexp(1.001, binade.exponent), std::nextafter(std::nextafter(boundary, 0.0), 0.0),
        std::nextafter(boundary, 0.0),      boundary,
        std::nextafter(boundary, 1.0),      std::ldexp(1.999, binade.exponent),
    };
    for (double v : values) {
      ASSERT_EQ(std::ilogb(v), binade.exponent);
      // Fifteen digits: the two roundings agree with the correct one here.
      const testing::ReferenceForm expected = testing::CorrectlyRounded(v, 15);
      const DecimalForm form = ToDecimalForm(Extended::FromDouble(v), 15);
      EXPECT_EQ(form.PointPosition, expected.pointPosition) << v;
      EXPECT_EQ(form.DigitString, expected.digits) << v;
      // Eighteen digits: the rounded scaling may move the last digit by one,
      // but the integer keeps all 18 and the point stays in its decade.
      const DecimalForm full = ToDecimalForm(Extended::FromDouble(v), 18);
      EXPECT_TRUE(
          testing::WithinOneUnit(testing::CorrectlyRounded(v, 18),
                                 testing::FromDigits(full.PointPosition, full.DigitString, 18)))
          << v << " gave 0." << full.DigitString << "E" << full.PointPosition;
    }
  }
}

std::string Layout(const DecimalForm& form, int precision) {
  char buffer[kNumberTextBufferSize];
  int length = LayoutGeneral(form, precision, '.', std::span(buffer));
  return std::string(buffer, static_cast<std::size_t>(length));
}

DecimalForm MakeForm(int pointPosition, const char* digits) {
  DecimalForm form;
  form.PointPosition = static_cast<std::int16_t>(pointPosition);
  std::strcpy(form.DigitString, digits);
  return form;
}

struct LayoutCase {
  int pointPosition;
  const char* digits;
  int precision;
  const char* text;
};

// The precision chooses between the plain and the scientific layout; outside
// 2 to 18 it acts as the nearest bound.
const LayoutCase kLayouts[] = {
    {2, "12", 2, "12"},
    {2, "12", 1, "12"},
    {2, "12", -3, "12"},
    {20, "1", 18, "1E19"},
    {20, "1", 30, "1E19"},
    {19, "5", 19, "5E18"},
    {18, "5", 18, "500000000000000000"},
    {-3, "25", 15, "0.00025"},
    {-4, "25", 15, "2.5E-5"},
    {16, "1", 15, "1E15"},
    {15, "1", 15, "100000000000000"},
    {3, "12345", 15, "123.45"},
};

TEST(LayoutGeneral, ChoosesThePlainFormWithinTheClampedPrecision) {
  for (const LayoutCase& c : kLayouts) {
    EXPECT_EQ(Layout(MakeForm(c.pointPosition, c.digits), c.precision), c.text)
        << c.pointPosition << " " << c.digits << " P=" << c.precision;
  }
}

}  // namespace
}  // namespace normcalc
