// WriteNumber: the text of a double, to the character.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"

namespace normcalc {
namespace {

struct TextCase {
  double value;
  const char* text;
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Each value is the double nearest to the decimal written.
const TextCase kGeneralForm[] = {
    {0.0, "0"},
    {-0.0, "0"},
    {0.5, "0.5"},
    {0.341344746068543, "0.341344746068543"},
    {1.0 / 3.0, "0.333333333333333"},
    {3.98466366361372, "3.98466366361372"},
    {0.49996719678728, "0.49996719678728"},
    {0.0001, "0.0001"},
    {0.00009999, "9.999E-5"},
    {3.98891954e-6, "3.98891954E-6"},
    {1e-5, "1E-5"},
    {2.5e-7, "2.5E-7"},
    {0.00012345678901234567, "0.000123456789012346"},
    {0.1999999999999999, "0.2"},
    {0.9999999999999999, "1"},
    {0.00009999999999999999, "0.0001"},
    {0.4251132685739345, "0.425113268573935"},
    {0.1 + 0.2, "0.3"},
    {1.0, "1"},
    {100.0, "100"},
    {1e14, "100000000000000"},
    {1234567.125, "1234567.125"},
    {123456789012345.0, "123456789012345"},
    {999999999999999.9, "1E15"},
    {1e15, "1E15"},
    {1234567890123456.0, "1.23456789012346E15"},
    {1e100, "1E100"},
    {1e-100, "1E-100"},
    {-2.5, "-2.5"},
    {kInfinity, "INF"},
    {-kInfinity, "-INF"},
    {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    {-std::numeric_limits<double>::quiet_NaN(), "NAN"},
    {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    {std::numeric_limits<double>::max(), "1.79769313486232E308"},
    {-std::numeric_limits<double>::max(), "-1.79769313486232E308"},
    {9.97e-206, "9.97E-206"},
    {0.341344279839592, "0.341344279839592"},
    {-0.000123, "-0.000123"},
};

TEST(WriteNumber, GivesTheGeneralFormToTheCharacter) {
  for (const TextCase& c : kGeneralForm) {
    EXPECT_EQ(WriteNumber(c.value, '.'), c.text) << "value " << c.value;
  }
}

const TextCase kCommaSeparator[] = {
    {0.5, "0,5"},
    {3.98891954e-6, "3,98891954E-6"},
    {1234567.125, "1234567,125"},
    {1e-5, "1E-5"},  // no digits after the first, so no separator
    {0.000123, "0,000123"},
    {1e15, "1E15"},
    {-kInfinity, "-INF"},
};

TEST(WriteNumber, WritesTheGivenSeparatorAndNoOther) {
  for (const TextCase& c : kCommaSeparator) {
    EXPECT_EQ(WriteNumber(c.value, ','), c.text) << "value " << c.value;
  }
}

class LocaleMarkTest : public ::testing::Test {
 protected:
  void TearDown() override { SetLocaleDecimalMark(saved_); }

 private:
  char saved_ = LocaleDecimalMark();
};

TEST_F(LocaleMarkTest, WriteNumberUsesTheMarkInForceAtTheCall) {
  SetLocaleDecimalMark(',');
  EXPECT_EQ(WriteNumber(1234567.125), "1234567,125");
  SetLocaleDecimalMark('.');
  EXPECT_EQ(WriteNumber(1234567.125), "1234567.125");
}

}  // namespace
}  // namespace normcalc
