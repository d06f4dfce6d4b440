// The x87 unit as an oracle for Extended. It exists where long double is the
// x87 double-extended format; elsewhere kHaveX87 is false and RunX87 is absent.
#pragma once

#include "extended_case.h"
#include "x87_long_double.h"

namespace normcalc::testing {

#ifdef NORMCALC_HAVE_X87
inline constexpr bool kHaveX87 = true;

// The control word in force: 64-bit significand and round to nearest are what
// the oracle must run with; the process starts that way on Linux.
unsigned X87ControlWord();

// The x87 result of the operation with every exception masked, and the fault
// Extended must raise in its place: invalid, zero divide or overflow flagged.
Outcome RunX87(Operation op, const Operands& in);
#else
inline constexpr bool kHaveX87 = false;
#endif

}  // namespace normcalc::testing
