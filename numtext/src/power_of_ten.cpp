// PowerOfTen: 10^n as the reader scales by it, built from a small table by a
// chain of rounded extended multiplications rather than as the nearest value.
#include <bit>
#include <cstdint>

#include "normcalc/numtext.h"

namespace normcalc {
namespace {

// 10^4932 is the largest power below the largest finite extended value
// (2^64 - 1) * 2^16320 ~ 1.19e4932; every larger power is taken as +inf.
constexpr int kLargestPower = 4932;

// An integer below 2^64 held exactly: its top set bit becomes the explicit
// integer bit, and the exponent says where that bit stands.
constexpr Extended ExactInteger(std::uint64_t value) {
  const int shift = std::countl_zero(value);
  return Extended::FromBits(static_cast<std::uint16_t>(Extended::kExponentBias + 63 - shift),
                            value << shift);
}

// 10^0 ... 10^7, indexed by the low three bits of n.
constexpr Extended kSmallPowers[] = {
    ExactInteger(1),     ExactInteger(10),     ExactInteger(100),     ExactInteger(1000),
    ExactInteger(10000), ExactInteger(100000), ExactInteger(1000000), ExactInteger(10000000),
};

// 10^(2^k) for k = 3 ... 12, indexed by k - 3. 10^8 and 10^16 are exact (5^16 < 2^64);
// from 10^32 on each is the extended value nearest to the exact power, ties to
// even, as computed with exact integers (tests/read_number checks every entry).
constexpr Extended kLargePowers[] = {
    ExactInteger(100000000),                         // 10^8
    ExactInteger(10000000000000000),                 // 10^16
    Extended::FromBits(0x4069, 0x9DC5ADA82B70B59E),  // 10^32
    Extended::FromBits(0x40D3, 0xC2781F49FFCFA6D5),  // 10^64
    Extended::FromBits(0x41A8, 0x93BA47C980E98CE0),  // 10^128
    Extended::FromBits(0x4351, 0xAA7EEBFB9DF9DE8E),  // 10^256
    Extended::FromBits(0x46A3, 0xE319A0AEA60E91C7),  // 10^512
    Extended::FromBits(0x4D48, 0xC976758681750C17),  // 10^1024
    Extended::FromBits(0x5A92, 0x9E8B3B5DC53D5DE5),  // 10^2048
    Extended::FromBits(0x7525, 0xC46052028A20979B),  // 10^4096
};

constexpr int kFirstLargeBit = 3;  // 2^3 = 8: the first power not in kSmallPowers
constexpr int kLastLargeBit = 12;  // 2^12 = 4096 <= 4932 < 2^13

}  // namespace

Extended PowerOfTen(int n) {
  // A negative power has no meaning here; the reader never asks for one.
  if (n < 0) throw EInvalidOp();
  if (n > kLargestPower) return Extended::Infinity();
  // The rounding errors of the products add up, so the result can lie a unit
  // or more from the nearest extended value (10^308 comes out one unit high);
  // the reader's results depend on exactly this chain, in this order. The
  // partial product never passes 10^4932, so no multiplication overflows.
  Extended result = kSmallPowers[n & 7];
  for (int bit = kFirstLargeBit; bit <= kLastLargeBit; ++bit) {
    if ((n >> bit) & 1) result = result * kLargePowers[bit - kFirstLargeBit];
  }
  return result;
}

}  // namespace normcalc
