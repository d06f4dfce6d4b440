#include "message_quote.h"

namespace normcalc::cli {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kEllipsis = "...";

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::string QuoteForMessage(std::string_view text) {
  bool shortened = false;
  if (text.size() > kQuotedTextLimit) {
    std::size_t cut = kQuotedTextLimit;
    // Back to the first byte of the character the cut would split.
    while (cut > 0 && IsUtf8Continuation(text[cut])) --cut;
    text = text.substr(0, cut);
    shortened = true;
  }
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\0':
        quoted += "\\0";
        break;
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          quoted += "\\x";
          quoted += kHexDigits[byte >> 4];
          quoted += kHexDigits[byte & 0xF];
        } else {
          quoted += c;
        }
    }
  }
  if (shortened) quoted += kEllipsis;
  quoted += '"';
  return quoted;
}

}  // namespace normcalc::cli
