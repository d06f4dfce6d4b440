// Standard input one line at a time, in constant memory whatever the length of
// a line: of a line longer than the buffer only a bounded prefix is kept.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

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
  // Reads of this size keep the system calls rare.
  static constexpr std::size_t kDefaultBufferSize = 256 * 1024;

  // beforeWait runs before each read from fd, so that output already made
  // reaches an interactive user before the tool waits for the next line.
  // A line that does not fit the buffer is long. The buffer is made at least
  // twice the prefix kept, so that a long line always leaves room to read
  // more; a test or a fuzzer asks for a small one to reach long lines cheaply.
  LineReader(int fd, LinePrefix prefix, std::function<void()> beforeWait,
             std::size_t bufferSize = kDefaultBufferSize);

  // Starts over on another input exactly as a reader newly made with these
  // arguments would, but reusing the buffer where it can: a fuzzer reading a
  // million short inputs then allocates it once, not once per input.
  void Reset(int fd, LinePrefix prefix, std::function<void()> beforeWait,
             std::size_t bufferSize = kDefaultBufferSize);

  std::size_t BufferSize() const { return size_; }

  // The next line without its LF (CR and NUL bytes are part of it), or nothing
  // at the end of input. A last line without LF is still a line. The view
  // stays valid until the next call. Raises Exception when reading fails.
  // Inline for a line already in the buffer, the case of nearly every line.
  std::optional<std::string_view> Next() {
    char* const data = buffer_.get();
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
  std::size_t size_;
  // Left uninitialised: only the bytes between begin_ and end_ are ever read,
  // and clearing 256 KiB would be most of the work of a short input.
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // end of the bytes read
  bool endOfInput_ = false;
};

}  // namespace normcalc::cli
