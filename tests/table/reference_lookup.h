// The lookup exactly as its rule states it, written out plainly: the halving
// recursion for the nearest row, the clamps, then the interpolation's
// Extended steps in their order. The lookup's shortcuts are held to it by
// tests/table and by the lookup_equivalence fuzz target.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>

#include "normcalc/core.h"

namespace normcalc::reference {

// |key(row) - value|, the difference formed in Extended and rounded to double.
inline double Distance(std::span<const TableRow> table, int column, int row, double value) {
  const double key = table[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
  return std::fabs((Extended::FromDouble(key) - Extended::FromDouble(value)).ToDouble());
}

// The halving recursion exactly as the rule states it, on rows first ...
// first + n - 1, answering an absolute row number.
inline int ReferenceNearest(std::span<const TableRow> table, int column, double value, int first,
                            int n) {
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

inline int ReferenceNearest(std::span<const TableRow> table, int column, double value) {
  return ReferenceNearest(table, column, value, 1, static_cast<int>(table.size()));
}

// The interpolation of the rule on the reference row: clamps, d, then the
// Extended steps in their order.
inline double ReferenceInterpolate(std::span<const TableRow> table, int column, double value) {
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

}  // namespace normcalc::reference
