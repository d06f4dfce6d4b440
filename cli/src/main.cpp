// normcalc-cli: the calculator's conversions for scripts and batch work.
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <span>

#include "run.h"

namespace {

// The tool reads and writes bytes: only LF ends a line, and a CR belongs to
// the line's text. Windows opens the standard streams in text mode, which
// would turn each LF written into CR LF and each CR LF read into LF.
void UseBinaryStandardStreams() {
#ifdef _WIN32
  _setmode(STDIN_FILENO, _O_BINARY);
  _setmode(STDOUT_FILENO, _O_BINARY);
  _setmode(STDERR_FILENO, _O_BINARY);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  UseBinaryStandardStreams();
  return normcalc::cli::RunTool(std::span<const char* const>(argv + 1, argc - 1),
                                {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO});
}
