// Boost.Multiprecision's cpp_bin_float_double_extended as a second oracle for
// Extended, for machines without an x87 unit and as a check on the x87 oracle.
#pragma once

#include <optional>

#include "extended_case.h"

namespace normcalc::testing {

// The outcome Boost gives, or nothing where Boost is not a faithful model of
// the double-extended format (see boost_oracle.cpp for where that is).
std::optional<Outcome> RunBoost(Operation op, const Operands& in);

}  // namespace normcalc::testing
