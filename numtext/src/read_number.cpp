// ReadNumber and its two stages, ScanNumber and NarrowToDouble.
//
// The stages' bodies sit in always-inline headers, so that ReadNumber runs the
// scan and the narrowing as one function and the extended value between them
// stays in registers; the stages are also defined on their own here for the
// tests and tools that check them one at a time.
#include <string_view>

#include "narrow_to_double.h"
#include "normcalc/numtext_stages.h"
#include "scan_number.h"

namespace normcalc {

double ReadNumber(std::string_view text) { return NarrowToDoubleInline(ScanNumberInline(text)); }

Extended ScanNumber(std::string_view text) { return ScanNumberInline(text); }

double NarrowToDouble(Extended x) { return NarrowToDoubleInline(x); }

}  // namespace normcalc
