// The statistics conventions beside the table's own P = f(0<x<X): the
// cumulative probability, its upper tail, the two-sided p-value and the
// quantile, each a little arithmetic on one lookup in the calculator's table.
//
// Each expression is evaluated in 80-bit extended arithmetic and its result
// rounded to double once, so every platform gives the same bits. Values outside
// the table are clamped as XToP and PToX clamp them, and a NaN raises
// EInvalidOp at its first comparison, as the calculator does.
#pragma once

namespace normcalc::cli {

// Phi(x) = 0.5 + XToP(x) for x >= 0, 0.5 - XToP(-x) for x < 0.
double Cdf(double x);
// 1 - Phi(x) = 0.5 - XToP(x) for x >= 0, 0.5 + XToP(-x) for x < 0.
double Sf(double x);
// 2 * (0.5 - XToP(|x|)): the probability of a value at least |x| from 0.
double TwoSided(double x);
// The x with Phi(x) = q: PToX(q - 0.5) for q >= 0.5, -PToX(0.5 - q) for
// q < 0.5, the difference rounded to double before the lookup.
double Ppf(double q);

}  // namespace normcalc::cli
