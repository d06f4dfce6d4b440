// The lookup finds its row by shortcuts (a row index, a search for the last
// key not above the value, weighing only the rows next to it). These tests
// hold it to the plain halving recursion, written out again here from the
// rule, over every key of the normal table, its neighbouring doubles, the
// midpoints between keys and millions of random values, and over small
// tables built so that distances tie after rounding.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <vector>

#include "normcalc/core.h"

namespace {

using normcalc::Extended;
using normcalc::NormalTable;
using normcalc::TableRow;

constexpr unsigned kSeed = 20240614;
constexpr int kRandomValuesPerColumn = 2'000'000;

// |key(row) - value|, the difference formed in Extended and rounded to double.
double Distance(std::span<const TableRow> table, int column, int row, double value) {
  const double key = table[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
  return std::fabs((Extended::FromDouble(key) - Extended::FromDouble(value)).ToDouble());
}

// The halving recursion exactly as the rule states it, on rows first ...
// first + n - 1, answering an absolute row number.
int ReferenceNearest(std::span<const TableRow> table, int column, double value, int first, int n) {
  auto key = [&](int row) {
    return table[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
  };
  if (n == 1) return first;
  if (n == 2) {
    return Distance(table, column, first, value) > Distance(table, column, first + 1, value)
               ? first + 1
               : first;
  }
  const int h = first + n / 2 - 1;
  if (key(h) > value) return ReferenceNearest(table, column, value, first, n / 2);
  if (key(h) == value) return h;
  const int k = ReferenceNearest(table, column, value, h + 1, first + n - 1 - h);
  if (k == h + 1 && Distance(table, column, h, value) <= Distance(table, column, h + 1, value)) {
    return h;
  }
  return k;
}

int ReferenceNearest(std::span<const TableRow> table, int column, double value) {
  return ReferenceNearest(table, column, value, 1, static_cast<int>(table.size()));
}

// The interpolation of the rule on the reference row: clamps, d, then the
// Extended steps in their order.
double ReferenceInterpolate(std::span<const TableRow> table, int column, double value) {
  const auto n = table.size();
  const auto kc = static_cast<std::size_t>(column - 1);
  const auto vc = static_cast<std::size_t>(2 - column);
  const auto k = static_cast<std::size_t>(ReferenceNearest(table, column, value));
  if (!(value >= table[0][kc])) return table[0][vc];
  if (value > table[n - 1][kc]) return table[n - 1][vc];
  const double d =
      (Extended::FromDouble(table[k - 1][kc]) - Extended::FromDouble(value)).ToDouble();
  if (d == 0) return table[k - 1][vc];
  const std::size_t low = d > 0 ? k - 1 : k;  // 1-based rows low and low + 1
  auto at = [&](std::size_t row, std::size_t c) { return Extended::FromDouble(table[row - 1][c]); };
  const Extended product = Extended::FromDouble(d) * (at(low + 1, vc) - at(low, vc));
  const Extended quotient = product / (at(low + 1, kc) - at(low, kc));
  return (at(k, vc) - quotient).ToDouble();
}

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

double Lookup(int column, double value) {
  return column == 1 ? normcalc::XToP(value) : normcalc::PToX(value);
}

// Checks the row and the full result for one value; returns whether both agree.
bool AgreesOnNormalTable(int column, double value) {
  const int row = normcalc::TableNearestRow(value, NormalTable, column);
  const int expectedRow = ReferenceNearest(NormalTable, column, value);
  EXPECT_EQ(row, expectedRow) << "column " << column << " value " << value;
  const double result = Lookup(column, value);
  const double expected = ReferenceInterpolate(NormalTable, column, value);
  EXPECT_EQ(Bits(result), Bits(expected)) << "column " << column << " value " << value;
  return row == expectedRow && Bits(result) == Bits(expected);
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
    for (int i = 0; i < kRandomValuesPerColumn; ++i) {
      const double v = i % 2 == 0 ? spread(engine) : std::bit_cast<double>(pattern(engine));
      ASSERT_TRUE(AgreesOnNormalTable(column, v));
    }
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
