// Bytes for a file descriptor, gathered so that a million short result lines
// cost a few hundred write calls rather than a million.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace normcalc::cli {

class OutputBuffer {
 public:
  explicit OutputBuffer(int fd);

  // Inline: a million short result lines make these the tool's innermost calls.
  void Append(std::string_view bytes) {
    if (bytes.size() > kSize - used_) return AppendAfterFlush(bytes);
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void Append(char byte) {
    if (used_ == kSize) Flush();
    buffer_[used_++] = byte;
  }
  // Writes out everything gathered. Raises Exception when the write fails.
  void Flush();

 private:
  void AppendAfterFlush(std::string_view bytes);

  // Large enough that the write calls cost nothing beside the conversions,
  // small enough to stay in the cache.
  static constexpr std::size_t kSize = 64 * 1024;

  int fd_;
  std::unique_ptr<char[]> buffer_;  // only the first used_ bytes are ever read
  std::size_t used_ = 0;
};

// Writes all of bytes to fd at once, without buffering. Raises Exception when
// the write fails.
void WriteAll(int fd, std::string_view bytes);

}  // namespace normcalc::cli
