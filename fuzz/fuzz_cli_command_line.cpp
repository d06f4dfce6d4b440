// normcalc-cli run in-process on arbitrary command lines and standard input.
// Whatever the words, the tool must not crash and must end with status 0, 1
// or 2. A command line it refuses (2) writes nothing to standard output and
// says where to look for help; a converting command writes exactly one line
// per text, whether the texts are arguments or lines of standard input, and
// is silent on standard error exactly when it ends with 0.
//
// Input layout: a byte giving the number of words (0 to 15), then the words,
// each ended by NUL, then standard input (the rest, NUL bytes included).

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"
#include "run.h"

namespace {

using normcalc::cli::Command;

// A memory file for a stream.
int MemoryFile(const char* name) {
  const int fd = memfd_create(name, 0);
  if (fd < 0) {
    std::perror("memfd_create");
    std::abort();
  }
  return fd;
}

void Refill(int fd, std::string_view bytes) {
  if (ftruncate(fd, 0) != 0 ||
      (!bytes.empty() &&
       pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) ||
      lseek(fd, 0, SEEK_SET) != 0) {
    std::perror("memfd");
    std::abort();
  }
}

std::string Contents(int fd) {
  struct stat status {};
  if (fstat(fd, &status) != 0) std::abort();
  std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
  if (!bytes.empty() &&
      pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
    std::perror("pread");
    std::abort();
  }
  return bytes;
}

// Lines as the tool reads them: split at LF, a last line without LF still a
// line, nothing after a final LF.
std::size_t LineCount(std::string_view input) {
  const auto lfs = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n'));
  return lfs + (!input.empty() && input.back() != '\n' ? 1 : 0);
}

bool Converts(Command command) {
  return command != Command::kHelp && command != Command::kVersion && command != Command::kTable;
}

[[noreturn]] void Fail(const std::vector<std::string>& words, int status, const std::string& out,
                       const std::string& err, const char* what) {
  std::fprintf(stderr, "%s\nstatus %d, words:", what, status);
  for (const std::string& word : words) std::fprintf(stderr, " [%s]", word.c_str());
  std::fprintf(stderr, "\nstdout (%zu bytes): %.2000s\nstderr: %.2000s\n", out.size(), out.c_str(),
               err.c_str());
  std::abort();
}

// What a run of the tool gave: its exit status and what it wrote.
struct Ran {
  int status;
  std::string out;
  std::string err;
  bool operator==(const Ran&) const = default;
};

// Runs tool on the words with input on standard input, in memory files made
// once and emptied for every run.
Ran RunOn(normcalc::cli::Tool& tool, std::span<const char* const> words, std::string_view input) {
  static const normcalc::cli::Streams streams{MemoryFile("stdin"), MemoryFile("stdout"),
                                              MemoryFile("stderr")};
  Refill(streams.in, input);
  Refill(streams.out, {});
  Refill(streams.err, {});
  const int status = tool.Run(words, streams);
  return {status, Contents(streams.out), Contents(streams.err)};
}

// What a parser makes of the words: the options, or its refusal's message
// and the command whose help the refusal names.
struct ParseOutcome {
  normcalc::cli::Options options;
  bool refused = false;
  std::string refusal;
  bool operator==(const ParseOutcome&) const = default;
};

ParseOutcome Parse(normcalc::cli::OptionsParser& parser, std::span<const char* const> words) {
  try {
    return {parser.Parse(words), false, {}};
  } catch (const normcalc::cli::UsageError& refusal) {
    return {{}, true, refusal.Message() + " / " + refusal.CommandName()};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // --field and --append stop at a line over 1 MiB; inputs stay far below it.
  if (size > 64 * 1024) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> words;
  for (int n = data[0] % 16; n > 0; --n) {
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos) return 0;
    words.emplace_back(rest.substr(0, nul));
    rest.remove_prefix(nul + 1);
  }
  const std::string_view input = rest;
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());

  // One tool for the whole run, which keeps its option parser and its reader
  // of standard input: making them is most of the cost of a short run. That a
  // tool used before runs, and its parser parses, as new ones do is checked on
  // one input in sixteen, which spreads the cost of new ones thin.
  static normcalc::cli::Tool tool;
  normcalc::cli::OptionsParser& parser = tool.Parser();
  const Ran ran = RunOn(tool, argv, input);
  const auto& [status, out, err] = ran;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (std::hash<std::string_view>()(bytes) % 16 == 0) {
    normcalc::cli::Tool fresh;
    if (RunOn(fresh, argv, input) != ran) {
      Fail(words, status, out, err, "a tool used before runs unlike a new one");
    }
    if (Parse(parser, argv) != Parse(fresh.Parser(), argv)) {
      Fail(words, status, out, err, "a parser used before parses unlike a new one");
    }
  }

  if (status != 0 && status != 1 && status != 2) Fail(words, status, out, err, "exit status");
  if (status == 2) {
    if (!out.empty()) Fail(words, status, out, err, "a refused command line wrote output");
    if (!err.ends_with(" for more information.\n")) {
      Fail(words, status, out, err, "a refused command line gave no pointer to the help");
    }
    return 0;
  }
  // Parsed again, the words tell what was run.
  const ParseOutcome parsed = Parse(parser, argv);
  if (parsed.refused) Fail(words, status, out, err, "the words parse only on the second try");
  const normcalc::cli::Options& options = parsed.options;
  if (!Converts(options.command)) {
    if (status != 0 || out.empty() || !out.ends_with('\n') || !err.empty()) {
      Fail(words, status, out, err, "help, version or table did not print alone");
    }
    return 0;
  }
  std::size_t expected = options.texts.empty() ? LineCount(input) : options.texts.size();
  // --append writes each text back as it came; an argument, unlike a line of
  // standard input, may hold LFs of its own, and they go out with it.
  if (options.append) {
    for (const std::string& text : options.texts) {
      expected += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
  }
  const auto lines = static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
  if (lines != expected) Fail(words, status, out, err, "not one output line per text");
  if (!out.empty() && !out.ends_with('\n')) Fail(words, status, out, err, "an unended last line");
  if (status == 0 && !err.empty()) Fail(words, status, out, err, "a message without a failure");
  if (status == 1 && err.empty()) Fail(words, status, out, err, "a failure without a message");
  return 0;
}
