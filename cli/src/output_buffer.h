// Bytes for a file descriptor, gathered so that a million short result lines
// cost a few hundred write calls rather than a million.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace normcalc::cli {

class OutputBuffer {
 public:
  explicit OutputBuffer(int fd);

  // Inline: a million short result lines make these the tool's innermost calls.
  void Append(std::string_view bytes) {
    if (bytes.size() > buffer_.size() - used_) return AppendAfterFlush(bytes);
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void Append(char byte) {
    if (used_ == buffer_.size()) Flush();
    buffer_[used_++] = byte;
  }
  // Writes out everything gathered. Raises Exception when the write fails.
  void Flush();

 private:
  void AppendAfterFlush(std::string_view bytes);

  int fd_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

// Writes all of bytes to fd at once, without buffering. Raises Exception when
// the write fails.
void WriteAll(int fd, std::string_view bytes);

}  // namespace normcalc::cli
