// The text the calculator shows for a double: 15 significant digits in the
// general layout.
#include <span>
#include <string>

#include "normcalc/numtext_stages.h"

namespace normcalc {

namespace {

// Fifteen digits are as many as every double carries (its 53 bits hold any
// 15-digit decimal), so the shown text never claims digits the value lacks.
constexpr int kShownPrecision = 15;

}  // namespace

int WriteNumber(double value, char decimalMark, std::span<char, kNumberTextBufferSize> buffer) {
  const DecimalForm form = ToDecimalForm(Extended::FromDouble(value), kShownPrecision);
  return LayoutGeneral(form, kShownPrecision, decimalMark, buffer);
}

std::string WriteNumber(double value, char decimalMark) {
  char buffer[kNumberTextBufferSize];
  const int length = WriteNumber(value, decimalMark, std::span(buffer));
  return std::string(buffer, static_cast<std::string::size_type>(length));
}

// One copy of the mark per call: the text is laid out with the separator in
// force when the call began, whatever a settings change does meanwhile.
std::string WriteNumber(double value) { return WriteNumber(value, LocaleDecimalMark()); }

}  // namespace normcalc
