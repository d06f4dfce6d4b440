// The command line of normcalc-cli: which command, how its numbers are written,
// where its texts come from, and the texts given as arguments.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "normcalc/numtext.h"

namespace normcalc::cli {

enum class Command {
  kXToP,
  kPToX,
  kRead,
  kWrite,
  kCdf,
  kSf,
  kTwoSided,
  kPpf,
  kTable,
  kHelp,
  kVersion
};

enum class TableFormat { kText, kCsv, kMarkdown };

struct Options {
  Command command = Command::kHelp;
  std::string commandName;  // as declared: the column title that --header writes

  bool localeMark = false;  // --decimal-mark locale
  char decimalMark = '.';   // used unless localeMark

  bool strict = false;    // --strict: a text must be one number as a whole
  std::size_t field = 0;  // --field N (1-based); 0 converts the whole line
  char delimiter = '\t';  // --delimiter C: what separates fields
  bool append = false;    // --append: the input line, the delimiter, the answer
  bool header = false;    // --header: the first line is the columns' titles

  TableFormat tableFormat = TableFormat::kText;  // table --format
  int tableDigits = 0;  // table --digits N: decimals shown; 0 shows every digit written

  // The TEXT or VALUE arguments; none means standard input, line by line.
  std::vector<std::string> texts;
  // What --help or --version prints.
  std::string message;

  bool operator==(const Options&) const = default;
};

// A command line the tool cannot run: its message is the one-line reason, and
// commandName the command whose --help says more (empty for the tool's own).
class UsageError : public Exception {
 public:
  explicit UsageError(std::string message, std::string commandName = {})
      : Exception(std::move(message)), commandName_(std::move(commandName)) {}
  const std::string& CommandName() const { return commandName_; }

 private:
  std::string commandName_;
};

// Parses the words after the program's name. Options may stand anywhere before
// "--", which ends them; a word with one dash ("-2", "-INF", "-.5", "-") is a
// text, except -h. Raises UsageError.
Options ParseOptions(std::span<const char* const> words);

// Every command and every long option the parser knows ("x2p", "--field", ...),
// so that a test can hold the manual page to them.
std::vector<std::string> DeclaredNames();

// One parser for many command lines, each parsed exactly as ParseOptions
// parses it. Making the parser costs many times what a parse does, which
// counts for a fuzzer that parses millions.
class OptionsParser {
 public:
  OptionsParser();
  ~OptionsParser();
  OptionsParser(const OptionsParser&) = delete;
  OptionsParser& operator=(const OptionsParser&) = delete;

  Options Parse(std::span<const char* const> words);

 private:
  class CommandLine;
  friend std::vector<std::string> DeclaredNames();

  std::unique_ptr<CommandLine> commandLine_;
};

}  // namespace normcalc::cli
