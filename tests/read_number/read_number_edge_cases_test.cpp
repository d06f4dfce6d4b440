#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "normcalc/numtext.h"

namespace normcalc {
namespace {

constexpr std::uint64_t kPlusZero = 0x0000000000000000;
constexpr std::uint64_t kMinusZero = 0x8000000000000000;
constexpr std::uint64_t kPlusInfinity = 0x7FF0000000000000;
constexpr std::uint64_t kMinusInfinity = 0xFFF0000000000000;
constexpr std::uint64_t kOne = 0x3FF0000000000000;
constexpr std::uint64_t kLargestDouble = 0x7FEFFFFFFFFFFFFF;
// The row's text must make ReadNumber raise EOverflow.
constexpr std::optional<std::uint64_t> kOverflow = std::nullopt;

struct Row {
  std::string text;
  std::optional<std::uint64_t> bits;
};

std::string Repeat(std::string_view piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// Reads the text from a heap block of exactly its size, with no terminator, so
// that the address sanitizer catches a read past the end.
double ReadExactBlock(std::string_view text) {
  const auto block = std::make_unique<char[]>(text.size());
  if (!text.empty()) std::memcpy(block.get(), text.data(), text.size());
  return ReadNumber(std::string_view(block.get(), text.size()));
}

void CheckRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    const std::string shown = row.text.size() > 40 ? row.text.substr(0, 40) + "..." : row.text;
    SCOPED_TRACE("text \"" + shown + "\" of " + std::to_string(row.text.size()) + " bytes");
    if (!row.bits) {
      EXPECT_THROW(ReadExactBlock(row.text), EOverflow);
      continue;
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadExactBlock(row.text)), *row.bits);
  }
}

TEST(ReadNumber, TextWithoutANumberReadsAsSignedZero) {
  CheckRows({
      {"", kPlusZero},
      {"   ", kPlusZero},
      {"abc", kPlusZero},
      {"e5", kPlusZero},
      {".", kPlusZero},
      {"+.", kPlusZero},
      {".e5", kPlusZero},
      {"+", kPlusZero},
      {"-", kMinusZero},
      {"- 5", kMinusZero},
      {"-x", kMinusZero},
      {"+-5", kPlusZero},
      {"-0", kMinusZero},
      {"0x1A", kPlusZero},
      {"\xEF\xBC\x91", kPlusZero},  // a full-width digit one in UTF-8
      {"\xE3\x80\x80"
       "1",
       kPlusZero},  // a full-width space is not blank
  });
}

TEST(ReadNumber, LongestLeadingNumberIsRead) {
  CheckRows({
      {" \t1.5", 0x3FF8000000000000},
      {"\n\v\f\r7", 0x401C000000000000},
      {"1,5", kOne},
      {"2x", 0x4000000000000000},
      {"1.2.3", 0x3FF3333333333333},
      {"+1", kOne},
      {".5", 0x3FE0000000000000},
      {"-.5", 0xBFE0000000000000},
      {"5.", 0x4014000000000000},
      {"00012", 0x4028000000000000},
      {"1e", kOne},
      {"1e+", kOne},
      {"1e-", kOne},
      {"1E+x", kOne},
      {"100e-2", kOne},
      {"0.1e1", kOne},
      {"1e0000000000000000000005", 0x40F86A0000000000},  // 100000
      {"1\xEF\xBC\x90", kOne},  // the number ends at a full-width digit zero
      {"0.1", 0x3FB999999999999A},
  });
}

TEST(ReadNumber, SpecialWordsFollowASignOnly) {
  CheckRows({
      {"+INF", kPlusInfinity},
      {"-INF", kMinusInfinity},
      {"+INFINITY", kPlusInfinity},
      {"+NAN", 0x7FF8000000000000},
      {"-NAN", 0xFFF8000000000000},
      {"INF", kPlusZero},
      {"NAN", kPlusZero},
      {"+Inf", kPlusZero},
      {"-nan", kMinusZero},
      {"+IN", kPlusZero},
      {"-NA", kMinusZero},
      {"-INX", kMinusZero},
  });
}

TEST(ReadNumber, ExponentRangeDecidesBeforeTheDigits) {
  CheckRows({
      {"1e400", kPlusInfinity},
      {"-1e400", kMinusInfinity},
      {"1e-400", kPlusZero},
      {"4.9e-324", kPlusZero},
      {"1e4932", kPlusInfinity},
      {"1.1e4932", kPlusInfinity},
      {"1e4933", kPlusInfinity},
      {"1e5000", kPlusInfinity},
      {"1e-5000", kPlusZero},
      {"-1e-5000", kMinusZero},
      {"0e5000", kPlusZero},
      {"-0.000e99999", kMinusZero},
      // Exponents far too long for any integer type: only the flag matters.
      {"1e99999999999999999999999999999", kPlusInfinity},
      {"-1e-99999999999999999999999999999", kMinusZero},
      {"1e" + Repeat("9", 30000), kPlusInfinity},
      {"1e-" + Repeat("9", 30000), kPlusZero},
  });
}

TEST(ReadNumber, OverflowOnlyWhenAScaledValuePassesTheExtendedRange) {
  CheckRows({
      {"2e4932", kOverflow},
      {"-2e4932", kOverflow},
      {"1.19e4932", kOverflow},
      {"1" + Repeat("0", 4933), kOverflow},
      {"1" + Repeat("0", 5000), kPlusInfinity},
      {"1.18e4932", kPlusInfinity},
  });
}

TEST(ReadNumber, NarrowingRulesAtTheEndsOfTheDoubleRange) {
  CheckRows({
      {"1.8e308", kPlusInfinity},
      {"1.7976931348623159e308", kLargestDouble},
      {"1.7976931348623157e308", 0x7FEFFFFFFFFFFFFE},
      {"-1.7976931348623159e308", 0xFFEFFFFFFFFFFFFF},
      {"1e308", 0x7FE1CCF385EBC89F},
      {"4.9406564584124655e-324", 0x0000000000000001},
      {"4.9406564584124654e-324", kPlusZero},  // just below 2^-1074 = 4.94065645841246544e-324
      {"2.5e-324", kPlusZero},                 // nearer 2^-1074 than 0, but below it
      {"2.2250738585072011e-308", 0x000FFFFFFFFFFFFF},
      {"2.2250738585072014e-308", 0x0010000000000000},
  });
}

TEST(ReadNumber, ExtendedRoundingThenDoubleRounding) {
  // The extended quotient lands exactly on a midpoint between two doubles, and
  // the second rounding goes to the even one, above the nearest double.
  CheckRows({{"64.7225994", 0x40502E3F118DC6FE}});
}

TEST(ReadNumber, ScanStopsAfter32767CharactersFromTheFirstNonBlank) {
  CheckRows({
      // The exponent stands beyond the limit and is never read.
      {"1" + Repeat("0", 32766) + "e-32760", kPlusInfinity},
      {Repeat("0", 32766) + "5", 0x4014000000000000},
      {Repeat("0", 32767) + "5", kPlusZero},
      {Repeat(" ", 100) + Repeat("0", 32766) + "5", 0x4014000000000000},
      {"-" + Repeat("0", 32765) + "5", 0xC014000000000000},
      {"-" + Repeat("0", 32766) + "5", kMinusZero},
      // Digits past the nineteenth are counted, so a long text can still read 1.
      {"1" + Repeat("0", 4933) + "e-4932", 0x4024000000000000},  // 10
  });
}

TEST(ReadNumber, ReadsNoFurtherThanTheView) {
  // Each view ends inside a longer buffer whose next bytes would change the number.
  const std::string_view buffer = "1.25e17+INF";
  EXPECT_EQ(ReadNumber(buffer.substr(0, 1)), 1.0);
  EXPECT_EQ(ReadNumber(buffer.substr(0, 4)), 1.25);
  EXPECT_EQ(ReadNumber(buffer.substr(0, 6)), 12.5);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadNumber(buffer.substr(7, 2))), kPlusZero);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadNumber(buffer.substr(7, 0))), kPlusZero);
}

TEST(ReadNumber, NulByteEndsTheText) {
  using namespace std::string_view_literals;
  EXPECT_EQ(ReadNumber("12\0"
                       "34"sv),
            12.0);
  EXPECT_EQ(ReadNumber("1e\0"
                       "5"sv),
            1.0);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadNumber("\0"
                                                    "5"sv)),
            kPlusZero);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadNumber("+I\0"
                                                    "NF"sv)),
            kPlusZero);
}

}  // namespace
}  // namespace normcalc
