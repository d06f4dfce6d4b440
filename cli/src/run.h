// normcalc-cli as a function of its words and streams, so that a fuzzer can
// run the whole tool in-process, thousands of command lines a second.
#pragma once

#include <span>

#include "line_loop.h"
#include "options.h"

namespace normcalc::cli {

// Runs the tool on the words after the program's name, reading and writing
// streams, and returns its exit status: 0 when everything converted, 1 when a
// text failed or a stream could not be read or written, 2 for a command line
// the tool cannot run. Every failure is reported on streams.err.
int RunTool(std::span<const char* const> words, Streams streams);

// The same with a parser the caller keeps, for one that runs the tool many
// times.
int RunTool(std::span<const char* const> words, Streams streams, OptionsParser& parser);

}  // namespace normcalc::cli
