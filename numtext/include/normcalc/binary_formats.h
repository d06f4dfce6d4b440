// The two binary layouts the number routines take apart and put together: the
// IEEE 754 double and the double-extended format. Every shift, mask and bias
// that touches their bits is named here once.
#pragma once

#include <cstdint>

namespace normcalc::binary_format {

// double: a sign bit, an 11-bit exponent field biased by 1023 and a 52-bit
// fraction under an implicit integer bit. Field 0 holds zeros and subnormals,
// field 0x7FF infinities and NaNs.
struct Double {
  static constexpr int kFractionBits = 52;
  static constexpr int kExponentBias = 1023;
  static constexpr unsigned kMaxExponentField = 0x7FF;
  static constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;
  static constexpr std::uint64_t kInfinityBits = std::uint64_t{kMaxExponentField} << kFractionBits;
  static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << (kFractionBits - 1);
  static constexpr int kMinNormalExponent = 1 - kExponentBias;                      // 2^-1022
  static constexpr int kMinSubnormalExponent = kMinNormalExponent - kFractionBits;  // 2^-1074
  static constexpr int kMaxExponent = kExponentBias;                                // 2^1023
};

// double-extended: a 16-bit word holding the sign (bit 15) and a 15-bit
// exponent field biased by 16383, and a 64-bit significand whose integer bit
// (bit 63) is explicit. Field 0 holds zeros and subnormals, field 0x7FFF
// infinities (empty fraction) and NaNs (quiet when bit 62 is set).
struct ExtendedFormat {
  static constexpr int kSignificandBits = 64;
  static constexpr int kExponentBias = 16383;
  static constexpr std::uint16_t kSignBit = 0x8000;
  static constexpr std::uint16_t kExponentMask = 0x7FFF;
  static constexpr std::uint16_t kMaxFiniteExponentField = 0x7FFE;
  static constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
};

// The significand bits that fall below a double's last place when an extended
// significand is narrowed: 64 bits with the integer bit to 53.
inline constexpr int kNarrowedBits = ExtendedFormat::kSignificandBits - 1 - Double::kFractionBits;
static_assert(kNarrowedBits == 11);

}  // namespace normcalc::binary_format
