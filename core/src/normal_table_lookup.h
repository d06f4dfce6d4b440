// The way XToP and PToX reach a result, for tests that count how often each
// way is taken. The lookups themselves are declared in normcalc/core.h.
#pragma once

namespace normcalc::detail {

enum class LookupPath {
  kClamp,          // below the first key or above the last: the end row's value
  kKey,            // equal to a key: that row's value
  kDoubleDouble,   // the interpolation decided in double-double arithmetic
  kExtendedChain,  // the interpolation's Extended steps themselves
};

// The path that XToP (keyColumn 1) or PToX (keyColumn 2) takes for value,
// which is not a NaN.
LookupPath NormalTableLookupPath(double value, int keyColumn);

// XToP or PToX by its version without fused multiply-adds, the one that
// processors lacking them run, so that tests reach it on any machine.
double NormalTableLookupWithoutFma(double value, int keyColumn);

}  // namespace normcalc::detail
