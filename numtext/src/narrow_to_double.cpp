// NarrowToDouble: the reader's own rounding of an extended value to a double.
#include "narrow_to_double.h"
#include "normcalc/numtext.h"

namespace normcalc {

double NarrowToDouble(Extended x) { return NarrowToDoubleInline(x); }

}  // namespace normcalc
