// WriteNumber on arbitrary 8-byte patterns (the first eight bytes of the
// input; the rest is ignored): every double gives a short text of
// the general form that reads back to the value within one unit of its 15th
// significant digit, and the decimal mark is the only thing the mark changes.

#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "normcalc/numtext.h"

namespace {

// "-", one digit, the mark, 14 digits, "E", "-", three exponent digits.
constexpr std::size_t kLongestText = 22;
constexpr int kSignificantDigits = 15;

[[noreturn]] void Fail(double value, const std::string& text, const char* what) {
  std::fprintf(stderr, "WriteNumber(%a = 0x%016llx) = \"%s\": %s\n", value,
               static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)), text.c_str(),
               what);
  std::abort();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The general form: [-]digits[.digits][E[-]digits], no "+", no leading zero in
// the exponent, no trailing "0" after the mark, no mark without digits after it.
bool HasGeneralForm(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const std::size_t integerStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == integerStart) return false;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == fractionStart || text[i - 1] == '0') return false;
  }
  if (i < text.size() && text[i] == 'E') {
    ++i;
    if (i < text.size() && text[i] == '-') ++i;
    const std::size_t exponentStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == exponentStart || text[exponentStart] == '0') return false;
  }
  return i == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);

  const std::string text = normcalc::WriteNumber(value, '.');
  if (text.empty() || text.size() > kLongestText) Fail(value, text, "length outside 1..22");

  // The same digits with another mark: only the separator may differ.
  std::string comma = normcalc::WriteNumber(value, ',');
  for (char& c : comma) {
    if (c == ',') c = '.';
  }
  if (comma != text) Fail(value, text, "the mark changes more than the separator");

  if (std::isnan(value)) {
    if (text != "NAN") Fail(value, text, "a NaN is not \"NAN\"");
    return 0;
  }
  if (std::isinf(value)) {
    if (text != (value < 0 ? "-INF" : "INF")) Fail(value, text, "an infinity is not [-]INF");
    return 0;
  }
  if (!HasGeneralForm(text)) Fail(value, text, "not the general form");
  if ((text[0] == '-') != (value < 0)) Fail(value, text, "wrong sign");

  // Read back through the C++ library, independent of numtext. In long double
  // the text's value is held to 64 bits and no text overflows it, so the check
  // sees the decimal rounding alone: at most one unit of the 15th digit of the
  // larger of the two magnitudes.
  long double readBack = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), readBack);
  if (error != std::errc() || end != text.data() + text.size()) Fail(value, text, "unreadable");
  const long double magnitude = std::fmax(std::fabs(readBack), std::fabs(value));
  if (magnitude == 0) {
    if (text != "0") Fail(value, text, "zero is not \"0\"");
    return 0;
  }
  const long double unit =
      std::pow(10.0L, std::floor(std::log10(magnitude)) - (kSignificantDigits - 1));
  if (std::fabs(readBack - value) > unit)
    Fail(value, text, "more than one unit of the 15th digit away");

  // Read back as a double too: that reading adds at most half a unit in the
  // last place of the double, which only subnormals notice. Only the largest
  // doubles write a text beyond the double range ("1.79769313486232E308").
  double readBackDouble = 0;
  const auto [endDouble, errorDouble] =
      std::from_chars(text.data(), text.data() + text.size(), readBackDouble);
  if (errorDouble == std::errc::result_out_of_range &&
      std::fabs(readBack) > std::numeric_limits<double>::max()) {
    return 0;
  }
  if (errorDouble != std::errc()) Fail(value, text, "unreadable as a double");
  const long double slack =
      unit + std::fabs(static_cast<long double>(std::nextafter(value, 0.0)) - value);
  if (std::fabs(static_cast<long double>(readBackDouble) - value) > slack) {
    Fail(value, text, "read back as a double, more than one unit away");
  }
  return 0;
}
