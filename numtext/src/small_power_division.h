// Division of an integer by 10^k for 1 <= k <= 26, rounded once to 64 bits,
// by multiplying with a 128-bit reciprocal of 5^k instead of dividing: the
// same extended value the rounded division by PowerOfTen(k) gives, which is
// exact (10^k = 5^k * 2^k with 5^k < 2^63, so every product of the chain fits
// 64 bits), at the cost of two 64-bit multiplications.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "extended_wide.h"
#include "normcalc/numtext_stages.h"

namespace normcalc {

// The argument below says why 26 is the last power this is right for.
constexpr int kLargestReciprocalPower = 26;

constexpr std::uint64_t PowerOfFive(int k) {
  std::uint64_t power = 1;
  for (int i = 0; i < k; ++i) power *= 5;
  return power;
}

// The bound the exactness argument below rests on.
static_assert(PowerOfFive(kLargestReciprocalPower) < std::uint64_t{1} << 62);  // 5^26 < 2^62

// ceil(2^shift / 5^k), chosen in [2^127, 2^128).
struct Reciprocal {
  std::uint64_t hi;
  std::uint64_t lo;
  int shift;
};

constexpr Reciprocal ReciprocalOfPowerOfFive(int k) {
  const std::uint64_t divisor = PowerOfFive(k);
  // 2^(length - 1) < 5^k < 2^length, so 2^(127 + length) / 5^k lies in (2^127, 2^128).
  const int shift = 127 + std::bit_width(divisor);
  // Long division of 2^shift, one quotient bit at a time; the remainder stays
  // below 5^k < 2^63, so doubling it never overflows, and the quotient's bits
  // above the 128th are all zero.
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
  std::uint64_t remainder = 0;
  for (int bit = shift; bit >= 0; --bit) {
    remainder = (remainder << 1) | (bit == shift ? 1 : 0);
    const bool one = remainder >= divisor;
    if (one) remainder -= divisor;
    hi = (hi << 1) | (lo >> 63);
    lo = (lo << 1) | (one ? 1 : 0);
  }
  // No power of two is a multiple of 5^k, so the quotient was cut and the
  // reciprocal rounds up; it stays below 2^128 by far.
  if (++lo == 0) ++hi;
  return {hi, lo, shift};
}

inline constexpr auto kReciprocals = [] {
  std::array<Reciprocal, kLargestReciprocalPower + 1> table{};
  for (int k = 1; k <= kLargestReciprocalPower; ++k) table[k] = ReciprocalOfPowerOfFive(k);
  return table;
}();

// mantissa / 10^k rounded to nearest, 64 bits, for mantissa >= 1 and
// 1 <= k <= 26.
//
// Why it is exact: with n = mantissa shifted so that bit 63 is set and
// R = 2^shift / 5^k + e, 0 < e < 1, the product A = n * R exceeds the true
// T = n * 2^shift / 5^k by less than n < 2^64. Rounding keeps the top 64 bits
// of A, whose top bit is bit 191 or 190, so in units of the last kept bit A is
// above T by less than 2^-63. T's fraction in those units is j / 5^k for an
// integer j, and 5^k is odd, so it is never exactly one half and lies at least
// 1 / (2 * 5^k) > 2^-63 (5^26 < 2^62) from it: A and T round alike, ties cannot
// occur, and A's own fraction tells the direction.
inline Extended DivideBySmallPowerOfTen(std::uint64_t mantissa, int k) {
  const Reciprocal& reciprocal = kReciprocals[static_cast<std::size_t>(k)];
  const int leadingZeros = std::countl_zero(mantissa);
  const std::uint64_t n = mantissa << leadingZeros;
  const Wide128 low = Multiply(n, reciprocal.lo);
  const Wide128 high = Multiply(n, reciprocal.hi);
  // A = (top : middle : bottom), 2^190 <= A < 2^192.
  std::uint64_t middle = high.lo + low.hi;
  std::uint64_t top = high.hi + (middle < low.hi ? 1 : 0);
  // mantissa / 10^k = A * 2^-(shift + leadingZeros + k); with top's bit 63
  // set, that is top * 2^(128 - ...), whose leading bit has weight 2^exponent.
  int exponent = 63 + 128 - reciprocal.shift - leadingZeros - k;
  if ((top >> 63) == 0) {
    top = (top << 1) | (middle >> 63);
    middle = (middle << 1) | (low.lo >> 63);
    --exponent;
  }
  std::uint64_t significand = top + (middle >> 63);  // the half bit rounds up
  if (significand == 0) {                            // 2^64 - 1 rounded up
    significand = std::uint64_t{1} << 63;
    ++exponent;
  }
  return Extended::FromBits(static_cast<std::uint16_t>(exponent + Extended::kExponentBias),
                            significand);
}

}  // namespace normcalc
