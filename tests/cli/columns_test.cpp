// A small CSV file through --field, --append and --header, as a user pipes
// one: every line keeps its columns and gains the answer for its field.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_cli.h"

namespace normcalc::cli_test {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(NORMCALC_CLI_FIXTURES) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(NormalCliColumns, ACsvFileGainsAColumnOfAnswersForItsSecondField) {
  const std::string csv = Fixture("scores.csv");
  ASSERT_FALSE(csv.empty());
  // The answers for the z column alone, from the same command on the texts.
  const CliRun answers = RunCli({"cdf", "1.2", "-0.4", "1.96", " 0.5 "});
  ASSERT_EQ(answers.exitStatus, 0);
  std::istringstream each(answers.out);
  std::vector<std::string> cdf;
  for (std::string line; std::getline(each, line);) cdf.push_back(line);
  ASSERT_EQ(cdf.size(), 4u);

  const CliRun run =
      RunCli({"cdf", "--strict", "--field", "2", "--delimiter", ",", "--append", "--header"}, csv);
  EXPECT_EQ(run.out,
            "student,z,note,cdf\n"
            "ann,1.2,first," +
                cdf[0] +
                "\n"
                "bob,-0.4,," +
                cdf[1] +
                "\n"
                "cy,n/a,absent,\n"
                "dee,1.96,," +
                cdf[2] +
                "\n"
                "eve, 0.5 ,padded," +
                cdf[3] + "\n");
  EXPECT_EQ(run.err, "normcalc-cli: line 4: \"n/a\": not a number (--strict)\n");
  EXPECT_EQ(run.exitStatus, 1);
  // The user guide's example: Phi(1.2) = 0.5 + x2p(1.2), Phi(-0.4) = 0.5 - x2p(0.4).
  EXPECT_EQ(cdf[0], "0.884929862606248");
  EXPECT_EQ(cdf[1], "0.344578725022253");

  // Without --strict the text "n/a" reads as 0, as the calculator reads it.
  const CliRun lenient = RunCli({"cdf", "--field", "2", "--delimiter", ","}, csv);
  EXPECT_EQ(lenient.out,
            "0.5\n" + cdf[0] + "\n" + cdf[1] + "\n0.5\n" + cdf[2] + "\n" + cdf[3] + "\n");
  EXPECT_EQ(lenient.exitStatus, 0);

  // --field alone, with --header: the column of answers under its title.
  const CliRun column = RunCli({"x2p", "--field", "2", "--delimiter", ",", "--header"}, csv);
  EXPECT_EQ(column.out, "x2p\n0.384929862606248\n0\n0\n0.475001646084327\n0.191461995503053\n");
}

// A line longer than --field and --append hold ends the run: its answer
// could not be written beside it.
TEST(NormalCliColumns, ALineBeyondWhatIsHeldEndsTheRunWithAReason) {
  const std::string input = "1\n" + std::string((1 << 20) + 1, '2') + "\n1\n";
  const CliRun run = RunCli({"x2p", "--append"}, input);
  EXPECT_EQ(run.out, "1\t0.341344279839592\n");
  EXPECT_EQ(run.err,
            "normcalc-cli: line 2 is longer than 1048576 bytes, the most that --field and "
            "--append hold\n");
  EXPECT_EQ(run.exitStatus, 1);
}

}  // namespace
}  // namespace normcalc::cli_test
