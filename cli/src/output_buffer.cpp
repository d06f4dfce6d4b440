#include "output_buffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "normcalc/numtext.h"

namespace normcalc::cli {

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw Exception(std::string("cannot write output: ") + std::strerror(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

OutputBuffer::OutputBuffer(int fd) : fd_(fd), buffer_(new char[kSize]) {}

void OutputBuffer::AppendAfterFlush(std::string_view bytes) {
  Flush();
  if (bytes.size() > kSize) return WriteAll(fd_, bytes);
  std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  used_ = bytes.size();
}

void OutputBuffer::Flush() {
  // Emptied first, so that a failed write is not repeated by a later flush.
  const std::size_t used = used_;
  used_ = 0;
  WriteAll(fd_, std::string_view(buffer_.get(), used));
}

}  // namespace normcalc::cli
