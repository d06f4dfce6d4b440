// Locales compiled from the system's locale sources (Debian's "locales"
// package) into a folder of the test's own, so that a test needs no locale
// configured on the machine: a process finds them with LOCPATH set to
// Folder() and the name "<source>.UTF-8". POSIX systems only.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace normcalc::test {

class CompiledLocales {
 public:
  CompiledLocales() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "normcalc-locales-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
  }
  ~CompiledLocales() { std::filesystem::remove_all(folder_); }
  CompiledLocales(const CompiledLocales&) = delete;
  CompiledLocales& operator=(const CompiledLocales&) = delete;

  const std::string& Folder() const { return folder_; }

  // Compiles the locale source `source` (such as "de_DE") for UTF-8 as
  // source.UTF-8; false when localedef could not (no locale sources).
  bool Compile(const std::string& source) const {
    const std::string command =
        "localedef -i " + source + " -f UTF-8 " + folder_ + "/" + source + ".UTF-8 >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

 private:
  std::string folder_;
};

}  // namespace normcalc::test
