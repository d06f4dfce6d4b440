// ReadNumber: the text of an edit box as a double.
//
// The scan and the narrowing are inlined into one function, so that the
// extended value between them stays in registers.
#include <string_view>

#include "narrow_to_double.h"
#include "normcalc/numtext.h"
#include "scan_number.h"

namespace normcalc {

double ReadNumber(std::string_view text) { return NarrowToDoubleInline(ScanNumberInline(text)); }

}  // namespace normcalc
