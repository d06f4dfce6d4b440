// The decimal digits and point position of an extended value, rounded to a
// given number of significant digits.
#include <algorithm>
#include <cstdint>

#include "normcalc/numtext.h"
#include "powers_of_ten.h"

namespace normcalc {

namespace {

constexpr int kMinPrecision = 2;
constexpr int kMaxPrecision = 18;
// The scaled value is rounded to an integer of this many digits before it is
// cut to the precision.
constexpr int kIntegerDigits = 18;
constexpr std::uint64_t kInfinitySignificand = std::uint64_t{1} << 63;  // integer bit alone
// 19728 / 65536 = 0.301025390625 lies just below log10(2) = 0.30102999...: the
// estimate of the decimal exponent from the binary one is never more than one
// too low (the shortfall over the whole extended range stays below 0.08 of a
// decade) and, for negative exponents, at most one too high.
constexpr std::int32_t kLog10Of2Times65536 = 19728;
constexpr int kLog10Of2Shift = 16;

const Extended& TenToThe(int n) { return PowersOfTenLow[n]; }

// The value of a non-negative integral Extended below 2^64.
std::uint64_t IntegerValue(Extended integer) {
  if (integer.IsZero()) return 0;
  int exponent = static_cast<int>(integer.BiasedExponent()) - Extended::kExponentBias;
  if (exponent < 0) return 0;
  if (exponent > 63) return UINT64_MAX;
  return integer.Significand() >> (63 - exponent);
}

// Writes the kHalfDigits decimal digits of value < 10^kHalfDigits, leading
// zeros included.
constexpr int kHalfDigits = kIntegerDigits / 2;
constexpr std::uint64_t kHalfBase = 1'000'000'000;  // 10^kHalfDigits
void WriteHalfDigits(std::uint32_t value, char* digits) {
  for (int i = kHalfDigits - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// Writes the kIntegerDigits decimal digits of value, leading zeros included.
// The upper and lower nine digits are two independent chains of divisions by
// ten, which the processor can run side by side. Each half is below 10^9 <
// 2^32. A value of 10^18 or more (only a saturated IntegerValue) gives its
// low 18 digits, as a single chain of eighteen would.
void WriteFixedDigits(std::uint64_t value, char* digits) {
  WriteHalfDigits(static_cast<std::uint32_t>((value / kHalfBase) % kHalfBase), digits);
  WriteHalfDigits(static_cast<std::uint32_t>(value % kHalfBase), digits + kHalfDigits);
}

}  // namespace

DecimalForm ToDecimalForm(Extended value, int precision) {
  precision = std::clamp(precision, kMinPrecision, kMaxPrecision);
  DecimalForm form;

  if (value.BiasedExponent() == 0) return form;  // zero of either sign
  if (value.BiasedExponent() == Extended::kMaxBiasedExponent) {
    if (value.Significand() == kInfinitySignificand) {
      form.PointPosition = DecimalForm::kInfinity;
      form.SignMinus = value.SignBit();
    } else {
      form.PointPosition = DecimalForm::kNaN;
    }
    return form;
  }

  // Arithmetic right shift rounds the product toward minus infinity, which is
  // the floor the estimate needs for negative exponents too.
  std::int32_t binaryExponent =
      static_cast<std::int32_t>(value.BiasedExponent()) - Extended::kExponentBias;
  int pointPosition =
      static_cast<int>((binaryExponent * kLog10Of2Times65536) >> kLog10Of2Shift) + 1;

  Extended magnitude = value.Abs();
  Extended scaled = ScaleByPowerOfTen(magnitude, kIntegerDigits - pointPosition).RoundToInteger();
  if (scaled >= TenToThe(kIntegerDigits)) {
    // One decade too low. The integer is divided by ten in one extended
    // division, rounded to 64 bits, and only that quotient is made an integer.
    scaled = (scaled / TenToThe(1)).RoundToInteger();
    ++pointPosition;
  } else if (scaled < TenToThe(kIntegerDigits - 1)) {
    // One decade too high: scale again so the integer has 18 digits.
    --pointPosition;
    scaled = ScaleByPowerOfTen(magnitude, kIntegerDigits - pointPosition).RoundToInteger();
  }

  char digits[kIntegerDigits];
  WriteFixedDigits(IntegerValue(scaled), digits);

  // Half up on the first dropped digit only: the 18-digit integer already
  // carries the rounding of everything below it.
  int kept = precision;
  if (precision < kIntegerDigits && digits[precision] >= '5') {
    int last = precision - 1;
    while (last >= 0 && digits[last] == '9') --last;  // each 9 carried into is dropped
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

}  // namespace normcalc
