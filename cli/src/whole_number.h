// --strict: whether a text is one number as a whole, by the number reader's own
// rules, rather than a number with something after it that the reader ignores.
#pragma once

#include <string_view>

namespace normcalc::cli {

// Raises Exception with a message that says what is wrong unless text is, after
// leading whitespace, one number as ReadNumber reads it, followed by nothing
// but whitespace (so a CR of a CR LF line passes). A text longer than the
// reader's 32767 characters fails too, since the reader would not read it all.
void RequireWholeNumber(std::string_view text);

// The length of the number at the start of text (which starts with no
// whitespace) as ReadNumber's scan reads it; 0 when no number starts there.
std::size_t LeadingNumberLength(std::string_view text);

}  // namespace normcalc::cli
