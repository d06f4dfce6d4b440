#include "options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "message_quote.h"

namespace normcalc::cli {

namespace {

constexpr std::string_view kProgram = "normcalc-cli";
constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kLongOptionPrefix = "--";
constexpr std::string_view kLocaleMarkWord = "locale";
// Answers for print: more decimals than the 15 significant digits of the
// answers would show digits that are not there.
constexpr int kMaxTableDigits = 15;
// A field number past any line a tool could hold.
constexpr std::size_t kMaxField = std::size_t{1} << 30;

// Why a byte cannot be the decimal mark, or nothing when it can. The mark goes
// into the middle of a number, so it must not read as part of one (a digit,
// a sign, an exponent mark), nor as a field or line boundary (a blank or a
// control character), nor start a multi-byte character.
std::string RefusedMarkReason(unsigned char byte) {
  if (byte >= '0' && byte <= '9') return "a digit would read as part of the number";
  if (byte == '+' || byte == '-') return "a sign would read as part of the number";
  if (byte == 'E' || byte == 'e') return "an exponent mark would read as part of the number";
  if (byte == ' ' || byte == '\t') return "a blank would split the number";
  if (byte < 0x20 || byte == 0x7F) return "a control character would break the line";
  if (byte >= 0x80) return "it is not a single ASCII character";
  return {};
}

const CLI::Validator kDecimalMarkCheck(
    [](std::string& value) -> std::string {
      if (value == kLocaleMarkWord) return {};
      if (value.size() != 1) {
        return "takes one ASCII character or 'locale', not " + QuoteForMessage(value);
      }
      const std::string reason = RefusedMarkReason(static_cast<unsigned char>(value[0]));
      return reason.empty() ? reason : QuoteForMessage(value) + " cannot be the mark: " + reason;
    },
    "");

const CLI::Validator kDelimiterCheck(
    [](std::string& value) -> std::string {
      if (value.size() != 1) return "takes one character (one byte), not " + QuoteForMessage(value);
      if (value[0] == '\n') return "a line feed ends the line; it cannot separate fields";
      return {};
    },
    "");

struct ConversionDeclaration {
  const char* name;
  Command command;
  const char* description;
  bool writesNumbers;  // takes --decimal-mark
  bool readsNumbers;   // takes --strict
};

constexpr ConversionDeclaration kConversions[] = {
    {"x2p", Command::kXToP,
     "P = f(0<x<X), the area under the density from 0 to X, for the X in TEXT, as the "
     "calculator writes it",
     true, true},
    {"p2x", Command::kPToX, "X for the P = f(0<x<X) in TEXT, as the calculator writes it", true,
     true},
    {"cdf", Command::kCdf,
     "the cumulative probability Phi(X) = 0.5 + P(X) for X >= 0, 0.5 - P(-X) for X < 0 "
     "(R: pnorm, SciPy: norm.cdf)",
     true, true},
    {"sf", Command::kSf,
     "the upper tail 1 - Phi(X) = 0.5 - P(X) for X >= 0, 0.5 + P(-X) for X < 0 "
     "(R: pnorm(lower.tail = FALSE), SciPy: norm.sf)",
     true, true},
    {"two-sided", Command::kTwoSided,
     "the two-sided p-value of |X|: 2 * (0.5 - P(|X|)) (R: 2 * pnorm(-abs(X)))", true, true},
    {"ppf", Command::kPpf,
     "the X with Phi(X) = Q for the Q in TEXT: p2x(Q - 0.5) for Q >= 0.5, -p2x(0.5 - Q) "
     "below (R: qnorm, SciPy: norm.ppf)",
     true, true},
    {"read", Command::kRead,
     "the double the calculator reads from TEXT: its bit pattern as 0x and 16 hexadecimal "
     "digits, a tab, and the shortest decimal that a correctly rounded reader reads back as "
     "that double (read itself cuts off in the top binade, and may not)",
     false, true},
    {"write", Command::kWrite,
     "the text the calculator writes for VALUE, given as a 0x bit pattern as read prints it or "
     "as a decimal number (rounded correctly)",
     true, false},
};

constexpr const char* kDescription =
    "The conversions of the normcalc calculator, one result line per TEXT, or per line of "
    "standard input when no TEXT is given. Answers come from the calculator's table of 3989 "
    "rows, digit for digit; values outside the table are clamped as the calculator clamps "
    "them. cdf, sf and ppf carry the names that R and SciPy users know.";

constexpr const char* kFooter =
    "Options may come anywhere after the command; '--' ends them, and a word with one\n"
    "dash (-1.96, -INF) is a text. A line that fails prints an empty line and its reason\n"
    "on standard error. Exit status: 0 when every line converted, 1 when any failed, 2 for\n"
    "a usage error. 'normcalc-cli COMMAND --help' describes a command's options; see also\n"
    "normcalc-cli(1).\n";

// The help's columns: names up to kHelpNameWidth, descriptions wrapped to
// kHelpWidth, so that it reads on an 80-column terminal.
constexpr std::size_t kHelpNameWidth = 26;
constexpr std::size_t kHelpWidth = 79;

std::string Wrapped(std::string text, std::size_t width) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::string wrapped;
  std::size_t lineLength = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word(text.data() + at, end - at);
    if (lineLength > 0 && lineLength + 1 + word.size() > width) {
      wrapped += '\n';
      lineLength = 0;
    } else if (lineLength > 0) {
      wrapped += ' ';
      ++lineLength;
    }
    wrapped += word;
    lineLength += word.size();
    at = end + 1;
  }
  return wrapped;
}

// The usage line first, with the operands each command takes, then what the
// command does.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() { column_width(kHelpNameWidth); }

  std::string make_description(const CLI::App*) const override { return {}; }

  std::string make_usage(const CLI::App* app, std::string) const override {
    std::string usage = "Usage: " + std::string(kProgram);
    if (app->get_parent() == nullptr) {
      usage += " COMMAND [OPTIONS] [TEXT ...]";
    } else {
      usage += " " + app->get_name() + " [OPTIONS]";
      if (app->get_name() == "write") usage += " [VALUE ...]";
      if (app->get_name() != "write" && app->get_name() != "table") usage += " [TEXT ...]";
    }
    return usage + "\n\n" + Wrapped(app->get_description(), kHelpWidth) + "\n";
  }
};

}  // namespace

class OptionsParser::CommandLine {
 public:
  CommandLine() : app_(kDescription, std::string(kProgram)) {
    app_.formatter(std::make_shared<HelpFormatter>());
    app_.require_subcommand(1);
    app_.footer(kFooter);
    AddVersion(app_);
    for (const ConversionDeclaration& conversion : kConversions) AddConversion(conversion);
    AddTable();
    WrapDescriptions();
  }

  const CLI::App& App() const { return app_; }

  Options Parse(std::span<const char* const> words) {
    // Assigned, not made anew: the options hold the addresses of its members.
    parsed_ = Parsed();
    app_.clear();
    // Everything after "--" is a text; the parser sees only what comes before.
    const auto end = std::find(words.begin(), words.end(), kEndOfOptions);
    std::vector<std::string> args(words.begin(), end);
    if (args.empty()) throw UsageError("no command given");
    // Before the command only --help and --version mean anything.
    for (const std::string& word : args) {
      if (!word.starts_with("-")) {
        if (!IsCommand(word)) throw UsageError("unknown command " + QuoteForMessage(word));
        break;
      }
      if (word != "-h" && word != "--help" && word != "--version") {
        throw UsageError("unknown option " + QuoteForMessage(word) + " before the command");
      }
    }
    std::reverse(args.begin(), args.end());  // the parser takes them from the back
    try {
      app_.parse(args);
    } catch (const CLI::CallForVersion&) {
      parsed_.options.command = Command::kVersion;
      return parsed_.options;
    } catch (const CLI::CallForHelp&) {
      parsed_.options.command = Command::kHelp;
      parsed_.options.message = app_.help();
      return parsed_.options;
    } catch (const CLI::ParseError& error) {
      throw UsageError(error.what(), ParsedCommandName());
    }
    const CLI::App* command = app_.get_subcommands().front();
    TakeTexts(*command, std::span(end == words.end() ? end : end + 1, words.end()));
    TakeDecimalMark();
    return parsed_.options;
  }

 private:
  // Each description as the help shows it, beside its name.
  void WrapDescriptions() {
    constexpr std::size_t width = kHelpWidth - kHelpNameWidth;
    const auto wrapOptions = [](CLI::App& app) {
      for (CLI::Option* option : app.get_options()) {
        option->description(Wrapped(option->get_description(), width));
      }
    };
    wrapOptions(app_);
    for (CLI::App* sub : app_.get_subcommands({})) {
      wrapOptions(*sub);
      sub->description(Wrapped(sub->get_description(), width));
    }
  }

  bool IsCommand(const std::string& word) const {
    return !app_.get_subcommands([&](const CLI::App* sub) { return sub->get_name() == word; })
                .empty();
  }

  std::string ParsedCommandName() const {
    const auto parsed = app_.get_subcommands();
    return parsed.empty() ? std::string() : parsed.front()->get_name();
  }

  // The flag's callback runs before the parser asks for a command, so that
  // "normcalc-cli --version" needs none.
  static void AddVersion(CLI::App& app) {
    app.add_flag_callback(
        "--version", [] { throw CLI::CallForVersion(); }, "print the version and exit");
  }

  // The options every command has.
  CLI::App* AddCommand(const char* name, const char* description, Command command) {
    CLI::App* sub = app_.add_subcommand(name, description);
    // Texts and unknown options alike come back in the order they were given;
    // TakeTexts tells them apart. Declaring no positional keeps "-INF" in its
    // place among the texts, where the parser would take it for an option.
    sub->allow_extras();
    AddVersion(*sub);
    sub->callback([this, name, command] {
      parsed_.options.command = command;
      parsed_.options.commandName = name;
    });
    return sub;
  }

  void AddDecimalMark(CLI::App& sub) {
    sub.add_option("--decimal-mark", parsed_.markText,
                   "write numbers with the character C as the decimal mark, or with the mark "
                   "of the user's locale; never a digit, sign, E, e, blank, control character "
                   "or non-ASCII byte")
        ->type_name("C|locale")
        ->check(kDecimalMarkCheck)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }

  void AddConversion(const ConversionDeclaration& conversion) {
    CLI::App& sub = *AddCommand(conversion.name, conversion.description, conversion.command);
    if (conversion.writesNumbers) AddDecimalMark(sub);
    if (conversion.readsNumbers) {
      sub.add_flag("--strict", parsed_.options.strict,
                   "fail a text that is not, after leading blanks, one number as a whole "
                   "(trailing blanks and a CR allowed) instead of reading its leading number");
    }
    sub.add_option("--field", parsed_.options.field,
                   "convert the Nth field of each line (from 1) instead of the whole line")
        ->type_name("N")
        ->check(CLI::Range(std::size_t{1}, kMaxField).description(""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    sub.add_option("--delimiter", parsed_.delimiterText,
                   "the character that separates fields (default: tab)")
        ->type_name("C")
        ->check(kDelimiterCheck)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    sub.add_flag("--append", parsed_.options.append,
                 "write the whole input line, the delimiter and the answer");
    sub.add_flag("--header", parsed_.options.header,
                 "pass the first line through as the titles, with the command's name as the "
                 "answer's title");
  }

  void AddTable() {
    CLI::App& sub = *AddCommand(
        "table",
        "the z-table that textbooks print: P = f(0<x<z) for z from 0.00 to 3.99, rows 0.0 to "
        "3.9 and columns .00 to .09; each cell is x2p of the text it stands for",
        Command::kTable);
    AddDecimalMark(sub);
    sub.add_option("--format", parsed_.formatText, "text (aligned for a terminal), csv or markdown")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({"text", "csv", "markdown"}).description(""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    sub.add_option("--digits", parsed_.options.tableDigits,
                   "round each answer to N decimals for print (1 to 15); the title says so")
        ->type_name("N")
        ->check(CLI::Range(1, kMaxTableDigits).description(""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }

  void TakeTexts(const CLI::App& command, std::span<const char* const> afterEnd) {
    for (std::string& word : command.remaining()) {
      if (word.size() > kLongOptionPrefix.size() && word.starts_with(kLongOptionPrefix)) {
        throw UsageError(command.get_name() + " has no option " +
                             QuoteForMessage(word.substr(0, word.find('='))),
                         command.get_name());
      }
      parsed_.options.texts.push_back(std::move(word));
    }
    parsed_.options.texts.insert(parsed_.options.texts.end(), afterEnd.begin(), afterEnd.end());
    if (parsed_.options.command == Command::kTable && !parsed_.options.texts.empty()) {
      throw UsageError(
          "table takes no TEXT, but was given " + QuoteForMessage(parsed_.options.texts.front()),
          "table");
    }
    if (!parsed_.delimiterText.empty()) parsed_.options.delimiter = parsed_.delimiterText[0];
    if (parsed_.formatText == "csv") parsed_.options.tableFormat = TableFormat::kCsv;
    if (parsed_.formatText == "markdown") parsed_.options.tableFormat = TableFormat::kMarkdown;
  }

  void TakeDecimalMark() {
    parsed_.options.localeMark = parsed_.markText == kLocaleMarkWord;
    if (!parsed_.options.localeMark) parsed_.options.decimalMark = parsed_.markText[0];
    // The answer's column would split in two where its mark is the delimiter.
    if (parsed_.options.append && !parsed_.options.localeMark &&
        parsed_.options.decimalMark == parsed_.options.delimiter) {
      throw UsageError("--decimal-mark and --delimiter are both " +
                           QuoteForMessage(parsed_.markText) +
                           ": the appended answer would split into two fields",
                       parsed_.options.commandName);
    }
  }

  // Everything a parse writes, options' values included. A parser used
  // before starts a parse from a fresh copy, so that it parses as a new one.
  struct Parsed {
    Options options;
    std::string markText = ".";
    std::string delimiterText;
    std::string formatText = "text";
  };

  CLI::App app_;
  Parsed parsed_;
};

OptionsParser::OptionsParser() : commandLine_(std::make_unique<CommandLine>()) {}

OptionsParser::~OptionsParser() = default;

Options OptionsParser::Parse(std::span<const char* const> words) {
  return commandLine_->Parse(words);
}

Options ParseOptions(std::span<const char* const> words) { return OptionsParser().Parse(words); }

std::vector<std::string> DeclaredNames() {
  const OptionsParser parser;
  const OptionsParser::CommandLine& commandLine = *parser.commandLine_;
  std::vector<std::string> names;
  const auto addOptions = [&names](const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
      for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    }
  };
  addOptions(commandLine.App());
  for (const CLI::App* sub : commandLine.App().get_subcommands({})) {
    names.push_back(sub->get_name());
    addOptions(*sub);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace normcalc::cli
