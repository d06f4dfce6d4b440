// Debian's emscripten 3.1.6 ships a C++ library (libc++ 13) from before three
// C++20/C++17 pieces that the project uses: std::bit_cast, and std::to_chars /
// std::from_chars for double. The web toolchain includes this file ahead of
// every C++ source, so the project's code stays plain standard C++. The
// conversions follow the standard's rules on top of the C library's correctly
// rounded printf and strtod; tests/web/charconv_compat_test.cpp holds them to
// the host's std::to_chars.
#pragma once
#ifdef __cplusplus
#include <version>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <type_traits>

namespace normcalc_compat {

// The shortest text that reads back as value, written as std::to_chars writes
// a double without a format: the fewest significant digits that round-trip
// (the nearest such when several do), then plain or scientific notation,
// whichever is shorter, plain on a tie. Returns the length (at most 24).
// Needs printf and strtod to round correctly, as musl's and glibc's do.
inline int ShortestDouble(double value, char* out) {
  char* p = out;
  if (std::signbit(value)) *p++ = '-';
  if (std::isnan(value)) return static_cast<int>(std::strcpy(p, "nan") - out + 3);
  if (std::isinf(value)) return static_cast<int>(std::strcpy(p, "inf") - out + 3);
  if (value == 0) return static_cast<int>(std::strcpy(p, "0") - out + 1);
  const double magnitude = std::fabs(value);

  // digits: the significant digits, decimalExponent: value = d.ddd x 10^e.
  char digits[24] = {};
  int count = 0;
  int decimalExponent = 0;
  for (int precision = 1; precision <= 17 && count == 0; ++precision) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, magnitude);
    // text is "d.ddde+XX": take its digits and exponent.
    char nearest[24];
    int n = 0;
    for (const char* c = text; *c != 'e'; ++c) {
      if (*c != '.') nearest[n++] = *c;
    }
    const int exponent = std::atoi(std::strchr(text, 'e') + 1);
    // The nearest p-digit decimal reads back whenever any p-digit decimal
    // does, except beside a power of two, whose gap below is half the gap
    // above: then the neighbour on the far side of the value may read back
    // though the nearest does not. The neighbour on the near side lies
    // beyond the nearest, so at most one candidate reads back.
    for (int step = 0; step <= 2 && count == 0; ++step) {
      char candidate[24];
      std::memcpy(candidate, nearest, static_cast<std::size_t>(n));
      int candidateExponent = exponent;
      if (step == 1) {  // one unit in the last place up
        int i = n - 1;
        while (i >= 0 && candidate[i] == '9') candidate[i--] = '0';
        if (i < 0) {
          candidate[0] = '1';
          ++candidateExponent;
        } else {
          ++candidate[i];
        }
      } else if (step == 2) {  // one unit in the last place down
        int i = n - 1;
        while (i > 0 && candidate[i] == '0') candidate[i--] = '9';
        --candidate[i];
        if (candidate[0] == '0') continue;  // fewer digits: an earlier precision
      }
      char back[48];
      std::snprintf(back, sizeof back, "%c.%.*se%d", candidate[0], n - 1, candidate + 1,
                    candidateExponent);
      if (std::strtod(back, nullptr) != magnitude) continue;
      std::memcpy(digits, candidate, static_cast<std::size_t>(n));
      count = n;
      decimalExponent = candidateExponent;
    }
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  char scientific[32];
  int s = 0;
  scientific[s++] = digits[0];
  if (count > 1) {
    scientific[s++] = '.';
    for (int i = 1; i < count; ++i) scientific[s++] = digits[i];
  }
  s += std::snprintf(scientific + s, sizeof scientific - static_cast<std::size_t>(s), "e%c%02d",
                     decimalExponent < 0 ? '-' : '+', std::abs(decimalExponent));

  char plain[400];
  int f = 0;
  if (decimalExponent >= count - 1) {
    // A whole number is written plain with all its digits, as printf's %f
    // writes it, not the short digits padded with zeros: the two differ past
    // 2^53. Its length is the same.
    f = std::snprintf(plain, sizeof plain, "%.0f", magnitude);
  } else if (decimalExponent >= 0) {
    for (int i = 0; i <= decimalExponent || i < count; ++i) {
      if (i == decimalExponent + 1) plain[f++] = '.';
      plain[f++] = i < count ? digits[i] : '0';
    }
  } else {
    plain[f++] = '0';
    plain[f++] = '.';
    for (int i = 1; i < -decimalExponent; ++i) plain[f++] = '0';
    for (int i = 0; i < count; ++i) plain[f++] = digits[i];
  }
  const bool usePlain = f <= s;
  std::memcpy(p, usePlain ? plain : scientific, static_cast<std::size_t>(usePlain ? f : s));
  return static_cast<int>(p - out) + (usePlain ? f : s);
}

// std::from_chars for a double in the general format: an optional "-" (no "+",
// no leading blanks), digits with an optional point and exponent, or inf,
// infinity, nan, nan(...). Out of range when the text overflows, or underflows
// to zero.
inline std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
  std::string text(first, last);
  std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
  if (start >= text.size() || text[start] == '+' ||
      std::isspace(static_cast<unsigned char>(text[start]))) {
    return {first, std::errc::invalid_argument};
  }
  // strtod would read hexadecimal after "0x"; the general format reads the 0.
  if (text.size() > start + 1 && text[start] == '0' && (text[start + 1] | 0x20) == 'x') {
    text.resize(start + 1);
  }
  char* end = nullptr;
  errno = 0;
  const double result = std::strtod(text.c_str(), &end);
  const auto length = static_cast<std::ptrdiff_t>(end - text.c_str());
  if (length == 0) return {first, std::errc::invalid_argument};
  if (errno == ERANGE && (std::isinf(result) || result == 0)) {
    return {first + length, std::errc::result_out_of_range};
  }
  value = result;
  return {first + length, std::errc()};
}

// value with precision decimals in fixed notation, as std::to_chars writes it
// with chars_format::fixed: correctly rounded from the exact binary value,
// which printf's %.*f is in musl and glibc. Returns the length, or -1 when it
// does not fit in size bytes.
inline int FixedDouble(double value, int precision, char* out, std::size_t size) {
  const int length = std::snprintf(out, size, "%.*f", precision, value);
  return length < 0 || static_cast<std::size_t>(length) >= size ? -1 : length;
}

}  // namespace normcalc_compat

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
namespace std {

template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
         is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}

inline to_chars_result to_chars(char* first, char* last, double value) {
  char text[32];
  const int length = normcalc_compat::ShortestDouble(value, text);
  if (last - first < length) return {last, errc::value_too_large};
  std::memcpy(first, text, static_cast<size_t>(length));
  return {first + length, errc()};
}

// Only the fixed format is provided with a precision: it is the one the
// project uses.
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
  if (format != chars_format::fixed) return {last, errc::invalid_argument};
  char text[400];  // 309 integer digits, the point and up to 15 decimals fit
  const int length = normcalc_compat::FixedDouble(value, precision, text, sizeof text);
  if (length < 0 || last - first < length) return {last, errc::value_too_large};
  std::memcpy(first, text, static_cast<size_t>(length));
  return {first + length, errc()};
}

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
  return normcalc_compat::ReadDouble(first, last, value);
}

}  // namespace std
#endif
#endif
