// The general layout of a DecimalForm: plain decimal notation near 1, scientific
// notation far from it.
#include <algorithm>

#include "normcalc/numtext_stages.h"

namespace normcalc {

namespace {

constexpr int kMinPrecision = 2;
constexpr int kMaxPrecision = 18;
// Plain notation reaches down to 0.000D..., three zeros after the separator.
constexpr int kLowestPlainPointPosition = -3;
// DigitString has room for 21 characters, the last for its terminator.
constexpr int kMaxDigitsRead = sizeof DecimalForm::DigitString - 1;

// Writes the decimal digits of magnitude (at least one) at out; returns the end.
char* WriteUnsigned(unsigned magnitude, char* out) {
  char reversed[10];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) *out++ = reversed[--count];
  return out;
}

}  // namespace

// The buffer never fills (see kNumberTextBufferSize); a form with more digits
// than it can hold is read only up to its 20th digit.
int LayoutGeneral(const DecimalForm& form, int precision, char separator,
                  std::span<char, kNumberTextBufferSize> buffer) {
  precision = std::clamp(precision, kMinPrecision, kMaxPrecision);
  char* out = buffer.data();
  const int pointPosition = form.PointPosition;

  if (pointPosition == DecimalForm::kInfinity) {
    if (form.SignMinus) *out++ = '-';
    out = std::copy_n("INF", 3, out);
    return static_cast<int>(out - buffer.data());
  }
  if (pointPosition == DecimalForm::kNaN) {
    out = std::copy_n("NAN", 3, out);
    return static_cast<int>(out - buffer.data());
  }

  const char* digits = form.DigitString;
  const int digitCount =
      static_cast<int>(std::find(digits, digits + kMaxDigitsRead, '\0') - digits);

  if (form.SignMinus) *out++ = '-';
  if (pointPosition >= kLowestPlainPointPosition && pointPosition <= precision) {
    if (pointPosition >= 1) {
      const int leading = std::min(pointPosition, digitCount);
      out = std::copy_n(digits, leading, out);
      out = std::fill_n(out, pointPosition - leading, '0');
      if (digitCount > pointPosition) {
        *out++ = separator;
        out = std::copy_n(digits + pointPosition, digitCount - pointPosition, out);
      }
    } else {
      *out++ = '0';
      if (digitCount > 0) {
        *out++ = separator;
        out = std::fill_n(out, -pointPosition, '0');
        out = std::copy_n(digits, digitCount, out);
      }
    }
  } else {
    // A form made by ToDecimalForm always has a digit here; an empty one still
    // gets its "0" so the text is a number.
    *out++ = digitCount > 0 ? digits[0] : '0';
    if (digitCount > 1) {
      *out++ = separator;
      out = std::copy_n(digits + 1, digitCount - 1, out);
    }
    *out++ = 'E';
    const int exponent = pointPosition - 1;
    if (exponent < 0) *out++ = '-';
    out = WriteUnsigned(static_cast<unsigned>(exponent < 0 ? -exponent : exponent), out);
  }
  return static_cast<int>(out - buffer.data());
}

}  // namespace normcalc
