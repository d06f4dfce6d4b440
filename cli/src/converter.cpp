#include "converter.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <span>
#include <system_error>

#include "conventions.h"
#include "normcalc/numtext_stages.h"
#include "whole_number.h"

namespace normcalc::cli {

namespace {

// The longest VALUE write takes. The longest exact decimal text of a double,
// the smallest subnormal written without an exponent, is "0.", 323 zeros and
// 751 digits, about 1100 bytes; no sensible VALUE comes near this bound.
constexpr std::size_t kMaxValueLength = 4096;

// A bit pattern as read prints it: "0x" and 16 upper-case hexadecimal digits.
constexpr std::string_view kHexPrefix = "0x";
constexpr std::size_t kHexDigits = 16;
constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A VALUE may stand among blanks and carry a "+", as the texts of x2p do: a
// pasted " 1", "+1" or the CR of a CR LF line is no reason to fail. The length
// counts from the first byte that is not blank, so that a long line cut after
// that many bytes fails exactly as the whole line does.
double ParseValue(std::string_view value) {
  while (!value.empty() && IsReaderBlank(value.front())) value.remove_prefix(1);
  if (value.size() > kMaxValueLength) {
    throw Exception("VALUE is longer than " + std::to_string(kMaxValueLength) + " bytes");
  }
  while (!value.empty() && IsReaderBlank(value.back())) value.remove_suffix(1);
  if (value.starts_with(kHexPrefix)) {
    const std::string_view digits = value.substr(kHexPrefix.size());
    if (digits.size() != kHexDigits) {
      throw Exception("a bit pattern VALUE needs exactly 16 hexadecimal digits after 0x");
    }
    std::uint64_t bits = 0;
    for (const char c : digits) {
      const int digit = HexDigitValue(c);
      if (digit < 0) throw Exception("a bit pattern VALUE has a character that is not hexadecimal");
      bits = bits << 4 | static_cast<std::uint64_t>(digit);
    }
    return std::bit_cast<double>(bits);
  }
  // from_chars takes "-" but no "+"; "+-1" stays refused.
  if (value.starts_with('+') && !value.starts_with("+-")) value.remove_prefix(1);
  double number = 0;
  const char* const last = value.data() + value.size();
  const auto [end, error] = std::from_chars(value.data(), last, number);
  if (error == std::errc::result_out_of_range) {
    throw Exception("VALUE lies beyond the range of a double; give infinity or 0 as a bit pattern");
  }
  if (error != std::errc() || end != last) {
    throw Exception("VALUE is neither a decimal number nor 0x with 16 hexadecimal digits");
  }
  return number;
}

}  // namespace

Converter::Converter(Command command, bool strict)
    : command_(command), strict_(strict && command != Command::kWrite) {}

// ReadNumber skips leading whitespace and then examines no more than
// kReaderLengthLimit characters, stopping exactly as at the end of the text
// when that budget runs out. So the line without its leading whitespace, cut
// after kReaderLengthLimit bytes, reads as the same double (or raises the same
// overflow) as the whole line, however long. write, and --strict, need one
// byte past their length limits to tell a text that is too long.
LinePrefix Converter::NeededPrefix() const {
  if (command_ == Command::kWrite) return {kMaxValueLength + 1, true};
  if (strict_) return {kReaderLengthLimit + 1, true};
  return {kReaderLengthLimit, true};
}

std::string_view Converter::Convert(std::string_view text) {
  if (strict_) RequireWholeNumber(text);
  switch (command_) {
    case Command::kXToP:
      return Execute(text, XToP);
    case Command::kPToX:
      return Execute(text, PToX);
    case Command::kCdf:
      return Execute(text, Cdf);
    case Command::kSf:
      return Execute(text, Sf);
    case Command::kTwoSided:
      return Execute(text, TwoSided);
    case Command::kPpf:
      return Execute(text, Ppf);
    case Command::kRead:
      return Read(text);
    case Command::kWrite:
      return Write(text);
    case Command::kTable:
    case Command::kHelp:
    case Command::kVersion:
      break;
  }
  throw Exception("no conversion for this command");
}

// Execute's three steps (read the box, look the value up, write the result)
// without the form model: a form hands its texts over as strings and takes
// one back, and over a million short lines those copies and allocations took a
// fifth of the tool's time. tests/cli compares every line with Execute.
std::string_view Converter::Execute(std::string_view text, double (*lookup)(double)) {
  const double result = lookup(ReadNumber(text));
  const int length = WriteNumber(result, LocaleDecimalMark(), std::span(text_));
  return {text_.data(), static_cast<std::size_t>(length)};
}

std::string_view Converter::Read(std::string_view text) {
  const double value = ReadNumber(text);
  const auto bits = std::bit_cast<std::uint64_t>(value);
  // "0x", 16 digits, a tab, and the longest shortest form ("-2.2250738585072014e-308", 24).
  char line[64];
  char* out = line;
  *out++ = '0';
  *out++ = 'x';
  for (int shift = 60; shift >= 0; shift -= 4) *out++ = kUpperHexDigits[(bits >> shift) & 0xF];
  *out++ = '\t';
  out = std::to_chars(out, line + sizeof line, value).ptr;
  result_.assign(line, out);
  return result_;
}

std::string_view Converter::Write(std::string_view value) {
  result_ = WriteNumber(ParseValue(value));
  return result_;
}

}  // namespace normcalc::cli
