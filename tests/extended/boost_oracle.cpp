// cpp_bin_float_double_extended has the format's 64-bit significand and its
// normal exponent range, and rounds +, -, *, / once, to nearest, ties to even.
// It differs from the IEEE double-extended format in ways that make it a valid
// oracle only on part of the domain:
//   - it has no subnormals: values below 2^-16382 flush to zero, so it takes
//     only normal (or zero) operands and gives results only when they are at
//     least 2^-16381, far enough above the subnormal range that no rounding at
//     the boundary can differ;
//   - it raises nothing and models no NaN payloads: NaN and infinite operands,
//     division by zero and overflow are left out (an overflowing result comes
//     back as an infinity, which is not trusted to match the threshold);
//   - Boost 1.74 misrounds a sum or difference whose operands' exponents
//     are exactly 65 apart (the smaller operand's bits fall just past the ones
//     it keeps, and it rounds as if they were not there); the x87 run found
//     it, and such sums are left out;
//   - its conversion to double is trusted only where the double is normal,
//     since a subnormal double could be rounded twice;
//   - its signed zeros are not modelled, so zero results are left out, except
//     in the conversions and comparisons, where the sign is taken from the
//     operand.
// RoundToInteger is built from floor and exact differences, since Boost's
// round() sends ties away from zero.
#include "boost_oracle.h"

#include <bit>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace normcalc::testing {
namespace {

using BoostExtended = boost::multiprecision::cpp_bin_float_double_extended;

constexpr int kBias = 16383;
constexpr std::uint16_t kExponentMask = 0x7FFF;
constexpr std::uint64_t kIntegerBit = 0x8000'0000'0000'0000;
// Results below 2^-16381 (biased exponent 2) are not trusted, as said above.
constexpr int kSmallestTrustedBiasedExponent = 2;

constexpr int kMisroundedSumExponentGap = 65;

int ExponentField(Bits b) { return b.signExponent & kExponentMask; }

bool IsNormalOrZero(Bits b) {
  const int field = b.signExponent & kExponentMask;
  if (field == 0) return b.significand == 0;
  return field != kExponentMask && (b.significand & kIntegerBit) != 0;
}

bool IsNormal(Bits b) { return IsNormalOrZero(b) && b.significand != 0; }

bool Negative(Bits b) { return (b.signExponent & 0x8000) != 0; }

BoostExtended ToBoost(Bits b) {
  const int field = b.signExponent & kExponentMask;
  BoostExtended magnitude = b.significand == 0
                                ? BoostExtended(0)
                                : ldexp(BoostExtended(b.significand), field - kBias - 63);
  return Negative(b) ? BoostExtended(-magnitude) : magnitude;
}

// The bits of a non-zero finite Boost value, or nothing when it lies outside
// the trusted range.
std::optional<Bits> FromBoost(const BoostExtended& x) {
  if (x == 0 || !isfinite(x)) return std::nullopt;
  int exponent = 0;
  const BoostExtended fraction = frexp(abs(x), &exponent);  // in [1/2, 1)
  const int field = exponent - 1 + kBias;
  if (field < kSmallestTrustedBiasedExponent || field >= kExponentMask) return std::nullopt;
  const auto significand = ldexp(fraction, 64).convert_to<std::uint64_t>();
  const std::uint16_t sign = x < 0 ? 0x8000 : 0;
  return Bits{static_cast<std::uint16_t>(sign | field), significand};
}

std::optional<Outcome> ExtendedOutcome(const BoostExtended& x) {
  const std::optional<Bits> bits = FromBoost(x);
  if (!bits) return std::nullopt;
  return Outcome{Fault::kNone, *bits};
}

Outcome Truth(bool truth) { return {Fault::kNone, {0, truth ? 1u : 0u}}; }

// Nearest integer, ties to even, from floor: x - floor(x) is exact.
BoostExtended RoundHalfEven(const BoostExtended& x) {
  const BoostExtended down = floor(x);
  const BoostExtended rest = x - down;
  const BoostExtended half(0.5);
  if (rest > half) return down + 1;
  if (rest < half) return down;
  return fmod(down, BoostExtended(2)) == 0 ? down : BoostExtended(down + 1);
}

}  // namespace

std::optional<Outcome> RunBoost(Operation op, const Operands& in) {
  switch (ArityOf(op)) {
    case Arity::kBinary: {
      const bool arithmetic = !IsComparison(op);
      const bool operandsFit = arithmetic ? IsNormal(in.a) && IsNormal(in.b)
                                          : IsNormalOrZero(in.a) && IsNormalOrZero(in.b);
      if (!operandsFit) return std::nullopt;
      if ((op == Operation::kAdd || op == Operation::kSubtract) &&
          std::abs(ExponentField(in.a) - ExponentField(in.b)) == kMisroundedSumExponentGap) {
        return std::nullopt;
      }
      break;
    }
    case Arity::kUnary:
      if (!IsNormal(in.a)) return std::nullopt;
      break;
    case Arity::kDouble:
      if (!std::isfinite(std::bit_cast<double>(in.a.significand))) return std::nullopt;
      break;
    case Arity::kUInt64:
      break;
  }
  const BoostExtended a = ToBoost(in.a);
  const BoostExtended b = ToBoost(in.b);
  switch (op) {
    case Operation::kAdd:
      return ExtendedOutcome(a + b);
    case Operation::kSubtract:
      return ExtendedOutcome(a - b);
    case Operation::kMultiply:
      return ExtendedOutcome(a * b);
    case Operation::kDivide:
      return ExtendedOutcome(a / b);
    case Operation::kLess:
      return Truth(a < b);
    case Operation::kGreater:
      return Truth(a > b);
    case Operation::kLessEqual:
      return Truth(a <= b);
    case Operation::kGreaterEqual:
      return Truth(a >= b);
    case Operation::kEqual:
      return Truth(a == b);
    case Operation::kNotEqual:
      return Truth(a != b);
    case Operation::kFromDouble: {
      const double d = std::bit_cast<double>(in.a.significand);
      if (d == 0)
        return Outcome{Fault::kNone,
                       {std::signbit(d) ? std::uint16_t{0x8000} : std::uint16_t{0}, 0}};
      return ExtendedOutcome(BoostExtended(d));
    }
    case Operation::kFromUInt64:
      if (in.a.significand == 0) return Outcome{Fault::kNone, {0, 0}};
      return ExtendedOutcome(BoostExtended(in.a.significand));
    case Operation::kToDouble: {
      const double d = a.convert_to<double>();
      if (!std::isnormal(d)) return std::nullopt;
      return Outcome{Fault::kNone, {0, std::bit_cast<std::uint64_t>(d)}};
    }
    case Operation::kRoundToInteger: {
      const BoostExtended r = RoundHalfEven(a);
      if (r == 0) {
        return Outcome{Fault::kNone, {static_cast<std::uint16_t>(in.a.signExponent & 0x8000), 0}};
      }
      return ExtendedOutcome(r);
    }
    case Operation::kNegate:
      return ExtendedOutcome(-a);
  }
  return std::nullopt;
}

}  // namespace normcalc::testing
