#include "normcalc/core.h"

namespace normcalc {

// The last character is compared with "." as a string of unsigned bytes. A
// single byte compares by its value; a multi-byte UTF-8 character starts with a
// byte of 0xC0 or more and so always sorts after ".". Either way the answer is
// decided by the lead byte alone, and for UTF-8 any byte of 0x80 or more at the
// end belongs to a multi-byte character.
std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty()) {
    const auto last = static_cast<unsigned char>(text.back());
    if (last > static_cast<unsigned char>('.')) text += '.';
  }
  return text;
}

Exception ReportableException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& failure) {
    return failure;
  } catch (...) {
    return Exception("");
  }
}

}  // namespace normcalc
