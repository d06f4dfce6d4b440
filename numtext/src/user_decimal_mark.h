// The seam between the decimal mark that the writer uses and the platform that
// knows the user's choice. One implementation per platform lives under
// platform/, and the build compiles exactly one (see NORMCALC_PLATFORM in the
// top CMakeLists.txt).
#pragma once

namespace normcalc {

inline constexpr char kDefaultDecimalMark = '.';

// The decimal separator of the user's locale as the platform gives it now,
// kDefaultDecimalMark when it gives none that is one byte long.
char ReadUserDecimalMark();

// A separator is used only when it is exactly one byte: an empty one, or one
// of several bytes (a non-ASCII character in UTF-8), gives ".".
inline char MarkFromText(const char* text) {
  if (text == nullptr || text[0] == '\0' || text[1] != '\0') return kDefaultDecimalMark;
  return text[0];
}

}  // namespace normcalc
