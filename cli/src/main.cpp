// normcalc-cli: the calculator's conversions for scripts and batch work.
#include <unistd.h>

#include <span>
#include <string>

#include "line_loop.h"
#include "normcalc/numtext.h"
#include "options.h"
#include "output_buffer.h"
#include "standard_streams.h"
#include "z_table.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  using namespace normcalc::cli;
  UseBinaryStandardStreams();
  try {
    const Options options = ParseOptions(std::span<const char* const>(argv + 1, argc - 1));
    switch (options.command) {
      case Command::kHelp:
        WriteAll(STDOUT_FILENO, options.message);
        return 0;
      case Command::kVersion:
        WriteAll(STDOUT_FILENO, "normcalc-cli " NORMCALC_VERSION "\n");
        return 0;
      case Command::kTable:
        if (options.localeMark) normcalc::ReadFormatSettings();
        WriteAll(STDOUT_FILENO,
                 ZTable(options.tableFormat, options.tableDigits,
                        options.localeMark ? normcalc::LocaleDecimalMark() : options.decimalMark));
        return 0;
      default:
        return RunConversions(options);
    }
  } catch (const UsageError& error) {
    const std::string help = error.CommandName().empty()
                                 ? "normcalc-cli --help"
                                 : "normcalc-cli " + error.CommandName() + " --help";
    WriteAll(STDERR_FILENO,
             "normcalc-cli: " + error.Message() + "\nTry '" + help + "' for more information.\n");
    return kExitUsageError;
  } catch (const normcalc::Exception& error) {
    // Reading or writing a stream failed, or a line was longer than --field and
    // --append hold; the lines before it have been handled.
    WriteAll(STDERR_FILENO, "normcalc-cli: " + error.Message() + "\n");
    return kExitFailure;
  }
}
