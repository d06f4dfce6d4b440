#include "line_loop.h"

#include <cstdint>
#include <optional>
#include <string>

#include "converter.h"
#include "line_reader.h"
#include "message_quote.h"
#include "normcalc/core.h"
#include "normcalc/numtext_stages.h"
#include "output_buffer.h"

namespace normcalc::cli {

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitSomeLineFailed = 1;

// --field and --append keep a whole line, to find its field or to write it out
// again; a line longer than this ends the run rather than the tool's memory.
constexpr std::size_t kMaxHeldLine = std::size_t{1} << 20;

// The field-th field of line (from 1), or nothing when the line has fewer.
std::optional<std::string_view> FieldOf(std::string_view line, std::size_t field, char delimiter) {
  for (std::size_t i = 1; i < field; ++i) {
    const std::size_t at = line.find(delimiter);
    if (at == std::string_view::npos) return std::nullopt;
    line.remove_prefix(at + 1);
  }
  return line.substr(0, line.find(delimiter));
}

std::string_view WithoutLeadingWhitespace(std::string_view text) {
  while (!text.empty() && IsReaderBlank(text.front())) text.remove_prefix(1);
  return text;
}

class LineLoop {
 public:
  LineLoop(const Options& options, Streams streams, const char* unit)
      : options_(options),
        streams_(streams),
        converter_(options.command, options.strict),
        out_(streams.out),
        unit_(unit),
        columns_(options.field > 0 || options.append || options.header) {}

  void Convert(std::string_view text) {
    ++lineNumber_;
    if (columns_) return ConvertColumns(text);
    try {
      out_.Append(converter_.Convert(text));
      out_.Append('\n');
    } catch (const Exception& failure) {
      out_.Append('\n');
      Report(text, failure);
    }
  }

  void ConvertStandardInput(LineReader& reader) {
    const LinePrefix prefix = options_.field > 0 || options_.append
                                  ? LinePrefix{kMaxHeldLine + 1, false}
                                  : converter_.NeededPrefix();
    reader.Reset(streams_.in, prefix, [this] { out_.Flush(); });
    while (const auto line = reader.Next()) Convert(*line);
  }

  int Finish() {
    out_.Flush();
    return anyFailed_ ? kExitSomeLineFailed : kExitSuccess;
  }

 private:
  // --field, --append and --header. A line that ends in CR keeps its CR LF
  // ending after the appended answer, so that a CR LF file stays one.
  void ConvertColumns(std::string_view line) {
    if (line.size() > kMaxHeldLine) {
      out_.Flush();
      throw Exception(std::string(unit_) + " " + std::to_string(lineNumber_) + " is longer than " +
                      std::to_string(kMaxHeldLine) +
                      " bytes, the most that --field and --append hold");
    }
    std::string_view ending = "\n";
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
      if (options_.append) ending = "\r\n";
    }
    if (options_.append) {
      out_.Append(line);
      out_.Append(options_.delimiter);
    }
    if (options_.header && lineNumber_ == 1) {
      out_.Append(options_.commandName);
      out_.Append(ending);
      return;
    }
    std::string_view text = line;
    if (options_.field > 0) {
      const auto field = FieldOf(line, options_.field, options_.delimiter);
      if (!field) {
        out_.Append(ending);
        Report(line, Exception("has no field " + std::to_string(options_.field)));
        return;
      }
      text = *field;
    }
    try {
      out_.Append(converter_.Convert(text));
      out_.Append(ending);
    } catch (const Exception& failure) {
      out_.Append(ending);
      Report(text, failure);
    }
  }

  // The failed line keeps its place in the output (an empty line, or the
  // input line with an empty answer). Standard output is flushed first so that
  // on a terminal the message appears beside it. The message shows the text
  // from its first non-blank byte, as the reader saw it.
  void Report(std::string_view text, const Exception& failure) {
    anyFailed_ = true;
    out_.Flush();
    WriteAll(streams_.err, "normcalc-cli: " + std::string(unit_) + " " +
                               std::to_string(lineNumber_) + ": " +
                               QuoteForMessage(WithoutLeadingWhitespace(text)) + ": " +
                               ErrorBoxText(failure.Message()) + "\n");
  }

  const Options& options_;
  Streams streams_;
  Converter converter_;
  OutputBuffer out_;
  const char* unit_;  // "line" or "argument"
  bool columns_;
  std::uint64_t lineNumber_ = 0;
  bool anyFailed_ = false;
};

}  // namespace

int RunConversions(const Options& options, Streams streams, LineReader& reader) {
  if (options.localeMark) {
    ReadFormatSettings();
  } else {
    SetLocaleDecimalMark(options.decimalMark);
  }
  if (options.append && LocaleDecimalMark() == options.delimiter) {
    throw UsageError("the locale's decimal mark is the --delimiter " +
                         QuoteForMessage(std::string(1, options.delimiter)) +
                         ": the appended answer would split into two fields",
                     options.commandName);
  }
  if (options.texts.empty()) {
    LineLoop loop(options, streams, "line");
    loop.ConvertStandardInput(reader);
    return loop.Finish();
  }
  LineLoop loop(options, streams, "argument");
  for (const std::string& text : options.texts) loop.Convert(text);
  return loop.Finish();
}

}  // namespace normcalc::cli
