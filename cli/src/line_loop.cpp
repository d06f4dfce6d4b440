#include "line_loop.h"

#include <unistd.h>

#include <cstdint>
#include <string>

#include "converter.h"
#include "line_reader.h"
#include "normcalc/core.h"
#include "output_buffer.h"

namespace normcalc::cli {

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitSomeLineFailed = 1;

class LineLoop {
 public:
  explicit LineLoop(Command command) : converter_(command), out_(STDOUT_FILENO) {}

  void Convert(std::string_view text) {
    ++lineNumber_;
    try {
      out_.Append(converter_.Convert(text));
      out_.Append('\n');
    } catch (const Exception& failure) {
      Report(failure);
    }
  }

  void ConvertStandardInput() {
    LineReader reader(STDIN_FILENO, converter_.NeededPrefix(), [this] { out_.Flush(); });
    while (const auto line = reader.Next()) Convert(*line);
  }

  int Finish() {
    out_.Flush();
    return anyFailed_ ? kExitSomeLineFailed : kExitSuccess;
  }

 private:
  // The failed line keeps its place in the output as an empty line. Standard
  // output is flushed first so that on a terminal the message appears beside it.
  void Report(const Exception& failure) {
    anyFailed_ = true;
    out_.Append('\n');
    out_.Flush();
    WriteAll(STDERR_FILENO, "normcalc-cli: line " + std::to_string(lineNumber_) + ": " +
                                ErrorBoxText(failure.Message()) + "\n");
  }

  Converter converter_;
  OutputBuffer out_;
  std::uint64_t lineNumber_ = 0;
  bool anyFailed_ = false;
};

}  // namespace

int RunConversions(const Options& options) {
  if (options.localeMark) {
    ReadFormatSettings();
  } else {
    SetLocaleDecimalMark(options.decimalMark);
  }
  LineLoop loop(options.command);
  if (options.texts.empty()) {
    loop.ConvertStandardInput();
  } else {
    for (const std::string_view text : options.texts) loop.Convert(text);
  }
  return loop.Finish();
}

}  // namespace normcalc::cli
