// Bytes for a file descriptor, gathered so that a million short result lines
// cost a few hundred write calls rather than a million.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace normcalc::cli {

class OutputBuffer {
 public:
  explicit OutputBuffer(int fd);

  void Append(std::string_view bytes);
  void Append(char byte);
  // Writes out everything gathered. Raises Exception when the write fails.
  void Flush();

 private:
  int fd_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

// Writes all of bytes to fd at once, without buffering. Raises Exception when
// the write fails.
void WriteAll(int fd, std::string_view bytes);

}  // namespace normcalc::cli
