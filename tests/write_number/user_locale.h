// Puts the user in a chosen locale for the length of a test, the way the
// platform lets a user choose one: on POSIX systems the environment, on
// Windows the thread locale. One implementation per platform lives under
// platform/, and the build compiles exactly one (see NORMCALC_PLATFORM in the
// top CMakeLists.txt).
#pragma once

#include <memory>
#include <string>

namespace normcalc::testing {

class UserLocale {
 public:
  // Saves what the test will change; the destructor puts it back, the
  // writer's decimal mark included.
  UserLocale();
  ~UserLocale();
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

  // Makes the locale `name` (a language tag such as "de-DE") available to
  // this process where the platform needs that done first. Returns why the
  // test cannot run on this machine, or "" when it can.
  std::string Prepare(const std::string& name);

  // Makes `name` the user's locale, reads the settings as the shell does at
  // start-up and on a settings change, and returns the writer's decimal mark.
  char MarkUnder(const std::string& name);

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

}  // namespace normcalc::testing
