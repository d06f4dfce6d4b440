#include "x87_oracle.h"

#ifdef NORMCALC_HAVE_X87

#include <bit>
#include <cfenv>

namespace normcalc::testing {
namespace {

// FCOMI is the signalling compare: any NaN operand, quiet ones included, sets
// the invalid flag. The compilers do not give it for every C relational
// operator on long double (GCC uses the quiet FUCOMI for == and !=, Clang for
// all six), so the comparisons read its flags directly:
// CF = below, ZF = equal, PF = unordered (CF and ZF are then set as well).
struct X87Order {
  bool below;
  bool equal;
  bool unordered;
};

X87Order CompareSignalling(long double a, long double b) {
  unsigned char below;
  unsigned char equal;
  unsigned char unordered;
  asm volatile(
      "fcomi %%st(1), %%st\n\t"
      "setb %0\n\t"
      "sete %1\n\t"
      "setp %2"
      : "=q"(below), "=q"(equal), "=q"(unordered)
      : "t"(a), "u"(b)
      : "cc");
  return {below != 0 && unordered == 0, equal != 0 && unordered == 0, unordered != 0};
}

// FRNDINT rounds by the control word's rounding field: to nearest, ties to even.
long double RoundToIntegerX87(long double x) {
  long double r;
  asm volatile("frndint" : "=t"(r) : "0"(x));
  return r;
}

Bits TruthBits(bool truth) { return {0, truth ? 1u : 0u}; }

}  // namespace

unsigned X87ControlWord() {
  unsigned short word;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

Outcome RunX87(Operation op, const Operands& in) {
  // Volatile operands and results keep the compiler from folding or moving the
  // arithmetic across the flag reads.
  volatile long double a = x87::ToLongDouble(in.a);
  volatile long double b = x87::ToLongDouble(in.b);
  volatile long double r = 0;
  Bits result;
  // The three flags are clear on entry (cleared below whenever an operation
  // sets one), so the costly clearing runs only after a fault.
  constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
  if (std::fetestexcept(kFaultFlags) != 0) std::feclearexcept(kFaultFlags);
  switch (op) {
    case Operation::kAdd:
      r = a + b;
      break;
    case Operation::kSubtract:
      r = a - b;
      break;
    case Operation::kMultiply:
      r = a * b;
      break;
    case Operation::kDivide:
      r = a / b;
      break;
    case Operation::kLess:
      result = TruthBits(CompareSignalling(a, b).below);
      break;
    case Operation::kGreater: {
      const X87Order o = CompareSignalling(a, b);
      result = TruthBits(!o.below && !o.equal && !o.unordered);
      break;
    }
    case Operation::kLessEqual: {
      const X87Order o = CompareSignalling(a, b);
      result = TruthBits(o.below || o.equal);
      break;
    }
    case Operation::kGreaterEqual: {
      const X87Order o = CompareSignalling(a, b);
      result = TruthBits(!o.below && !o.unordered);
      break;
    }
    case Operation::kEqual:
      result = TruthBits(CompareSignalling(a, b).equal);
      break;
    case Operation::kNotEqual:
      result = TruthBits(!CompareSignalling(a, b).equal);
      break;
    case Operation::kFromDouble: {
      volatile double d = std::bit_cast<double>(in.a.significand);
      r = d;
      break;
    }
    case Operation::kFromUInt64: {
      volatile std::uint64_t u = in.a.significand;
      r = u;
      break;
    }
    case Operation::kToDouble: {
      volatile double d = a;
      result = {0, std::bit_cast<std::uint64_t>(static_cast<double>(d))};
      break;
    }
    case Operation::kRoundToInteger:
      r = RoundToIntegerX87(a);
      break;
    case Operation::kNegate:
      r = -a;
      break;
  }
  const int flags = std::fetestexcept(kFaultFlags);
  if (flags != 0) std::feclearexcept(kFaultFlags);
  const bool extendedResult = !IsComparison(op) && op != Operation::kToDouble;
  if (extendedResult) result = x87::FromLongDouble<Bits>(r);
  if ((flags & FE_INVALID) != 0) return {Fault::kInvalidOp, {}};
  if ((flags & FE_DIVBYZERO) != 0) return {Fault::kZeroDivide, {}};
  // Narrowing to double past its range gives an infinity without a fault by
  // design; only the extended operations overflow.
  if ((flags & FE_OVERFLOW) != 0 && op != Operation::kToDouble) return {Fault::kOverflow, {}};
  return {Fault::kNone, result};
}

}  // namespace normcalc::testing

#endif
