// Windows opens the standard streams in text mode, which would turn each LF
// written into CR LF and each CR LF read into LF.
#include <fcntl.h>
#include <io.h>
#include <unistd.h>

#include "standard_streams.h"

namespace normcalc::cli {

void UseBinaryStandardStreams() {
  _setmode(STDIN_FILENO, _O_BINARY);
  _setmode(STDOUT_FILENO, _O_BINARY);
  _setmode(STDERR_FILENO, _O_BINARY);
}

}  // namespace normcalc::cli
