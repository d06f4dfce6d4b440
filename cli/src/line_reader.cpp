#include "line_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "normcalc/numtext.h"
#include "normcalc/numtext_stages.h"

namespace normcalc::cli {

namespace {

constexpr char kLineFeed = '\n';

// Room for the kept prefix and as much again to read into, and never none.
std::size_t BufferSizeFor(LinePrefix prefix, std::size_t asked) {
  return std::max({asked, 2 * prefix.keep, std::size_t{1}});
}

}  // namespace

LineReader::LineReader(int fd, LinePrefix prefix, std::function<void()> beforeWait,
                       std::size_t bufferSize)
    : fd_(fd),
      prefix_(prefix),
      beforeWait_(std::move(beforeWait)),
      size_(BufferSizeFor(prefix, bufferSize)),
      buffer_(new char[size_]) {}

void LineReader::Reset(int fd, LinePrefix prefix, std::function<void()> beforeWait,
                       std::size_t bufferSize) {
  fd_ = fd;
  prefix_ = prefix;
  beforeWait_ = std::move(beforeWait);
  // The size is the one a new reader would have, since it decides which lines
  // count as long.
  if (const std::size_t size = BufferSizeFor(prefix, bufferSize); size != size_) {
    buffer_.reset(new char[size]);
    size_ = size;
  }
  begin_ = 0;
  end_ = 0;
  endOfInput_ = false;
}

void LineReader::Fill() {
  if (beforeWait_) beforeWait_();
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.get() + end_, size_ - end_);
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
    char* const data = buffer_.get();
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
    if (end_ == size_) return LongLine();
    Fill();
  }
}

// The buffer is full with the start of one line. Its kept prefix is gathered
// at the front of the buffer, the rest of the line is read into the space after
// it and dropped, and the bytes after its LF stay in place for the next line.
std::string_view LineReader::LongLine() {
  char* const data = buffer_.get();
  std::size_t kept = 0;
  std::size_t next = 0;  // first byte not yet looked at; never below kept
  bool leading = prefix_.dropLeadingWhitespace;
  for (;;) {
    const auto* lf = static_cast<const char*>(std::memchr(data + next, kLineFeed, end_ - next));
    const std::size_t stop = lf != nullptr ? static_cast<std::size_t>(lf - data) : end_;
    if (leading) {
      while (next < stop && IsReaderBlank(data[next])) ++next;
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
