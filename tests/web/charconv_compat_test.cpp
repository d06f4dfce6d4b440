// The web toolchain's stand-ins for std::to_chars and std::from_chars on a
// double (cmake/toolchains/emscripten-compat.h), held to this machine's own
// standard library: every text must be byte for byte what it writes, and
// every read the same double and the same error.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "emscripten-compat.h"

namespace {

std::string Host(double value) {
  char text[64];
  return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

std::string Compat(double value) {
  char text[64];
  return {text, static_cast<std::size_t>(normcalc_compat::ShortestDouble(value, text))};
}

TEST(CharconvCompat, ShortestTextIsTheHostsForTellingValues) {
  const double cases[] = {0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          0.1,
                          1e22,
                          1e21,
                          1e15,
                          1e16,
                          123456.0,
                          1e-5,
                          0.0001,
                          5e-324,
                          -5e-324,
                          2.2250738585072014e-308,
                          1.7976931348623157e308,
                          9007199254740993.0,
                          0.3,
                          2.0 / 3,
                          1e23,
                          8.98846567431158e307,
                          std::bit_cast<double>(std::uint64_t{0x7FF0000000000000}),
                          std::bit_cast<double>(std::uint64_t{0xFFF0000000000000}),
                          std::bit_cast<double>(std::uint64_t{0x7FF8000000000001}),
                          std::bit_cast<double>(std::uint64_t{0xFFF8000000000000})};
  for (const double value : cases) EXPECT_EQ(Compat(value), Host(value)) << Host(value);
}

TEST(CharconvCompat, ShortestTextIsTheHostsForEveryPowerOfTwo) {
  // A power of two has a narrower gap below than above: the nearest short
  // decimal may not read back while its neighbour above does.
  for (int exponent = -1074; exponent <= 1023; ++exponent) {
    const double value = std::ldexp(1.0, exponent);
    EXPECT_EQ(Compat(value), Host(value)) << exponent;
  }
}

TEST(CharconvCompat, ShortestTextIsTheHostsForRandomBitPatterns) {
  std::mt19937_64 random(20261210);
  for (int i = 0; i < 50000; ++i) {
    const double value = std::bit_cast<double>(random());
    ASSERT_EQ(Compat(value), Host(value)) << std::hex << std::bit_cast<std::uint64_t>(value);
  }
}

TEST(CharconvCompat, FixedTextIsTheHostsAtEveryPrecisionTheTableUses) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 20000; ++i) {
    // Table answers lie in [0, 0.5); ties of the decimal rounding matter most
    // there, so exact binary fractions are mixed in.
    const double value = i % 2 == 0 ? std::ldexp(static_cast<double>(random() % 4096), -13)
                                    : std::bit_cast<double>(random() >> 12 | 0x3FC0000000000000);
    for (int precision = 1; precision <= 15; ++precision) {
      char host[64];
      char compat[64];
      const auto h =
          std::to_chars(host, host + sizeof host, value, std::chars_format::fixed, precision);
      const int length = normcalc_compat::FixedDouble(value, precision, compat, sizeof compat);
      ASSERT_EQ(std::string_view(compat, static_cast<std::size_t>(length)),
                std::string_view(host, h.ptr))
          << value << " to " << precision;
    }
  }
}

TEST(CharconvCompat, ReadingAgreesWithTheHostOnValueEndAndError) {
  const std::string_view cases[] = {"1",      "-2.5",  "1e400",     "-1e400", "1e-400",  "4e-324",
                                    "2e-324", "inf",   "-Infinity", "nan",    "+1",      " 1",
                                    "",       "-",     "0x10",      "-0x1p3", ".5",      "5.",
                                    "1e",     "1e+5x", "abc",       "1,5",    "0.1e-320"};
  for (const std::string_view text : cases) {
    double host = -7;
    double compat = -7;
    const auto h = std::from_chars(text.data(), text.data() + text.size(), host);
    const auto c = normcalc_compat::ReadDouble(text.data(), text.data() + text.size(), compat);
    EXPECT_EQ(c.ec, h.ec) << text;
    EXPECT_EQ(c.ptr - text.data(), h.ptr - text.data()) << text;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(compat), std::bit_cast<std::uint64_t>(host)) << text;
  }
}

}  // namespace
