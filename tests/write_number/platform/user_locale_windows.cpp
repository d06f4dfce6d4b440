// The user's locale on Windows, as the program reads it, is the thread
// locale; a test sets it with SetThreadLocale, which the user's own choice in
// the settings becomes for every new thread.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"
#include "user_locale.h"

namespace normcalc::testing {

namespace {

// The locale identifier of a language tag, 0 where Windows knows none.
LCID LocaleOf(const std::string& name) {
  const std::wstring wide(name.begin(), name.end());  // tags are ASCII
  return LocaleNameToLCID(wide.c_str(), 0);
}

}  // namespace

struct UserLocale::Saved {
  LCID threadLocale = GetThreadLocale();
  char mark = LocaleDecimalMark();
};

UserLocale::UserLocale() : saved_(std::make_unique<Saved>()) {}

UserLocale::~UserLocale() {
  SetThreadLocale(saved_->threadLocale);
  SetLocaleDecimalMark(saved_->mark);
}

std::string UserLocale::Prepare(const std::string& name) {
  return LocaleOf(name) != 0 ? "" : "Windows knows no locale " + name;
}

char UserLocale::MarkUnder(const std::string& name) {
  if (!SetThreadLocale(LocaleOf(name))) {
    ADD_FAILURE() << "SetThreadLocale(" << name << ") failed";
  }
  ReadFormatSettings();
  return LocaleDecimalMark();
}

}  // namespace normcalc::testing
