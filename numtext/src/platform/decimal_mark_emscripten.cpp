// The user's decimal mark in a web page. The browser's locale is known to the
// page's script, not to this code: the page reads it and hands it over with
// SetLocaleDecimalMark. A re-read from here must not undo that, so it keeps
// the mark as last set ("." until the page sets one).
#include "normcalc/numtext.h"
#include "user_decimal_mark.h"

namespace normcalc {

char ReadUserDecimalMark() { return LocaleDecimalMark(); }

}  // namespace normcalc
