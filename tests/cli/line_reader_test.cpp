// The line reader on its own, with buffers of a few bytes, so that lines
// cross the buffer's end and outgrow it at every offset without megabytes of
// input: each line whole when it fits, its kept prefix when it does not, and a
// reader started over on another input exactly like a new one.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "line_reader.h"

namespace normcalc::cli {
namespace {

// Standard input stand-in: a temporary file holding bytes, read from its start.
class InputFile {
 public:
  explicit InputFile(std::string_view bytes) : file_(std::tmpfile(), &std::fclose) {
    if (file_ == nullptr ||
        std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size() ||
        std::fflush(file_.get()) != 0) {
      ADD_FAILURE() << "cannot make the input file";
    }
    std::rewind(file_.get());
  }
  int Fd() const { return fileno(file_.get()); }

 private:
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file_;
};

std::vector<std::string> AllLines(LineReader& reader) {
  std::vector<std::string> lines;
  while (const auto line = reader.Next()) lines.emplace_back(*line);
  return lines;
}

struct Case {
  const char* what;
  std::string input;
  LinePrefix prefix;
  std::size_t bufferSize;
  std::vector<std::string> lines;
};

class LineReaderCases : public testing::TestWithParam<Case> {};

TEST_P(LineReaderCases, HandsOutEachLineOrItsKeptPrefix) {
  const Case& c = GetParam();
  const InputFile input(c.input);
  LineReader reader(input.Fd(), c.prefix, {}, c.bufferSize);
  EXPECT_EQ(AllLines(reader), c.lines);
}

// Buffers of 8 bytes: twice the 4 bytes kept.
INSTANTIATE_TEST_SUITE_P(
    SmallBuffer, LineReaderCases,
    testing::Values(
        Case{"lines that fit, a last one without LF",
             "ab\ncd\nef",
             {4, false},
             8,
             {"ab", "cd", "ef"}},
        Case{"nothing after a final LF", "ab\n\n", {4, false}, 8, {"ab", ""}},
        Case{"no input, no line", "", {4, false}, 8, {}},
        Case{"a line of 7 fits with its LF", "1234567\nx\n", {4, false}, 8, {"1234567", "x"}},
        Case{"a line of 8 fills the buffer: long", "12345678\nx\n", {4, false}, 8, {"1234", "x"}},
        Case{"a long line cut, the next line found",
             "0123456789abcdef\nnext\n",
             {4, false},
             8,
             {"0123", "next"}},
        Case{"a long last line without LF", "0123456789abcdef", {4, false}, 8, {"0123"}},
        Case{"leading blanks of a long line dropped",
             "\t \v\f\r      12345\n9\n",
             {4, true},
             8,
             {"1234", "9"}},
        Case{"blanks kept where the conversion wants them",
             "          12345\n",
             {4, false},
             8,
             {"    "}},
        Case{"a long line of blanks only is empty", "                \nx", {4, true}, 8, {"", "x"}},
        Case{"CR and NUL are part of a line",
             std::string("a\r\0b\n", 5),
             {4, false},
             8,
             {std::string("a\r\0b", 4)}},
        Case{"a buffer asked smaller than twice the prefix grows",
             "0123456789\n",
             {4, false},
             1,
             {"0123"}},
        Case{"a prefix of nothing still finds the lines", "abc\nd\n", {0, false}, 1, {"", ""}}),
    [](const testing::TestParamInfo<Case>& info) { return "Case" + std::to_string(info.index); });

TEST(LineReader, LinesCrossingTheBufferAtEveryOffsetReadWhole) {
  std::string input;
  std::vector<std::string> expected;
  for (std::size_t length = 0; length < 8; ++length) {
    expected.push_back(std::string(length, static_cast<char>('a' + length)));
    input += expected.back() + "\n";
  }
  const InputFile file(input);
  LineReader reader(file.Fd(), {4, false}, {}, 8);
  EXPECT_EQ(AllLines(reader),
            (std::vector<std::string>{"", "b", "cc", "ddd", "eeee", "fffff", "gggggg", "hhhhhhh"}));
}

TEST(LineReader, StartedOverItReadsAsANewReaderWould) {
  // The first input is left in the middle of a long line, with bytes of it
  // still in the buffer; the second asks for another prefix, and a buffer of
  // the same size (reused as it is) or another (made anew).
  const std::string secondText = "      0123456789\nab\n    \n";
  for (const std::size_t bufferSize : {8, 6}) {
    SCOPED_TRACE(bufferSize);
    const InputFile first("0123456789abcdef0123456789\nleft over\n");
    const InputFile second(secondText);
    const InputFile fresh(secondText);

    LineReader reused(first.Fd(), {4, false}, {}, 8);
    ASSERT_TRUE(reused.Next().has_value());
    reused.Reset(second.Fd(), {3, true}, {}, bufferSize);
    LineReader made(fresh.Fd(), {3, true}, {}, bufferSize);

    EXPECT_EQ(reused.BufferSize(), made.BufferSize());
    const std::vector<std::string> expected = AllLines(made);
    EXPECT_EQ(expected, (std::vector<std::string>{"012", "ab", "    "}));
    EXPECT_EQ(AllLines(reused), expected);
  }
}

}  // namespace
}  // namespace normcalc::cli
