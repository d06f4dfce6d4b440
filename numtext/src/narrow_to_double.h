// The two roundings of an extended value to a double, and the step they share.
//
// NarrowToDouble is the reader's own narrowing, done on the bit patterns so
// that no double arithmetic (and no excess precision of the x87 unit) takes
// part. Extended::ToDouble is the plain conversion the rest of the system
// uses. They agree except in two places, where the reader keeps its own rules:
//   - in the top binade, 2^1023 <= |x| < 2^1024, NarrowToDouble cuts toward
//     zero, so that no text below 2^1024 reads as an infinity; ToDouble rounds
//     to nearest there and a carry gives the infinity;
//   - an encoding the x87 unit rejects (an unnormal: integer bit clear in a
//     non-zero field) is normalised by NarrowToDouble and raises EInvalidOp
//     in ToDouble.
// NarrowToDoubleInline is inline so that ReadNumber runs the scan and the
// narrowing as one function.
#pragma once

#include <bit>
#include <cstdint>

#include "normcalc/binary_formats.h"
#include "normcalc/numtext_stages.h"

namespace normcalc {

// The common case of both roundings: a normalised significand (bit 63 set)
// whose double is normal, with the double's biased exponent field in
// 1 ... 0x7FE. It is rounded at bit 11 with nothing else to decide. Adding
// just under half, and one more when the kept part is odd, carries into the
// kept part exactly when the rest is above half or a tie to an odd kept part.
// The kept integer bit, bit 52, adds one to the exponent field laid under it,
// and a carry out of the fraction one more: past 0x7FE that makes the field
// 0x7FF with an empty fraction, the infinity. Returns the bits without sign.
[[gnu::always_inline]] inline std::uint64_t RoundToNormalDoubleBits(std::uint64_t significand,
                                                                    int doubleField) {
  using binary_format::Double;
  using binary_format::kNarrowedBits;
  std::uint64_t kept = significand >> kNarrowedBits;
  const std::uint64_t rest = significand & ((std::uint64_t{1} << kNarrowedBits) - 1);
  kept += (rest + (std::uint64_t{1} << (kNarrowedBits - 1)) - 1 + (kept & 1)) >> kNarrowedBits;
  return (static_cast<std::uint64_t>(doubleField - 1) << Double::kFractionBits) + kept;
}

[[gnu::always_inline]] inline double NarrowToDoubleInline(Extended x) {
  using binary_format::Double;
  constexpr int kFractionBits = Double::kFractionBits;
  constexpr int kDroppedBits = binary_format::kNarrowedBits;
  constexpr int kDoubleBias = Double::kExponentBias;
  constexpr int kMinNormalExponent = Double::kMinNormalExponent;
  constexpr int kMinSubnormalExponent = Double::kMinSubnormalExponent;
  constexpr int kTopBinadeExponent = Double::kMaxExponent;  // 2^1023 <= |x| < 2^1024
  constexpr std::uint64_t kInfinityBits = Double::kInfinityBits;
  constexpr std::uint64_t kQuietBit = Double::kQuietBit;
  constexpr std::uint64_t kFractionMask = Double::kFractionMask;
  const std::uint64_t sign = x.SignBit() ? Double::kSignBit : 0;
  const std::uint64_t significand = x.Significand();

  // The common case first; the top binade is left to the cut below.
  const int normalExponent = x.BiasedExponent() - Extended::kExponentBias;
  if ((significand >> 63) != 0 && normalExponent >= kMinNormalExponent &&
      normalExponent < kTopBinadeExponent) {
    return std::bit_cast<double>(
        sign | RoundToNormalDoubleBits(significand, normalExponent + kDoubleBias));
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
