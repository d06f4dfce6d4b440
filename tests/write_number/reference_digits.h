// Expected digits made without the code under test: the C library's printf,
// which prints the exact binary value correctly rounded.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace normcalc::testing {

// The value v rounded correctly to a number of significant digits (up to 18),
// as the point position and digit string of a DecimalForm
// (0.D1D2... x 10^pointPosition, trailing zeros dropped). Finite non-zero v only.
struct ReferenceForm {
  int pointPosition = 0;
  std::string digits;
  long long allDigits = 0;  // every digit as one integer, trailing zeros kept
};

inline ReferenceForm CorrectlyRounded(double v, int digitCount) {
  char text[48];
  // d.ddd...e±x with digitCount digits in all
  std::snprintf(text, sizeof text, "%.*e", digitCount - 1, v < 0 ? -v : v);
  ReferenceForm form;
  std::string all;
  all += text[0];
  all.append(text + 2, static_cast<std::size_t>(digitCount - 1));
  form.allDigits = std::stoll(all);
  form.pointPosition = std::atoi(text + digitCount + 2) + 1;
  form.digits = all.substr(0, all.find_last_not_of('0') + 1);
  return form;
}

// The same fields for the digits of a DecimalForm, padded with zeros to
// digitCount digits.
inline ReferenceForm FromDigits(int pointPosition, const char* digits, int digitCount) {
  ReferenceForm form;
  form.pointPosition = pointPosition;
  form.digits = digits;
  std::string all = form.digits;
  all.resize(static_cast<std::size_t>(digitCount), '0');
  form.allDigits = std::stoll(all);
  return form;
}

// True when a and b, two roundings to the same number of digits, lie within
// one unit of the last digit of a. A carry may have moved either point by one.
inline bool WithinOneUnit(const ReferenceForm& a, const ReferenceForm& b) {
  const int low = std::min(a.pointPosition, b.pointPosition);
  if (std::max(a.pointPosition, b.pointPosition) - low > 1) return false;
  // Compare on the finer of the two scales.
  const long long scaleA = a.pointPosition > low ? 10 : 1;
  const long long scaleB = b.pointPosition > low ? 10 : 1;
  const long long difference = a.allDigits * scaleA - b.allDigits * scaleB;
  return std::llabs(difference) <= scaleA;
}

}  // namespace normcalc::testing
