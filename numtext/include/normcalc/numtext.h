// normcalc number text: the extended-precision value type, the exception family,
// and the exact routines that read and write number text.
//
// Everything a caller needs from this module is declared here; the stages the
// reader and the writer are built from are in numtext_stages.h, for tests and
// tools, and the files under numtext/src are detail. No Qt, no locale outside ReadFormatSettings,
// no long double: every result is the same bit pattern on every compiler and CPU.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>

#include "normcalc/binary_formats.h"

namespace normcalc {

// ---------------------------------------------------------------------------
// Exceptions. Every failure in the system is an Exception carrying the text the
// error box shows. The floating-point faults carry the fixed Japanese messages
// that a user of the calculator sees.

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Ends an event silently: the shell shows no box for it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("") {}
};

// The floating-point faults that arithmetic under the calculator's
// floating-point environment can raise.
class EMathError : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidOp : public EMathError {
 public:
  EInvalidOp() : EMathError("不正な浮動小数点数演算命令") {}
};

class EZeroDivide : public EMathError {
 public:
  EZeroDivide() : EMathError("0 による浮動小数点数除算") {}
};

class EOverflow : public EMathError {
 public:
  EOverflow() : EMathError("浮動小数点数のオーバーフロー") {}
};

// Underflow is masked in the calculator's environment, so nothing raises this;
// it exists so the family is complete for callers that name it.
class EUnderflow : public EMathError {
 public:
  EUnderflow() : EMathError("浮動小数点数のアンダーフロー") {}
};

// ---------------------------------------------------------------------------
// Extended: the IEEE 754 double-extended format (sign, 15-bit exponent biased by
// 16383, 64-bit significand with an explicit integer bit), in software.
//
// Arithmetic rounds once to 64 significant bits, to nearest, ties to even, and
// behaves as the x87 unit does with invalid operation, zero divide and overflow
// unmasked and underflow, denormal and inexact masked:
//   - an invalid operation (inf - inf, 0 * inf, 0 / 0, inf / inf) raises EInvalidOp;
//     arithmetic on a quiet NaN operand yields a quiet NaN and raises nothing;
//   - a finite non-zero value divided by zero raises EZeroDivide;
//   - a rounded result beyond the largest finite value raises EOverflow;
//   - results below the normal range become subnormals or zero, silently.
// Every ordered comparison raises EInvalidOp when either operand is a NaN.
class Extended {
 public:
  static constexpr int kExponentBias = binary_format::ExtendedFormat::kExponentBias;
  // The field of infinities and NaNs.
  static constexpr std::uint16_t kMaxBiasedExponent = binary_format::ExtendedFormat::kExponentMask;

  constexpr Extended() = default;  // +0

  // The exact bit pattern: bit 15 of signExponent is the sign, bits 0-14 the
  // biased exponent; the significand carries its integer bit (bit 63).
  static constexpr Extended FromBits(std::uint16_t signExponent, std::uint64_t significand) {
    Extended e;
    e.signExponent_ = signExponent;
    e.significand_ = significand;
    return e;
  }
  static Extended FromDouble(double value) {  // exact
    // Inline for the normal doubles every lookup and conversion starts from:
    // the fraction moves under the explicit integer bit, the exponent is
    // rebiased. Zeros, subnormals, infinities and NaNs go the long way.
    using binary_format::Double;
    using binary_format::ExtendedFormat;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto field =
        static_cast<unsigned>(bits >> Double::kFractionBits) & Double::kMaxExponentField;
    if (field - 1 >= Double::kMaxExponentField - 1) return FromDoubleSpecial(value);
    const std::uint16_t sign = (bits & Double::kSignBit) != 0 ? ExtendedFormat::kSignBit : 0;
    return FromBits(
        static_cast<std::uint16_t>(sign | (field - Double::kExponentBias + kExponentBias)),
        ExtendedFormat::kIntegerBit | (bits << binary_format::kNarrowedBits));
  }
  // Exact: the top set bit becomes the explicit integer bit, and the exponent
  // says where that bit stands.
  static constexpr Extended FromUInt64(std::uint64_t value) {
    if (value == 0) return Extended();
    const int shift = std::countl_zero(value);
    return FromBits(static_cast<std::uint16_t>(kExponentBias + 63 - shift), value << shift);
  }
  static Extended Infinity(bool negative = false);
  static Extended QuietNaN(bool negative = false);
  static Extended Largest();  // (2^64 - 1) * 2^16320

  std::uint16_t SignExponent() const { return signExponent_; }
  std::uint64_t Significand() const { return significand_; }
  bool SignBit() const { return (signExponent_ & binary_format::ExtendedFormat::kSignBit) != 0; }
  std::uint16_t BiasedExponent() const {
    return signExponent_ & binary_format::ExtendedFormat::kExponentMask;
  }

  bool IsNaN() const;
  bool IsInfinite() const;
  bool IsZero() const;

  Extended operator-() const;  // flips the sign bit, NaN included; raises nothing
  Extended Abs() const;        // clears the sign bit; raises nothing

  friend Extended operator+(Extended a, Extended b);
  friend Extended operator-(Extended a, Extended b);
  friend Extended operator*(Extended a, Extended b);
  friend Extended operator/(Extended a, Extended b);

  friend bool operator<(Extended a, Extended b);
  friend bool operator>(Extended a, Extended b);
  friend bool operator<=(Extended a, Extended b);
  friend bool operator>=(Extended a, Extended b);
  friend bool operator==(Extended a, Extended b);  // +0 == -0; raises on NaN too
  friend bool operator!=(Extended a, Extended b);

  // Nearest double, ties to even; subnormal results as they fall, beyond the
  // double range an infinity. Raises nothing (a NaN stays a quiet NaN).
  double ToDouble() const;

  // Nearest integer, ties to even, as an Extended (infinities and NaNs unchanged).
  Extended RoundToInteger() const;

 private:
  static Extended FromDoubleSpecial(double value);

  std::uint16_t signExponent_ = 0;
  std::uint64_t significand_ = 0;
};

// ---------------------------------------------------------------------------
// Reading number text. The decimal point is always "."; no locale is consulted.

// The double that the text reads as: the longest leading number, zero when none.
// Raises EOverflow only when a value scaled within the exponent limit passes the
// extended range. Reads no further than text.size() and stops at a NUL byte.
double ReadNumber(std::string_view text);

// ---------------------------------------------------------------------------
// Writing number text: the general form, 15 significant digits.

// The size of a caller's buffer for one number's text. The longest text is 29
// characters (sign, 20 digits, separator, "E-", five exponent digits), so a
// buffer of this size never fills.
inline constexpr std::size_t kNumberTextBufferSize = 64;

// The text the calculator shows for a value, with the decimal mark in force at
// the call (one copy of LocaleDecimalMark taken at its start).
std::string WriteNumber(double value);
// The same with an explicit decimal mark.
std::string WriteNumber(double value, char decimalMark);
// The same text laid out in a caller's buffer, for callers that write many
// numbers without a string each; returns the number of characters.
int WriteNumber(double value, char decimalMark, std::span<char, kNumberTextBufferSize> buffer);

// The decimal separator of the user's locale, "." when it gives none or more
// than one character. The process reads it at start-up and again on a settings
// change; LocaleDecimalMark returns the value last read (or last set).
void ReadFormatSettings();
char LocaleDecimalMark();
void SetLocaleDecimalMark(char mark);

}  // namespace normcalc
