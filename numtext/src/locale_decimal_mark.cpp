// LocaleDecimalMark: the decimal separator of the user's locale, the one
// process-wide setting of the number writer.
#include <atomic>

#include "normcalc/numtext.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#include <clocale>
#ifdef __APPLE__
#include <xlocale.h>
#endif
#endif

namespace normcalc {

namespace {

constexpr char kDefaultDecimalMark = '.';

// Written by the shell at start-up and on a settings change, read at the start
// of every WriteNumber. One byte, so relaxed atomic access is all the safety it
// needs even if a future caller reads it from another thread.
std::atomic<char> gLocaleDecimalMark{kDefaultDecimalMark};

// A separator is used only when it is exactly one byte: an empty one, or one
// of several bytes (a non-ASCII character in UTF-8), gives ".".
char MarkFromText(const char* text) {
  if (text == nullptr || text[0] == '\0' || text[1] != '\0') return kDefaultDecimalMark;
  return text[0];
}

#ifdef _WIN32

// Room for one character and its terminator: a separator of more than one
// character makes the call fail, and the default stands.
constexpr int kSeparatorBufferSize = 2;

char ReadUserDecimalMark() {
  char buffer[kSeparatorBufferSize] = {};
  if (GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, buffer, kSeparatorBufferSize) <= 0) {
    return kDefaultDecimalMark;
  }
  return MarkFromText(buffer);
}

#else

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

#endif

}  // namespace

void ReadFormatSettings() {
  gLocaleDecimalMark.store(ReadUserDecimalMark(), std::memory_order_relaxed);
}

char LocaleDecimalMark() { return gLocaleDecimalMark.load(std::memory_order_relaxed); }

void SetLocaleDecimalMark(char mark) { gLocaleDecimalMark.store(mark, std::memory_order_relaxed); }

}  // namespace normcalc
