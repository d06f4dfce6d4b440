// The one crossing between the core's UTF-8 texts and the wide Windows API.
#pragma once

#include <string>
#include <string_view>

namespace normcalc {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::wstring Widen(std::string_view text);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view text);

// Throws an Exception whose message is the system's text for GetLastError().
[[noreturn]] void RaiseLastOSError();

}  // namespace normcalc
