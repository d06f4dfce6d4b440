// normcalc-cli's command lines, each with its standard input and the exact
// standard output, standard error and exit status it must give: the option
// forms, the texts it must not take for options, the marks it refuses, the
// statistics commands, --strict and the column options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_cli.h"

namespace normcalc::cli_test {
namespace {

struct CommandLineCase {
  std::vector<std::string> args;
  std::string input;
  std::string out;
  std::string err;
  int exitStatus;
};

const std::string kOverflow = "浮動小数点数のオーバーフロー.";
const std::string kInvalidOp = "不正な浮動小数点数演算命令.";

std::string UsageError(const std::string& reason, const std::string& command) {
  return "normcalc-cli: " + reason + "\nTry 'normcalc-cli " + command +
         " --help' for more information.\n";
}

std::string RefusedMark(const std::string& quoted, const std::string& reason) {
  return UsageError("--decimal-mark: " + quoted + " cannot be the mark: " + reason, "x2p");
}

void ExpectCases(const std::vector<CommandLineCase>& cases) {
  for (const CommandLineCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + " input " + ::testing::PrintToString(c.input));
    const CliRun run = RunCli(c.args, c.input);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.exitStatus, c.exitStatus);
  }
}

TEST(NormalCliCommandLine, DecimalMarkIsNeverAByteThatReadsAsPartOfANumberOrALine) {
  ExpectCases({
      // 0.5 written with the mark "5" would read back as 5191461995503053.
      {{"x2p", "--decimal-mark", "5", "0.5"},
       "",
       "",
       RefusedMark("\"5\"", "a digit would read as part of the number"),
       2},
      {{"x2p", "--decimal-mark", "E", "0.000001"},
       "",
       "",
       RefusedMark("\"E\"", "an exponent mark would read as part of the number"),
       2},
      {{"x2p", "--decimal-mark", "e", "1"},
       "",
       "",
       RefusedMark("\"e\"", "an exponent mark would read as part of the number"),
       2},
      {{"x2p", "--decimal-mark", "+", "1"},
       "",
       "",
       RefusedMark("\"+\"", "a sign would read as part of the number"),
       2},
      {{"x2p", "--decimal-mark=-", "1"},
       "",
       "",
       RefusedMark("\"-\"", "a sign would read as part of the number"),
       2},
      {{"x2p", "--decimal-mark", " ", "1"},
       "",
       "",
       RefusedMark("\" \"", "a blank would split the number"),
       2},
      {{"x2p", "--decimal-mark", "\t", "1"},
       "",
       "",
       RefusedMark("\"\\t\"", "a blank would split the number"),
       2},
      {{"x2p", "--decimal-mark", "\n", "1"},
       "",
       "",
       RefusedMark("\"\\n\"", "a control character would break the line"),
       2},
      {{"x2p", "--decimal-mark", "\x7F", "1"},
       "",
       "",
       RefusedMark("\"\\x7F\"", "a control character would break the line"),
       2},
      {{"x2p", "--decimal-mark", "\xC3", "1"},
       "",
       "",
       RefusedMark("\"\xC3\"", "it is not a single ASCII character"),
       2},
      {{"x2p", "--decimal-mark", "，", "1"},
       "",
       "",
       UsageError("--decimal-mark: takes one ASCII character or 'locale', not \"，\"", "x2p"),
       2},
      {{"x2p", "--decimal-mark", "_", "0.5"}, "", "0_191461995503053\n", "", 0},
      {{"write", "--decimal-mark", "'", "2.5", "1E-5"}, "", "2'5\n1E-5\n", "", 0},
  });
}

TEST(NormalCliCommandLine, OptionsStandAnywhereBeforeTheDoubleDashAndOneDashWordsAreTexts) {
  ExpectCases({
      {{"x2p", "1", "--decimal-mark", ","}, "", "0,341344279839592\n", "", 0},
      {{"x2p", "--decimal-mark=,", "1"}, "", "0,341344279839592\n", "", 0},
      {{"p2x", "0.475", "--decimal-mark", ",", "0.25"},
       "",
       "1,95997183815153\n0,674491219192245\n",
       "",
       0},
      // The last mark given counts.
      {{"x2p", "--decimal-mark", ",", "1", "--decimal-mark", "."},
       "",
       "0.341344279839592\n",
       "",
       0},
      // Words with one dash, digit or not, are texts in their place.
      {{"x2p", "-1.96", "-INF", "-.5", "-", "- 5", "-x", "1"},
       "",
       "0\n0\n0\n0\n0\n0\n0.341344279839592\n",
       "",
       0},
      {{"x2p", "0.74", "-NAN", "1"},
       "",
       "0.270349535532154\n\n0.341344279839592\n",
       "normcalc-cli: argument 2: \"-NAN\": " + kInvalidOp + "\n",
       1},
      // Command names among the texts are texts.
      {{"x2p", "read", "p2x", "1"}, "", "0\n0\n0.341344279839592\n", "", 0},
      // After "--" nothing is an option, "--" included.
      {{"x2p", "1", "--", "--decimal-mark", "-h", "--", "--version"},
       "",
       "0.341344279839592\n0\n0\n0\n0\n",
       "",
       0},
      {{"x2p", "--"}, "0.74\n", "0.270349535532154\n", "", 0},
  });
}

TEST(NormalCliCommandLine, WriteTakesTheBlanksSignAndCarriageReturnThatX2pTakes) {
  ExpectCases({
      {{"write", "+1", " 1", "1 ", "\t+2.5\r", " 0x3FF0000000000000 "},
       "",
       "1\n1\n1\n2.5\n1\n",
       "",
       0},
      {{"write"}, "0.5\r\n 0x3FE0000000000000\r\n+1e-5\n", "0.5\n0.5\n1E-5\n", "", 0},
      {{"write", "+-1", "+0x3FF0000000000000"},
       "",
       "\n\n",
       "normcalc-cli: argument 1: \"+-1\": VALUE is neither a decimal number nor 0x with 16 "
       "hexadecimal digits.\n"
       "normcalc-cli: argument 2: \"+0x3FF0000000000000\": VALUE is neither a decimal number nor "
       "0x with 16 hexadecimal digits.\n",
       1},
  });
}

TEST(NormalCliCommandLine, FailureMessageShowsTheTextEscapedAndShortened) {
  ExpectCases({
      // From the first non-blank byte; control bytes, quotes and backslashes escaped.
      {{"x2p"},
       "  2e4932\t\x01\"\\\n",
       "\n",
       "normcalc-cli: line 1: \"2e4932\\t\\x01\\\"\\\\\": " + kOverflow + "\n",
       1},
      // Past 40 bytes the text is cut, never inside a UTF-8 character: here
      // the 40th byte is the first of "é", so 39 bytes are shown.
      {{"p2x"},
       "2e4932" + std::string(33, 'x') + "é and more\n",
       "\n",
       "normcalc-cli: line 1: \"2e4932" + std::string(33, 'x') + "...\": " + kOverflow + "\n",
       1},
      {{"x2p", "+NAN"}, "", "\n", "normcalc-cli: argument 1: \"+NAN\": " + kInvalidOp + "\n", 1},
  });
}

TEST(NormalCliCommandLine, StatisticsConventionsAreOneRoundingFromTheTablesAnswer) {
  // X keys of rows 2 and 3989, whose P the table holds exactly (0.00893187866566
  // and 0.49996719678728). The expected doubles are 0.5 + P, 0.5 - P and
  // 2 * (0.5 - P) taken exactly, rounded to 64 bits and then to 53 (exact
  // rational arithmetic), written as write writes those bit patterns:
  //   0.5 + P(row 2)    0x3FE0492B81D858E2    0.5 - P(row 2)    0x3FDF6DA8FC4F4E3D
  //   0.5 + P(row 3989) 0x3FEFFFBB34E8C5F4    0.5 - P(row 3989) 0x3F0132C5CE832000
  //   2(0.5 - P(row 2)) 0x3FEF6DA8FC4F4E3D
  ExpectCases({
      {{"cdf", "0.02239170599309", "-0.02239170599309", "0", "-0", "+INF", "-INF", "4"},
       "",
       "0.50893187866566\n0.49106812133434\n0.5\n0.5\n0.99996719678728\n3.28032127199784E-5\n0."
       "99996719678728\n",
       "",
       0},
      {{"sf", "0.02239170599309", "-0.02239170599309", "0", "+INF", "-INF"},
       "",
       "0.49106812133434\n0.50893187866566\n0.5\n3.28032127199784E-5\n0.99996719678728\n",
       "",
       0},
      {{"two-sided", "0.02239170599309", "-0.02239170599309", "0", "-INF"},
       "",
       "0.98213624266868\n0.98213624266868\n1\n6.56064254399569E-5\n",
       "",
       0},
      // PToX(0.475) = 1.95997183815153 and PToX(0.25) = 0.674491219192245 are
      // the table's check values; 0.975 - 0.5 and 0.5 - 0.025 are the double 0.475.
      {{"ppf", "0.975", "0.025", "0.75", "0.25", "0.5", "1", "0", "2", "-1"},
       "",
       "1.95997183815153\n-1.95997183815153\n0.674491219192245\n-0.674491219192245\n0\n"
       "3.98466366361372\n-3.98466366361372\n3.98466366361372\n-3.98466366361372\n",
       "",
       0},
      {{"cdf", "--decimal-mark", ",", "0.02239170599309"}, "", "0,50893187866566\n", "", 0},
      {{"ppf"},
       "-NAN\n0.75\n",
       "\n0.674491219192245\n",
       "normcalc-cli: line 1: \"-NAN\": " + kInvalidOp + "\n",
       1},
      {{"two-sided", "+NAN"},
       "",
       "\n",
       "normcalc-cli: argument 1: \"+NAN\": " + kInvalidOp + "\n",
       1},
  });
}

TEST(NormalCliCommandLine, StrictFailsATextThatIsNotOneNumberAsAWhole) {
  const std::string kStrictNumber = " (--strict)\n";
  ExpectCases({
      {{"x2p", "--strict", "1", " 1.5 ", "1.5\r", "1e", "+INF", "-0.5", ".5"},
       "",
       "0.341344279839592\n0.433192332768488\n0.433192332768488\n0.341344279839592\n"
       "0.49996719678728\n0\n0.191461995503053\n",
       "",
       0},
      {{"x2p", "--strict"},
       "1,96\nabc\n\n-\n+INFINITY\n1e5x\n0x1A\n1.2.3\n1 2\n",
       "\n\n\n\n\n\n\n\n\n",
       "normcalc-cli: line 1: \"1,96\": a number followed by \",96\"" + kStrictNumber +
           "normcalc-cli: line 2: \"abc\": not a number" + kStrictNumber +
           "normcalc-cli: line 3: \"\": not a number" + kStrictNumber +
           "normcalc-cli: line 4: \"-\": not a number" + kStrictNumber +
           "normcalc-cli: line 5: \"+INFINITY\": a number followed by \"INITY\"" + kStrictNumber +
           "normcalc-cli: line 6: \"1e5x\": a number followed by \"x\"" + kStrictNumber +
           "normcalc-cli: line 7: \"0x1A\": a number followed by \"x1A\"" + kStrictNumber +
           "normcalc-cli: line 8: \"1.2.3\": a number followed by \".3\"" + kStrictNumber +
           "normcalc-cli: line 9: \"1 2\": a number followed by \" 2\"" + kStrictNumber,
       1},
      // The reader takes 32767 characters: one more and the text is not read whole.
      {{"x2p", "--strict"},
       "1" + std::string(32766, '0') + "\n1" + std::string(32767, '0') + "\n",
       "0.49996719678728\n\n",
       "normcalc-cli: line 2: \"1" + std::string(39, '0') +
           "...\": longer than the 32767 characters the number reader takes" + kStrictNumber,
       1},
      {{"read", "--strict", "0.1 "}, "", "0x3FB999999999999A\t0.1\n", "", 0},
      {{"ppf", "--strict", "0.975"}, "", "1.95997183815153\n", "", 0},
      // A number that fails anyway fails as it would without --strict.
      {{"p2x", "--strict", "2e4932"},
       "",
       "\n",
       "normcalc-cli: argument 1: \"2e4932\": " + kOverflow + "\n",
       1},
  });
}

TEST(NormalCliCommandLine, FieldAppendAndHeaderWorkOnColumns) {
  ExpectCases({
      {{"x2p", "--field", "2"},
       "a\t1\tb\nc\t0.74\n\t\nonly\n",
       "0.341344279839592\n0.270349535532154\n0\n\n",
       "normcalc-cli: line 4: \"only\": has no field 2.\n",
       1},
      {{"x2p", "--field", "2", "--delimiter", ":", "a:1"}, "", "0.341344279839592\n", "", 0},
      {{"p2x", "--append"},
       "0.25\n0.475\n",
       "0.25\t0.674491219192245\n0.475\t1.95997183815153\n",
       "",
       0},
      // A failed line keeps its columns, with an empty answer.
      {{"x2p", "--append", "--delimiter", ","},
       "2e4932\n1\n",
       "2e4932,\n1,0.341344279839592\n",
       "normcalc-cli: line 1: \"2e4932\": " + kOverflow + "\n",
       1},
      // A CR LF line keeps its ending after the new column.
      {{"cdf", "--field", "1", "--delimiter", ",", "--append", "--header"},
       "z,label\r\n0.02239170599309,a\r\n-0.02239170599309,b\r\n",
       "z,label,cdf\r\n0.02239170599309,a,0.50893187866566\r\n-0.02239170599309,b,0."
       "49106812133434\r\n",
       "",
       0},
      {{"x2p", "--header"}, "X\n1\n", "x2p\n0.341344279839592\n", "", 0},
      {{"two-sided", "--header", "--append", "--field", "2"},
       "name\tz\nA\t0\n",
       "name\tz\ttwo-sided\nA\t0\t1\n",
       "",
       0},
      {{"x2p", "--append", "--decimal-mark", ",", "1"}, "", "1\t0,341344279839592\n", "", 0},
      // The answer's mark must not split its own column.
      {{"x2p", "--append", "--delimiter", ",", "--decimal-mark", ","},
       "1\n",
       "",
       UsageError("--decimal-mark and --delimiter are both \",\": the appended answer would split "
                  "into two fields",
                  "x2p"),
       2},
      {{"x2p", "--strict", "--field", "2", "--delimiter", ","},
       "a,1.5\r\nb,1.5x\r\n",
       "0.433192332768488\n\n",
       "normcalc-cli: line 2: \"1.5x\": a number followed by \"x\" (--strict)\n",
       1},
  });
}

}  // namespace
}  // namespace normcalc::cli_test
