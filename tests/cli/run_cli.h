// Runs the built normcalc-cli as a child process, its standard input from
// given bytes, and collects what it printed and how it ended.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace normcalc::cli_test {

struct CliRun {
  int exitStatus = -1;  // -1 when it did not exit normally
  std::string out;      // standard output
  std::string err;      // standard error
};

// The environment has LC_ALL=C, and LANG and the other LC_ variables removed;
// extraEnvironment ("NAME=value" entries) is added after, and wins.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
              const std::vector<std::string>& extraEnvironment = {});

// The tool running with pipes on its standard input and output, for a test
// that talks to it a line at a time; standard error goes to /dev/null.
class CliSession {
 public:
  explicit CliSession(const std::vector<std::string>& args);
  ~CliSession();
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;

  void Send(std::string_view bytes);
  // Waits for the next line of output; returns it without its LF.
  std::string ReceiveLine();
  // The peak resident memory of the tool's own image so far (VmHWM).
  long PeakResidentKiB() const;
  // Ends the input and returns the exit status.
  int Finish();

 private:
  int pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string received_;
};

}  // namespace normcalc::cli_test
