// The user's decimal mark on Windows: the thread locale's LOCALE_SDECIMAL.
#include <windows.h>

#include "user_decimal_mark.h"

namespace normcalc {

namespace {

// Room for one character and its terminator: a separator of more than one
// character makes the call fail, and the default stands.
constexpr int kSeparatorBufferSize = 2;

}  // namespace

char ReadUserDecimalMark() {
  char buffer[kSeparatorBufferSize] = {};
  if (GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, buffer, kSeparatorBufferSize) <= 0) {
    return kDefaultDecimalMark;
  }
  return MarkFromText(buffer);
}

}  // namespace normcalc
