// The user's decimal mark on a POSIX system.
#include <langinfo.h>
#include <locale.h>

#include <clocale>

#include "user_decimal_mark.h"

namespace normcalc {

// The LC_NUMERIC category of the user's environment (LC_ALL, LC_NUMERIC, LANG),
// looked up in a locale object of its own so that the process's global locale,
// which the C library's own number formatting obeys, stays as it is.
char ReadUserDecimalMark() {
  locale_t userLocale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (userLocale == static_cast<locale_t>(0)) return kDefaultDecimalMark;
  const char mark = MarkFromText(nl_langinfo_l(RADIXCHAR, userLocale));
  freelocale(userLocale);
  return mark;
}

}  // namespace normcalc
