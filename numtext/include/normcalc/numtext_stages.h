// The stages the number reader and writer are built from, for the tests,
// fuzzers, benchmarks and tools that check or drive them one at a time, and
// for the command line, which must know how far the reader looks. A front end
// that only reads and writes numbers needs numtext.h alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "normcalc/numtext.h"

namespace normcalc {

// ---------------------------------------------------------------------------
// Reading: ReadNumber(text) is NarrowToDouble(ScanNumber(text)).

// The characters the reader examines, from the first one that is not blank,
// that one included; leading blanks it only skips.
inline constexpr std::size_t kReaderLengthLimit = 32767;

// The blanks the reader skips before a number: tab, LF, vertical tab, form
// feed, CR and space.
constexpr bool IsReaderBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

Extended ScanNumber(std::string_view text);  // the extended value before narrowing
Extended PowerOfTen(int n);                  // 10^n by the rounded chain, +inf past 4932
double NarrowToDouble(Extended x);           // the reader's own narrowing rules

// ---------------------------------------------------------------------------
// Writing: WriteNumber lays out ToDecimalForm(value, 15) with LayoutGeneral.

struct DecimalForm {
  static constexpr std::int16_t kInfinity = 32767;
  static constexpr std::int16_t kNaN = -32768;

  std::int16_t PointPosition = 0;  // value = 0.D1D2... * 10^PointPosition
  bool SignMinus = false;
  char DigitString[21] = {};  // up to 18 digits, NUL-terminated, no trailing "0"
};

DecimalForm ToDecimalForm(Extended value, int precision);  // precision 2..18
Extended ScaleByPowerOfTen(Extended value, int power);     // |power| < 5120
// Writes the plain or scientific layout into buffer (no terminator) and
// returns the number of characters written.
int LayoutGeneral(const DecimalForm& form, int precision, char separator,
                  std::span<char, kNumberTextBufferSize> buffer);

}  // namespace normcalc
