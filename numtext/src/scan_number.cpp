// ScanNumber: the longest leading number of a text, as an extended value.
//
// The first 19 significant digits make an exact integer and the rest are only
// counted; the value is then that integer times or divided by one PowerOfTen,
// rounded once. The scan never looks past the end of the view, past a NUL byte,
// or past 32767 characters from the first one that is not blank.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "normcalc/numtext.h"

namespace normcalc {
namespace {

// 10^19 - 1 < 2^64 <= 10^20 - 1: nineteen digits always fit the mantissa exactly.
constexpr int kSignificantDigitLimit = 19;
// The largest explicit exponent magnitude and the largest power PowerOfTen
// computes: 10^4932 < (2^64 - 1) * 2^16320 < 10^4933.
constexpr int kExponentLimit = 4932;
// Characters examined from the first one that is not blank, that one included.
constexpr std::size_t kLengthLimit = 32767;

// The digit count before any digit, and while only zeros have been read.
constexpr int kNoDigit = -2;
constexpr int kOnlyZeros = -1;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text as the scan sees it: a NUL byte stands for every position at or past
// the end, so the classes below need no bounds of their own.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : at_(text.data()), end_(text.data() + text.size()) {}
  char Peek(std::size_t ahead = 0) const {
    return static_cast<std::size_t>(end_ - at_) > ahead ? at_[ahead] : '\0';
  }
  void Advance(std::size_t count = 1) { at_ += count; }
  // From here on, at most `limit` characters are examined.
  void Limit(std::size_t limit) {
    if (static_cast<std::size_t>(end_ - at_) > limit) end_ = at_ + limit;
  }

 private:
  const char* at_;
  const char* end_;
};

Extended Signed(Extended value, bool negative) { return negative ? -value : value; }

}  // namespace

Extended ScanNumber(std::string_view text) {
  Cursor cursor(text);
  while (IsBlank(cursor.Peek())) cursor.Advance();
  if (cursor.Peek() == '\0') return Extended();
  cursor.Limit(kLengthLimit);

  bool negative = false;
  const bool signSeen = cursor.Peek() == '+' || cursor.Peek() == '-';
  if (signSeen) {
    negative = cursor.Peek() == '-';
    cursor.Advance();
    // The special words follow a sign only, in upper case only; a word that
    // starts like one and then differs holds no number at all.
    if (cursor.Peek() == 'I') {
      if (cursor.Peek(1) == 'N' && cursor.Peek(2) == 'F') return Extended::Infinity(negative);
      return Signed(Extended(), negative);
    }
    if (cursor.Peek() == 'N') {
      if (cursor.Peek(1) == 'A' && cursor.Peek(2) == 'N') return Extended::QuietNaN(negative);
      return Signed(Extended(), negative);
    }
  }

  // Mantissa. The digit count can reach 32767 and the point position -32767 at
  // most, both well inside an int, because the length limit bounds them.
  std::uint64_t mantissa = 0;
  int digitCount = kNoDigit;
  bool pointSeen = false;
  int pointPosition = 0;
  for (;; cursor.Advance()) {
    const char c = cursor.Peek();
    if (c == '.') {
      if (pointSeen) break;
      pointSeen = true;
      pointPosition = digitCount > 0 ? digitCount : 0;
    } else if (IsDigit(c)) {
      const int digit = c - '0';
      if (digitCount <= kOnlyZeros) {
        if (digit == 0) {
          digitCount = kOnlyZeros;
          if (pointSeen) --pointPosition;
        } else {
          mantissa = static_cast<std::uint64_t>(digit);
          digitCount = 1;
        }
      } else if (++digitCount <= kSignificantDigitLimit) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(digit);
      }
    } else {
      break;
    }
  }
  if (digitCount == kNoDigit) return Signed(Extended(), negative);
  if (!pointSeen) pointPosition = digitCount;

  // Exponent. Once its magnitude passes the limit only the flag matters, so the
  // accumulator stops growing there: a long run of exponent digits cannot
  // overflow it, and it never exceeds 10 * 4932 + 9.
  int exponent = 0;
  int exponentOutOfRange = 0;
  if (cursor.Peek() == 'e' || cursor.Peek() == 'E') {
    cursor.Advance();
    const bool exponentNegative = cursor.Peek() == '-';
    if (exponentNegative || cursor.Peek() == '+') cursor.Advance();
    for (; IsDigit(cursor.Peek()); cursor.Advance()) {
      if (exponent <= kExponentLimit) exponent = exponent * 10 + (cursor.Peek() - '0');
    }
    if (exponent > kExponentLimit) exponentOutOfRange = 1;
    if (exponentNegative) {
      exponent = -exponent;
      exponentOutOfRange = -exponentOutOfRange;
    }
  }

  if (digitCount == kOnlyZeros) return Signed(Extended(), negative);
  if (exponentOutOfRange > 0) return Signed(Extended::Largest(), negative);
  if (exponentOutOfRange < 0) return Signed(Extended(), negative);

  // |scale| <= 4932 + 32767 + 19, so this cannot overflow either.
  const int digitsKept = digitCount < kSignificantDigitLimit ? digitCount : kSignificantDigitLimit;
  const int scale = exponent + pointPosition - digitsKept;
  const Extended digits = Extended::FromUInt64(mantissa);
  Extended value = digits;
  if (scale > kExponentLimit) {
    value = Extended::Infinity();  // the digits are not zero, times an infinite power
  } else if (scale < -kExponentLimit) {
    value = Extended();  // divided by an infinite power
  } else if (scale > 0) {
    value = digits * PowerOfTen(scale);  // raises EOverflow past the extended range
  } else if (scale < 0) {
    value = digits / PowerOfTen(-scale);  // at least 1 / 10^4932: no overflow, no zero
  }
  return Signed(value, negative);
}

}  // namespace normcalc
