// ReadNumber on arbitrary bytes, against a second reading of the same text
// done with the x87 unit's own 80-bit arithmetic (x86 only).
//
// The oracle below follows the reading rules independently of numtext's
// scanner: the first 19 significant digits as an integer, one multiplication
// or division by 10^E built by the rounded power chain, then the reader's
// narrowing rules. It decides both the exact double and whether the scaled
// value passes the extended range, which is the one case where ReadNumber may
// raise, and then only EOverflow.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "normcalc/numtext_stages.h"

namespace {

constexpr int kSignificantDigitLimit = 19;
constexpr int kExponentLimit = 4932;
constexpr int kLengthLimit = 32767;

// 10^(2^k) for k = 3 .. 12, each the long double nearest to the exact power
// (the compiler rounds decimal literals correctly).
constexpr long double kBinaryPowers[] = {1e8L,   1e16L,  1e32L,   1e64L,   1e128L,
                                         1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L};
constexpr long double kSmallPowers[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L};

long double OraclePowerOfTen(int n) {
  if (n > kExponentLimit) return std::numeric_limits<long double>::infinity();
  long double r = kSmallPowers[n % 8];
  for (int k = 3; k <= 12; ++k) {
    if ((n >> k) & 1) r *= kBinaryPowers[k - 3];
  }
  return r;
}

struct LongDoubleBits {
  std::uint64_t significand;
  std::uint16_t signExponent;
};

LongDoubleBits BitsOf(long double x) {
  LongDoubleBits bits{};
  std::memcpy(&bits.significand, &x, 8);
  std::memcpy(&bits.signExponent, reinterpret_cast<const char*>(&x) + 8, 2);
  return bits;
}

// The reader's narrowing: cut toward zero in the top binade, zero below the
// smallest subnormal, nearest-even everywhere else.
double OracleNarrow(long double x) {
  if (std::isnan(x) || std::isinf(x)) return static_cast<double>(x);
  const bool negative = std::signbit(x);
  const long double magnitude = std::fabs(x);
  const double sign = negative ? -1.0 : 1.0;
  if (magnitude >= 0x1p1024L) return sign * std::numeric_limits<double>::infinity();
  if (magnitude >= 0x1p1023L) {
    const std::uint64_t kept = BitsOf(magnitude).significand >> 11;  // 53 bits
    const std::uint64_t bits = (negative ? 0x8000'0000'0000'0000 : 0) |
                               (std::uint64_t{0x7FE} << 52) | (kept & 0x000F'FFFF'FFFF'FFFF);
    return std::bit_cast<double>(bits);
  }
  if (magnitude < 0x1p-1074L) return sign * 0.0;
  return static_cast<double>(x);
}

bool IsWhitespace(unsigned char c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

struct Expected {
  bool overflow = false;
  double value = 0;
};

Expected OracleRead(std::string_view text) {
  std::size_t i = 0;
  auto at = [&](std::size_t j) -> unsigned char { return j < text.size() ? text[j] : 0; };
  while (at(i) != 0 && IsWhitespace(at(i))) ++i;
  const std::size_t end = std::min(text.size(), i + kLengthLimit);
  auto in = [&](std::size_t j) -> unsigned char { return j < end ? text[j] : 0; };

  bool negative = false;
  bool signSeen = false;
  if (in(i) == '+' || in(i) == '-') {
    signSeen = true;
    negative = in(i) == '-';
    ++i;
  }
  const double signedZero = negative ? -0.0 : 0.0;
  if (signSeen && (in(i) == 'I' || in(i) == 'N')) {
    if (in(i) == 'I' && in(i + 1) == 'N' && in(i + 2) == 'F') {
      return {false, negative ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity()};
    }
    if (in(i) == 'N' && in(i + 1) == 'A' && in(i + 2) == 'N') {
      return {false, std::bit_cast<double>(negative ? std::uint64_t{0xFFF8'0000'0000'0000}
                                                    : std::uint64_t{0x7FF8'0000'0000'0000})};
    }
    return {false, signedZero};
  }

  std::uint64_t mantissa = 0;
  long digitCount = -2;
  bool pointSeen = false;
  long pointPosition = 0;
  for (;; ++i) {
    const unsigned char c = in(i);
    if (c == '.') {
      if (pointSeen) break;
      pointSeen = true;
      pointPosition = digitCount > 0 ? digitCount : 0;
    } else if (IsDigit(c)) {
      const int d = c - '0';
      if (digitCount < 1) {
        if (d == 0) {
          digitCount = -1;
          if (pointSeen) --pointPosition;
        } else {
          mantissa = static_cast<std::uint64_t>(d);
          digitCount = 1;
        }
      } else if (++digitCount <= kSignificantDigitLimit) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(d);
      }
    } else {
      break;
    }
  }
  if (digitCount == -2) return {false, signedZero};
  if (!pointSeen) pointPosition = digitCount;

  long exponent = 0;
  int outOfRange = 0;
  if (in(i) == 'e' || in(i) == 'E') {
    ++i;
    bool exponentNegative = false;
    if (in(i) == '+' || in(i) == '-') {
      exponentNegative = in(i) == '-';
      ++i;
    }
    for (; IsDigit(in(i)); ++i) {
      if (outOfRange == 0) {
        exponent = exponent * 10 + (in(i) - '0');
        if (exponent > kExponentLimit) outOfRange = 1;
      }
    }
    if (exponentNegative) {
      exponent = -exponent;
      outOfRange = -outOfRange;
    }
  }

  if (digitCount == -1 || outOfRange == -1) return {false, signedZero};
  if (outOfRange == 1) {
    return {false, negative ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity()};
  }
  const long scale = exponent + pointPosition - std::min<long>(digitCount, kSignificantDigitLimit);
  const long double m = static_cast<long double>(mantissa);
  long double value = m;
  if (scale > 0) {
    // A power past the limit is infinite, and so is the product without error;
    // within the limit an infinite product means the rounding passed the range.
    if (scale > kExponentLimit) {
      value = std::numeric_limits<long double>::infinity();
    } else {
      volatile long double product = m * OraclePowerOfTen(static_cast<int>(scale));
      if (std::isinf(product)) return {true, 0};
      value = product;
    }
  } else if (scale < 0) {
    value = -scale > kExponentLimit ? 0.0L : m / OraclePowerOfTen(static_cast<int>(-scale));
  }
  if (negative) value = -value;
  return {false, OracleNarrow(value)};
}

[[noreturn]] void Fail(std::string_view text, const char* what, double got, double expected) {
  std::fprintf(stderr, "ReadNumber(\"%.*s\"): %s; got %a (0x%016llx), expected %a (0x%016llx)\n",
               static_cast<int>(std::min<std::size_t>(text.size(), 200)), text.data(), what, got,
               static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(got)), expected,
               static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(expected)));
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Expected expected = OracleRead(text);
  double got = 0;
  try {
    got = normcalc::ReadNumber(text);
  } catch (const normcalc::EOverflow&) {
    // Any other exception leaves this function and libFuzzer reports it.
    if (!expected.overflow) Fail(text, "EOverflow within the extended range", 0, expected.value);
    return 0;
  }
  if (expected.overflow) Fail(text, "no EOverflow past the extended range", got, 0);
  if (std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(expected.value)) {
    Fail(text, "different bits", got, expected.value);
  }
  return 0;
}
