// One conversion of normcalc-cli applied to one text: the result line that
// the command prints for it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "line_reader.h"
#include "normcalc/core.h"
#include "normcalc/numtext.h"
#include "options.h"

namespace normcalc::cli {

class Converter {
 public:
  // strict: a text must be one number as a whole (--strict), for the
  // commands that read number text.
  explicit Converter(Command command, bool strict = false);

  // The result line for text, without its LF; valid until the next call.
  // Raises the system's exceptions: EOverflow and EInvalidOp as Execute does,
  // and Exception for a VALUE that write cannot take or a text that --strict
  // refuses.
  std::string_view Convert(std::string_view text);

  // How much of a long line decides this conversion (see the definition).
  LinePrefix NeededPrefix() const;

 private:
  std::string_view Execute(std::string_view text, double (*lookup)(double));
  std::string_view Read(std::string_view text);
  std::string_view Write(std::string_view value);

  Command command_;
  bool strict_;
  std::array<char, kNumberTextBufferSize> text_{};  // the text x2p and p2x lay out
  std::string result_;
};

}  // namespace normcalc::cli
