#include "normcalc/core.h"

namespace normcalc {

std::string ApplicationTitleFromPath(std::string_view executablePath) {
  const std::size_t folderEnd = executablePath.find_last_of("/\\");
  std::string_view name =
      folderEnd == std::string_view::npos ? executablePath : executablePath.substr(folderEnd + 1);
  name = name.substr(0, name.find('.'));  // the whole name when there is no "."

  std::string title(name);
  // The first character keeps its case, whatever its length in bytes: the
  // lower-casing below touches A-Z only, which are one byte each, so starting
  // after the first byte never splits a character.
  for (std::size_t i = 1; i < title.size(); ++i) {
    if (title[i] >= 'A' && title[i] <= 'Z') title[i] = static_cast<char>(title[i] - 'A' + 'a');
  }
  return title;
}

}  // namespace normcalc
