// ScanNumber: the longest leading number of a text, as an extended value.
#include <string_view>

#include "normcalc/numtext.h"
#include "scan_number.h"

namespace normcalc {

Extended ScanNumber(std::string_view text) { return ScanNumberInline(text); }

}  // namespace normcalc
