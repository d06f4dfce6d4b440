// The user's locale on a POSIX system is the environment's LC_ALL, LC_NUMERIC
// and LANG. The locales are compiled for the test and found through LOCPATH,
// so the tests need only the locale sources, not locales configured on the
// machine.
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "compiled_locales.h"
#include "normcalc/numtext.h"
#include "user_locale.h"

// The C library's newlocale leaks its copy of LOCPATH on every call made while
// LOCPATH is set (seen with glibc 2.36). Only this test sets it, so the leak
// checker is told to pass over that one allocation site.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace normcalc::testing {

namespace {

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
  SavedVariable(const SavedVariable&) = delete;
  SavedVariable& operator=(const SavedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> value_;
};

constexpr const char* kNoLocaleSources =
    "localedef could not compile the locale (install Debian's locales package)";
constexpr const char* kLocaleNotLoadable =
    "this build's C library does not load compiled locales (a static build)";

// "de-DE" names the locale source de_DE, compiled for UTF-8 as de_DE.UTF-8.
std::string SourceName(std::string tag) {
  for (char& c : tag) {
    if (c == '-') c = '_';
  }
  return tag;
}
std::string LocaleName(const std::string& tag) { return SourceName(tag) + ".UTF-8"; }

}  // namespace

struct UserLocale::Saved {
  SavedVariable locpath{"LOCPATH"}, lcAll{"LC_ALL"}, lcNumeric{"LC_NUMERIC"}, lang{"LANG"};
  char mark = LocaleDecimalMark();
  test::CompiledLocales locales;
};

UserLocale::UserLocale() : saved_(std::make_unique<Saved>()) {
  setenv("LOCPATH", saved_->locales.Folder().c_str(), 1);
  unsetenv("LC_NUMERIC");
  unsetenv("LANG");
}

UserLocale::~UserLocale() { SetLocaleDecimalMark(saved_->mark); }

// Compiles the locale source into the test's LOCPATH and checks that this
// process's C library can load it.
std::string UserLocale::Prepare(const std::string& name) {
  if (!saved_->locales.Compile(SourceName(name))) return kNoLocaleSources;
  const std::string locale = LocaleName(name);
  // A statically linked C library (as in the builds run under an emulator)
  // may hand back the C locale's data in place of the compiled files; the
  // character set tells, without looking at the separator under test.
  const locale_t loaded = newlocale(LC_ALL_MASK, locale.c_str(), locale_t{});
  if (loaded == locale_t{}) return kLocaleNotLoadable;
  const bool isUtf8 = std::string(nl_langinfo_l(CODESET, loaded)) == "UTF-8";
  freelocale(loaded);
  return isUtf8 ? "" : kLocaleNotLoadable;
}

// As the shell meets it with only LC_ALL naming the locale.
char UserLocale::MarkUnder(const std::string& name) {
  setenv("LC_ALL", LocaleName(name).c_str(), 1);
  ReadFormatSettings();
  return LocaleDecimalMark();
}

namespace {

// Which of the environment's variables names the locale is POSIX's own rule.
TEST(PosixFormatSettings, LcNumericDecidesWhenLcAllIsUnsetAndLangAfterIt) {
  UserLocale locale;
  if (const std::string why = locale.Prepare("de-DE"); !why.empty()) GTEST_SKIP() << why;
  unsetenv("LC_ALL");
  struct Case {
    const char* lcNumeric;  // nullptr: unset
    const char* lang;
    char mark;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", "C", ','},
      {"C", "de_DE.UTF-8", '.'},
      {nullptr, "de_DE.UTF-8", ','},
      {nullptr, "C", '.'},
  };
  for (const Case& c : cases) {
    if (c.lcNumeric != nullptr) {
      setenv("LC_NUMERIC", c.lcNumeric, 1);
    } else {
      unsetenv("LC_NUMERIC");
    }
    setenv("LANG", c.lang, 1);
    ReadFormatSettings();
    EXPECT_EQ(LocaleDecimalMark(), c.mark)
        << "LC_NUMERIC=" << (c.lcNumeric ? c.lcNumeric : "(unset)") << " LANG=" << c.lang;
  }
}

// Which locale writes a separator of more than one byte is the platform's
// data: glibc's ps_AF writes the two-byte U+066B ARABIC DECIMAL SEPARATOR.
TEST(PosixFormatSettings, FallsBackToThePointWhenTheSeparatorIsNotOneByte) {
  UserLocale locale;
  if (const std::string why = locale.Prepare("ps-AF"); !why.empty()) GTEST_SKIP() << why;
  SetLocaleDecimalMark(',');
  EXPECT_EQ(locale.MarkUnder("ps-AF"), '.');
  EXPECT_EQ(WriteNumber(0.5), "0.5");
}

TEST(PosixFormatSettings, ThePointStandsWhereTheEnvironmentNamesNoUsableLocale) {
  UserLocale locale;
  struct Case {
    const char* lcAll;
    const char* why;
  };
  const Case cases[] = {
      {"C", "the C locale"},
      {"xx_NOWHERE.UTF-8", "a locale that does not exist"},
      {"", "nothing named at all"},
  };
  for (const Case& c : cases) {
    SetLocaleDecimalMark(',');
    setenv("LC_ALL", c.lcAll, 1);
    ReadFormatSettings();
    EXPECT_EQ(LocaleDecimalMark(), '.') << c.why;
  }
}

}  // namespace
}  // namespace normcalc::testing
