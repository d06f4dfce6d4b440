#include "line_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "normcalc/numtext.h"

namespace normcalc::cli {

namespace {

constexpr char kLineFeed = '\n';
// Reads of this size keep the system calls rare; it must exceed any prefix a
// conversion keeps, so that a long line always leaves room to read more.
constexpr std::size_t kInputBufferSize = 256 * 1024;

std::size_t BufferSizeFor(LinePrefix prefix) { return std::max(kInputBufferSize, 2 * prefix.keep); }

}  // namespace

bool IsReaderWhitespace(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');  // 0x20, 0x09-0x0D
}

LineReader::LineReader(int fd, LinePrefix prefix, std::function<void()> beforeWait)
    : fd_(fd),
      prefix_(prefix),
      beforeWait_(std::move(beforeWait)),
      buffer_(BufferSizeFor(prefix)) {}

void LineReader::Reset(int fd, LinePrefix prefix) {
  fd_ = fd;
  prefix_ = prefix;
  // Only the bytes between begin_ and end_ are ever read, so the old contents
  // need no clearing. The size is the one a new reader would have, since it
  // decides which lines count as long; shrinking keeps the allocation.
  buffer_.resize(BufferSizeFor(prefix));
  begin_ = 0;
  end_ = 0;
  endOfInput_ = false;
}

void LineReader::Fill() {
  if (beforeWait_) beforeWait_();
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw Exception(std::string("cannot read standard input: ") + std::strerror(errno));
    }
    if (got == 0) endOfInput_ = true;
    end_ += static_cast<std::size_t>(got);
    return;
  }
}

// The line goes on past the bytes read, or there is none left in them.
std::optional<std::string_view> LineReader::NextAfterRead() {
  for (;;) {
    char* const data = buffer_.data();
    const auto* lf = static_cast<const char*>(std::memchr(data + begin_, kLineFeed, end_ - begin_));
    if (lf != nullptr) {
      const std::string_view line(data + begin_, static_cast<std::size_t>(lf - (data + begin_)));
      begin_ = static_cast<std::size_t>(lf - data) + 1;
      return line;
    }
    if (endOfInput_) {
      if (begin_ == end_) return std::nullopt;
      const std::string_view line(data + begin_, end_ - begin_);
      begin_ = end_;
      return line;
    }
    // The line goes on past the bytes read: move its start to the front and read more.
    if (begin_ > 0) {
      std::memmove(data, data + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    if (end_ == buffer_.size()) return LongLine();
    Fill();
  }
}

// The buffer is full with the start of one line. Its kept prefix is gathered
// at the front of the buffer, the rest of the line is read into the space after
// it and dropped, and the bytes after its LF stay in place for the next line.
std::string_view LineReader::LongLine() {
  char* const data = buffer_.data();
  std::size_t kept = 0;
  std::size_t next = 0;  // first byte not yet looked at; never below kept
  bool leading = prefix_.dropLeadingWhitespace;
  for (;;) {
    const auto* lf = static_cast<const char*>(std::memchr(data + next, kLineFeed, end_ - next));
    const std::size_t stop = lf != nullptr ? static_cast<std::size_t>(lf - data) : end_;
    if (leading) {
      while (next < stop && IsReaderWhitespace(data[next])) ++next;
      leading = next == stop;
    }
    const std::size_t take = std::min(stop - next, prefix_.keep - kept);
    std::memmove(data + kept, data + next, take);
    kept += take;
    if (lf != nullptr) {
      begin_ = stop + 1;
      return std::string_view(data, kept);
    }
    if (endOfInput_) {
      begin_ = end_ = kept;
      return std::string_view(data, kept);
    }
    next = end_ = kept;
    Fill();
  }
}

}  // namespace normcalc::cli
