// In a web page the user's locale is the browser's, which only the page's
// script knows: it hands the separator over with SetLocaleDecimalMark, and
// there is no locale for a test to choose from here.
#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"
#include "user_locale.h"

namespace normcalc::testing {

struct UserLocale::Saved {
  char mark = LocaleDecimalMark();
};

UserLocale::UserLocale() : saved_(std::make_unique<Saved>()) {}

UserLocale::~UserLocale() { SetLocaleDecimalMark(saved_->mark); }

std::string UserLocale::Prepare(const std::string&) {
  return "a web page's locale is the browser's, handed over by the page's script";
}

char UserLocale::MarkUnder(const std::string&) {
  ADD_FAILURE() << "no locale to choose in a web page";
  return LocaleDecimalMark();
}

namespace {

// A settings change read again must not undo what the page handed over.
TEST(WebFormatSettings, ReadingAgainKeepsTheMarkThePageSet) {
  UserLocale locale;
  for (const char mark : {',', '.'}) {
    SetLocaleDecimalMark(mark);
    ReadFormatSettings();
    EXPECT_EQ(LocaleDecimalMark(), mark);
  }
}

}  // namespace
}  // namespace normcalc::testing
