#include "run_cli.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace normcalc::cli_test {

namespace {

// Files rather than pipes: the child can read megabytes of input and write
// megabytes of output without either side waiting on the other.
class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    path_ = std::string(base != nullptr ? base : "/tmp") + "/normcalc-cli-test-XXXXXX";
    if (::mkdtemp(path_.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  }
  ~TempDir() {
    for (const char* name : {"in", "out", "err"}) std::remove(File(name).c_str());
    ::rmdir(path_.c_str());
  }
  std::string File(const char* name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// argv and envp for a spawn, pointing into strings that the caller keeps.
std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view variable = *entry;
    if (variable.starts_with("LC_") || variable.starts_with("LANG=")) continue;
    env.emplace_back(variable);
  }
  env.emplace_back("LC_ALL=C");
  return env;
}

std::vector<std::string> Arguments(const std::vector<std::string>& args) {
  std::vector<std::string> all{NORMCALC_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  return all;
}

// Starts the tool with `args` in the tests' environment, where each of
// `extraEnvironment` ("NAME=value") replaces the variable of its name, with
// the standard streams that `actions` set up. Returns posix_spawn's error
// number, 0 when the tool started as `pid`.
int SpawnCli(const std::vector<std::string>& args, const std::vector<std::string>& extraEnvironment,
             const posix_spawn_file_actions_t& actions, pid_t& pid) {
  std::vector<std::string> argStrings = Arguments(args);
  std::vector<std::string> envStrings = ChildEnvironment();
  for (const std::string& extra : extraEnvironment) {
    const std::string name = extra.substr(0, extra.find('=') + 1);
    std::erase_if(envStrings, [&](const std::string& e) { return e.starts_with(name); });
    envStrings.push_back(extra);
  }
  const std::vector<char*> argv = Pointers(argStrings);
  const std::vector<char*> envp = Pointers(envStrings);
  return posix_spawn(&pid, NORMCALC_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
}

int WaitForExit(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::vector<std::string>& extraEnvironment) {
  const TempDir dir;
  WriteFile(dir.File("in"), input);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, dir.File("in").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, dir.File("out").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, dir.File("err").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);

  pid_t pid = 0;
  const int spawnError = SpawnCli(args, extraEnvironment, actions, pid);
  posix_spawn_file_actions_destroy(&actions);
  if (spawnError != 0) throw std::runtime_error(std::string("spawn: ") + std::strerror(spawnError));

  CliRun run;
  run.exitStatus = WaitForExit(pid);
  run.out = ReadFile(dir.File("out"));
  run.err = ReadFile(dir.File("err"));
  return run;
}

CliSession::CliSession(const std::vector<std::string>& args) {
  // A write to a tool that has died must fail the test, not kill it.
  std::signal(SIGPIPE, SIG_IGN);
  int input[2];
  int output[2];
  if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawnError = SpawnCli(args, {}, actions, pid);
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);
  ::close(output[1]);
  toChild_ = input[1];
  fromChild_ = output[0];
  if (spawnError != 0) throw std::runtime_error(std::string("spawn: ") + std::strerror(spawnError));
  pid_ = pid;
}

CliSession::~CliSession() {
  if (pid_ > 0) Finish();
  if (fromChild_ >= 0) ::close(fromChild_);
}

void CliSession::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(toChild_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("write to the tool: ") + std::strerror(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::string CliSession::ReceiveLine() {
  for (;;) {
    const std::size_t lf = received_.find('\n');
    if (lf != std::string::npos) {
      std::string line = received_.substr(0, lf);
      received_.erase(0, lf + 1);
      return line;
    }
    char chunk[4096];
    const ssize_t got = ::read(fromChild_, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw std::runtime_error("the tool's output ended before a line did");
    received_.append(chunk, static_cast<std::size_t>(got));
  }
}

long CliSession::PeakResidentKiB() const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  std::string field;
  while (status >> field) {
    if (field == "VmHWM:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
  }
  throw std::runtime_error("no VmHWM in /proc/PID/status");
}

int CliSession::Finish() {
  if (toChild_ >= 0) ::close(toChild_);
  toChild_ = -1;
  const int status = WaitForExit(pid_);
  pid_ = -1;
  return status;
}

}  // namespace normcalc::cli_test
