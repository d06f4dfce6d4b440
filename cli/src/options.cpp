#include "options.h"

#include <string>

namespace normcalc::cli {

const std::string_view kUsage =
    "usage: normcalc-cli x2p [--decimal-mark C] [TEXT ...]\n"
    "       normcalc-cli p2x [--decimal-mark C] [TEXT ...]\n"
    "       normcalc-cli read [TEXT ...]\n"
    "       normcalc-cli write [--decimal-mark C] [VALUE ...]\n"
    "       normcalc-cli --help | --version\n";

const std::string_view kDescription =
    "\n"
    "The conversions of the normcalc calculator, one result line per TEXT, or per\n"
    "line of standard input when no TEXT is given.\n"
    "\n"
    "  x2p    P = f(0<x<X) for the X in TEXT, as the calculator writes it\n"
    "  p2x    X for the P in TEXT, as the calculator writes it\n"
    "  read   the double the calculator reads from TEXT: its bit pattern as 0x and\n"
    "         16 hexadecimal digits, a tab, and the shortest decimal that reads back\n"
    "  write  the text the calculator writes for VALUE, given as such a 0x bit\n"
    "         pattern or as a decimal number\n"
    "\n"
    "  --decimal-mark C       write numbers with the character C as the decimal mark\n"
    "  --decimal-mark locale  write them with the decimal mark of the user's locale\n"
    "  --                     end of options; what follows are texts\n"
    "\n"
    "A line that fails prints an empty line, and its reason on standard error.\n"
    "Exit status: 0 when every line converted, 1 when any failed, 2 for a usage error.\n";

namespace {

constexpr std::string_view kOptionPrefix = "--";
constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kLocaleMarkWord = "locale";

Command ParseCommand(std::string_view word) {
  if (word == "x2p") return Command::kXToP;
  if (word == "p2x") return Command::kPToX;
  if (word == "read") return Command::kRead;
  if (word == "write") return Command::kWrite;
  if (word == "--help") return Command::kHelp;
  if (word == "--version") return Command::kVersion;
  if (word.starts_with(kOptionPrefix))
    throw UsageError("unknown option '" + std::string(word) + "'");
  throw UsageError("unknown command '" + std::string(word) + "'");
}

}  // namespace

Options ParseOptions(std::span<const char* const> words) {
  if (words.empty()) throw UsageError("no command given");
  Options options;
  options.command = ParseCommand(words[0]);
  if (options.command == Command::kHelp || options.command == Command::kVersion) return options;

  std::size_t next = 1;
  while (next < words.size()) {
    const std::string_view word = words[next];
    if (!word.starts_with(kOptionPrefix)) break;
    ++next;
    if (word == kEndOfOptions) break;
    if (word == "--help" || word == "--version") {
      options.command = word == "--help" ? Command::kHelp : Command::kVersion;
      return options;
    }
    if (word != "--decimal-mark") throw UsageError("unknown option '" + std::string(word) + "'");
    if (options.command == Command::kRead) {
      throw UsageError("read takes no --decimal-mark: it writes no number text");
    }
    if (next == words.size()) {
      throw UsageError("--decimal-mark needs one character or 'locale'");
    }
    const std::string_view mark = words[next++];
    if (mark == kLocaleMarkWord) {
      options.localeMark = true;
    } else if (mark.size() == 1) {
      options.localeMark = false;
      options.decimalMark = mark[0];
    } else {
      throw UsageError("--decimal-mark takes one character (one byte) or 'locale', not '" +
                       std::string(mark) + "'");
    }
  }
  options.texts.assign(words.begin() + static_cast<std::ptrdiff_t>(next), words.end());
  return options;
}

}  // namespace normcalc::cli
