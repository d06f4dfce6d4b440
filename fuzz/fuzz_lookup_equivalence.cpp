// XToP and PToX against the lookup written out plainly from its rule (the
// halving recursion and the Extended steps, tests/table/reference_lookup.h),
// bit for bit, on doubles made from the input's first eight bytes: the
// pattern itself, which reaches the clamps, the tiny values and NaNs, and the
// pattern's top bits spread over each key column's range, which reaches every
// row. Both versions of the lookup (with and without fused multiply-adds)
// and the general lookup on the same table are held to it.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "normal_table_lookup.h"
#include "normcalc/core.h"
#include "reference_lookup.h"

namespace {

using normcalc::NormalTable;

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

[[noreturn]] void Fail(const char* what, int column, double input, double result, double expected) {
  std::fprintf(stderr, "%s, column %d, value %a (0x%016llx): %a, expected %a\n", what, column,
               input, static_cast<unsigned long long>(Bits(input)), result, expected);
  std::abort();
}

// The result, or a NaN when the call raises EInvalidOp (no result is a NaN).
template <typename Call>
double ResultOrNaN(Call call) {
  try {
    return call();
  } catch (const normcalc::EInvalidOp&) {
    return std::nan("");
  }
}

void Check(int column, double value) {
  // The written-out rule compares in plain doubles, which raise nothing: a
  // NaN must raise EInvalidOp (shown here as a NaN result) at its first
  // comparison with a key.
  const double expected =
      std::isnan(value) ? std::nan("")
                        : normcalc::reference::ReferenceInterpolate(NormalTable, column, value);
  const double lookup =
      ResultOrNaN([&] { return column == 1 ? normcalc::XToP(value) : normcalc::PToX(value); });
  const double withoutFma =
      ResultOrNaN([&] { return normcalc::detail::NormalTableLookupWithoutFma(value, column); });
  const double general =
      ResultOrNaN([&] { return normcalc::TableInterpolate(value, NormalTable, column); });
  if (Bits(lookup) != Bits(expected)) Fail("lookup", column, value, lookup, expected);
  if (Bits(withoutFma) != Bits(expected)) Fail("without FMA", column, value, withoutFma, expected);
  if (Bits(general) != Bits(expected)) Fail("general lookup", column, value, general, expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  std::uint64_t pattern;
  std::memcpy(&pattern, data, sizeof pattern);
  const double raw = std::bit_cast<double>(pattern);
  // The top 53 bits as a fraction of the last key (exact below it).
  const double fraction = static_cast<double>(pattern >> 11) * 0x1p-53;
  for (int column = 1; column <= 2; ++column) {
    Check(column, raw);
    Check(column, fraction * NormalTable.back()[static_cast<std::size_t>(column - 1)]);
  }
  return 0;
}
