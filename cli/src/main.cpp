// normcalc-cli: the calculator's conversions for scripts and batch work.
#include <unistd.h>

#include <span>

#include "run.h"
#include "standard_streams.h"

int main(int argc, char** argv) {
  normcalc::cli::UseBinaryStandardStreams();
  return normcalc::cli::RunTool(std::span<const char* const>(argv + 1, argc - 1),
                                {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO});
}
