// PowerOfTen: 10^n as the reader scales by it, built from the exact powers up
// to 10^7 by a chain of rounded extended multiplications rather than as the
// nearest value.
#include <iterator>

#include "normcalc/numtext_stages.h"
#include "powers_of_ten.h"

namespace normcalc {
namespace {

// 10^4932 is the largest power below the largest finite extended value
// (2^64 - 1) * 2^16320 ~ 1.19e4932; every larger power is taken as +inf.
constexpr int kLargestPower = 4932;

// 10^(2^k) for k = 3 ... 12, indexed by k - 3: entries of the writer's tables,
// each the extended value nearest to the exact power, ties to even. 10^8 and
// 10^16 are exact (5^16 < 2^64).
constexpr const Extended* kLargePowers[] = {
    &PowersOfTenLow[8],  &PowersOfTenLow[16], &PowersOfTenMid[1],  &PowersOfTenMid[2],
    &PowersOfTenMid[4],  &PowersOfTenMid[8],  &PowersOfTenHigh[1], &PowersOfTenHigh[2],
    &PowersOfTenHigh[4], &PowersOfTenHigh[8],
};

constexpr int kFirstLargeBit = 3;  // 2^3 = 8: n & 7 picks the exact 10^0 ... 10^7
constexpr int kLastLargeBit = 12;  // 2^12 = 4096 <= 4932 < 2^13
static_assert(std::size(kLargePowers) == kLastLargeBit - kFirstLargeBit + 1);
static_assert((kLargestPower >> (kLastLargeBit + 1)) == 0 && (kLargestPower >> kLastLargeBit) == 1);

}  // namespace

Extended PowerOfTen(int n) {
  // A negative power has no meaning here; the reader never asks for one.
  if (n < 0) throw EInvalidOp();
  if (n > kLargestPower) return Extended::Infinity();
  // The rounding errors of the products add up, so the result can lie a unit
  // or more from the nearest extended value (10^308 comes out one unit high);
  // the reader's results depend on exactly this chain, in this order. The
  // partial product never passes 10^4932, so no multiplication overflows.
  Extended result = PowersOfTenLow[n & 7];
  for (int bit = kFirstLargeBit; bit <= kLastLargeBit; ++bit) {
    if ((n >> bit) & 1) result = result * *kLargePowers[bit - kFirstLargeBit];
  }
  return result;
}

}  // namespace normcalc
