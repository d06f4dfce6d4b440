// Standard input one line at a time, in constant memory whatever the length of
// a line: of a line longer than the buffer only a bounded prefix is kept.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace normcalc::cli {

// The part of a line that decides a conversion: the line with leading
// whitespace dropped (when the conversion skips it anyway), cut after `keep`
// bytes. A line that fits the reader's buffer is handed out whole.
struct LinePrefix {
  std::size_t keep;
  bool dropLeadingWhitespace;
};

class LineReader {
 public:
  // beforeWait runs before each read from fd, so that output already made
  // reaches an interactive user before the tool waits for the next line.
  LineReader(int fd, LinePrefix prefix, std::function<void()> beforeWait);

  // Starts over on another input exactly as a reader newly made for fd and
  // prefix would, but reusing the buffer: a fuzzer reading a million short
  // inputs then allocates it once rather than once per input.
  void Reset(int fd, LinePrefix prefix);

  // The next line without its LF (CR and NUL bytes are part of it), or nothing
  // at the end of input. A last line without LF is still a line. The view
  // stays valid until the next call. Raises Exception when reading fails.
  // Inline for a line already in the buffer, the case of nearly every line.
  std::optional<std::string_view> Next() {
    char* const data = buffer_.data();
    const auto* lf = static_cast<const char*>(std::memchr(data + begin_, '\n', end_ - begin_));
    if (lf == nullptr) return NextAfterRead();
    const std::string_view line(data + begin_, static_cast<std::size_t>(lf - (data + begin_)));
    begin_ = static_cast<std::size_t>(lf - data) + 1;
    return line;
  }

 private:
  std::optional<std::string_view> NextAfterRead();
  std::string_view LongLine();
  void Fill();

  int fd_;
  LinePrefix prefix_;
  std::function<void()> beforeWait_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // end of the bytes read
  bool endOfInput_ = false;
};

// The whitespace that the number reader skips before a number: tab, LF,
// vertical tab, form feed, CR and space.
bool IsReaderWhitespace(char byte);

}  // namespace normcalc::cli
