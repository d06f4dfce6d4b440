// Extended against the x87 unit, bit for bit and fault for fault, and against
// Boost.Multiprecision where that is a faithful model. Hand-picked operands
// first, then a seeded random set: NORMCALC_DIFF_OPS sets how many operations
// of each kind (default one million), NORMCALC_DIFF_SEED the seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "boost_oracle.h"
#include "extended_case.h"
#include "operand_source.h"
#include "x87_oracle.h"

namespace normcalc::testing {
namespace {

#ifndef NORMCALC_DIFF_DEFAULT_OPS
#define NORMCALC_DIFF_DEFAULT_OPS 1'000'000
#endif
constexpr std::uint64_t kDefaultOperationsPerKind = NORMCALC_DIFF_DEFAULT_OPS;
constexpr std::uint64_t kDefaultSeed = 0x6E6F726D63616C63;  // "normcalc"
// With an x87 unit, Boost checks one random operation in this many (and the
// x87 unit along with it); without one, Boost checks every operation it can.
constexpr std::uint64_t kBoostStrideBesideX87 = 8;
constexpr std::size_t kMismatchesShown = 20;

std::uint64_t EnvironmentNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  return std::strtoull(text, nullptr, 0);
}

struct Tally {
  std::uint64_t operations = 0;
  std::uint64_t checkedByX87 = 0;
  std::uint64_t checkedByBoost = 0;
  std::uint64_t mismatches = 0;
  std::vector<std::string> shown;

  void Mismatch(const std::string& what) {
    ++mismatches;
    if (shown.size() < kMismatchesShown) shown.push_back(what);
  }
};

void Check(Operation op, const Operands& in, bool withBoost, Tally& tally) {
  const Outcome actual = RunExtended(op, in);
  ++tally.operations;
  std::optional<Outcome> x87;
#ifdef NORMCALC_HAVE_X87
  x87 = RunX87(op, in);
  ++tally.checkedByX87;
  if (!SameOutcome(*x87, actual)) {
    tally.Mismatch(Describe(op, in) + ": x87 gives " + Describe(*x87) + ", Extended " +
                   Describe(actual));
  }
#endif
  if (!withBoost) return;
  const std::optional<Outcome> boost = RunBoost(op, in);
  if (!boost) return;
  ++tally.checkedByBoost;
  if (!SameOutcome(*boost, actual)) {
    tally.Mismatch(Describe(op, in) + ": Boost gives " + Describe(*boost) + ", Extended " +
                   Describe(actual));
  }
  if (x87 && !SameOutcome(*x87, *boost)) {
    tally.Mismatch(Describe(op, in) + ": the oracles disagree, x87 " + Describe(*x87) + ", Boost " +
                   Describe(*boost));
  }
}

void Report(Operation op, const char* set, const Tally& tally) {
  std::printf("%s %s: %llu operations, %llu checked by x87, %llu by Boost, %llu mismatches\n", set,
              std::string(OperationName(op)).c_str(),
              static_cast<unsigned long long>(tally.operations),
              static_cast<unsigned long long>(tally.checkedByX87),
              static_cast<unsigned long long>(tally.checkedByBoost),
              static_cast<unsigned long long>(tally.mismatches));
  for (const std::string& line : tally.shown) ADD_FAILURE() << line;
  EXPECT_EQ(tally.mismatches, 0u);
  // Every operation must have met at least one oracle, or nothing was proved.
  EXPECT_GT(tally.checkedByX87 + tally.checkedByBoost, 0u);
}

std::string TestName(const ::testing::TestParamInfo<Operation>& info) {
  static constexpr const char* kNames[] = {
      "Add",        "Subtract",   "Multiply",     "Divide",         "Less",
      "Greater",    "LessEqual",  "GreaterEqual", "Equal",          "NotEqual",
      "FromDouble", "FromUInt64", "ToDouble",     "RoundToInteger", "Negate"};
  return kNames[static_cast<int>(info.param)];
}

class ExtendedMatchesOracles : public ::testing::TestWithParam<Operation> {};

TEST_P(ExtendedMatchesOracles, OnHandPickedOperands) {
  const Operation op = GetParam();
  Tally tally;
  switch (ArityOf(op)) {
    case Arity::kBinary: {
      const std::vector<Bits> values = HandPickedExtendedValues();
      for (const Bits& a : values) {
        for (const Bits& b : values) Check(op, {a, b}, true, tally);
      }
      break;
    }
    case Arity::kUnary:
      for (const Bits& a : HandPickedExtendedValues()) Check(op, {a, {}}, true, tally);
      break;
    case Arity::kDouble:
      for (std::uint64_t d : HandPickedDoubleBits()) Check(op, {{0, d}, {}}, true, tally);
      break;
    case Arity::kUInt64:
      for (std::uint64_t n : HandPickedIntegers()) Check(op, {{0, n}, {}}, true, tally);
      break;
  }
  Report(op, "hand-picked", tally);
}

TEST_P(ExtendedMatchesOracles, OnRandomOperands) {
  const Operation op = GetParam();
  const std::uint64_t count = EnvironmentNumber("NORMCALC_DIFF_OPS", kDefaultOperationsPerKind);
  const std::uint64_t seed = EnvironmentNumber("NORMCALC_DIFF_SEED", kDefaultSeed);
  // Each kind of operation draws from its own stream, so a failure replays alone.
  OperandSource source(seed + static_cast<std::uint64_t>(op));
  const std::uint64_t boostStride = kHaveX87 ? kBoostStrideBesideX87 : 1;
  Tally tally;
  for (std::uint64_t i = 0; i < count; ++i) {
    Check(op, source.Next(op), i % boostStride == 0, tally);
  }
  Report(op, "random", tally);
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, ExtendedMatchesOracles,
                         ::testing::ValuesIn(kAllOperations), TestName);

#ifdef NORMCALC_HAVE_X87
TEST(X87Oracle, RunsWithA64BitSignificandAndRoundToNearest) {
  constexpr unsigned kPrecisionControl = 0x300;  // bits 8-9: 11 is the 64-bit significand
  constexpr unsigned kRoundingControl = 0xC00;   // bits 10-11: 00 is to nearest, ties to even
  const unsigned word = X87ControlWord();
  EXPECT_EQ(word & kPrecisionControl, kPrecisionControl);
  EXPECT_EQ(word & kRoundingControl, 0u);
}
#endif

}  // namespace
}  // namespace normcalc::testing
