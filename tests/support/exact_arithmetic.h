// Exact big-integer models of the reader's arithmetic, for checking it: every
// extended rounding and the narrowing to double are redone here on integers,
// without the code under test.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include <boost/multiprecision/cpp_int.hpp>

namespace normcalc::exact {

using boost::multiprecision::cpp_int;

// A positive value significand * 2^exponent.
struct Binary {
  cpp_int significand;
  int exponent = 0;
};

inline int BitLength(const cpp_int& value) {
  return value == 0 ? 0 : static_cast<int>(boost::multiprecision::msb(value)) + 1;
}

enum class Rounding { kNearestEven, kTowardZero };

// numerator / denominator * 2^exponent to exactly `bits` significant bits.
inline Binary Round(const cpp_int& numerator, const cpp_int& denominator, int exponent, int bits,
                    Rounding rounding = Rounding::kNearestEven) {
  int shift = bits - (BitLength(numerator) - BitLength(denominator));
  for (;;) {
    const cpp_int scaledNumerator = shift >= 0 ? cpp_int(numerator << shift) : numerator;
    const cpp_int scaledDenominator = shift >= 0 ? denominator : cpp_int(denominator << -shift);
    cpp_int quotient = scaledNumerator / scaledDenominator;
    const int length = BitLength(quotient);
    if (length > bits) {
      --shift;
      continue;
    }
    if (length < bits) {
      ++shift;
      continue;
    }
    const cpp_int twiceRest = 2 * (scaledNumerator - quotient * scaledDenominator);
    if (rounding == Rounding::kNearestEven &&
        (twiceRest > scaledDenominator ||
         (twiceRest == scaledDenominator && (quotient & 1) != 0))) {
      ++quotient;
    }
    if (BitLength(quotient) > bits) {  // rounded up to the next power of two
      quotient >>= 1;
      --shift;
    }
    return Binary{quotient, exponent - shift};
  }
}

constexpr int kExtendedBits = 64;

inline cpp_int PowerOf10(int n) { return boost::multiprecision::pow(cpp_int(10), n); }

// The extended value nearest to 10^n.
inline Binary NearestExtendedPowerOf10(int n) { return Round(PowerOf10(n), 1, 0, kExtendedBits); }

inline Binary ExtendedProduct(const Binary& a, const Binary& b) {
  return Round(a.significand * b.significand, 1, a.exponent + b.exponent, kExtendedBits);
}

// 10^(n mod 8), then times 10^8, 10^16, ..., 10^4096 (each the nearest
// extended value) for the bits of n, each product rounded to 64 bits.
inline Binary ChainedPowerOf10(int n) {
  Binary result = NearestExtendedPowerOf10(n % 8);
  for (int bit = 3; bit <= 12; ++bit) {
    if ((n >> bit) & 1) result = ExtendedProduct(result, NearestExtendedPowerOf10(1 << bit));
  }
  return result;
}

// mantissa * 10^scale as the reader forms it: one rounded multiplication or
// division by the chained power. |scale| <= 4932.
inline Binary ScaledMantissa(std::uint64_t mantissa, int scale) {
  if (scale >= 0) return ExtendedProduct(Binary{mantissa, 0}, ChainedPowerOf10(scale));
  const Binary power = ChainedPowerOf10(-scale);
  return Round(mantissa, power.significand, -power.exponent, kExtendedBits);
}

// The extended bit pattern of a normal Binary of 64 bits.
inline std::uint16_t BiasedExponent(const Binary& value) {
  return static_cast<std::uint16_t>(value.exponent + kExtendedBits - 1 + 16383);
}

// The double the reader narrows a positive extended value to, as a bit pattern:
// cut toward zero when 2^1023 <= x < 2^1024, zero below 2^-1074, nearest even
// otherwise. The rounded integer is placed by ldexp, which is exact here.
inline std::uint64_t NarrowedBits(const Binary& value, bool negative) {
  const std::uint64_t sign = negative ? std::uint64_t{1} << 63 : 0;
  const int top = value.exponent + BitLength(value.significand) - 1;  // floor(log2 x)
  if (top >= 1024) return sign | 0x7FF0000000000000;
  if (top < -1074) return sign;
  Binary rounded;
  if (top == 1023) {
    rounded = Round(value.significand, 1, value.exponent, 53, Rounding::kTowardZero);
  } else {
    const int bits = top >= -1022 ? 53 : top + 1074 + 1;
    rounded = Round(value.significand, 1, value.exponent, bits);
  }
  const double magnitude = std::ldexp(static_cast<double>(rounded.significand), rounded.exponent);
  return sign | std::bit_cast<std::uint64_t>(magnitude);
}

}  // namespace normcalc::exact
