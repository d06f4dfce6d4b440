// ReadNumber: the text of an edit box as a double.
#include <string_view>

#include "normcalc/numtext.h"

namespace normcalc {

double ReadNumber(std::string_view text) { return NarrowToDouble(ScanNumber(text)); }

}  // namespace normcalc
