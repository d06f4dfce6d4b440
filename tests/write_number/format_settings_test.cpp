// ReadFormatSettings: the decimal separator of the user's locale, read again
// whenever the shell is told the settings changed. How a test chooses the
// user's locale differs per platform (user_locale.h); what the writer must do
// with the choice does not.
#include <clocale>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"
#include "user_locale.h"

namespace normcalc {
namespace {

using testing::UserLocale;

class FormatSettingsTest : public ::testing::Test {
 protected:
  UserLocale locale_;
};

// Skips the test where the machine cannot put the user in a locale it needs.
#define NORMCALC_PREPARE_LOCALE(name)                                                     \
  do {                                                                                    \
    if (const std::string why = locale_.Prepare(name); !why.empty()) GTEST_SKIP() << why; \
  } while (false)

TEST_F(FormatSettingsTest, ReadsTheCommaOfAGermanLocale) {
  NORMCALC_PREPARE_LOCALE("de-DE");
  EXPECT_EQ(locale_.MarkUnder("de-DE"), ',');
  EXPECT_EQ(WriteNumber(0.5), "0,5");
  EXPECT_EQ(WriteNumber(1234567.125), "1234567,125");  // and no thousands separator
}

TEST_F(FormatSettingsTest, ReadingAgainFollowsASettingsChange) {
  NORMCALC_PREPARE_LOCALE("de-DE");
  NORMCALC_PREPARE_LOCALE("en-US");
  ASSERT_EQ(locale_.MarkUnder("de-DE"), ',');
  EXPECT_EQ(locale_.MarkUnder("en-US"), '.');
  EXPECT_EQ(WriteNumber(0.5), "0.5");
  EXPECT_EQ(locale_.MarkUnder("de-DE"), ',');
  EXPECT_EQ(WriteNumber(0.5), "0,5");
}

// The C library's own number formatting keeps the process locale: the
// separator is looked up without changing it.
TEST_F(FormatSettingsTest, LeavesTheProcessLocaleAlone) {
  NORMCALC_PREPARE_LOCALE("de-DE");
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_EQ(locale_.MarkUnder("de-DE"), ',');
  EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), before);
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 0.5);
  EXPECT_STREQ(text, "0.5");
}

}  // namespace
}  // namespace normcalc
