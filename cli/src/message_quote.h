// A text as a message shows it: quoted, shortened when long, and with the bytes
// that would disturb a terminal written as escapes, so that the message stays
// one readable line whatever the input held.
#pragma once

#include <string>
#include <string_view>

namespace normcalc::cli {

// The longest text a message shows whole; a longer one shows this many bytes
// (fewer when that would split a UTF-8 character) and "...".
inline constexpr std::size_t kQuotedTextLimit = 40;

// "text" with control bytes as \t, \r, \n, \0 or \xHH, and " and \ escaped.
std::string QuoteForMessage(std::string_view text);

}  // namespace normcalc::cli
