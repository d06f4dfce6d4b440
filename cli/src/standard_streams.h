// The seam between the tool and the platform's standard streams. One
// implementation per platform lives under platform/, and the build compiles
// exactly one (see NORMCALC_PLATFORM in the top CMakeLists.txt).
#pragma once

namespace normcalc::cli {

// The tool reads and writes bytes: only LF ends a line, and a CR belongs to
// the line's text. Sets standard input, output and error to pass bytes
// unchanged where the platform would otherwise translate line ends.
void UseBinaryStandardStreams();

}  // namespace normcalc::cli
