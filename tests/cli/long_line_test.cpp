// Lines far longer than any buffer of the tool: the result is that of the
// whole line, the next line is found, and memory does not grow with the line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "run_cli.h"

namespace normcalc::cli_test {
namespace {

constexpr std::size_t kTenMegabytes = 10 * 1000 * 1000;

TEST(NormalCliLongLine, TenMegabytesOfDigitsReadAsTheWholeNumberAndTheNextLineFollows) {
  // "1" and ten million zeros is far beyond the double range: the upper clamp.
  const std::string input = "1" + std::string(kTenMegabytes, '0') + "\n0.74\n";
  const CliRun run = RunCli({"x2p"}, input);
  EXPECT_EQ(run.out, "0.49996719678728\n0.270349535532154\n");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(NormalCliLongLine, LeadingWhitespaceOfAnyLengthIsSkippedAndTheNumberAfterItReadWhole) {
  // A number of 4907 characters after ten megabytes of blanks: the exponent
  // at its end still counts, so this is 1, not 10^4900.
  const std::string number = "1" + std::string(4900, '0') + "e-4900";
  std::string blanks;
  for (std::size_t i = 0; blanks.size() < kTenMegabytes; ++i) blanks += " \t\v\f\r"[i % 5];
  const CliRun run = RunCli({"x2p"}, blanks + number + "\n" + number + "\n1\n");
  EXPECT_EQ(run.out, "0.341344279839592\n0.341344279839592\n0.341344279839592\n");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(NormalCliLongLine, ReaderStopsAfterItsLengthLimitEvenBehindBlanks) {
  // The exponent lies past the first 32767 characters of the number and is
  // never read; the 32767 digits alone pass the range.
  const std::string number = "1" + std::string(32766, '0') + "e-32760";
  const std::string blanks(1 << 20, '\t');
  const CliRun run = RunCli({"read"}, number + "\n" + blanks + number + "\n");
  EXPECT_EQ(run.out, "0x7FF0000000000000\tinf\n0x7FF0000000000000\tinf\n");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(NormalCliLongLine, OverflowInALongLineIsReportedWithItsLineNumber) {
  const std::string overflowing = "2e4932" + std::string(kTenMegabytes, 'x');
  const CliRun run = RunCli({"p2x"}, "0.25\n" + overflowing + "\n0.25");
  EXPECT_EQ(run.out, "0.674491219192245\n\n0.674491219192245\n");
  // The message shows the line's first 40 bytes.
  EXPECT_EQ(run.err, "normcalc-cli: line 2: \"2e4932" + std::string(34, 'x') +
                         "...\": 浮動小数点数のオーバーフロー.\n");
  EXPECT_EQ(run.exitStatus, 1);
}

TEST(NormalCliLongLine, WriteRejectsAnOverlongValueAndGoesOn) {
  const CliRun run = RunCli({"write"}, std::string(kTenMegabytes, '1') + "\n0x3FF0000000000000");
  EXPECT_EQ(run.out, "\n1\n");
  EXPECT_EQ(run.err, "normcalc-cli: line 1: \"" + std::string(40, '1') +
                         "...\": VALUE is longer than 4096 bytes.\n");
  EXPECT_EQ(run.exitStatus, 1);
}

TEST(NormalCliLongLine, LinesOfEveryLengthAroundTheBufferSizeReadAlike) {
  // Blank-padded copies of one number, their lengths growing by half from one
  // byte to megabytes: lines end at many offsets of the tool's buffer, some
  // fit it and some are longer than it.
  std::string input;
  std::string expected;
  for (std::size_t length = 1; length < (3u << 20); length = length * 3 / 2 + 7) {
    input += std::string(length, ' ') + "0.74 and the rest\n";
    expected += "0.270349535532154\n";
  }
  const CliRun run = RunCli({"x2p"}, input);
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(NormalCliLongLine, TheReadersLengthLimitCountsFromTheFirstCharacterAfterTheBlanks) {
  // Zeros are digits, so they use up the reader's 32767 characters: "1" as
  // the 32767th is read, as the 32768th it is not. Behind a megabyte of blanks
  // the line is longer than any buffer of the tool and the count is the same.
  const std::string blanks(1 << 20, ' ');
  std::string input;
  for (const std::string& lead : {std::string(), blanks}) {
    input += lead + std::string(32766, '0') + "1\n";
    input += lead + std::string(32767, '0') + "1\n";
  }
  const CliRun run = RunCli({"x2p"}, input);
  EXPECT_EQ(run.out, "0.341344279839592\n0\n0.341344279839592\n0\n");
  EXPECT_EQ(run.exitStatus, 0);
}

// The tool answers each line before it waits for the next, so a test can ask
// for its peak memory while it runs, after it has taken a ten-megabyte line.
TEST(NormalCliLongLine, MemoryDoesNotGrowWithTheLengthOfALine) {
  CliSession cli({"x2p"});
  cli.Send("1\n");
  EXPECT_EQ(cli.ReceiveLine(), "0.341344279839592");
  const long beforeKiB = cli.PeakResidentKiB();
  cli.Send(std::string(kTenMegabytes, '1') + "\n");
  EXPECT_EQ(cli.ReceiveLine(), "0.49996719678728");
  const long afterKiB = cli.PeakResidentKiB();
  // Holding the line would add ten megabytes; the tool's buffers are far smaller.
  constexpr long kAllowedGrowthKiB = 2 * 1024;
  EXPECT_LT(afterKiB, beforeKiB + kAllowedGrowthKiB)
      << "peak " << beforeKiB << " KiB before the long line, " << afterKiB << " KiB after";
  EXPECT_EQ(cli.Finish(), 0);
}

}  // namespace
}  // namespace normcalc::cli_test
