// NarrowToDouble's body: the reader's own rounding of an extended value to a
// double, done on the bit patterns so that no double arithmetic (and no excess
// precision of the x87 unit) takes part. Inline so that ReadNumber runs the
// scan and the narrowing as one function.
#pragma once

#include <bit>
#include <cstdint>

#include "normcalc/numtext.h"

namespace normcalc {
namespace narrow_detail {

inline constexpr int kFractionBits = 52;                 // double's stored fraction
inline constexpr int kDroppedBits = 63 - kFractionBits;  // 64-bit significand -> 53 bits
inline constexpr int kDoubleBias = 1023;
inline constexpr int kMinNormalExponent = -1022;     // 2^-1022, smallest normal double
inline constexpr int kMinSubnormalExponent = -1074;  // 2^-1074, smallest subnormal double
inline constexpr int kTopBinadeExponent = 1023;      // 2^1023 <= |x| < 2^1024
inline constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
inline constexpr std::uint64_t kInfinityBits = 0x7FF0000000000000;
inline constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 51;
inline constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;

}  // namespace narrow_detail

[[gnu::always_inline]] inline double NarrowToDoubleInline(Extended x) {
  using namespace narrow_detail;
  const std::uint64_t sign = x.SignBit() ? kSignBit : 0;
  const std::uint64_t significand = x.Significand();

  // The common case first: a normalised value whose double is normal, which
  // is rounded at bit 11 with nothing else to decide. Adding just under half,
  // and one more when the kept part is odd, carries into the kept part exactly
  // when the rest is above half or a tie to an odd kept part.
  const int normalExponent = x.BiasedExponent() - Extended::kExponentBias;
  if ((significand >> 63) != 0 && normalExponent >= kMinNormalExponent &&
      normalExponent < kTopBinadeExponent) {
    std::uint64_t kept = significand >> kDroppedBits;
    const std::uint64_t rest = significand & ((std::uint64_t{1} << kDroppedBits) - 1);
    kept += (rest + (std::uint64_t{1} << (kDroppedBits - 1)) - 1 + (kept & 1)) >> kDroppedBits;
    return std::bit_cast<double>(
        sign | ((std::uint64_t(normalExponent + kDoubleBias - 1) << kFractionBits) + kept));
  }

  if (x.BiasedExponent() == Extended::kMaxBiasedExponent) {
    // The integer bit aside, an empty fraction is an infinity; anything else
    // is a NaN, which keeps its sign and the top of its payload and is made quiet.
    const std::uint64_t fraction = significand << 1;
    if (fraction == 0) return std::bit_cast<double>(sign | kInfinityBits);
    return std::bit_cast<double>(sign | kInfinityBits | kQuietBit |
                                 (fraction >> (kDroppedBits + 1) & kFractionMask));
  }
  if (significand == 0) return std::bit_cast<double>(sign);

  // |x| = significand * 2^(exponent - 63), with the subnormal exponent field 0
  // standing for the same scale as 1. Normalising here also copes with a
  // significand whose integer bit is clear.
  const int leadingZeros = std::countl_zero(significand);
  const int fieldExponent = x.BiasedExponent() == 0 ? 1 : x.BiasedExponent();
  const int exponent = fieldExponent - Extended::kExponentBias - leadingZeros;
  const std::uint64_t normalised = significand << leadingZeros;  // bit 63 set

  if (exponent > kTopBinadeExponent) return std::bit_cast<double>(sign | kInfinityBits);
  if (exponent == kTopBinadeExponent) {
    // Cut off toward zero, so that nothing below 2^1024 becomes infinite.
    const std::uint64_t bits = (std::uint64_t{kTopBinadeExponent + kDoubleBias} << kFractionBits) |
                               (normalised >> kDroppedBits & kFractionMask);
    return std::bit_cast<double>(sign | bits);
  }
  if (exponent < kMinSubnormalExponent) return std::bit_cast<double>(sign);

  // Round to nearest, ties to even, on the grid of the result: 53 bits for a
  // normal double, fewer below 2^-1022 where the quantum stays 2^-1074.
  const int dropped =
      kDroppedBits + (exponent < kMinNormalExponent ? kMinNormalExponent - exponent : 0);
  std::uint64_t kept = normalised >> dropped;  // dropped is 11 ... 63
  const std::uint64_t rest = normalised & ((std::uint64_t{1} << dropped) - 1);
  const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;

  // A normal result's integer bit, at bit 52, adds one to the exponent field
  // laid under it, and a carry out of the fraction moves on into that field;
  // a subnormal result is the kept bits alone, a carry making it the smallest
  // normal. The largest input here is below 2^1023, so this stays finite.
  std::uint64_t bits = kept;
  if (exponent >= kMinNormalExponent) {
    bits += std::uint64_t(exponent + kDoubleBias - 1) << kFractionBits;
  }
  return std::bit_cast<double>(sign | bits);
}

}  // namespace normcalc
