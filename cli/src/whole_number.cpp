#include "whole_number.h"

#include <string>

#include "message_quote.h"
#include "normcalc/numtext_stages.h"

namespace normcalc::cli {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// The grammar of the reader's scan: one sign; after a sign, INF or NAN in upper
// case; otherwise digits with at most one point, at least one digit; then an
// optional exponent mark with an optional sign and digits (a mark with no
// digits is still read, and means a power of 0).
std::size_t LeadingNumberLength(std::string_view text) {
  std::size_t at = 0;
  const auto next = [&] { return at < text.size() ? text[at] : '\0'; };
  const bool signed_ = next() == '+' || next() == '-';
  if (signed_) ++at;
  if (signed_ && (next() == 'I' || next() == 'N')) {
    const std::string_view word = text.substr(at, 3);
    return word == "INF" || word == "NAN" ? at + 3 : 0;
  }
  bool digits = false;
  bool point = false;
  for (;; ++at) {
    if (IsDigit(next())) {
      digits = true;
    } else if (next() == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (next() == 'e' || next() == 'E') {
    ++at;
    if (next() == '+' || next() == '-') ++at;
    while (IsDigit(next())) ++at;
  }
  return at;
}

void RequireWholeNumber(std::string_view text) {
  while (!text.empty() && IsReaderBlank(text.front())) text.remove_prefix(1);
  if (text.size() > kReaderLengthLimit) {
    throw Exception("longer than the " + std::to_string(kReaderLengthLimit) +
                    " characters the number reader takes (--strict)");
  }
  const std::size_t length = LeadingNumberLength(text);
  if (length == 0) throw Exception("not a number (--strict)");
  std::string_view rest = text.substr(length);
  while (!rest.empty() && IsReaderBlank(rest.back())) rest.remove_suffix(1);
  if (!rest.empty()) {
    throw Exception("a number followed by " + QuoteForMessage(rest) + " (--strict)");
  }
}

}  // namespace normcalc::cli
