// The manual page of normcalc-cli against the parser: it names every command
// and every option the parser knows, and no option the parser does not know.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "options.h"

namespace normcalc::cli_test {
namespace {

std::string ManualPage() {
  std::ifstream in(NORMCALC_CLI_MANUAL_PAGE);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A name as roff writes it: every "-" escaped.
std::string InRoff(const std::string& name) {
  std::string escaped;
  for (const char c : name) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
  return escaped;
}

TEST(NormalCliManualPage, NamesEveryCommandAndOptionOfTheParser) {
  const std::string page = ManualPage();
  ASSERT_FALSE(page.empty()) << NORMCALC_CLI_MANUAL_PAGE;
  const std::vector<std::string> names = normcalc::cli::DeclaredNames();
  for (const char* command :
       {"x2p", "p2x", "cdf", "sf", "two-sided", "ppf", "read", "write", "table", "--decimal-mark",
        "--strict", "--field", "--delimiter", "--append", "--header", "--format", "--digits",
        "--help", "--version"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), command), names.end()) << command;
  }
  for (const std::string& name : names) {
    // Each one has its own entry: a line that sets it in bold, alone or
    // followed by its value.
    const std::string entry = InRoff(name);
    const bool found = page.find("\n.B " + entry + "\n") != std::string::npos ||
                       page.find("\n.B " + entry + " ") != std::string::npos ||
                       page.find("\n.BI " + entry + " ") != std::string::npos ||
                       page.find("\n.BR " + entry + " ") != std::string::npos;
    EXPECT_TRUE(found) << "the manual page has no entry for " << name;
  }
}

TEST(NormalCliManualPage, NamesNoOptionThatTheParserDoesNotKnow) {
  const std::string page = ManualPage();
  const std::vector<std::string> names = normcalc::cli::DeclaredNames();
  // Every "\-\-word\-word" in the page is an option the parser knows.
  const std::string dashes = "\\-\\-";
  for (std::size_t at = page.find(dashes); at != std::string::npos;
       at = page.find(dashes, at + dashes.size())) {
    std::string name = "--";
    std::size_t end = at + dashes.size();
    for (;;) {
      if (end < page.size() && page[end] >= 'a' && page[end] <= 'z') {
        name += page[end++];
      } else if (page.compare(end, 2, "\\-") == 0 && end + 2 < page.size() &&
                 page[end + 2] >= 'a' && page[end + 2] <= 'z') {
        name += '-';
        end += 2;
      } else {
        break;
      }
    }
    if (name == "--") continue;  // "--" itself, the end of the options
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end())
        << "the manual page names " << name << ", which the parser does not know";
  }
}

}  // namespace
}  // namespace normcalc::cli_test
