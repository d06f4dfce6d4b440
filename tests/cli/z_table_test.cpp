// normcalc-cli table: the z-table that textbooks print, each cell the answer
// that x2p gives for the text the cell stands for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "run_cli.h"

namespace normcalc::cli_test {
namespace {

using ::testing::StartsWith;

constexpr int kRows = 40;
constexpr int kColumns = 10;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Split(const std::string& line, char delimiter) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, delimiter);) fields.push_back(field);
  return fields;
}

// "1.96" for row 19 and column 6, as a textbook reads the table.
std::string CellText(int row, int column) {
  return std::to_string(row / 10) + "." + std::to_string(row % 10) + std::to_string(column);
}

// x2p's answers for every cell, in row order, from one run of x2p.
std::vector<std::string> X2pAnswers() {
  std::vector<std::string> args = {"x2p"};
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) args.push_back(CellText(row, column));
  }
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.exitStatus, 0);
  return Lines(run.out);
}

// x2p's 15-digit text of a P from 0 to 0.5 rounded half up to `decimals`
// decimals, by its digits. The digits of x2p's text are the double's own to
// 15 places, so a cut that lands on a 5 followed by nothing but zeros could
// round either way; the test says so rather than guess.
std::string RoundedForPrint(const std::string& text, int decimals) {
  std::string digits = text == "0" ? "" : text.substr(2);  // "0.475..." -> "475..."
  digits.resize(32, '0');
  const std::string kept = digits.substr(0, static_cast<std::size_t>(decimals));
  const std::string dropped = digits.substr(static_cast<std::size_t>(decimals));
  const bool tie = dropped[0] == '5' && dropped.find_first_not_of('0', 1) == std::string::npos;
  EXPECT_FALSE(tie) << text << " lies on a rounding tie at " << decimals << " decimals";
  long long value = std::stoll("1" + kept);  // the leading 1 keeps the zeros
  if (dropped[0] >= '5') ++value;
  const std::string rounded = std::to_string(value);
  return (rounded[0] == '2' ? "1." : "0.") + rounded.substr(1);
}

TEST(NormalCliTable, EachCellIsX2pOfTheTextItStandsFor) {
  const CliRun run = RunCli({"table", "--format", "csv"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRows + 1));
  EXPECT_EQ(lines[0], "z,0.00,0.01,0.02,0.03,0.04,0.05,0.06,0.07,0.08,0.09");
  const std::vector<std::string> answers = X2pAnswers();
  ASSERT_EQ(answers.size(), static_cast<std::size_t>(kRows * kColumns));
  for (int row = 0; row < kRows; ++row) {
    const std::vector<std::string> cells = Split(lines[static_cast<std::size_t>(row) + 1], ',');
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(kColumns + 1)) << lines[row + 1];
    EXPECT_EQ(cells[0], CellText(row, 0).substr(0, 3));
    for (int column = 0; column < kColumns; ++column) {
      EXPECT_EQ(cells[static_cast<std::size_t>(column) + 1],
                answers[static_cast<std::size_t>(row * kColumns + column)])
          << "z = " << CellText(row, column);
    }
  }
  // The textbook's best-known cell: 1.96 reads as the double nearest 1.96.
  EXPECT_EQ(Split(lines[20], ',')[7], "0.475001646084327");
}

TEST(NormalCliTable, DigitsRoundEachAnswerForPrintAndTheTitleSaysSo) {
  const std::vector<std::string> answers = X2pAnswers();
  for (const int decimals : {1, 4, 5}) {
    const CliRun run = RunCli({"table", "--format", "csv", "--digits", std::to_string(decimals)});
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRows + 1));
    for (int row = 0; row < kRows; ++row) {
      const std::vector<std::string> cells = Split(lines[static_cast<std::size_t>(row) + 1], ',');
      for (int column = 0; column < kColumns; ++column) {
        EXPECT_EQ(
            cells[static_cast<std::size_t>(column) + 1],
            RoundedForPrint(answers[static_cast<std::size_t>(row * kColumns + column)], decimals))
            << "z = " << CellText(row, column) << ", " << decimals << " decimals";
      }
    }
  }
  const CliRun text = RunCli({"table", "--digits", "4"});
  EXPECT_EQ(Lines(text.out)[0],
            "N(0,1): P = f(0<x<z), the area from 0 to z, rounded to 4 decimals for print");
}

TEST(NormalCliTable, TextAndMarkdownShowTheSameCellsAsCsv) {
  const CliRun csv = RunCli({"table", "--format", "csv", "--digits", "4"});
  const CliRun text = RunCli({"table", "--digits", "4"});
  const CliRun markdown = RunCli({"table", "--format", "markdown", "--digits", "4"});
  const std::vector<std::string> csvLines = Lines(csv.out);
  const std::vector<std::string> textLines = Lines(text.out);
  const std::vector<std::string> markdownLines = Lines(markdown.out);
  ASSERT_EQ(textLines.size(), csvLines.size() + 2);      // title and a blank line
  ASSERT_EQ(markdownLines.size(), csvLines.size() + 3);  // and the rule under the titles
  EXPECT_EQ(textLines[1], "");
  EXPECT_EQ(textLines[2],
            "z    0.00    0.01    0.02    0.03    0.04    0.05    0.06    0.07    0.08    0.09");
  EXPECT_EQ(textLines[22],
            "1.9  0.4713  0.4719  0.4726  0.4732  0.4738  0.4744  0.4750  0.4756  0.4761  0.4767");
  EXPECT_THAT(markdownLines[0], StartsWith("`N(0,1): P = f(0<x<z)"));
  EXPECT_EQ(markdownLines[2],
            "| z | 0.00 | 0.01 | 0.02 | 0.03 | 0.04 | 0.05 | 0.06 | 0.07 | 0.08 | 0.09 |");
  EXPECT_EQ(markdownLines[3], "|---|---|---|---|---|---|---|---|---|---|---|");
  for (std::size_t i = 0; i < csvLines.size(); ++i) {
    std::istringstream words(textLines[i + 2]);
    std::string joined;
    for (std::string word; words >> word;) joined += (joined.empty() ? "" : ",") + word;
    EXPECT_EQ(joined, csvLines[i]);
    std::string row = markdownLines[i == 0 ? 2 : i + 3];
    std::string cells;
    for (const std::string& cell : Split(row.substr(2, row.size() - 4), '|')) {
      cells += (cells.empty() ? "" : ",") +
               cell.substr(cell.find_first_not_of(' '),
                           cell.find_last_not_of(' ') - cell.find_first_not_of(' ') + 1);
    }
    EXPECT_EQ(cells, csvLines[i]);
  }
}

TEST(NormalCliTable, ACommaMarkIsQuotedInCsv) {
  const std::vector<std::string> lines =
      Lines(RunCli({"table", "--format", "csv", "--decimal-mark", ",", "--digits", "2"}).out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "z,\"0,00\",\"0,01\",\"0,02\",\"0,03\",\"0,04\",\"0,05\",\"0,06\",\"0,07\",\"0,08\","
            "\"0,09\"");
  EXPECT_EQ(lines[1],
            "\"0,0\",\"0,00\",\"0,00\",\"0,01\",\"0,01\",\"0,02\",\"0,02\",\"0,02\",\"0,03\",\"0,"
            "03\",\"0,04\"");
}

}  // namespace
}  // namespace normcalc::cli_test
