// ReadFormatSettings: the decimal separator of the user's locale.
//
// On POSIX systems it comes from the LC_NUMERIC category of the environment.
// The locales are compiled into a temporary directory with localedef and found
// through LOCPATH, so the test needs only the locale sources (Debian's
// "locales" package), not locales configured on the machine. On Windows it
// comes from the thread's locale.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"

#ifdef _WIN32

#include <windows.h>

namespace normcalc {
namespace {

class ThreadLocaleTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetThreadLocale(savedLocale_);
    SetLocaleDecimalMark(savedMark_);
  }

  static char MarkUnder(LANGID language) {
    EXPECT_TRUE(SetThreadLocale(MAKELCID(language, SORT_DEFAULT)));
    ReadFormatSettings();
    return LocaleDecimalMark();
  }

 private:
  LCID savedLocale_ = GetThreadLocale();
  char savedMark_ = LocaleDecimalMark();
};

TEST_F(ThreadLocaleTest, ReadsTheSeparatorOfTheThreadLocale) {
  EXPECT_EQ(MarkUnder(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), ',');
  EXPECT_EQ(WriteNumber(1234567.125), "1234567,125");  // and no thousands separator
  EXPECT_EQ(MarkUnder(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), '.');
  EXPECT_EQ(WriteNumber(0.5), "0.5");
}

}  // namespace
}  // namespace normcalc

#else  // POSIX

#include <langinfo.h>
#include <locale.h>

// The C library's newlocale leaks its copy of LOCPATH on every call made while
// LOCPATH is set (seen with glibc 2.36). Only this test sets it, so the leak
// checker is told to pass over that one allocation site.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace normcalc {
namespace {

namespace fs = std::filesystem;

// Restores an environment variable when the test ends.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~SavedVariable() {
    if (value_) {
      setenv(name_, value_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> value_;
};

constexpr const char* kNoLocaleSources =
    "localedef could not compile the locale (install Debian's locales package)";
constexpr const char* kLocaleNotLoadable =
    "this build's C library does not load compiled locales (a static or WebAssembly build)";

class FormatSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/normcalc-locales-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    localeDirectory_ = pattern;
    setenv("LOCPATH", localeDirectory_.c_str(), 1);
    unsetenv("LC_NUMERIC");
    unsetenv("LANG");
  }

  void TearDown() override {
    SetLocaleDecimalMark(savedMark_);
    if (!localeDirectory_.empty()) fs::remove_all(localeDirectory_);
  }

  // Compiles the locale source `name` for UTF-8 into the test's LOCPATH, as
  // name.UTF-8, and checks that this process's C library can load it. Returns
  // why the test cannot run, or nothing when it can.
  std::string Prepare(const std::string& name) {
    const std::string locale = name + ".UTF-8";
    const std::string command = "localedef -i " + name + " -f UTF-8 " +
                                (localeDirectory_ / locale).string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return kNoLocaleSources;
    // A statically linked C library (as in the builds run under an emulator)
    // may hand back the C locale's data in place of the compiled files; the
    // character set tells, without looking at the separator under test.
    // A C library with no locale data at all (the WebAssembly build's) says
    // UTF-8 for every name; its day names then stay the C locale's.
    const locale_t loaded = newlocale(LC_ALL_MASK, locale.c_str(), locale_t{});
    if (loaded == locale_t{}) return kLocaleNotLoadable;
    const locale_t plain = newlocale(LC_ALL_MASK, "C", locale_t{});
    const bool isUtf8 = std::string(nl_langinfo_l(CODESET, loaded)) == "UTF-8";
    const bool hasOwnData = plain != locale_t{} && std::string(nl_langinfo_l(DAY_1, loaded)) !=
                                                       std::string(nl_langinfo_l(DAY_1, plain));
    if (plain != locale_t{}) freelocale(plain);
    freelocale(loaded);
    return isUtf8 && hasOwnData ? "" : kLocaleNotLoadable;
  }

  // Reads the settings as the shell does with only LC_ALL naming the locale.
  static char MarkUnder(const char* locale) {
    setenv("LC_ALL", locale, 1);
    ReadFormatSettings();
    return LocaleDecimalMark();
  }

 private:
  fs::path localeDirectory_;
  char savedMark_ = LocaleDecimalMark();
  SavedVariable locpath_{"LOCPATH"}, lcAll_{"LC_ALL"}, lcNumeric_{"LC_NUMERIC"}, lang_{"LANG"};
};

TEST_F(FormatSettingsTest, ReadsTheCommaOfAGermanLocale) {
  if (const std::string why = Prepare("de_DE"); !why.empty()) GTEST_SKIP() << why;
  EXPECT_EQ(MarkUnder("de_DE.UTF-8"), ',');
  EXPECT_EQ(WriteNumber(0.5), "0,5");
  EXPECT_EQ(WriteNumber(1234567.125), "1234567,125");  // and no thousands separator
}

TEST_F(FormatSettingsTest, FallsBackToThePointWhenTheLocaleGivesNoSingleByte) {
  // ps_AF writes the two-byte U+066B ARABIC DECIMAL SEPARATOR.
  if (const std::string why = Prepare("ps_AF"); !why.empty()) GTEST_SKIP() << why;
  struct Case {
    const char* locale;
    const char* why;
  };
  const Case cases[] = {
      {"ps_AF.UTF-8", "a separator of two bytes"},
      {"xx_NOWHERE.UTF-8", "a locale that does not exist"},
      {"C", "the C locale"},
  };
  for (const Case& c : cases) {
    SetLocaleDecimalMark(',');
    EXPECT_EQ(MarkUnder(c.locale), '.') << c.why;
  }
}

TEST_F(FormatSettingsTest, ReadingAgainFollowsASettingsChange) {
  if (const std::string why = Prepare("de_DE"); !why.empty()) GTEST_SKIP() << why;
  ASSERT_EQ(MarkUnder("de_DE.UTF-8"), ',');
  EXPECT_EQ(MarkUnder("C"), '.');
  EXPECT_EQ(WriteNumber(0.5), "0.5");
  EXPECT_EQ(MarkUnder("de_DE.UTF-8"), ',');
  EXPECT_EQ(WriteNumber(0.5), "0,5");
}

TEST_F(FormatSettingsTest, LeavesTheProcessLocaleAlone) {
  if (const std::string why = Prepare("de_DE"); !why.empty()) GTEST_SKIP() << why;
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_EQ(MarkUnder("de_DE.UTF-8"), ',');
  EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), before);
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 0.5);
  EXPECT_STREQ(text, "0.5");
}

TEST_F(FormatSettingsTest, LcNumericDecidesWhenLcAllIsUnset) {
  if (const std::string why = Prepare("de_DE"); !why.empty()) GTEST_SKIP() << why;
  unsetenv("LC_ALL");
  setenv("LANG", "C", 1);
  setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
  ReadFormatSettings();
  EXPECT_EQ(LocaleDecimalMark(), ',');
}

}  // namespace
}  // namespace normcalc

#endif
