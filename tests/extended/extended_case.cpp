#include "extended_case.h"

#include <bit>
#include <cstdio>

namespace normcalc::testing {

std::string_view OperationName(Operation op) {
  switch (op) {
    case Operation::kAdd:
      return "+";
    case Operation::kSubtract:
      return "-";
    case Operation::kMultiply:
      return "*";
    case Operation::kDivide:
      return "/";
    case Operation::kLess:
      return "<";
    case Operation::kGreater:
      return ">";
    case Operation::kLessEqual:
      return "<=";
    case Operation::kGreaterEqual:
      return ">=";
    case Operation::kEqual:
      return "==";
    case Operation::kNotEqual:
      return "!=";
    case Operation::kFromDouble:
      return "FromDouble";
    case Operation::kFromUInt64:
      return "FromUInt64";
    case Operation::kToDouble:
      return "ToDouble";
    case Operation::kRoundToInteger:
      return "RoundToInteger";
    case Operation::kNegate:
      return "negation";
  }
  return "?";
}

Arity ArityOf(Operation op) {
  switch (op) {
    case Operation::kFromDouble:
      return Arity::kDouble;
    case Operation::kFromUInt64:
      return Arity::kUInt64;
    case Operation::kToDouble:
    case Operation::kRoundToInteger:
    case Operation::kNegate:
      return Arity::kUnary;
    default:
      return Arity::kBinary;
  }
}

bool IsComparison(Operation op) { return op >= Operation::kLess && op <= Operation::kNotEqual; }

bool SameOutcome(const Outcome& expected, const Outcome& actual) {
  if (expected.fault != actual.fault) return false;
  return expected.fault != Fault::kNone || expected.result == actual.result;
}

namespace {

Bits TruthBits(bool truth) { return {0, truth ? 1u : 0u}; }

Bits Evaluate(Operation op, const Operands& in) {
  const Extended a = ToExtended(in.a);
  const Extended b = ToExtended(in.b);
  switch (op) {
    case Operation::kAdd:
      return ToBits(a + b);
    case Operation::kSubtract:
      return ToBits(a - b);
    case Operation::kMultiply:
      return ToBits(a * b);
    case Operation::kDivide:
      return ToBits(a / b);
    case Operation::kLess:
      return TruthBits(a < b);
    case Operation::kGreater:
      return TruthBits(a > b);
    case Operation::kLessEqual:
      return TruthBits(a <= b);
    case Operation::kGreaterEqual:
      return TruthBits(a >= b);
    case Operation::kEqual:
      return TruthBits(a == b);
    case Operation::kNotEqual:
      return TruthBits(a != b);
    case Operation::kFromDouble:
      return ToBits(Extended::FromDouble(std::bit_cast<double>(in.a.significand)));
    case Operation::kFromUInt64:
      return ToBits(Extended::FromUInt64(in.a.significand));
    case Operation::kToDouble:
      return {0, std::bit_cast<std::uint64_t>(a.ToDouble())};
    case Operation::kRoundToInteger:
      return ToBits(a.RoundToInteger());
    case Operation::kNegate:
      return ToBits(-a);
  }
  return {};
}

}  // namespace

Outcome RunExtended(Operation op, const Operands& in) {
  // The faults are the outcome under test, so they are recorded, not dropped;
  // any other exception escapes and fails the test.
  try {
    return {Fault::kNone, Evaluate(op, in)};
  } catch (const EInvalidOp&) {
    return {Fault::kInvalidOp, {}};
  } catch (const EZeroDivide&) {
    return {Fault::kZeroDivide, {}};
  } catch (const EOverflow&) {
    return {Fault::kOverflow, {}};
  }
}

namespace {

std::string Hex(Bits b) {
  char text[32];
  std::snprintf(text, sizeof text, "%04X:%016llX", b.signExponent,
                static_cast<unsigned long long>(b.significand));
  return text;
}

}  // namespace

std::string Describe(Operation op, const Operands& in) {
  char text[32];
  switch (ArityOf(op)) {
    case Arity::kBinary:
      return Hex(in.a) + " " + std::string(OperationName(op)) + " " + Hex(in.b);
    case Arity::kUnary:
      return std::string(OperationName(op)) + "(" + Hex(in.a) + ")";
    case Arity::kDouble:
    case Arity::kUInt64:
      std::snprintf(text, sizeof text, "%016llX",
                    static_cast<unsigned long long>(in.a.significand));
      return std::string(OperationName(op)) + "(0x" + text + ")";
  }
  return "?";
}

std::string Describe(const Outcome& outcome) {
  switch (outcome.fault) {
    case Fault::kInvalidOp:
      return "EInvalidOp";
    case Fault::kZeroDivide:
      return "EZeroDivide";
    case Fault::kOverflow:
      return "EOverflow";
    case Fault::kNone:
      break;
  }
  return Hex(outcome.result);
}

}  // namespace normcalc::testing
