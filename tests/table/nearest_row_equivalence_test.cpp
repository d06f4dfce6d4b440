// The lookup finds its row by shortcuts (a row index, a search for the last
// key not above the value, weighing only the rows next to it), and XToP and
// PToX decide most results in double-double arithmetic rather than by the
// Extended steps. These tests hold them to the plain halving recursion and
// the Extended steps, written out again from the rule (reference_lookup.h),
// over every key of the normal table, its neighbouring doubles, the
// midpoints between keys and millions of random values, and the general
// search over small tables built so that distances tie after rounding.
//
// NORMCALC_LOOKUP_VALUES sets the number of random values per column (the
// default is 2000000); NORMCALC_LOOKUP_VALUES=50000000 is the long run of
// 10^8 values.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <span>
#include <vector>

#include "normal_table_lookup.h"
#include "normcalc/core.h"
#include "reference_lookup.h"

namespace {

using normcalc::Extended;
using normcalc::NormalTable;
using normcalc::TableRow;
using normcalc::reference::ReferenceInterpolate;
using normcalc::reference::ReferenceNearest;

constexpr unsigned kSeed = 20240614;
constexpr std::uint64_t kDefaultRandomValuesPerColumn = 2'000'000;

std::uint64_t RandomValuesPerColumn() {
  const char* text = std::getenv("NORMCALC_LOOKUP_VALUES");
  if (text == nullptr || *text == '\0') return kDefaultRandomValuesPerColumn;
  return std::strtoull(text, nullptr, 0);
}

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

double Lookup(int column, double value) {
  return column == 1 ? normcalc::XToP(value) : normcalc::PToX(value);
}

// Checks the row and the full results for one value: XToP or PToX, their
// version without fused multiply-adds, and the general lookup on the same
// table. Returns whether all agree with the reference.
bool AgreesOnNormalTable(int column, double value) {
  const int row = normcalc::TableNearestRow(value, NormalTable, column);
  const int expectedRow = ReferenceNearest(NormalTable, column, value);
  EXPECT_EQ(row, expectedRow) << "column " << column << " value " << value;
  const double expected = ReferenceInterpolate(NormalTable, column, value);
  const double results[] = {Lookup(column, value),
                            normcalc::detail::NormalTableLookupWithoutFma(value, column),
                            normcalc::TableInterpolate(value, NormalTable, column)};
  bool agree = row == expectedRow;
  for (const double result : results) {
    EXPECT_EQ(Bits(result), Bits(expected))
        << "column " << column << " value " << value << std::hexfloat << " (" << value << ")";
    agree = agree && Bits(result) == Bits(expected);
  }
  return agree;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NearestRowShortcuts, AgreeWithTheHalvingRecursionAtEveryKeyItsNeighboursAndMidpoints) {
  for (int column = 1; column <= 2; ++column) {
    const auto c = static_cast<std::size_t>(column - 1);
    for (std::size_t i = 0; i < NormalTable.size(); ++i) {
      const double key = NormalTable[i][c];
      const double values[] = {key, std::nextafter(key, -kInf), std::nextafter(key, kInf)};
      for (const double v : values) ASSERT_TRUE(AgreesOnNormalTable(column, v));
      if (i + 1 < NormalTable.size()) {
        // The double nearest the midpoint and both its neighbours: one of
        // them is as near to either key as rounding allows.
        const double middle = key + (NormalTable[i + 1][c] - key) / 2;
        const double nearMiddle[] = {middle, std::nextafter(middle, -kInf),
                                     std::nextafter(middle, kInf)};
        for (const double v : nearMiddle) ASSERT_TRUE(AgreesOnNormalTable(column, v));
      }
    }
  }
}

TEST(NearestRowShortcuts, AgreeWithTheHalvingRecursionOnRandomValues) {
  std::mt19937_64 engine(kSeed);
  for (int column = 1; column <= 2; ++column) {
    const double last = NormalTable.back()[static_cast<std::size_t>(column - 1)];
    // Values spread over the table and a little beyond, and values with
    // random bit patterns between 0 and the last key, which reach the tiny
    // values and every interval of the row index.
    std::uniform_real_distribution<double> spread(-0.01, last * 1.01);
    std::uniform_int_distribution<std::uint64_t> pattern(0, Bits(last));
    const std::uint64_t count = RandomValuesPerColumn();
    for (std::uint64_t i = 0; i < count; ++i) {
      const double v = i % 2 == 0 ? spread(engine) : std::bit_cast<double>(pattern(engine));
      ASSERT_TRUE(AgreesOnNormalTable(column, v));
    }
  }
}

// How often XToP and PToX need the Extended steps: only where the
// double-double value lies within the steps' rounding error of a midpoint
// between doubles, a few calls in a thousand. Where double arithmetic carries
// excess precision (x87) the double-double path is off and every call takes
// the Extended steps.
TEST(NearestRowShortcuts, DoubleDoubleDecidesAlmostEveryInterpolation) {
  using normcalc::detail::LookupPath;
  std::mt19937_64 engine(kSeed + 2);
  for (int column = 1; column <= 2; ++column) {
    const double last = NormalTable.back()[static_cast<std::size_t>(column - 1)];
    std::uniform_real_distribution<double> uniform(0.0, last);
    constexpr int kValues = 200'000;
    int extendedSteps = 0;
    for (int i = 0; i < kValues; ++i) {
      const LookupPath path = normcalc::detail::NormalTableLookupPath(uniform(engine), column);
      if (path == LookupPath::kExtendedChain) ++extendedSteps;
    }
    std::printf("column %d: the Extended steps ran for %d of %d uniform values\n", column,
                extendedSteps, kValues);
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
    EXPECT_GT(extendedSteps, 0);  // the fallback is reached at all
    EXPECT_LT(extendedSteps, kValues / 100);
#endif
  }
}

TEST(NearestRowShortcuts, AgreeWithTheHalvingRecursionAtTheEdges) {
  const double values[] = {0.0, -0.0, -1e-300, 4.9e-324, 1e-300, 0x1p-8, 4.0, 1e300, kInf, -kInf};
  for (int column = 1; column <= 2; ++column) {
    for (const double v : values) ASSERT_TRUE(AgreesOnNormalTable(column, v));
  }
}

// Small tables whose keys are spread over many orders of magnitude: a value
// far above two close keys is as far from one as from the other once the
// distances are rounded, which is where the recursion's tie rule reaches past
// the two rows next to the value.
TEST(NearestRowShortcuts, AgreeWithTheHalvingRecursionWhereRoundedDistancesTie) {
  std::mt19937_64 engine(kSeed + 1);
  std::uniform_int_distribution<int> rowCount(1, 12);
  std::uniform_int_distribution<int> stepExponent(-60, 200);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int ties = 0;
  for (int t = 0; t < 20000; ++t) {
    // Keys strictly rising, as a table's must. They are compared only once
    // stored, sorted and made unique: where double arithmetic carries excess
    // precision (the x87 unit), a sum compared before it is stored can look
    // larger than a key it then equals.
    std::vector<double> keys(static_cast<std::size_t>(rowCount(engine)));
    double key = -std::ldexp(unit(engine), stepExponent(engine));
    for (double& k : keys) {
      k = key;
      // Sometimes the very next double, sometimes a leap of many binades.
      key = unit(engine) < 0.3 ? std::nextafter(key, kInf)
                               : key + std::ldexp(1.0 + unit(engine), stepExponent(engine));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<TableRow> table;
    for (const double k : keys) table.push_back({k, static_cast<double>(table.size())});
    const double lowest = table.front()[0];
    const double highest = table.back()[0];
    for (int v = 0; v < 20; ++v) {
      const double value = lowest + (highest - lowest) * unit(engine);
      const int reference = ReferenceNearest(table, 1, value);
      ASSERT_EQ(normcalc::TableNearestRow(value, table, 1), reference)
          << "value " << value << " in a table of " << table.size() << " rows";
      int lastNotAbove = 1;
      while (lastNotAbove < static_cast<int>(table.size()) &&
             table[static_cast<std::size_t>(lastNotAbove)][0] <= value) {
        ++lastNotAbove;
      }
      // An answer below the last key not above the value is a tie that
      // reached past the two rows next to it.
      if (reference < lastNotAbove) ++ties;
    }
  }
  // The tables must have met the case they are built for.
  EXPECT_GT(ties, 0);
}

}  // namespace
