// normcalc-cli as a function of its words and streams, so that a fuzzer can
// run the whole tool in-process, thousands of command lines a second.
#pragma once

#include <span>

#include "line_loop.h"
#include "line_reader.h"
#include "options.h"

namespace normcalc::cli {

// Runs the tool on the words after the program's name, reading and writing
// streams, and returns its exit status: 0 when everything converted, 1 when a
// text failed or a stream could not be read or written, 2 for a command line
// the tool cannot run. Every failure is reported on streams.err.
int RunTool(std::span<const char* const> words, Streams streams);

// The tool for a caller that runs it many times: it keeps the option parser
// and the reader of standard input with its buffer, which a single run makes
// and which are most of the cost of a short one. Each run behaves as RunTool.
class Tool {
 public:
  Tool();

  int Run(std::span<const char* const> words, Streams streams);

  // The parser the runs share, for a check that it parses as a new one does.
  OptionsParser& Parser() { return parser_; }

 private:
  OptionsParser parser_;
  LineReader reader_;
};

}  // namespace normcalc::cli
