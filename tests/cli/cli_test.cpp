// normcalc-cli run as a user runs it: arguments, standard input, output lines,
// error lines and exit statuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "calculator_check_values.h"
#include "compiled_locales.h"
#include "run_cli.h"

namespace normcalc::cli_test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr int kSuccess = 0;
constexpr int kSomeLineFailed = 1;
constexpr int kUsageError = 2;

const std::string kOverflowLine = "浮動小数点数のオーバーフロー.";
const std::string kInvalidOpLine = "不正な浮動小数点数演算命令.";

TEST(NormalCli, ConvertsEachArgumentAsExecuteDoes) {
  for (const test::CheckValue& c : test::kCalculatorCheckValues) {
    const CliRun run = RunCli({c.command, c.typed});
    EXPECT_EQ(run.out, std::string(c.written) + "\n") << c.command << " \"" << c.typed << '"';
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitStatus, kSuccess);
  }
}

TEST(NormalCli, ConvertsEachLineOfStandardInputAsExecuteDoes) {
  for (const char* command : {"x2p", "p2x"}) {
    std::string input;
    std::string expected;
    for (const test::CheckValue& c : test::kCalculatorCheckValues) {
      if (std::string(c.command) != command) continue;
      input += std::string(c.typed) + "\n";
      expected += std::string(c.written) + "\n";
    }
    const CliRun run = RunCli({command}, input);
    EXPECT_EQ(run.out, expected) << command;
    EXPECT_EQ(run.exitStatus, kSuccess);
  }
}

TEST(NormalCli, FailedLineLeavesAnEmptyLineReportsItsTextAndTheBoxTextAndGoesOn) {
  const std::string expectedOut = "0.341344279839592\n\n\n0.270349535532154\n";
  const CliRun fromArgs = RunCli({"x2p", "1", "+NAN", "2e4932", "0.74"});
  EXPECT_EQ(fromArgs.out, expectedOut);
  EXPECT_EQ(fromArgs.err, "normcalc-cli: argument 2: \"+NAN\": " + kInvalidOpLine + "\n" +
                              "normcalc-cli: argument 3: \"2e4932\": " + kOverflowLine + "\n");
  EXPECT_EQ(fromArgs.exitStatus, kSomeLineFailed);

  const CliRun fromInput = RunCli({"x2p"}, "1\n+NAN\n2e4932\n0.74\n");
  EXPECT_EQ(fromInput.out, expectedOut);
  EXPECT_EQ(fromInput.err, "normcalc-cli: line 2: \"+NAN\": " + kInvalidOpLine + "\n" +
                               "normcalc-cli: line 3: \"2e4932\": " + kOverflowLine + "\n");
  EXPECT_EQ(fromInput.exitStatus, kSomeLineFailed);

  const CliRun p2x = RunCli({"p2x"}, "-NAN\n0.25\n");
  EXPECT_EQ(p2x.out, "\n0.674491219192245\n");
  EXPECT_EQ(p2x.err, "normcalc-cli: line 1: \"-NAN\": " + kInvalidOpLine + "\n");
  EXPECT_EQ(p2x.exitStatus, kSomeLineFailed);
}

TEST(NormalCli, OnlyLineFeedEndsALine) {
  struct LineCase {
    std::string input;
    std::string printed;
  };
  const LineCase cases[] = {
      {"", ""},
      {"\n", "0\n"},
      {"1\n0.74", "0.341344279839592\n0.270349535532154\n"},  // last line without LF
      {"1\r0.74\n", "0.341344279839592\n"},                   // CR splits nothing
      {"1\r\n\r\n", "0.341344279839592\n0\n"},
      // A NUL is part of the line and ends the number: "1" is read, not "15".
      {std::string("1\0"
                   "5\n0.74\n",
                   8),
       "0.341344279839592\n0.270349535532154\n"},
      {std::string("\0"
                   "1\n",
                   3),
       "0\n"},
  };
  for (const LineCase& c : cases) {
    const CliRun run = RunCli({"x2p"}, c.input);
    EXPECT_EQ(run.out, c.printed) << ::testing::PrintToString(c.input);
    EXPECT_EQ(run.exitStatus, kSuccess);
  }
}

TEST(NormalCli, DecimalMarkOptionChangesTheWrittenMarkOnly) {
  struct MarkCase {
    std::vector<std::string> args;
    std::string printed;
  };
  const MarkCase cases[] = {
      {{"x2p", "--decimal-mark", ",", "1"}, "0,341344279839592\n"},
      {{"p2x", "--decimal-mark", ",", "0.475"}, "1,95997183815153\n"},
      // Reading always takes ".": "0,475" reads as 0.
      {{"p2x", "--decimal-mark", ",", "0,475"}, "0\n"},
      {{"write", "--decimal-mark", ",", "0.5", "1234567.125", "1e-5"}, "0,5\n1234567,125\n1E-5\n"},
      {{"x2p", "--decimal-mark", ",", "--decimal-mark", ".", "1"}, "0.341344279839592\n"},
      // The test runs the tool under LC_ALL=C, whose mark is ".".
      {{"x2p", "--decimal-mark", "locale", "1"}, "0.341344279839592\n"},
  };
  for (const MarkCase& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.out, c.printed) << ::testing::PrintToString(c.args);
    EXPECT_EQ(run.exitStatus, kSuccess);
  }
}

TEST(NormalCli, LocaleMarkIsTheUsersOnlyWhenAskedFor) {
  const test::CompiledLocales locales;
  if (!locales.Compile("de_DE"))
    GTEST_SKIP() << "localedef could not compile de_DE (Debian's locales)";
  // The C library's newlocale leaks its copy of LOCPATH (glibc 2.36), so the
  // tool's leak check is off for runs under this locale.
  const std::vector<std::string> german = {"LOCPATH=" + locales.Folder(), "LC_ALL=de_DE.UTF-8",
                                           "ASAN_OPTIONS=detect_leaks=0"};
  const CliRun asked = RunCli({"x2p", "--decimal-mark", "locale", "1"}, "", german);
  EXPECT_EQ(asked.out, "0,341344279839592\n");
  EXPECT_EQ(asked.exitStatus, kSuccess);
  const CliRun notAsked = RunCli({"x2p", "1"}, "", german);
  EXPECT_EQ(notAsked.out, "0.341344279839592\n");
}

TEST(NormalCli, ReadPrintsTheBitPatternAndTheShortestRoundTripText) {
  struct ReadCase {
    const char* text;
    const char* printed;
  };
  // Bit patterns are the reader's check values; the decimal texts are the
  // shortest that read back as those bits.
  const ReadCase cases[] = {
      {"0.1", "0x3FB999999999999A\t0.1"},
      {"1e308", "0x7FE1CCF385EBC89F\t9.999999999999998e+307"},
      {"64.7225994", "0x40502E3F118DC6FE\t64.72259940000001"},
      {"1.7976931348623157e308", "0x7FEFFFFFFFFFFFFE\t1.7976931348623155e+308"},
      {"1.7976931348623159e308", "0x7FEFFFFFFFFFFFFF\t1.7976931348623157e+308"},
      {"+NAN", "0x7FF8000000000000\tnan"},
      {"-NAN", "0xFFF8000000000000\t-nan"},
      {"+INF", "0x7FF0000000000000\tinf"},
      {"-1e400", "0xFFF0000000000000\t-inf"},
      {"- 5", "0x8000000000000000\t-0"},
      {"abc", "0x0000000000000000\t0"},
      {" \t1.5", "0x3FF8000000000000\t1.5"},
  };
  for (const ReadCase& c : cases) {
    const CliRun run = RunCli({"read", c.text});
    EXPECT_EQ(run.out, std::string(c.printed) + "\n") << '"' << c.text << '"';
    EXPECT_EQ(run.exitStatus, kSuccess);
  }
  const CliRun overflow = RunCli({"read", "2e4932", "1"});
  EXPECT_EQ(overflow.out, "\n0x3FF0000000000000\t1\n");
  EXPECT_EQ(overflow.err, "normcalc-cli: argument 1: \"2e4932\": " + kOverflowLine + "\n");
  EXPECT_EQ(overflow.exitStatus, kSomeLineFailed);
}

TEST(NormalCli, WriteTakesABitPatternOrADecimalNumber) {
  struct WriteCase {
    const char* value;
    const char* printed;
  };
  const WriteCase cases[] = {
      {"0x3FF0000000000000", "1"},
      {"0x3fe0000000000000", "0.5"},
      {"0x7FF0000000000000", "INF"},
      {"0xFFF0000000000000", "-INF"},
      {"0x7FF8000000000000", "NAN"},
      {"0x0000000000000001", "4.94065645841247E-324"},
      {"0x7FEFFFFFFFFFFFFF", "1.79769313486232E308"},
      {"0x8000000000000000", "0"},
      {"0.30000000000000004", "0.3"},
      {"0.00012345678901234567", "0.000123456789012346"},
      {"999999999999999.9", "1E15"},
      {"1234567890123456", "1.23456789012346E15"},
      {"-2.5", "-2.5"},
      {"9.97e-206", "9.97E-206"},
      {"0.00009999", "9.999E-5"},
  };
  for (const WriteCase& c : cases) {
    const CliRun run = RunCli({"write", c.value});
    EXPECT_EQ(run.out, std::string(c.printed) + "\n") << c.value;
    EXPECT_EQ(run.exitStatus, kSuccess);
  }
}

TEST(NormalCli, WriteReportsAValueItCannotParseInEnglishAndGoesOn) {
  for (const char* value : {"abc", "", "1.5x", "+-1", "1 5", "+0x3FF0000000000000", "0x3FF",
                            "0x3FF00000000000000", "0x3FF000000000000G", "0x", "1e400", "1,5"}) {
    const CliRun run = RunCli({"write", value, "0.5"});
    EXPECT_EQ(run.out, "\n0.5\n") << '"' << value << '"';
    EXPECT_THAT(run.err, StartsWith("normcalc-cli: argument 1: \"" + std::string(value) + "\": "));
    EXPECT_THAT(run.err, HasSubstr("VALUE")) << '"' << value << '"';
    EXPECT_EQ(run.exitStatus, kSomeLineFailed);
  }
}

TEST(NormalCli, UsageErrorPrintsOneReasonLineAndWhereToLookAndExitsWithTwo) {
  struct UsageCase {
    std::vector<std::string> args;
    std::string helpCommand;  // the --help the hint names
  };
  const UsageCase cases[] = {
      {{}, "normcalc-cli --help"},
      {{"x2q", "1"}, "normcalc-cli --help"},
      {{"X2P"}, "normcalc-cli --help"},
      {{"-x2p"}, "normcalc-cli --help"},
      {{"--frob"}, "normcalc-cli --help"},
      {{"x2p", "--frob", "1"}, "normcalc-cli x2p --help"},
      {{"x2p", "1", "--frob=2"}, "normcalc-cli x2p --help"},
      {{"x2p", "--decimal-mark"}, "normcalc-cli x2p --help"},
      {{"x2p", "--decimal-mark", ""}, "normcalc-cli x2p --help"},
      {{"x2p", "--decimal-mark", ",,"}, "normcalc-cli x2p --help"},
      {{"x2p", "--decimal-mark", "，"}, "normcalc-cli x2p --help"},  // one character, three bytes
      {{"read", "--decimal-mark", ","}, "normcalc-cli read --help"},
      {{"write", "--strict"}, "normcalc-cli write --help"},
      {{"x2p", "--field", "0"}, "normcalc-cli x2p --help"},
      {{"x2p", "--field", "-1"}, "normcalc-cli x2p --help"},
      {{"x2p", "--field", "two"}, "normcalc-cli x2p --help"},
      {{"x2p", "--delimiter", "::"}, "normcalc-cli x2p --help"},
      {{"x2p", "--delimiter", "\n"}, "normcalc-cli x2p --help"},
      {{"table", "--digits", "0"}, "normcalc-cli table --help"},
      {{"table", "--digits", "16"}, "normcalc-cli table --help"},
      {{"table", "--format", "html"}, "normcalc-cli table --help"},
      {{"table", "1"}, "normcalc-cli table --help"},
      {{"table", "--field", "1"}, "normcalc-cli table --help"},
  };
  for (const UsageCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = RunCli(c.args, "1\n");
    EXPECT_EQ(run.exitStatus, kUsageError);
    EXPECT_EQ(run.out, "");
    const std::size_t reasonEnd = run.err.find('\n');
    ASSERT_NE(reasonEnd, std::string::npos);
    EXPECT_THAT(run.err.substr(0, reasonEnd), StartsWith("normcalc-cli: "));
    EXPECT_EQ(run.err.substr(reasonEnd + 1), "Try '" + c.helpCommand + "' for more information.\n");
  }
}

TEST(NormalCli, AnswersEachLineBeforeTheNextOneArrives) {
  CliSession cli({"p2x"});
  cli.Send("0.25\n");
  EXPECT_EQ(cli.ReceiveLine(), "0.674491219192245");
  cli.Send("0.475\n0.0018\n");
  EXPECT_EQ(cli.ReceiveLine(), "1.95997183815153");
  EXPECT_EQ(cli.ReceiveLine(), "0.00451249645189664");
  EXPECT_EQ(cli.Finish(), 0);
}

TEST(NormalCli, HelpAndVersionFromAnyPlace) {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exitStatus, kSuccess);
  EXPECT_THAT(help.out, StartsWith("Usage: normcalc-cli COMMAND [OPTIONS] [TEXT ...]\n"));
  for (const char* name :
       {"pnorm", "qnorm", "norm.cdf", "norm.sf", "norm.ppf", "two-sided", "table"}) {
    EXPECT_THAT(help.out, HasSubstr(name));
  }
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(RunCli({"-h"}).out, help.out);

  const CliRun x2pHelp = RunCli({"x2p", "1", "--help"});
  EXPECT_EQ(x2pHelp.exitStatus, kSuccess);
  EXPECT_THAT(x2pHelp.out, StartsWith("Usage: normcalc-cli x2p [OPTIONS] [TEXT ...]\n"));
  EXPECT_EQ(RunCli({"x2p", "-h", "1"}).out, x2pHelp.out);
  EXPECT_THAT(RunCli({"read", "-h"}).out, HasSubstr("correctly rounded"));
  EXPECT_THAT(RunCli({"write", "-h"}).out,
              StartsWith("Usage: normcalc-cli write [OPTIONS] [VALUE ...]\n"));
  EXPECT_THAT(RunCli({"table", "--help"}).out, StartsWith("Usage: normcalc-cli table [OPTIONS]\n"));

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--version"}, {"x2p", "1", "--version"}, {"--version", "x2p"}}) {
    const CliRun version = RunCli(args);
    EXPECT_EQ(version.exitStatus, kSuccess);
    EXPECT_EQ(version.out, "normcalc-cli " NORMCALC_VERSION "\n");
  }
}

}  // namespace
}  // namespace normcalc::cli_test
