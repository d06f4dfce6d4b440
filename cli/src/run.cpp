#include "run.h"

#include <string>

#include "normcalc/numtext.h"
#include "options.h"
#include "output_buffer.h"
#include "z_table.h"

namespace normcalc::cli {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsageError = 2;

int ReportUsageError(const UsageError& error, Streams streams) {
  const std::string help = error.CommandName().empty()
                               ? "normcalc-cli --help"
                               : "normcalc-cli " + error.CommandName() + " --help";
  WriteAll(streams.err,
           "normcalc-cli: " + error.Message() + "\nTry '" + help + "' for more information.\n");
  return kExitUsageError;
}

int RunCommand(const Options& options, Streams streams, LineReader& reader) {
  try {
    switch (options.command) {
      case Command::kHelp:
        WriteAll(streams.out, options.message);
        return 0;
      case Command::kVersion:
        WriteAll(streams.out, "normcalc-cli " NORMCALC_VERSION "\n");
        return 0;
      case Command::kTable:
        if (options.localeMark) ReadFormatSettings();
        WriteAll(streams.out,
                 ZTable(options.tableFormat, options.tableDigits,
                        options.localeMark ? LocaleDecimalMark() : options.decimalMark));
        return 0;
      default:
        return RunConversions(options, streams, reader);
    }
  } catch (const UsageError& error) {
    // The command line parsed, but asks for what cannot be done here (a
    // delimiter that is the locale's decimal mark).
    return ReportUsageError(error, streams);
  } catch (const Exception& error) {
    // Reading or writing a stream failed, or a line was longer than --field and
    // --append hold; the lines before it have been handled.
    WriteAll(streams.err, "normcalc-cli: " + error.Message() + "\n");
    return kExitFailure;
  }
}

}  // namespace

int RunTool(std::span<const char* const> words, Streams streams) {
  Tool tool;
  return tool.Run(words, streams);
}

// The reader is reset for each run that reads standard input; until then it
// reads nothing.
Tool::Tool() : reader_(-1, {}, {}) {}

int Tool::Run(std::span<const char* const> words, Streams streams) {
  Options options;
  try {
    options = parser_.Parse(words);
  } catch (const UsageError& error) {
    return ReportUsageError(error, streams);
  }
  return RunCommand(options, streams, reader_);
}

}  // namespace normcalc::cli
