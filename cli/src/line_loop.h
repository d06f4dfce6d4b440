// The loop of normcalc-cli: one result line per text, failures reported and
// passed over.
#pragma once

#include "options.h"

namespace normcalc::cli {

// Sets the decimal mark, converts each text of options (or each line of
// standard input when there is none), writes one line per text to standard
// output and a message for each failed one to standard error. Returns the exit
// status: 0 when every text converted, 1 when any failed.
int RunConversions(const Options& options);

}  // namespace normcalc::cli
