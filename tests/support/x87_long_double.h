// On x86 the compiler's long double is the x87 unit's double-extended format,
// whose multiplication, division and rounding to double are what Extended
// must reproduce bit for bit; the tests hold Extended to it. Elsewhere
// NORMCALC_HAVE_X87 stays undefined and these helpers are absent.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64
#define NORMCALC_HAVE_X87 1
#endif

#ifdef NORMCALC_HAVE_X87

namespace normcalc::x87 {

// The two fields of an extended value, as the tests keep its bit pattern.
struct Fields {
  std::uint16_t signExponent = 0;
  std::uint64_t significand = 0;
};

// In memory the format is the 64-bit significand, integer bit included, then
// the 16 bits of sign and biased exponent, both little-endian; the rest of the
// long double's storage (to 12 or 16 bytes) is padding. Any pattern goes in
// unchanged, the ones Extended never makes included.
template <class Bits>
long double ToLongDouble(const Bits& bits) {
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &bits.significand, 8);
  std::memcpy(bytes + 8, &bits.signExponent, 2);
  long double value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

template <class Bits = Fields>
Bits FromLongDouble(long double value) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &value, sizeof value);
  Bits bits{};
  std::memcpy(&bits.significand, bytes, 8);
  std::memcpy(&bits.signExponent, bytes + 8, 2);
  return bits;
}

}  // namespace normcalc::x87

#endif  // NORMCALC_HAVE_X87
