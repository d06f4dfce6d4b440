// The loop of normcalc-cli: one result line per text, failures reported and
// passed over.
#pragma once

#include "line_reader.h"
#include "options.h"

namespace normcalc::cli {

// The file descriptors the tool reads and writes: the process's standard
// streams, or others when a test or fuzzer runs the tool in-process.
struct Streams {
  int in;
  int out;
  int err;
};

// Sets the decimal mark, converts each text of options (or each line of
// streams.in, read with reader once it is reset for it, when there is none),
// writes one line per text to streams.out and a message for each failed one to
// streams.err. Returns the exit status: 0 when every text converted, 1 when
// any failed.
int RunConversions(const Options& options, Streams streams, LineReader& reader);

}  // namespace normcalc::cli
