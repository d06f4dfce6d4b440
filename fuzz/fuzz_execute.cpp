// Execute (Button2Click) on a form model with an arbitrary mode and arbitrary
// texts in both boxes. Whatever happens, the box that was read keeps its text;
// a failure is EOverflow or EInvalidOp and leaves the other box as it was; a
// success writes a number inside the table's range, the same on a second click.
//
// Input layout: one byte for the mode (as a signed index), then the text of
// Edit1, a 0xFF byte, and the text of Edit2 (0xFF never occurs in the text
// the window holds, which is UTF-8).

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "normcalc/core.h"

namespace {

constexpr double kLastX = 3.98466366361372;
constexpr double kLastP = 0.49996719678728;
constexpr char kBoxSeparator = '\xFF';

[[noreturn]] void Fail(const normcalc::MemoryForm& before, const char* what) {
  std::fprintf(stderr, "Button2Click(ItemIndex %d, Edit1 \"%s\", Edit2 \"%s\"): %s\n",
               before.itemIndex, before.edit1.c_str(), before.edit2.c_str(), what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  normcalc::MemoryForm before;
  before.itemIndex = static_cast<std::int8_t>(data[0]);
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = rest.find(kBoxSeparator);
  before.edit1 = rest.substr(0, split);
  if (split != std::string_view::npos) before.edit2 = rest.substr(split + 1);

  const bool toP = before.itemIndex == 0;
  normcalc::MemoryForm form = before;
  bool failed = false;
  try {
    normcalc::Button2Click(form);
  } catch (const normcalc::EOverflow&) {
    failed = true;
  } catch (const normcalc::EInvalidOp&) {
    failed = true;
  }
  // Anything else leaves this function and libFuzzer reports it.

  if (form.itemIndex != before.itemIndex || form.closeRequested)
    Fail(before, "mode or close touched");
  if ((toP ? form.edit1 : form.edit2) != (toP ? before.edit1 : before.edit2)) {
    Fail(before, "the box that was read changed");
  }
  const std::string& written = toP ? form.edit2 : form.edit1;
  if (failed) {
    if (written != (toP ? before.edit2 : before.edit1)) Fail(before, "a failed click wrote");
    return 0;
  }

  // The mark in force is "." unless something set another; read the text
  // back with the library's reader, independent of numtext.
  double shown = -1;
  const auto [end, error] = std::from_chars(written.data(), written.data() + written.size(), shown);
  if (error != std::errc() || end != written.data() + written.size()) {
    Fail(before, "wrote text that is not a number");
  }
  if (!(shown >= 0 && shown <= (toP ? kLastP : kLastX))) Fail(before, "wrote outside the range");

  normcalc::MemoryForm again = form;
  normcalc::Button2Click(again);
  if (again.edit1 != form.edit1 || again.edit2 != form.edit2) {
    Fail(before, "a second click gave another text");
  }
  return 0;
}
