// Cases whose results are worked out by hand from exact arithmetic: the two
// tie directions, ties on the subnormal grid, the overflow threshold, the
// faults, NaN propagation and signed zeros. They hold on every machine, the
// ones without an x87 unit included (where the random run can check only the
// normal range through Boost); with an x87 unit, each row is checked against
// it as well, so a wrong row cannot pass.
#include <gtest/gtest.h>

#include "extended_case.h"
#include "x87_oracle.h"

namespace normcalc::testing {
namespace {

constexpr std::uint64_t kTop = 0x8000'0000'0000'0000;  // the integer bit alone
constexpr std::uint64_t kOnes = ~std::uint64_t{0};
constexpr std::uint64_t kQuiet = 0xC000'0000'0000'0000;  // integer and quiet bits

constexpr Bits kOne{0x3FFF, kTop};
constexpr Bits kTwoToMinus64{0x3FFF - 64, kTop};
constexpr Bits kHalf{0x3FFE, kTop};
constexpr Bits kTwo{0x4000, kTop};
constexpr Bits kZero{0, 0};
constexpr Bits kMinusZero{0x8000, 0};
constexpr Bits kInfinity{0x7FFF, kTop};
constexpr Bits kLargest{0x7FFE, kOnes};
constexpr Bits kNaN{0x7FFF, kQuiet};
constexpr Bits kMinusNaN{0xFFFF, kQuiet};
constexpr Bits kSmallestSubnormal{0, 1};

Outcome Value(Bits b) { return {Fault::kNone, b}; }
Outcome DoubleBits(std::uint64_t bits) { return {Fault::kNone, {0, bits}}; }
Outcome Truth(bool t) { return {Fault::kNone, {0, t ? 1u : 0u}}; }
Outcome Raises(Fault f) { return {f, {}}; }

struct WorkedCase {
  const char* why;
  Operation op;
  Operands in;
  Outcome expected;
};

const WorkedCase kCases[] = {
    {"1 + 2^-64 is halfway to 1 + 2^-63 and goes to the even 1",
     Operation::kAdd,
     {kOne, kTwoToMinus64},
     Value(kOne)},
    {"(1 + 2^-63) + 2^-64 is halfway and goes up to the even 1 + 2^-62",
     Operation::kAdd,
     {{0x3FFF, kTop | 1}, kTwoToMinus64},
     Value({0x3FFF, kTop | 2})},
    {"1 - 2^-65 is halfway between 1 - 2^-64 (odd) and 1",
     Operation::kSubtract,
     {kOne, {0x3FFF - 65, kTop}},
     Value(kOne)},
    {"(2^32 + 1)^2 = 2^64 + 2^33 + 1 goes down to the even 2^64 + 2^33",
     Operation::kMultiply,
     {{0x3FFF + 32, kTop | (kTop >> 32)}, {0x3FFF + 32, kTop | (kTop >> 32)}},
     Value({0x3FFF + 64, 0x8000'0001'0000'0000})},
    {"(2^32 + 1)(2^32 + 3) = 2^64 + 2^34 + 3 goes up to the even 2^64 + 2^34 + 4",
     Operation::kMultiply,
     {{0x3FFF + 32, kTop | (kTop >> 32)}, {0x3FFF + 32, kTop | (kTop >> 31) | (kTop >> 32)}},
     Value({0x3FFF + 64, 0x8000'0002'0000'0002})},
    {"three smallest subnormals times 1/2 is a tie on the subnormal grid, up to two",
     Operation::kMultiply,
     {{0, 3}, kHalf},
     Value({0, 2})},
    {"the smallest subnormal times 1/2 is a tie between it and zero: zero",
     Operation::kMultiply,
     {kSmallestSubnormal, kHalf},
     Value(kZero)},
    {"the negative smallest subnormal halved keeps its sign as -0",
     Operation::kDivide,
     {{0x8000, 1}, kTwo},
     Value(kMinusZero)},
    {"three smallest subnormals over 2 rounds to two",
     Operation::kDivide,
     {{0, 3}, kTwo},
     Value({0, 2})},
    {"the largest subnormal plus the smallest is the smallest normal",
     Operation::kAdd,
     {{0, kOnes >> 1}, kSmallestSubnormal},
     Value({1, kTop})},
    {"the largest value plus half its last place is a tie that rounds past the range",
     Operation::kAdd,
     {kLargest, {0x7FFE - 64, kTop}},
     Raises(Fault::kOverflow)},
    {"the largest value plus a quarter of its last place stays",
     Operation::kAdd,
     {kLargest, {0x7FFE - 65, kTop}},
     Value(kLargest)},
    {"the largest value doubled overflows",
     Operation::kMultiply,
     {kLargest, kTwo},
     Raises(Fault::kOverflow)},
    {"the largest value over 1/2 overflows",
     Operation::kDivide,
     {kLargest, kHalf},
     Raises(Fault::kOverflow)},
    {"infinity minus infinity is invalid",
     Operation::kSubtract,
     {kInfinity, kInfinity},
     Raises(Fault::kInvalidOp)},
    {"zero times infinity is invalid",
     Operation::kMultiply,
     {kZero, kInfinity},
     Raises(Fault::kInvalidOp)},
    {"zero over zero is invalid",
     Operation::kDivide,
     {kMinusZero, kZero},
     Raises(Fault::kInvalidOp)},
    {"infinity over infinity is invalid",
     Operation::kDivide,
     {kInfinity, kInfinity},
     Raises(Fault::kInvalidOp)},
    {"one over zero divides by zero",
     Operation::kDivide,
     {kOne, kZero},
     Raises(Fault::kZeroDivide)},
    {"infinity over zero is an infinity, no fault",
     Operation::kDivide,
     {kInfinity, kMinusZero},
     Value({0xFFFF, kTop})},
    {"a NaN operand passes through arithmetic silently",
     Operation::kMultiply,
     {kOne, kMinusNaN},
     Value(kMinusNaN)},
    {"of two NaNs the larger significand wins",
     Operation::kAdd,
     {{0x7FFF, kQuiet | 1}, {0xFFFF, kQuiet | 2}},
     Value({0xFFFF, kQuiet | 2})},
    {"of two NaNs with one significand the positive one wins",
     Operation::kAdd,
     {kMinusNaN, kNaN},
     Value(kNaN)},
    {"== is a signalling comparison: a NaN is invalid",
     Operation::kEqual,
     {kNaN, kNaN},
     Raises(Fault::kInvalidOp)},
    {"< with a NaN is invalid", Operation::kLess, {kOne, kMinusNaN}, Raises(Fault::kInvalidOp)},
    {"+0 and -0 are equal", Operation::kEqual, {kZero, kMinusZero}, Truth(true)},
    {"-0 is not below +0", Operation::kLess, {kMinusZero, kZero}, Truth(false)},
    {"x - x is +0",
     Operation::kSubtract,
     {{0x8000 | 0x3FFF, kOnes}, {0x8000 | 0x3FFF, kOnes}},
     Value(kZero)},
    {"-0 + -0 is -0", Operation::kAdd, {kMinusZero, kMinusZero}, Value(kMinusZero)},
    {"1 + 2^-53 narrows to the even double 1",
     Operation::kToDouble,
     {{0x3FFF, kTop | 0x400}, {}},
     DoubleBits(0x3FF0'0000'0000'0000)},
    {"1 + 2^-52 + 2^-53 narrows up to 1 + 2^-51",
     Operation::kToDouble,
     {{0x3FFF, kTop | 0xC00}, {}},
     DoubleBits(0x3FF0'0000'0000'0002)},
    {"2^-1075 narrows to the even double zero",
     Operation::kToDouble,
     {{0x3FFF - 1075, kTop}, {}},
     DoubleBits(0)},
    {"3 * 2^-1076 narrows to the smallest subnormal double",
     Operation::kToDouble,
     {{0x3FFF - 1075, 0xC000'0000'0000'0000}, {}},
     DoubleBits(1)},
    {"the largest extended narrows to infinity without a fault",
     Operation::kToDouble,
     {kLargest, {}},
     DoubleBits(0x7FF0'0000'0000'0000)},
    {"2.5 rounds to the even integer 2",
     Operation::kRoundToInteger,
     {{0x4000, 0xA000'0000'0000'0000}, {}},
     Value(kTwo)},
    {"3.5 rounds to the even integer 4",
     Operation::kRoundToInteger,
     {{0x4000, 0xE000'0000'0000'0000}, {}},
     Value({0x4001, kTop})},
    {"-1/2 rounds to -0",
     Operation::kRoundToInteger,
     {{0x8000 | 0x3FFE, kTop}, {}},
     Value(kMinusZero)},
    {"the smallest subnormal double widens to 2^-1074, a normal extended",
     Operation::kFromDouble,
     {{0, 1}, {}},
     Value({0x3FFF - 1074, kTop})},
    {"2^64 - 1 converts exactly",
     Operation::kFromUInt64,
     {{0, kOnes}, {}},
     Value({0x3FFF + 63, kOnes})},
    {"negation flips the sign of a NaN and raises nothing",
     Operation::kNegate,
     {kNaN, {}},
     Value(kMinusNaN)},
};

TEST(ExtendedWorkedCases, RoundOnceToNearestEvenAndFaultOnlyWhereTheX87Does) {
  for (const WorkedCase& c : kCases) {
    SCOPED_TRACE(c.why);
    const Outcome actual = RunExtended(c.op, c.in);
    EXPECT_TRUE(SameOutcome(c.expected, actual))
        << Describe(c.op, c.in) << ": expected " << Describe(c.expected) << ", Extended gives "
        << Describe(actual);
#ifdef NORMCALC_HAVE_X87
    const Outcome x87 = RunX87(c.op, c.in);
    EXPECT_TRUE(SameOutcome(c.expected, x87))
        << "the row itself is wrong: the x87 gives " << Describe(x87);
#endif
  }
}

}  // namespace
}  // namespace normcalc::testing
