// One operation of Extended applied to one set of operands, and what came of
// it, in a form that an oracle (the x87 unit, Boost.Multiprecision) can give as
// well, so that the two outcomes compare as plain bit patterns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "normcalc/numtext.h"

namespace normcalc::testing {

enum class Operation {
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  kEqual,
  kNotEqual,
  kFromDouble,
  kFromUInt64,
  kToDouble,
  kRoundToInteger,
  kNegate,
};

inline constexpr Operation kAllOperations[] = {
    Operation::kAdd,       Operation::kSubtract,       Operation::kMultiply,
    Operation::kDivide,    Operation::kLess,           Operation::kGreater,
    Operation::kLessEqual, Operation::kGreaterEqual,   Operation::kEqual,
    Operation::kNotEqual,  Operation::kFromDouble,     Operation::kFromUInt64,
    Operation::kToDouble,  Operation::kRoundToInteger, Operation::kNegate,
};

std::string_view OperationName(Operation op);

// What an operation takes: two extended values, one, a double or an integer.
enum class Arity { kBinary, kUnary, kDouble, kUInt64 };
Arity ArityOf(Operation op);
bool IsComparison(Operation op);

// The bit pattern of an extended value: sign and biased exponent, significand.
struct Bits {
  std::uint16_t signExponent = 0;
  std::uint64_t significand = 0;
  bool operator==(const Bits&) const = default;
};

// A double's bits or an integer operand travel in a.significand.
struct Operands {
  Bits a;
  Bits b;
};

enum class Fault { kNone, kInvalidOp, kZeroDivide, kOverflow };

// The result is an Extended's bits, or a double's bits in significand, or a
// comparison's truth (0 or 1) in significand. It means nothing after a fault.
struct Outcome {
  Fault fault = Fault::kNone;
  Bits result;
};

bool SameOutcome(const Outcome& expected, const Outcome& actual);

Outcome RunExtended(Operation op, const Operands& in);

std::string Describe(Operation op, const Operands& in);
std::string Describe(const Outcome& outcome);

inline Extended ToExtended(Bits b) { return Extended::FromBits(b.signExponent, b.significand); }
inline Bits ToBits(Extended x) { return {x.SignExponent(), x.Significand()}; }

}  // namespace normcalc::testing
