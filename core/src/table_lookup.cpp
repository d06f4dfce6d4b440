#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "normcalc/core.h"

namespace normcalc {

namespace {

// One column of a table. Column numbers are 1 (X) and 2 (P); the other column
// holds the values that a lookup on this one returns. Rows are 1-based, as in
// the lookup's own terms.
struct Column {
  std::span<const TableRow> rows;
  std::size_t index;

  double operator()(std::size_t r) const { return rows[r - 1][index]; }
  Extended At(std::size_t r) const { return Extended::FromDouble(rows[r - 1][index]); }
};

Column KeyColumn(std::span<const TableRow> table, int keyColumn) {
  return {table, static_cast<std::size_t>(keyColumn - 1)};
}

Column ValueColumn(std::span<const TableRow> table, int keyColumn) {
  return {table, static_cast<std::size_t>(2 - keyColumn)};
}

// The last row of first ... last whose key is not above the value, given
// key(first) <= value: a halving search written so that the choice of half
// can be a conditional move rather than an unpredictable branch. The
// candidates are rows low ... low + count - 1, and key(low) <= value.
std::size_t FindLastRowNotAbove(const Column& key, double value, std::size_t first,
                                std::size_t last) {
  std::size_t low = first;
  std::size_t count = last - first + 1;
  while (count > 1) {
    const std::size_t half = count / 2;
    low = key(low + half) <= value ? low + half : low;
    count -= half;
  }
  return low;
}

// The halving search for the row whose key is nearest to a value that is not
// a NaN, on rows 1 ... n:
//   - one row: that row;
//   - two rows: the second when its distance is strictly the smaller, else the
//     first (ties go to the lower row);
//   - more: with h the row n div 2, the search goes on in rows 1 ... h when
//     key(h) > value, answers h when key(h) = value, and otherwise goes on in
//     rows h + 1 ... n; when that upper part answers with its own first row,
//     h + 1, row h is weighed against it and kept on a tie.
// About twelve levels for the normal table.
//
// The value is compared with keys as doubles: both are exact in Extended, so
// for anything but a NaN the ordered comparison gives the same answer in
// either format, and the callers turn a NaN away first.
//
// A distance is key - value formed in Extended and rounded to double, then
// made absolute. The interpolation needs the same difference for the row the
// search returns, so the differences formed are kept for it.
class NearestRowSearch {
 public:
  NearestRowSearch(const Column& key, double value)
      : key_(key), value_(value), extendedValue_(Extended::FromDouble(value)) {}

  std::size_t Run(std::size_t n) {
    if (n >= 2 && std::isfinite(value_) && key_(1) <= value_ && value_ <= key_(n)) {
      return NearestWithinKeys(n);
    }
    return Nearest(1, n);
  }

  // key(r) - value formed in Extended and rounded to double. The search and
  // the interpolation after it ask only for rows next to one another, so a
  // few slots tagged by row spare forming a difference twice.
  double RoundedDifference(std::size_t r) {
    Memo& memo = memo_[r % kMemoSize];
    if (memo.row != r) memo = {r, (key_.At(r) - extendedValue_).ToDouble()};
    return memo.difference;
  }

 private:
  static constexpr std::size_t kMemoSize = 4;
  struct Memo {
    std::size_t row = 0;  // none yet: rows start at 1
    double difference = 0;
  };

  // Whether row r + 1 is strictly nearer than row r, in rounded distance.
  // Rounding is monotonic and symmetric about zero, so it keeps the order of
  // the exact distances or makes them equal; a value below key(r) is nearer
  // to it than to key(r + 1) exactly, and so not farther after rounding. That
  // case needs neither difference (nor could either raise: both keys are
  // finite, the value finite or -infinity). The absolute values are exact, so taking them
  // on the rounded doubles is the same as taking them before rounding.
  bool UpperIsNearer(std::size_t r) {
    if (value_ < key_(r)) return false;
    return std::fabs(RoundedDifference(r)) > std::fabs(RoundedDifference(r + 1));
  }

  // The same row as Nearest(1, n), for a finite value with key(1) <= value
  // <= key(n), found without walking the halving tree.
  //
  // Let j be the last row with key(j) <= value. If key(j) = value, the
  // halving search answers j: it either meets j as a split point, or weighs j
  // against a neighbour whose rounded distance is not zero (the difference of
  // two distinct doubles never rounds to zero) and keeps j.
  //
  // Otherwise key(j) < value < key(j + 1). Every comparison on the search's
  // way down is then settled by j alone, and the tree always contains a node
  // that splits at h = j: the part that starts at row j + 1 is an upper part.
  // There, or in a two-row part {j, j + 1}, the search weighs j against
  // j + 1 and answers j + 1 exactly when it is strictly nearer. Rows further
  // off can enter only on the way back up: an answer j meets, at the node
  // splitting at j - 1 if there is one, the weighing of j - 1 against j,
  // which goes to j - 1 on a tie in rounded distance. That tie needs the
  // distances from value to two keys a row apart to round alike, so it is
  // rare (never, for the normal table); when it cannot be ruled out here, the
  // halving search itself decides. An answer j + 1 meets no other weighing:
  // a split at j + 1 would lie above the value.
  std::size_t NearestWithinKeys(std::size_t n) {
    const std::size_t j = LastRowNotAbove(n);
    if (key_(j) == value_) return j;
    const double below = std::fabs(RoundedDifference(j));
    if (below > std::fabs(RoundedDifference(j + 1))) return j + 1;
    if (j == 1 || std::fabs(RoundedDifference(j - 1)) > below) return j;
    return Nearest(1, n);
  }

  // The last row whose key is not above the value, for key(1) <= value.
  std::size_t LastRowNotAbove(std::size_t n) const {
    return FindLastRowNotAbove(key_, value_, 1, n);
  }

  // Rows first ... first + n - 1.
  std::size_t Nearest(std::size_t first, std::size_t n) {
    if (n == 1) return first;
    if (n == 2) return UpperIsNearer(first) ? first + 1 : first;
    const std::size_t h = first + n / 2 - 1;  // row n div 2 of the part
    const double middle = key_(h);
    if (middle > value_) return Nearest(first, h - first + 1);
    if (middle == value_) return h;
    const std::size_t k = Nearest(h + 1, first + n - 1 - h);
    if (k == h + 1 && !UpperIsNearer(h)) return h;
    return k;
  }

  Column key_;
  double value_;
  Extended extendedValue_;
  Memo memo_[kMemoSize];
};

}  // namespace

// A NaN raises at its first comparison with a key. With two rows or more that
// comparison is in the search; with one row the search compares nothing.
int TableNearestRow(double value, std::span<const TableRow> table, int keyColumn) {
  if (table.size() >= 2 && std::isnan(value)) throw EInvalidOp();
  NearestRowSearch search(KeyColumn(table, keyColumn), value);
  return static_cast<int>(search.Run(table.size()));
}

namespace {

double Interpolate(double value, std::span<const TableRow> table, int keyColumn) {
  // The first comparison of a NaN with a key, in the search or else in the
  // lower clamp, raises.
  if (std::isnan(value)) throw EInvalidOp();
  const Column key = KeyColumn(table, keyColumn);
  const Column val = ValueColumn(table, keyColumn);
  const std::size_t n = table.size();

  // The clamps come before the search, whose row they would ignore. A value
  // they take is below key(1) or above key(n), so the search would form no
  // difference inf - inf (an infinite value is never equal to a key there)
  // and raise nothing: leaving it out changes no result.
  // "Not >= key(1)" as the rule has it: -0 passes and reaches row 1 exactly.
  if (!(value >= key(1))) return val(1);
  if (value > key(n)) return val(n);
  NearestRowSearch search(key, value);
  const std::size_t k = search.Run(n);

  const double d = search.RoundedDifference(k);
  if (d == 0) return val(k);

  // Interpolate towards the neighbour on the side of the value, anchored at
  // row k. Every step is Extended in this order, the product before the
  // division: d times a precomputed slope would round differently. The clamps
  // above keep k - 1 and k + 1 inside the table.
  const std::size_t low = d > 0 ? k - 1 : k;
  const std::size_t high = low + 1;
  const Extended product = Extended::FromDouble(d) * (val.At(high) - val.At(low));
  const Extended quotient = product / (key.At(high) - key.At(low));
  return (val.At(k) - quotient).ToDouble();
}

}  // namespace

// Any table, by the halving search itself. XToP and PToX, on the one table
// they know, take the shortcuts in normal_table_lookup.cpp, which give the
// same results.
double TableInterpolate(double value, std::span<const TableRow> table, int keyColumn) {
  return Interpolate(value, table, keyColumn);
}

}  // namespace normcalc
