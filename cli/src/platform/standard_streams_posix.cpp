// POSIX systems, and the emscripten runtime, pass the bytes of the standard
// streams unchanged already.
#include "standard_streams.h"

namespace normcalc::cli {

void UseBinaryStandardStreams() {}

}  // namespace normcalc::cli
