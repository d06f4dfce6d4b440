// The command line of normcalc-cli: which conversion, which decimal mark, and
// the texts given as arguments.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "normcalc/numtext.h"

namespace normcalc::cli {

enum class Command { kXToP, kPToX, kRead, kWrite, kHelp, kVersion };

struct Options {
  Command command = Command::kHelp;
  bool localeMark = false;  // --decimal-mark locale
  char decimalMark = '.';   // used unless localeMark
  // The TEXT or VALUE arguments; none means standard input, line by line.
  std::vector<std::string_view> texts;
};

// A command line the tool cannot run: its message is the one-line reason.
class UsageError : public Exception {
 public:
  using Exception::Exception;
};

// Parses the words after the program's name. Options come first and only words
// beginning with "--" are options, so "-2", "-INF" and "-" are texts; "--"
// ends the options. Raises UsageError.
Options ParseOptions(std::span<const char* const> words);

// The synopsis, several lines, each ending in LF.
extern const std::string_view kUsage;
// What --help prints after the synopsis: what each command and option does.
extern const std::string_view kDescription;

}  // namespace normcalc::cli
