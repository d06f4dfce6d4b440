#include <cstddef>

#include "normcalc/core.h"

namespace normcalc {

namespace {

// One column of a table, read as Extended. Column numbers are 1 (X) and 2 (P);
// the other column holds the values that a lookup on this one returns.
struct Column {
  std::span<const TableRow> rows;
  std::size_t index;

  // Row r is 1-based, as in the lookup's own terms.
  double operator()(std::size_t r) const { return rows[r - 1][index]; }
  Extended At(std::size_t r) const { return Extended::FromDouble(rows[r - 1][index]); }
};

Column KeyColumn(std::span<const TableRow> table, int keyColumn) {
  return {table, static_cast<std::size_t>(keyColumn - 1)};
}

Column ValueColumn(std::span<const TableRow> table, int keyColumn) {
  return {table, static_cast<std::size_t>(2 - keyColumn)};
}

// key(r) - value, formed in Extended and rounded to double, as both the search
// and the interpolation use it.
double RoundedDifference(const Column& key, std::size_t r, Extended value) {
  return (key.At(r) - value).ToDouble();
}

// The distance of the search: the rounded difference, then made absolute.
// Kept as Extended so that comparing two of them signals on a NaN just as a
// comparison of the value with a key does.
Extended Distance(const Column& key, std::size_t r, Extended value) {
  return Extended::FromDouble(RoundedDifference(key, r, value)).Abs();
}

// The halving search over rows first ... first + n - 1. Ties go to the lower
// row; when the upper half's answer is its own first row, that row is weighed
// once more against the last row of the lower half. The depth is about log2 n,
// twelve levels for the normal table.
std::size_t NearestRow(const Column& key, Extended value, std::size_t first, std::size_t n) {
  if (n == 1) return first;
  if (n == 2)
    return Distance(key, first, value) > Distance(key, first + 1, value) ? first + 1 : first;
  const std::size_t h = first + n / 2 - 1;  // row n div 2 of the part
  const Extended middle = key.At(h);
  if (middle > value) return NearestRow(key, value, first, h - first + 1);
  if (middle == value) return h;
  const std::size_t k = NearestRow(key, value, h + 1, first + n - 1 - h);
  if (k == h + 1 && Distance(key, h, value) <= Distance(key, h + 1, value)) return h;
  return k;
}

}  // namespace

int TableNearestRow(double value, std::span<const TableRow> table, int keyColumn) {
  const auto row =
      NearestRow(KeyColumn(table, keyColumn), Extended::FromDouble(value), 1, table.size());
  return static_cast<int>(row);
}

double TableInterpolate(double value, std::span<const TableRow> table, int keyColumn) {
  const Column key = KeyColumn(table, keyColumn);
  const Column val = ValueColumn(table, keyColumn);
  const std::size_t n = table.size();
  const Extended x = Extended::FromDouble(value);

  // The search comes first: on a NaN its first comparison raises EInvalidOp.
  const std::size_t k = NearestRow(key, x, 1, n);
  // "Not >= key(1)" rather than "< key(1)": -0 passes, and so reaches row 1 exactly.
  if (!(x >= key.At(1))) return val(1);
  if (x > key.At(n)) return val(n);

  const double d = RoundedDifference(key, k, x);
  if (d == 0) return val(k);

  // Interpolate towards the neighbour on the side of the value, anchored at
  // row k. Every step is Extended in this order, the product before the
  // division: d times a precomputed slope would round differently. The clamps
  // above keep k - 1 and k + 1 inside the table.
  const Extended dist = Extended::FromDouble(d);
  const std::size_t low = d > 0 ? k - 1 : k;
  const std::size_t high = low + 1;
  const Extended product = dist * (val.At(high) - val.At(low));
  const Extended quotient = product / (key.At(high) - key.At(low));
  return (val.At(k) - quotient).ToDouble();
}

double XToP(double x) { return TableInterpolate(x, NormalTable, 1); }

double PToX(double p) { return TableInterpolate(p, NormalTable, 2); }

}  // namespace normcalc
