// Operands for the differential test of Extended: a hand-picked set of values
// that sit on the format's edges and ties, and a seeded random source that
// favours the regions where rounding and faults happen.
#pragma once

#include <cstdint>
#include <vector>

#include "extended_case.h"

namespace normcalc::testing {

// Extended values, each also with its sign flipped.
std::vector<Bits> HandPickedExtendedValues();
// Doubles (as bits) for FromDouble and integers for FromUInt64.
std::vector<std::uint64_t> HandPickedDoubleBits();
std::vector<std::uint64_t> HandPickedIntegers();

class OperandSource {
 public:
  explicit OperandSource(std::uint64_t seed) : state_(seed) {}
  Operands Next(Operation op);

 private:
  // SplitMix64: small, fast and good enough to spread operands; the test
  // spends its time on the operations rather than on drawing them.
  std::uint64_t Random() {
    std::uint64_t z = (state_ += 0x9E37'79B9'7F4A'7C15);
    z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9;
    z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EB;
    return z ^ (z >> 31);
  }
  std::uint64_t Below(std::uint64_t n) { return Random() % n; }
  bool OneIn(std::uint64_t n) { return Below(n) == 0; }
  std::uint64_t SignificandPattern();
  int Exponent();
  Bits Value(int biasedExponent);
  Bits AnyValue();
  Bits NearValue(Bits other);
  Bits Special();
  std::uint64_t DoubleBits();

  std::uint64_t state_;
};

}  // namespace normcalc::testing
