// x2p and p2x print what Execute writes into the other box. The tool takes a
// shorter road than the form model for speed, so every line it prints for a
// large set of texts is compared with Button2Click itself on a MemoryForm,
// failures included, under two decimal marks.
#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "normcalc/core.h"
#include "run_cli.h"

namespace normcalc::cli_test {
namespace {

constexpr unsigned kSeed = 20240615;
constexpr int kRandomTexts = 100'000;

// Texts a user types or pastes: decimals of every length in and around the
// table, exponents, signs, junk after a number, special words, overflow.
std::vector<std::string> Texts() {
  std::vector<std::string> texts = {"",
                                    "0",
                                    "-0",
                                    "1",
                                    "1.96",
                                    "0.475",
                                    "abc",
                                    "+INF",
                                    "-INF",
                                    "+NAN",
                                    "-NAN",
                                    "1e400",
                                    "1e-400",
                                    " 2.5x",
                                    "0.5",
                                    "3.99",
                                    "4",
                                    "1E4933",
                                    "0.49996719678728",
                                    "3.98466366361372",
                                    "\t.75",
                                    "9" + std::string(30, '9')};
  std::mt19937_64 engine(kSeed);
  std::uniform_int_distribution<int> digits(0, 9);
  std::uniform_int_distribution<int> shape(0, 9);
  std::uniform_int_distribution<int> length(1, 18);
  std::uniform_int_distribution<int> exponent(-12, 3);
  for (int i = 0; i < kRandomTexts; ++i) {
    std::string text;
    const int kind = shape(engine);
    if (kind == 0) text += '-';
    text += static_cast<char>('0' + (kind < 5 ? digits(engine) % 5 : 0));
    text += '.';
    for (int d = length(engine); d > 0; --d) text += static_cast<char>('0' + digits(engine));
    if (kind == 9) {
      text += 'e';
      text += std::to_string(exponent(engine));
    }
    texts.push_back(text);
  }
  return texts;
}

// What Execute leaves in the box it writes, or "" (and a failure) when it raises.
std::string ExecuteOnForm(int itemIndex, const std::string& text, bool& failed) {
  MemoryForm form;
  form.itemIndex = itemIndex;
  (itemIndex == 0 ? form.edit1 : form.edit2) = text;
  try {
    Button2Click(form);
  } catch (const EMathError&) {
    failed = true;
    return "";
  }
  return itemIndex == 0 ? form.edit2 : form.edit1;
}

TEST(NormalCli, EveryLineIsWhatExecuteWrites) {
  const std::vector<std::string> texts = Texts();
  std::string input;
  for (const std::string& text : texts) input += text + "\n";
  struct Mode {
    const char* command;
    int itemIndex;
  };
  for (const Mode mode : {Mode{"x2p", 0}, Mode{"p2x", 1}}) {
    for (const char mark : {'.', ','}) {
      SetLocaleDecimalMark(mark);
      const CliRun run = RunCli({mode.command, "--decimal-mark", std::string(1, mark)}, input);
      std::size_t begin = 0;
      bool anyFailed = false;
      for (const std::string& text : texts) {
        const std::size_t end = run.out.find('\n', begin);
        ASSERT_NE(end, std::string::npos) << "output ends before the line for \"" << text << '"';
        const std::string expected = ExecuteOnForm(mode.itemIndex, text, anyFailed);
        ASSERT_EQ(run.out.substr(begin, end - begin), expected)
            << mode.command << " \"" << text << "\" with mark " << mark;
        begin = end + 1;
      }
      EXPECT_EQ(begin, run.out.size());
      EXPECT_EQ(run.exitStatus, anyFailed ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace normcalc::cli_test
