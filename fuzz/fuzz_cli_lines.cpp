// normcalc-cli's line handling: standard input split into lines by LineReader,
// each converted by Converter. Whatever the bytes, every line the reader hands
// out converts exactly as the whole line would: the same text, or the same
// failure. Lines past the reader's buffer are kept only as a bounded prefix,
// so the input is sometimes padded past that buffer with leading whitespace or
// trailing bytes to check that the prefix still decides the conversion, and the
// buffer is made as small as the reader allows.
//
// Input layout: a byte choosing the command and --strict, a byte choosing the
// padding, a byte giving the padding character, then standard input.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "converter.h"
#include "line_reader.h"
#include "normcalc/core.h"

namespace {

using normcalc::cli::Command;

constexpr char kWhitespace[] = {' ', '\t', '\v', '\f', '\r'};  // not LF: that ends the line

struct Outcome {
  bool failed = false;
  std::string text;  // the result line, or the failure's message
  bool operator==(const Outcome&) const = default;
};

Outcome Convert(normcalc::cli::Converter& converter, std::string_view line) {
  try {
    return {false, std::string(converter.Convert(line))};
  } catch (const normcalc::Exception& failure) {
    return {true, failure.Message()};
  }
}

// The lines of the input as the tool documents them: split at LF, a last line
// without LF still a line, nothing after a final LF.
std::vector<std::string_view> SplitLines(std::string_view input) {
  std::vector<std::string_view> lines;
  while (!input.empty()) {
    const std::size_t lf = input.find('\n');
    lines.push_back(input.substr(0, lf));
    input = lf == std::string_view::npos ? std::string_view() : input.substr(lf + 1);
  }
  return lines;
}

[[noreturn]] void Fail(std::size_t lineIndex, const Outcome& got, const Outcome& expected,
                       const char* what) {
  std::fprintf(stderr, "line %zu: %s: got %s\"%s\", expected %s\"%s\"\n", lineIndex + 1, what,
               got.failed ? "failure " : "", got.text.c_str(), expected.failed ? "failure " : "",
               expected.text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHeader = 3;
  if (size < kHeader) return 0;
  constexpr Command kCommands[] = {Command::kXToP,     Command::kPToX, Command::kRead,
                                   Command::kWrite,    Command::kCdf,  Command::kSf,
                                   Command::kTwoSided, Command::kPpf};
  const Command command = kCommands[data[0] % 8];
  const bool strict = (data[0] & 8) != 0;
  const int padding = data[1] % 32;  // 1: leading whitespace, 2: trailing bytes, 3: both
  normcalc::cli::Converter converter(command, strict);
  normcalc::cli::Converter whole(command, strict);

  // One input file, one text and one reader for the whole run, each reset
  // here: allocating the reader's buffer for every input held the run to
  // about a thousand inputs a second. The buffer is the smallest the reader
  // allows, so that a line past it costs tens of KiB rather than hundreds,
  // and lines cross its end often.
  static const int fd = memfd_create("stdin", 0);
  static normcalc::cli::LineReader reader(fd, converter.NeededPrefix(), {}, 0);
  reader.Reset(fd, converter.NeededPrefix(), {}, 0);
  const std::size_t longLine = reader.BufferSize() + data[2] / 8;

  static std::string input;
  input.assign(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);
  if (padding == 1 || padding == 3) {
    input.insert(0, longLine, kWhitespace[data[2] % sizeof kWhitespace]);
  }
  if (padding == 2 || padding == 3) {
    const char filler = data[2] == '\n' ? ' ' : static_cast<char>(data[2]);
    input.insert(std::min(input.find('\n'), input.size()), longLine, filler);
  }
  if (fd < 0 || ftruncate(fd, 0) != 0 ||
      pwrite(fd, input.data(), input.size(), 0) != static_cast<ssize_t>(input.size()) ||
      lseek(fd, 0, SEEK_SET) != 0) {
    std::perror("memfd");
    std::abort();
  }
  const std::vector<std::string_view> lines = SplitLines(input);
  std::size_t count = 0;
  while (const auto line = reader.Next()) {
    if (count == lines.size()) Fail(count, {}, {}, "more lines than the input holds");
    const Outcome got = Convert(converter, *line);
    if (!got.failed && got.text.find('\n') != std::string::npos) {
      Fail(count, got, got, "a result holds an LF");
    }
    // A line shorter than the buffer is handed out whole. A conversion depends
    // on its text alone, so such a line needs no second one; a long line's
    // kept prefix must decide as the whole line does.
    if (lines[count].size() < reader.BufferSize() && *line != lines[count]) {
      Fail(count, {false, std::string(*line)}, {false, std::string(lines[count])},
           "a line that fits the buffer is not handed out whole");
    }
    if (*line != lines[count]) {
      const Outcome expected = Convert(whole, lines[count]);
      if (got != expected) Fail(count, got, expected, "the line converts unlike the whole line");
    }
    ++count;
  }
  if (count != lines.size()) Fail(count, {}, {}, "fewer lines than the input holds");
  return 0;
}
