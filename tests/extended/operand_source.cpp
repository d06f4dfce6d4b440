#include "operand_source.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace normcalc::testing {
namespace {

constexpr int kBias = 16383;
constexpr int kMaxFinite = 0x7FFE;
constexpr std::uint16_t kInfNaN = 0x7FFF;
constexpr std::uint16_t kSign = 0x8000;
constexpr std::uint64_t kIntegerBit = 0x8000'0000'0000'0000;
constexpr std::uint64_t kQuietBit = 0x4000'0000'0000'0000;
constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};
// A double's last place is bit 11 of an extended significand: 0x400 below it
// is exactly half of it.
constexpr std::uint64_t kDoubleHalfPlace = 0x400;

Bits Pow2(int exponent) {
  if (exponent >= 1 - kBias) {
    return {static_cast<std::uint16_t>(exponent + kBias), kIntegerBit};
  }
  return {0, kIntegerBit >> (1 - kBias - exponent)};  // subnormal: 2^-16382 shifted down
}

Bits Integer(std::uint64_t n) {
  const int shift = std::countl_zero(n);
  return {static_cast<std::uint16_t>(63 - shift + kBias), n << shift};
}

// A normal double's extended bits, spelled out from its fields.
Bits OfDouble(double d) {
  const auto bits = std::bit_cast<std::uint64_t>(d);
  const int field = static_cast<int>((bits >> 52) & 0x7FF);
  return {static_cast<std::uint16_t>(field - 1023 + kBias), kIntegerBit | (bits << 11)};
}

}  // namespace

std::vector<Bits> HandPickedExtendedValues() {
  std::vector<Bits> values = {
      {0, 0},                                       // zero
      {kInfNaN, kIntegerBit},                       // infinity
      {kInfNaN, kIntegerBit | kQuietBit},           // the default quiet NaN
      {kInfNaN, kIntegerBit | kQuietBit | 0x1234},  // a quiet NaN with a payload
      {kInfNaN, kAllOnes},                          // the largest quiet NaN
      Integer(1),
      Integer(2),
      Integer(3),
      Integer(10),
      Integer(100),
      Integer(1000),
      Integer(10'000'000'000'000'000'000u),  // 10^19, the largest power of ten below 2^64
      Integer(kAllOnes),
      Integer(kAllOnes - 1),
      Pow2(63),
      Pow2(64),
      OfDouble(0.1),
      OfDouble(0.01),
      OfDouble(1e-300),
      OfDouble(1e300),
      {0x3FFD, 0xAAAA'AAAA'AAAA'AAAB},  // 1/3 rounded
      Pow2(-1),
      Pow2(-2),
      Pow2(-63),
      Pow2(-64),
      Pow2(-65),
      // Ties: 1 + 2^-64 and (1 + 2^-63) + 2^-64 lie halfway between neighbours,
      // the first rounding down to the even 1, the second up.
      // (1 + 2^-63) * 1.5 is a tie as well.
      {kBias, kIntegerBit | 1},
      {kBias, kIntegerBit | 0x4000'0000'0000'0000},
      // (2^32 + 1)^2 and (2^32 + 1)(2^32 + 3) need 65 bits and end in a half.
      Integer((std::uint64_t{1} << 32) + 1),
      Integer((std::uint64_t{1} << 32) + 3),
      // Integer ties for RoundToInteger: 2.5, 3.5, 2^62 + 1/2, 2^62 + 3/2.
      {kBias + 1, 0xA000'0000'0000'0000},
      {kBias + 1, 0xE000'0000'0000'0000},
      {kBias + 62, kIntegerBit | 1},
      {kBias + 62, kIntegerBit | 3},
      {kBias + 61, kAllOnes},
      // Narrowing ties: 1 + 2^-53 rounds down to 1, 1 + 2^-52 + 2^-53 up.
      {kBias, kIntegerBit | kDoubleHalfPlace},
      {kBias, kIntegerBit | 0x800 | kDoubleHalfPlace},
      // The double range: largest, largest plus half a place (a tie that
      // rounds to 2^1024, an infinity), the smallest normal and subnormal,
      // half the smallest subnormal (a tie to zero) and three halves of it.
      OfDouble(std::numeric_limits<double>::max()),
      {kBias + 1023, 0xFFFF'FFFF'FFFF'F800 | kDoubleHalfPlace},
      {kBias + 1023, 0xFFFF'FFFF'FFFF'F800 | (kDoubleHalfPlace - 1)},
      Pow2(1023),
      Pow2(1024),
      Pow2(-1022),
      Pow2(-1074),
      Pow2(-1075),
      {kBias - 1074, 0xC000'0000'0000'0000},
      {kBias - 1023, kAllOnes},
      // The extended range: largest, next below, largest power of two, smallest
      // normal and its neighbours, subnormals (largest, an odd one, smallest).
      {kMaxFinite, kAllOnes},
      {kMaxFinite, kAllOnes - 1},
      {kMaxFinite, kIntegerBit},
      {kMaxFinite - 1, kAllOnes},
      Pow2(-16382),
      {1, kIntegerBit | 1},
      {2, kIntegerBit},
      {0, kAllOnes >> 1},
      {0, 3},
      {0, 1},
      {0, 0x4000'0000'0000'0001},
      Pow2(-16400),
      // Far apart: exponents that make products and quotients leave the range.
      Pow2(8191),
      Pow2(8192),
      Pow2(-8191),
      Pow2(-8192),
      {kBias + 8000, 0xDEAD'BEEF'0123'4567},
  };
  for (int k = 1; k <= 27; ++k) {
    // 10^k is exact while 5^k < 2^64, i.e. up to 10^27.
    std::uint64_t five = 1;
    for (int i = 0; i < k; ++i) five *= 5;
    Bits b = Integer(five);
    b.signExponent = static_cast<std::uint16_t>(b.signExponent + k);
    values.push_back(b);
  }
  const std::size_t count = values.size();
  for (std::size_t i = 0; i < count; ++i) {
    Bits negative = values[i];
    negative.signExponent |= kSign;
    values.push_back(negative);
  }
  return values;
}

std::vector<std::uint64_t> HandPickedDoubleBits() {
  std::vector<std::uint64_t> bits;
  const double doubles[] = {0.0,
                            1.0,
                            0.1,
                            1e300,
                            1e-300,
                            3.0,
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::min() / 3,
                            std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(),
                            std::bit_cast<double>(std::uint64_t{0x7FF8'0000'0000'1234}),
                            std::bit_cast<double>(std::uint64_t{0x7FFF'FFFF'FFFF'FFFF}),
                            std::bit_cast<double>(std::uint64_t{0x000F'FFFF'FFFF'FFFF}),
                            std::bit_cast<double>(std::uint64_t{0x7FEF'FFFF'FFFF'FFFF})};
  for (double d : doubles) {
    bits.push_back(std::bit_cast<std::uint64_t>(d));
    bits.push_back(std::bit_cast<std::uint64_t>(-d));
  }
  return bits;
}

std::vector<std::uint64_t> HandPickedIntegers() {
  std::vector<std::uint64_t> integers = {
      0, 1, 2, 3, 10, kAllOnes, kAllOnes - 1, kIntegerBit, kIntegerBit - 1, kIntegerBit | 1};
  for (std::uint64_t p = 10; p <= 10'000'000'000'000'000'000u; p *= 10) {
    integers.push_back(p);
    if (p > kAllOnes / 10) break;
  }
  return integers;
}

// Significands with structure: long runs of ones and zeros, a few bits set or
// clear, trailing zeros (exact results, ties) as well as uniform noise.
std::uint64_t OperandSource::SignificandPattern() {
  switch (Below(6)) {
    case 0:
      return Random();
    case 1: {
      // Alternating runs of ones and zeros, some short, some long.
      std::uint64_t pattern = 0;
      bool one = OneIn(2);
      for (int position = 0; position < 64; one = !one) {
        const int run = std::min(64 - position, 1 + static_cast<int>(Below(OneIn(2) ? 4 : 24)));
        if (one) pattern |= (kAllOnes >> (64 - run)) << position;
        position += run;
      }
      return pattern;
    }
    case 2: {
      std::uint64_t pattern = 0;
      for (std::uint64_t n = 1 + Below(3); n > 0; --n) pattern |= std::uint64_t{1} << Below(64);
      return pattern;
    }
    case 3: {
      std::uint64_t pattern = kAllOnes;
      for (std::uint64_t n = 1 + Below(3); n > 0; --n) pattern &= ~(std::uint64_t{1} << Below(64));
      return pattern;
    }
    case 4:
      return Random() << Below(64);
    default: {
      // Ends in exactly half of a double's last place, or of an integer's.
      const std::uint64_t half = std::uint64_t{1} << Below(64);
      return (Random() & ~(2 * half - 1)) | half;
    }
  }
}

// Biased exponents over the whole range, with weight at the edges of the
// extended and double ranges and around 1.
int OperandSource::Exponent() {
  const int spread = static_cast<int>(Below(80));
  switch (Below(8)) {
    case 0:
    case 1:
      return 1 + static_cast<int>(Below(kMaxFinite));
    case 2:
      return spread;  // subnormal and lowest normals
    case 3:
      return kMaxFinite - spread;  // near the largest
    case 4:
      return kBias + 1023 - spread / 2 + 10;  // near the largest double
    case 5:
      return kBias - 1022 - spread + 10;  // near and below the smallest normal double
    default:
      return kBias - 40 + spread;  // around 1
  }
}

Bits OperandSource::Value(int biasedExponent) {
  biasedExponent = std::clamp(biasedExponent, 0, kMaxFinite);
  const std::uint16_t sign = OneIn(2) ? kSign : 0;
  std::uint64_t significand = SignificandPattern();
  if (biasedExponent == 0) {
    significand = (significand >> Below(64)) & ~kIntegerBit;  // subnormal or zero
  } else {
    significand |= kIntegerBit;
  }
  return {static_cast<std::uint16_t>(sign | biasedExponent), significand};
}

Bits OperandSource::Special() {
  const std::uint16_t sign = OneIn(2) ? kSign : 0;
  switch (Below(3)) {
    case 0:
      return {sign, 0};
    case 1:
      return {static_cast<std::uint16_t>(sign | kInfNaN), kIntegerBit};
    default:
      return {static_cast<std::uint16_t>(sign | kInfNaN),
              kIntegerBit | kQuietBit | (Random() >> (2 + Below(62)))};
  }
}

Bits OperandSource::AnyValue() {
  if (OneIn(64)) return Special();
  return Value(Exponent());
}

// A value close to `other`: the same or a nearby exponent (so that sums
// cancel), sometimes the same value, its negation or a neighbour.
Bits OperandSource::NearValue(Bits other) {
  const int field = other.signExponent & 0x7FFF;
  if (field == kInfNaN || OneIn(64)) return Special();
  switch (Below(6)) {
    case 0:
      return other;
    case 1:
      return {static_cast<std::uint16_t>(other.signExponent ^ kSign), other.significand};
    case 2: {
      Bits b = other;
      b.significand += OneIn(2) ? 1 : kAllOnes;  // one place up or down, within the binade mostly
      if (field != 0) {
        b.significand |= kIntegerBit;
      } else {
        b.significand &= ~kIntegerBit;  // stays a subnormal, never a pseudo-denormal
      }
      b.signExponent ^= OneIn(2) ? kSign : 0;
      return b;
    }
    default: {
      const int delta = static_cast<int>(Below(OneIn(2) ? 5 : 140)) - (OneIn(2) ? 2 : 70);
      return Value(field + delta);
    }
  }
}

std::uint64_t OperandSource::DoubleBits() {
  const std::uint64_t sign = OneIn(2) ? std::uint64_t{1} << 63 : 0;
  const std::uint64_t fraction = SignificandPattern() >> 12;
  std::uint64_t field;
  switch (Below(6)) {
    case 0:
      field = 0;
      break;
    case 1:
      field = 2047;
      break;
    case 2:
      field = Below(60);
      break;
    case 3:
      field = 2046 - Below(60);
      break;
    default:
      field = Below(2048);
      break;
  }
  if (field == 2047 && fraction != 0)
    return sign | (field << 52) | fraction | (std::uint64_t{1} << 51);  // quiet NaN
  return sign | (field << 52) | fraction;
}

Operands OperandSource::Next(Operation op) {
  Operands in;
  switch (op) {
    // Sums, differences and comparisons mostly take close operands, where
    // cancellation and near-ties are.
    case Operation::kAdd:
    case Operation::kSubtract:
    case Operation::kLess:
    case Operation::kGreater:
    case Operation::kLessEqual:
    case Operation::kGreaterEqual:
    case Operation::kEqual:
    case Operation::kNotEqual:
      in.a = AnyValue();
      in.b = OneIn(4) ? AnyValue() : NearValue(in.a);
      break;
    case Operation::kMultiply:
    case Operation::kDivide: {
      in.a = AnyValue();
      if (OneIn(2)) {
        in.b = AnyValue();
        break;
      }
      // Aim the result's exponent at the edges of the range, or at 1.
      const int field = in.a.signExponent & 0x7FFF;
      const int spread = static_cast<int>(Below(140)) - 70;
      int target = kBias + spread;
      if (OneIn(3)) target = spread;
      if (OneIn(3)) target = kMaxFinite + spread;
      const int bField =
          op == Operation::kMultiply ? target - field + kBias : field - target + kBias;
      in.b = Value(bField);
      break;
    }
    case Operation::kFromDouble:
      in.a.significand = DoubleBits();
      break;
    case Operation::kFromUInt64:
      in.a.significand = SignificandPattern() >> Below(64);
      break;
    case Operation::kToDouble:
      in.a = AnyValue();
      break;
    case Operation::kRoundToInteger:
      in.a = OneIn(4) ? AnyValue() : Value(kBias - 2 + static_cast<int>(Below(68)));
      break;
    case Operation::kNegate:
      in.a = AnyValue();
      break;
  }
  return in;
}

}  // namespace normcalc::testing
