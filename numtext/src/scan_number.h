// ScanNumber's body: the longest leading number of a text, as an extended
// value. Inline so that ReadNumber runs the scan and the narrowing as one
// function and the extended value between them stays in registers.
//
// The first 19 significant digits make an exact integer and the rest are only
// counted; the value is then that integer times or divided by one PowerOfTen,
// rounded once. The scan never looks past the end of the view, and a NUL byte
// ends it like any byte outside the number's classes. At most 32767 characters
// are examined from the first one that is not blank.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "normcalc/binary_formats.h"
#include "normcalc/numtext_stages.h"
#include "small_power_division.h"

namespace normcalc {
namespace scan_detail {

// 10^19 - 1 < 2^64 <= 10^20 - 1: nineteen digits always fit the mantissa exactly.
inline constexpr int kSignificantDigitLimit = 19;
static_assert(9'999'999'999'999'999'999u <= UINT64_MAX);  // 10^19 - 1 < 2^64
// The largest explicit exponent magnitude and the largest power PowerOfTen
// computes: 10^4932 < (2^64 - 1) * 2^16320 < 10^4933.
inline constexpr int kExponentLimit = 4932;
inline constexpr std::ptrdiff_t kLengthLimit = static_cast<std::ptrdiff_t>(kReaderLengthLimit);

// The digit count before any digit, and while only zeros have been read.
inline constexpr int kNoDigit = -2;
inline constexpr int kOnlyZeros = -1;

// The digit's value, or 10 or more for any other byte.
inline unsigned DigitValue(char c) { return static_cast<unsigned char>(c) - unsigned{'0'}; }

// Eight bytes at once, the first in the lowest byte, as a little-endian load
// gives them.
inline constexpr int kChunk = 8;
inline constexpr std::uint64_t kChunkBase = 100000000;  // 10^8
inline constexpr bool kChunksReadable = std::endian::native == std::endian::little;

inline std::uint64_t LoadChunk(const char* at) {
  std::uint64_t chunk;
  std::memcpy(&chunk, at, sizeof chunk);
  return chunk;
}

// Every byte in "0" (0x30) ... "9" (0x39). The lowest byte that is not a
// digit receives no borrow or carry from the digits below it, and its top bit
// ends up set in one of the two: below 0x30 the subtraction wraps it to 0xD0
// or more, from 0x3A to 0xB9 the addition lifts it to 0x80 ... 0xFF, and from
// 0xBA on the subtraction leaves 0x8A or more. Digits set neither top bit.
inline bool IsEightDigits(std::uint64_t chunk) {
  constexpr std::uint64_t kZeros = 0x3030303030303030;
  constexpr std::uint64_t kAboveNine = 0x4646464646464646;  // 0x39 + 0x46 = 0x7F
  constexpr std::uint64_t kTopBits = 0x8080808080808080;
  return (((chunk - kZeros) | (chunk + kAboveNine)) & kTopBits) == 0;
}

// The eight digits as a number, first digit most significant. Neighbouring
// digits are joined into pairs, pairs into fours, fours into the eight; every
// partial value stays below its lane's width (99 < 2^8, 9999 < 2^16), so no
// lane spills into the next.
inline std::uint64_t EightDigitValue(std::uint64_t chunk) {
  std::uint64_t digits = chunk - 0x3030303030303030;
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FF;    // pairs in 16-bit lanes
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFF;  // fours in 32-bit lanes
  return (digits & 0xFFFFFFFF) * 10000 + (digits >> 32);
}

// The value with its sign flipped when a "-" was read, zeros included. Done on
// the bits rather than by the negation operator, whose object address would
// keep every value of the scan in memory.
inline constexpr std::uint16_t kSignBit = binary_format::ExtendedFormat::kSignBit;
inline Extended NegatedIf(Extended value, bool negative) {
  return Extended::FromBits(
      static_cast<std::uint16_t>(value.SignExponent() ^ (negative ? kSignBit : 0)),
      value.Significand());
}

// mantissa * 10^scale, rounded once; mantissa >= 1.
inline Extended MantissaTimesPowerOfTen(std::uint64_t mantissa, int scale) {
  if (scale == 0) return Extended::FromUInt64(mantissa);
  if (scale < 0 && scale >= -kLargestReciprocalPower) {
    return DivideBySmallPowerOfTen(mantissa, -scale);
  }
  // Beyond the limit the power is infinite: the product is then +inf and the
  // quotient 0, and neither raises anything.
  if (scale > kExponentLimit) return Extended::Infinity();
  if (scale < -kExponentLimit) return Extended();
  const Extended digits = Extended::FromUInt64(mantissa);
  if (scale > 0) return digits * PowerOfTen(scale);  // raises EOverflow past the extended range
  return digits / PowerOfTen(-scale);  // at least 1 / 10^4932: neither overflows nor vanishes
}

// The short shape a calculator box usually holds: an optional sign, then at
// most 19 digit characters with at most one point among them, then optionally
// "e" or "E", an optional sign and one to four digits making at most 4932, all
// within the first 32 characters. Sets value and returns true for such a text,
// and returns false, deciding nothing, for any other.
//
// Why this gives the general scan's value bit for bit:
//   - No leading blank and at most 32 characters, so the length budget never
//     runs out, and no special word (its letters are not digits).
//   - With at most 19 digit characters, no significant digit is cut off, and
//     the zeros before the first significant digit add nothing, so the integer
//     of all the digits is the general scan's mantissa, below 10^19 < 2^64.
//   - The general scan's E = exponent + point position - digit count is
//     exponent - (digits after the point): before the first significant digit
//     each zero after the point lowers the point position by one, and from that
//     digit on every digit after the point raises the digit count by one.
//   - All digits zero: the value is zero whatever the exponent, as in the
//     general scan.
//   - An exponent of at most 4932 never sets the out-of-range flag; one with
//     more digits or no digit at all is left to the general scan.
//   - A byte that ends the mantissa or the exponent ends the number in both.
//   - The value is then the same MantissaTimesPowerOfTen of the same mantissa and E, so the same
//     rounding and the same EOverflow.
inline constexpr std::size_t kShortTextLimit = 32;
inline constexpr int kShortExponentDigits = 4;

[[gnu::always_inline]] inline bool ScanShortNumber(std::string_view text, Extended& value) {
  if (text.size() > kShortTextLimit) return false;
  const char* at = text.data();
  const char* const end = at + text.size();
  bool negative = false;
  if (at < end && (*at == '+' || *at == '-')) {
    negative = *at == '-';
    ++at;
  }
  // Unsigned arithmetic: a run of more than 19 digits wraps harmlessly before
  // the text is turned away.
  std::uint64_t mantissa = 0;
  int digits = 0;
  // A run of digits, eight at a step where the text has them: the same integer.
  const auto readDigits = [&] {
    for (; kChunksReadable && end - at >= kChunk; at += kChunk) {
      const std::uint64_t chunk = LoadChunk(at);
      if (!IsEightDigits(chunk)) break;
      mantissa = mantissa * kChunkBase + EightDigitValue(chunk);
      digits += kChunk;
    }
    for (unsigned digit; at < end && (digit = DigitValue(*at)) < 10; ++at) {
      mantissa = mantissa * 10 + digit;
      ++digits;
    }
  };
  readDigits();
  int scale = 0;
  if (at < end && *at == '.') {
    ++at;
    const int digitsBeforePoint = digits;
    readDigits();
    scale = digitsBeforePoint - digits;
  }
  if (digits == 0 || digits > kSignificantDigitLimit) return false;

  if (at < end && (*at == 'e' || *at == 'E')) {
    ++at;
    const bool exponentNegative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+')) ++at;
    int exponent = 0;
    int exponentDigits = 0;
    for (; at < end && DigitValue(*at) < 10; ++at, ++exponentDigits) {
      if (exponentDigits == kShortExponentDigits) return false;
      exponent = exponent * 10 + static_cast<int>(DigitValue(*at));
    }
    if (exponentDigits == 0 || exponent > kExponentLimit) return false;
    scale += exponentNegative ? -exponent : exponent;
  }

  value =
      NegatedIf(mantissa == 0 ? Extended() : MantissaTimesPowerOfTen(mantissa, scale), negative);
  return true;
}

}  // namespace scan_detail

[[gnu::always_inline]] inline Extended ScanNumberInline(std::string_view text) {
  using namespace scan_detail;
  if (Extended value; ScanShortNumber(text, value)) return value;

  // The general scan, for every text: blanks, special words, long digit runs,
  // long exponents, the length budget.
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end && IsReaderBlank(*at)) ++at;
  if (at == end || *at == '\0') return Extended();
  if (end - at > kLengthLimit) end = at + kLengthLimit;

  bool negative = false;
  if (*at == '+' || *at == '-') {
    negative = *at == '-';
    ++at;
    // The special words follow a sign only, in upper case only; a word that
    // starts like one and then differs holds no number at all.
    if (at < end && (*at == 'I' || *at == 'N')) {
      const bool infinity = *at == 'I';
      const char* rest = infinity ? "NF" : "AN";
      if (end - at >= 3 && at[1] == rest[0] && at[2] == rest[1]) {
        return infinity ? Extended::Infinity(negative) : Extended::QuietNaN(negative);
      }
      return NegatedIf(Extended(), negative);
    }
  }

  // Zeros before the first significant digit, and at most one point among
  // them; each zero after the point moves the point one place further left.
  // The length limit keeps the digit count within 32767 and the point position
  // within -32767, both far inside an int.
  int digitCount = kNoDigit;
  bool pointSeen = false;
  int pointPosition = 0;
  for (; at < end; ++at) {
    if (*at == '0') {
      digitCount = kOnlyZeros;
      if (pointSeen) --pointPosition;
    } else if (*at == '.' && !pointSeen) {
      pointSeen = true;
    } else {
      break;
    }
  }
  // From the first significant digit on: nineteen digits into the mantissa,
  // exactly; the others cut off but counted.
  std::uint64_t mantissa = 0;
  if (at < end && *at >= '1' && *at <= '9') {
    digitCount = 0;
    for (; at < end; ++at) {
      // Whole runs of eight digits while all eight still fit the mantissa:
      // the same digits, the same count, fewer steps.
      if (kChunksReadable && digitCount <= kSignificantDigitLimit - kChunk && end - at >= kChunk) {
        const std::uint64_t chunk = LoadChunk(at);
        if (IsEightDigits(chunk)) {
          mantissa = mantissa * kChunkBase + EightDigitValue(chunk);
          digitCount += kChunk;
          at += kChunk - 1;
          continue;
        }
      }
      const unsigned digit = DigitValue(*at);
      if (digit < 10) {
        if (++digitCount <= kSignificantDigitLimit) mantissa = mantissa * 10 + digit;
      } else if (*at == '.' && !pointSeen) {
        pointSeen = true;
        pointPosition = digitCount;
      } else {
        break;
      }
    }
  }
  if (digitCount == kNoDigit) return NegatedIf(Extended(), negative);
  if (!pointSeen) pointPosition = digitCount;

  // Exponent. Once its magnitude passes the limit only the flag matters, so the
  // accumulator stops growing there: a long run of exponent digits cannot
  // overflow it, and it never exceeds 10 * 4932 + 9.
  int exponent = 0;
  int exponentOutOfRange = 0;
  if (at < end && (*at == 'e' || *at == 'E')) {
    ++at;
    const bool exponentNegative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+')) ++at;
    for (; at < end && DigitValue(*at) < 10; ++at) {
      if (exponent <= kExponentLimit) exponent = exponent * 10 + static_cast<int>(DigitValue(*at));
    }
    if (exponent > kExponentLimit) exponentOutOfRange = 1;
    if (exponentNegative) {
      exponent = -exponent;
      exponentOutOfRange = -exponentOutOfRange;
    }
  }

  if (digitCount == kOnlyZeros) return NegatedIf(Extended(), negative);
  if (exponentOutOfRange > 0) return NegatedIf(Extended::Largest(), negative);
  if (exponentOutOfRange < 0) return NegatedIf(Extended(), negative);
  // |scale| <= 4932 + 32767 + 19: no overflow here either.
  const int digitsKept = digitCount < kSignificantDigitLimit ? digitCount : kSignificantDigitLimit;
  return NegatedIf(MantissaTimesPowerOfTen(mantissa, exponent + pointPosition - digitsKept),
                   negative);
}

}  // namespace normcalc
