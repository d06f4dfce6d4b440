// Short texts read the same whether or not a blank comes first. The reader
// takes a shortcut for short texts that start with a sign, a digit or a point,
// and a leading blank turns that shortcut away, so every text here is read
// once each way and the two extended values (or the two overflows) must agree.
#include <cstdint>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "normcalc/numtext_stages.h"

namespace normcalc {
namespace {

// The bit pattern of the scanned value, or "overflow".
std::string Scanned(const std::string& text) {
  try {
    const Extended value = ScanNumber(text);
    return std::to_string(value.SignExponent()) + ":" + std::to_string(value.Significand());
  } catch (const EOverflow&) {
    return "overflow";
  }
}

// Texts near the shortcut's bounds: digit runs around 19 digits, zeros, at
// most two points, exponents of zero to six digits around 4932, and bytes
// that end a number.
std::string MakeText(std::mt19937_64& random) {
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  static const std::string kEnders[] = {
      "", "", "", "x", ",5", ".", "+", "-", std::string(1, '\0'), " 7", "e", "E+", "\xEF\xBC\x91"};
  // A minus, a plus, or no sign from the other `none` of the none + 2
  // equally likely draws.
  auto sign = [&pick](int none) -> const char* {
    switch (pick(0, 1 + none)) {
      case 0:
        return "-";
      case 1:
        return "+";
      default:
        return "";
    }
  };
  std::string text = sign(2);
  const int digits = pick(0, 22);
  const int point = pick(-1, digits);  // -1: no point
  for (int i = 0; i < digits; ++i) {
    if (i == point) text += ".";
    text += static_cast<char>('0' + (pick(0, 2) == 0 ? 0 : pick(0, 9)));
  }
  if (point == digits) text += ".";
  if (pick(0, 1) == 0) {
    text += pick(0, 1) ? "e" : "E";
    text += sign(1);
    const int exponentDigits = pick(0, 6);
    if (exponentDigits == 4 && pick(0, 1) == 0) {
      text += std::to_string(pick(4920, 4945));
    } else {
      for (int i = 0; i < exponentDigits; ++i) text += static_cast<char>('0' + pick(0, 9));
    }
  }
  text += kEnders[pick(0, std::size(kEnders) - 1)];
  return text;
}

TEST(ReadNumber, ShortTextsReadAlikeAfterABlank) {
  std::mt19937_64 random(4);
  for (int i = 0; i < 200000; ++i) {
    const std::string text = MakeText(random);
    ASSERT_EQ(Scanned(text), Scanned(" " + text)) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace normcalc
