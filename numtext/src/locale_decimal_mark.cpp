// LocaleDecimalMark: the decimal separator of the user's locale, the one
// process-wide setting of the number writer. How the platform gives the
// user's choice is in platform/, behind user_decimal_mark.h.
#include <atomic>

#include "normcalc/numtext.h"

#include "user_decimal_mark.h"

namespace normcalc {

namespace {

// Written by the shell at start-up and on a settings change, read at the start
// of every WriteNumber. One byte, so relaxed atomic access is all the safety it
// needs even if a future caller reads it from another thread.
std::atomic<char> gLocaleDecimalMark{kDefaultDecimalMark};

}  // namespace

void ReadFormatSettings() {
  gLocaleDecimalMark.store(ReadUserDecimalMark(), std::memory_order_relaxed);
}

char LocaleDecimalMark() { return gLocaleDecimalMark.load(std::memory_order_relaxed); }

void SetLocaleDecimalMark(char mark) { gLocaleDecimalMark.store(mark, std::memory_order_relaxed); }

}  // namespace normcalc
