// value * 10^power, or value / 10^-power, by at most three tabulated powers.
#include "normcalc/numtext_stages.h"
#include "powers_of_ten.h"

namespace normcalc {

namespace {

// The power is split as 512 k + 32 j + i: i picks PowersOfTenLow, j
// PowersOfTenMid and k PowersOfTenHigh.
constexpr unsigned kLowSpan = 32;
constexpr unsigned kHighSpan = 512;
// The largest power the three tables reach together is 10^(512*9 + 32*15 + 31),
// so magnitudes from 512 * kPowersOfTenHighCount (5120) up have no table entry.
constexpr unsigned kTableLimit = kHighSpan * kPowersOfTenHighCount;
constexpr unsigned kLargestHighIndex = kPowersOfTenHighCount - 1;

template <typename Step>
Extended StepThroughTables(Extended value, unsigned magnitude, Step step) {
  // Callers stay below kTableLimit (a double never needs more than 342); a
  // larger power is taken in steps of the largest high entry rather than read
  // past the end of the table.
  while (magnitude >= kTableLimit) {
    value = step(value, PowersOfTenHigh[kLargestHighIndex]);
    magnitude -= kHighSpan * kLargestHighIndex;
  }
  value = step(value, PowersOfTenLow[magnitude % kLowSpan]);
  if (magnitude >= kLowSpan) {
    unsigned mid = (magnitude / kLowSpan) % kPowersOfTenMidCount;
    if (mid != 0) value = step(value, PowersOfTenMid[mid]);
  }
  if (magnitude >= kHighSpan) value = step(value, PowersOfTenHigh[magnitude / kHighSpan]);
  return value;
}

}  // namespace

Extended ScaleByPowerOfTen(Extended value, int power) {
  if (power == 0) return value;
  if (power > 0) {
    return StepThroughTables(value, static_cast<unsigned>(power),
                             [](Extended v, const Extended& p) { return v * p; });
  }
  // Negating in unsigned arithmetic keeps INT_MIN well defined.
  unsigned magnitude = 0u - static_cast<unsigned>(power);
  return StepThroughTables(value, magnitude, [](Extended v, const Extended& p) { return v / p; });
}

}  // namespace normcalc
