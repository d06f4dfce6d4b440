// XToP and PToX: the general lookup (table_lookup.cpp) specialised to the one
// table they use, with the same results bit for bit and a fraction of the work.
//
// The search. A row index per column, built while compiling, maps a value to
// the last row whose key is not above the lower edge of the value's bucket;
// no bucket holds more than two keys, so the last row not above the value
// itself is that row or one of the next two, and two comparisons say which. With j that row and
// key(j) < value < key(j + 1), the halving search answers j or j + 1 (see NearestWithinKeys in
// table_lookup.cpp): j + 1 when its rounded distance is strictly the smaller, else j, unless the
// distances to j - 1 and j round alike, which the gaps of this table rule out (checked below). So
// the nearest row is settled by two subtractions.
//
// The interpolation, between rows j and j + 1 whichever is nearest, is
//   y = val(k) - d * (val(j + 1) - val(j)) / (key(j + 1) - key(j))
// in Extended: the product, the quotient and the subtraction each round to
// 64 significant bits, then y rounds to a double. Here it is evaluated in
// double-double arithmetic instead, whose error is far smaller than the
// Extended steps' own: the double nearest to the double-double value is the
// answer whenever that value lies farther from the midpoint between two
// doubles than both errors together, for then the Extended result rounds to
// the same double. Otherwise (about one call in three hundred) the Extended
// steps themselves run.
#include "normal_table_lookup.h"

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "normal_table_data.h"  // the definition of NormalTable: only this file includes it

namespace normcalc {

namespace {

using detail::LookupPath;

constexpr std::size_t kRows = NormalTable.size();
constexpr std::size_t kXColumn = 0;  // the index of a column within a row
constexpr std::size_t kPColumn = 1;

// The row index of one key column: for each bucket [b w, (b + 1) w) of the
// keys' range, with w = 2^-kShift, the 0-based number of the last row whose
// key is not above b w, but at most the last row but two, so that two rows
// above it always exist. 8162 buckets for X and 16384 for P: 48 KiB in all,
// beside the table's 64 KiB, so that the three stay in a small cache.
template <std::size_t kKey>
struct RowIndex {
  static constexpr int kShift = kKey == kXColumn ? 11 : 15;
  static constexpr double kScale = static_cast<double>(std::uint32_t{1} << kShift);
  static constexpr std::size_t kBuckets =
      static_cast<std::size_t>(NormalTable[kRows - 1][kKey] * kScale) + 1;
  std::array<std::uint16_t, kBuckets> rows{};
};

template <std::size_t kKey>
constexpr RowIndex<kKey> MakeRowIndex() {
  RowIndex<kKey> index;
  std::size_t row = 0;
  for (std::size_t b = 0; b < index.kBuckets; ++b) {
    const double edge = static_cast<double>(b) / index.kScale;  // exact
    while (row + 1 < kRows && NormalTable[row + 1][kKey] <= edge) ++row;
    index.rows[b] = static_cast<std::uint16_t>(row < kRows - 3 ? row : kRows - 3);
  }
  return index;
}

constexpr RowIndex<kXColumn> kXIndex = MakeRowIndex<kXColumn>();
constexpr RowIndex<kPColumn> kPIndex = MakeRowIndex<kPColumn>();

// No bucket holds three keys (the smallest gap between keys is wider than
// half a bucket): then for a value in bucket b the last row not above it is
// rows[b], rows[b] + 1 or rows[b] + 2 (the clamped last buckets hold at most
// the last two keys).
template <std::size_t kKey>
constexpr bool AtMostTwoKeysPerBucket(const RowIndex<kKey>& index) {
  for (std::size_t b = 0; b < index.kBuckets; ++b) {
    const std::size_t row = index.rows[b];
    if (NormalTable[row][kKey] > static_cast<double>(b) / index.kScale) return false;
    const bool thirdAbove =
        row + 3 >= kRows || NormalTable[row + 3][kKey] >= static_cast<double>(b + 1) / index.kScale;
    if (!thirdAbove) return false;
  }
  return true;
}
static_assert(AtMostTwoKeysPerBucket(kXIndex));
static_assert(AtMostTwoKeysPerBucket(kPIndex));
static_assert(sizeof(NormalTable) + sizeof(kXIndex) + sizeof(kPIndex) < 256 * 1024);

// Every subtraction the search and the interpolation make in double is exact:
// the first key is 0, and from row 2 on each key is at most twice the one
// before, so any two numbers between adjacent keys are within a factor of two
// of each other (and x - y is exact for y / 2 <= x <= 2 y). The one exception,
// key(2) - value for a value below key(2) / 2, only ever loses to row 1's
// distance, which is exact, and rounding keeps that order.
//
// And the distances to rows j - 1 and j cannot round alike for a value
// between key(j) and key(j + 1): that would need the gap below key(j) to be
// within a few units of the last place of a distance smaller than both gaps
// around key(j), so the gap above would be about 2^50 times the gap below.
template <std::size_t kColumn>
constexpr bool SubtractionsExactAndGapsEven() {
  if (NormalTable[0][kColumn] != 0) return false;
  for (std::size_t r = 1; r + 1 < kRows; ++r) {
    const double key = NormalTable[r][kColumn];
    const double next = NormalTable[r + 1][kColumn];
    if (!(next <= 2 * key)) return false;
    if (!(next - key < 0x1p40 * (key - NormalTable[r - 1][kColumn]))) return false;
  }
  return true;
}
static_assert(SubtractionsExactAndGapsEven<kXColumn>());
static_assert(SubtractionsExactAndGapsEven<kPColumn>());

template <std::size_t kKey>
constexpr const RowIndex<kKey>& IndexOf() {
  if constexpr (kKey == kXColumn) {
    return kXIndex;
  } else {
    return kPIndex;
  }
}

// The double-double path needs every double operation rounded once to 53
// bits; x87 code carries excess precision between operations, and there only
// the Extended steps run. This file is compiled without contraction into
// fused multiply-adds, which would break the exact products below; fused
// multiply-adds are written out where the processor has them.
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
constexpr bool kDoubleDoubleArithmetic = true;
#else
constexpr bool kDoubleDoubleArithmetic = false;
#endif

// x86-64 processors differ: on ELF systems the lookups come in two versions,
// with and without fused multiply-adds, and the dynamic linker binds the one
// the processor runs before the program starts.
#if defined(__x86_64__) && defined(__ELF__) && !defined(__FMA__)
#define NORMCALC_LOOKUP_VERSIONS 1
#else
#define NORMCALC_LOOKUP_VERSIONS 0
#if defined(__FMA__) || defined(__ARM_FEATURE_FMA)
constexpr bool kFusedMultiplyAdd = true;
#else
constexpr bool kFusedMultiplyAdd = false;
#endif
#endif

struct DoubleDouble {
  double hi;
  double lo;
};

// a = hi + lo exactly, each half with 26 significant bits at most (Veltkamp).
[[gnu::always_inline]] inline DoubleDouble Split(double a) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  const double hi = c - (c - a);
  return {hi, a - hi};
}

// a b = hi + lo exactly, with hi = a b rounded (Dekker's product without a
// fused multiply-add); no overflow or underflow for the operands here.
template <bool kFma>
[[gnu::always_inline]] inline DoubleDouble ExactProduct(double a, double b) {
  const double p = a * b;
  if constexpr (kFma) {
    return {p, std::fma(a, b, -p)};
  } else {
    const DoubleDouble as = Split(a);
    const DoubleDouble bs = Split(b);
    return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
  }
}

// p - q b to within 2^-52 of itself, for q b within a factor of two of p
// (so that p minus the rounded product is exact).
template <bool kFma>
[[gnu::always_inline]] inline double Remainder(double p, double q, double b) {
  if constexpr (kFma) {
    return std::fma(-q, b, p);
  } else {
    const DoubleDouble back = ExactProduct<false>(q, b);
    return (p - back.hi) - back.lo;
  }
}

// The interpolation's own steps, for the values the double-double path leaves
// undecided. The differences of the keys and of the values are exact.
[[gnu::noinline]] double ExtendedSteps(double anchorValue, double d, double valueGap,
                                       double keyGap) {
  const Extended product = Extended::FromDouble(d) * Extended::FromDouble(valueGap);
  const Extended quotient = product / Extended::FromDouble(keyGap);
  return (Extended::FromDouble(anchorValue) - quotient).ToDouble();
}

struct Answer {
  double value;
  LookupPath path;
};

// Out of line: the throw stays out of the lookup's hot code, and clang does
// not emit the exception's inline members for a function built for another
// instruction set.
[[noreturn, gnu::noinline]] void RaiseInvalidOperation() { throw EInvalidOp(); }

template <std::size_t kKey, bool kFma>
[[gnu::always_inline]] inline Answer Lookup(double value) {
  constexpr std::size_t kValue = 1 - kKey;
  constexpr const auto& table = NormalTable;
  // One comparison of the bit pattern lets every value from +0 to the last
  // key pass: the patterns of non-negative doubles, infinity and NaNs
  // included, are in the order of their values, and those of negative ones
  // are above all of these.
  constexpr auto kLastKeyBits = std::bit_cast<std::uint64_t>(table[kRows - 1][kKey]);
  if (std::bit_cast<std::uint64_t>(value) > kLastKeyBits) {
    // A NaN fails its first comparison with a key, in the search or the clamp.
    if (std::isnan(value)) RaiseInvalidOperation();
    if (value > table[kRows - 1][kKey]) return {table[kRows - 1][kValue], LookupPath::kClamp};
    // Below the first key, or -0, which passes the clamp and equals that
    // key: row 1's value either way.
    return {table[0][kValue], value == 0 ? LookupPath::kKey : LookupPath::kClamp};
  }

  const RowIndex<kKey>& index = IndexOf<kKey>();
  // A signed conversion: the unsigned one checks for values past 2^63.
  const auto bucket = static_cast<std::int64_t>(value * index.kScale);
  const std::size_t row = index.rows[static_cast<std::size_t>(bucket)];
  const std::size_t j =
      row + (table[row + 1][kKey] <= value ? 1 : 0) + (table[row + 2][kKey] <= value ? 1 : 0);
  const double lowKey = table[j][kKey];
  if (lowKey == value) return {table[j][kValue], LookupPath::kKey};

  // Now key(j) < value < key(j + 1), so j + 1 is a row. The anchor row k
  // is chosen by index rather than by a branch, which random values would
  // mispredict half the time.
  const double highKey = table[j + 1][kKey];
  const bool upper = value - lowKey > highKey - value;  // a tie anchors at the lower row
  const std::size_t k = j + (upper ? 1 : 0);
  const double d = table[k][kKey] - value;
  const double anchor = table[k][kValue];
  const double valueGap = table[j + 1][kValue] - table[j][kValue];
  const double keyGap = highKey - lowKey;

  if constexpr (kDoubleDoubleArithmetic) {
    // q = d valueGap / keyGap as q1 + q2, relative error below 2^-100. The
    // reciprocal is formed while the product is; q1 is within a few units of
    // the quotient, so the remainder of p by it is accurate to 2^-52 of
    // itself, plenty for the correction q2.
    const double reciprocal = 1.0 / keyGap;
    const DoubleDouble p = ExactProduct<kFma>(d, valueGap);
    const double q1 = p.hi * reciprocal;
    const double q2 = (Remainder<kFma>(p.hi, q1, keyGap) + p.lo) * reciprocal;
    // y = anchor - q1 - q2 as hi + lo with |lo| at most half a unit of hi.
    // |d| is at most half the key gap, so |q1| is about half the value gap
    // at most, below |anchor| (each value is at least half the next one) or
    // anchor is row 1's 0: anchor - q1 and its error come from the short sum.
    const double s = anchor - q1;
    const double tail = ((anchor - s) - q1) - q2;
    const double hi = s + tail;
    const double lo = tail - (hi - s);
    // The Extended steps round three times by at most 2^-64 relative each,
    // within 2^-64 (3 |q| + |anchor|) of the exact y together; the bound
    // allows 2^-62 (|q| + |anchor|) for them and the double-double error.
    // Where hi is a power of two the doubles below it are closer together:
    // those few go the long way, as do results near the subnormal range.
    const auto bits = std::bit_cast<std::uint64_t>(hi);
    const double halfUnit = std::bit_cast<double>(bits & 0x7FF0'0000'0000'0000) * 0x1p-53;
    const double bound = (std::fabs(anchor) + std::fabs(q1)) * 0x1p-62;
    const bool decided = (halfUnit - std::fabs(lo) > bound) &
                         ((bits & 0x000F'FFFF'FFFF'FFFF) != 0) & (std::fabs(d) >= 0x1p-800);
    if (decided) return {hi, LookupPath::kDoubleDouble};
  }
  return {ExtendedSteps(anchor, d, valueGap, keyGap), LookupPath::kExtendedChain};
}

}  // namespace

namespace detail {

#if NORMCALC_LOOKUP_VERSIONS
// clang counts a version reached only through the dispatcher as unused.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-function"
#endif
[[gnu::target("default")]] Answer LookupX(double x) { return Lookup<kXColumn, false>(x); }
[[gnu::target("fma")]] Answer LookupX(double x) { return Lookup<kXColumn, true>(x); }
[[gnu::target("default")]] Answer LookupP(double p) { return Lookup<kPColumn, false>(p); }
[[gnu::target("fma")]] Answer LookupP(double p) { return Lookup<kPColumn, true>(p); }
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
#else
Answer LookupX(double x) { return Lookup<kXColumn, kFusedMultiplyAdd>(x); }
Answer LookupP(double p) { return Lookup<kPColumn, kFusedMultiplyAdd>(p); }
#endif

}  // namespace detail

double XToP(double x) { return detail::LookupX(x).value; }

double PToX(double p) { return detail::LookupP(p).value; }

namespace detail {

LookupPath NormalTableLookupPath(double value, int keyColumn) {
  return keyColumn == 1 ? LookupX(value).path : LookupP(value).path;
}

double NormalTableLookupWithoutFma(double value, int keyColumn) {
  return keyColumn == 1 ? Lookup<kXColumn, false>(value).value
                        : Lookup<kPColumn, false>(value).value;
}

}  // namespace detail

}  // namespace normcalc
