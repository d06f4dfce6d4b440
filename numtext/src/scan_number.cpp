// ScanNumber: the longest leading number of a text, as an extended value.
//
// The first 19 significant digits make an exact integer and the rest are only
// counted; the value is then that integer times or divided by one PowerOfTen,
// rounded once. The scan never looks past the end of the view, and a NUL byte
// ends it like any byte outside the number's classes. At most 32767 characters
// are examined from the first one that is not blank.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "normcalc/numtext.h"
#include "small_power_division.h"

namespace normcalc {
namespace {

// 10^19 - 1 < 2^64 <= 10^20 - 1: nineteen digits always fit the mantissa exactly.
constexpr int kSignificantDigitLimit = 19;
// The largest explicit exponent magnitude and the largest power PowerOfTen
// computes: 10^4932 < (2^64 - 1) * 2^16320 < 10^4933.
constexpr int kExponentLimit = 4932;
// Characters examined from the first one that is not blank, that one included.
constexpr std::ptrdiff_t kLengthLimit = 32767;

// The digit count before any digit, and while only zeros have been read.
constexpr int kNoDigit = -2;
constexpr int kOnlyZeros = -1;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The digit's value, or 10 or more for any other byte.
unsigned DigitValue(char c) { return static_cast<unsigned char>(c) - unsigned{'0'}; }

// Eight bytes at once, the first in the lowest byte, as a little-endian load
// gives them.
constexpr int kChunk = 8;
constexpr std::uint64_t kChunkBase = 100000000;  // 10^8
constexpr bool kChunksReadable = std::endian::native == std::endian::little;

std::uint64_t LoadChunk(const char* at) {
  std::uint64_t chunk;
  std::memcpy(&chunk, at, sizeof chunk);
  return chunk;
}

// Every byte in "0" (0x30) ... "9" (0x39). The lowest byte that is not a
// digit receives no borrow or carry from the digits below it, and its top bit
// ends up set in one of the two: below 0x30 the subtraction wraps it to 0xD0
// or more, from 0x3A to 0xB9 the addition lifts it to 0x80 ... 0xFF, and from
// 0xBA on the subtraction leaves 0x8A or more. Digits set neither top bit.
bool IsEightDigits(std::uint64_t chunk) {
  constexpr std::uint64_t kZeros = 0x3030303030303030;
  constexpr std::uint64_t kAboveNine = 0x4646464646464646;  // 0x39 + 0x46 = 0x7F
  constexpr std::uint64_t kTopBits = 0x8080808080808080;
  return (((chunk - kZeros) | (chunk + kAboveNine)) & kTopBits) == 0;
}

// The eight digits as a number, first digit most significant. Neighbouring
// digits are joined into pairs, pairs into fours, fours into the eight; every
// partial value stays below its lane's width (99 < 2^8, 9999 < 2^16), so no
// lane spills into the next.
std::uint64_t EightDigitValue(std::uint64_t chunk) {
  std::uint64_t digits = chunk - 0x3030303030303030;
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FF;    // pairs in 16-bit lanes
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFF;  // fours in 32-bit lanes
  return (digits & 0xFFFFFFFF) * 10000 + (digits >> 32);
}

// The value with its sign flipped when a "-" was read, zeros included. Done on
// the bits rather than by the negation operator, whose object address would
// keep every value of the scan in memory.
constexpr std::uint16_t kSignBit = 0x8000;
Extended Signed(Extended value, bool negative) {
  return Extended::FromBits(
      static_cast<std::uint16_t>(value.SignExponent() ^ (negative ? kSignBit : 0)),
      value.Significand());
}

// mantissa * 10^scale, rounded once; mantissa >= 1.
Extended Scale(std::uint64_t mantissa, int scale) {
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

}  // namespace

Extended ScanNumber(std::string_view text) {
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end && IsBlank(*at)) ++at;
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
      return Signed(Extended(), negative);
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
  if (digitCount == kNoDigit) return Signed(Extended(), negative);
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

  if (digitCount == kOnlyZeros) return Signed(Extended(), negative);
  if (exponentOutOfRange > 0) return Signed(Extended::Largest(), negative);
  if (exponentOutOfRange < 0) return Signed(Extended(), negative);
  // |scale| <= 4932 + 32767 + 19: no overflow here either.
  const int digitsKept = digitCount < kSignificantDigitLimit ? digitCount : kSignificantDigitLimit;
  return Signed(Scale(mantissa, exponent + pointPosition - digitsKept), negative);
}

}  // namespace normcalc
